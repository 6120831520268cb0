// The Huffman generator's decoding lookup groups: their shape for the standard tables, their
// slots, and clean failures.
#include <gtest/gtest.h>

#include <vector>

#include "JpegTestKit.h"
#include "jpeg/jpgShare.h"
#include "jpeg/jpgWCore.h"
#include "toolbox/MacMemory.h"

namespace {

struct GroupShape {
  uint32_t mask, shift, count, limit;
};

struct Slot {
  int group;
  uint32_t index;
  uint32_t entry;
};

// The groups of a standard table, freed at the end of the test.
struct Groups {
  jpgHuffEntry codes[256];
  jpgHuffLookupGroup groups[kJpgACLookupGroups] = {};
  int n;
  int32_t status;
  explicit Groups(const jpgHuffSource& source)
      : n((source.classAndId >> 4) ? kJpgACLookupGroups : kJpgDCLookupGroups),
        status(jpgGenerateHuffmanTable(&source, codes, groups)) {}
  ~Groups() { jpgFreeHuffmanLookup(groups, n); }
};

// Worked out by hand from the code lists of K.3 (DC luminance) and K.5 (AC luminance).
struct Expected {
  const char* name;
  int table;
  int32_t codes;
  std::vector<GroupShape> shapes;
  std::vector<Slot> slots;
};

const Expected kExpected[] = {
    // DC 1 takes categories 0-5 (length + s <= 9, L = 3 + 5); DC 2 the rest below the prefix 111.
    {"K3_dc_luminance", 0, 12, {{0xFFFF, 8, 256, 0xE0}, {0x1FFF, 7, 64, 0x10000}},
     {{0, 0, 0x00000002},   {0, 63, 0x00000002},   {0, 64, 0xFFFF0104},  {0, 79, 0xFFFF0104},
      {0, 80, 0x00010104},  {0, 0xC0, 0xFFE10508}, {0, 0xDF, 0x001F0508}, {0, 0xE0, kJpgLookupNoCode},
      {0, 0xFF, kJpgLookupNoCode}, {1, 0, 0x00000604}, {1, 31, 0x00000604}, {1, 32, 0x00000705},
      {1, 62, 0x00000B09},  {1, 63, kJpgLookupNoCode}}},
    // AC 1 stops at 0x06 (7 + 6 > 11) with L = 10 (0x05: 5 + 5); AC 2 below the prefix 1111
    // takes up to 0xa1 and stops at 0x08 (10 + 8 - 4 > 11) with L = 15 (0x07: 8 + 7); AC 3
    // below 111111 holds the rest, lengths up to 16.
    {"K5_ac_luminance", 2, 162, {{0xFFFF, 6, 1024, 0x3C0}, {0x0FFF, 1, 2048, 0xFD80}, {0x03FF, 0, 1024, 0x10000}},
     {{0, 0, 0xFFFF0103},   {0, 127, 0xFFFF0103}, {0, 128, 0x00010103}, {0, 640, 0x00000004},
      {0, 703, 0x00000004}, {0, 959, 0x00014107}, {0, 960, kJpgLookupNoCode}, {1, 0, 0xFFC1060D},
      {1, 3, 0xFFC1060D},   {1, 2047, kJpgLookupNoCode}, {2, 384, 0x0000080A}, {2, 1022, 0x0000FA10},
      {2, 1023, kJpgLookupNoCode}}},
};

}  // namespace

TEST(JpegHuffmanLookup, StandardGroupsAsWorkedOutByHand) {
  for (const Expected& e : kExpected) {
    Groups g(kJpgStdHuffman[e.table]);
    ASSERT_EQ(g.status, e.codes) << e.name;
    ASSERT_EQ(size_t(g.n), e.shapes.size()) << e.name;
    for (int i = 0; i < g.n; ++i) {
      const jpgHuffLookupGroup& group = g.groups[i];
      ASSERT_NE(group.table, nullptr) << e.name << " group " << i;
      EXPECT_EQ(group.mask, e.shapes[i].mask) << e.name << " group " << i;
      EXPECT_EQ(group.shift, e.shapes[i].shift) << e.name << " group " << i;
      EXPECT_EQ(group.count, e.shapes[i].count) << e.name << " group " << i;
      EXPECT_EQ(group.limit, e.shapes[i].limit) << e.name << " group " << i;
    }
    for (const Slot& s : e.slots)
      EXPECT_EQ(g.groups[s.group].table[s.index], s.entry)
          << e.name << " group " << s.group << " slot " << s.index << std::hex << " got " << g.groups[s.group].table[s.index];
    // The codes come back as they were generated.
    EXPECT_EQ(g.codes[0].code, 0u);
    EXPECT_EQ(g.codes[e.codes - 1].code, (1u << g.codes[e.codes - 1].length) - 2);
    EXPECT_EQ(g.codes[e.codes].length, 0);
  }
}

TEST(JpegHuffmanLookup, EveryStandardCodeIsFoundThroughItsGroup) {
  // Each code (with every extra-bits value where its slots carry them) resolves to its symbol.
  for (int t = 0; t < 4; ++t) {
    Groups g(kJpgStdHuffman[t]);
    ASSERT_GT(g.status, 0);
    for (int32_t k = 0; k < g.status; ++k) {
      const jpgHuffEntry& e = g.codes[k];
      uint32_t code16 = e.code << (16 - e.length);
      int group = 0;
      while (group + 1 < g.n && !(group == 0 ? (code16 >> g.groups[0].shift) < g.groups[0].limit
                                             : code16 < g.groups[group].limit))
        ++group;
      const jpgHuffLookupGroup& lg = g.groups[group];
      uint32_t entry = lg.table[(code16 & lg.mask) >> lg.shift];
      EXPECT_EQ((entry >> 8) & 0xFF, e.symbol) << "table " << t << " code " << k;
      uint32_t bits = entry & 0xFF;
      EXPECT_TRUE(bits == e.length || bits == e.length + (e.symbol & 15u)) << "table " << t << " code " << k;
    }
  }
}

TEST(JpegHuffmanLookup, ASourceOf256ValuesFailsAndLeavesNoGroups) {
  jpgHuffSource source{};
  source.counts[15] = 255;
  source.counts[14] = 1;
  source.classAndId = 0x10;
  Groups g(source);
  EXPECT_EQ(g.status, kJpgBadHuffman);
  for (const auto& group : g.groups) EXPECT_EQ(group.table, nullptr);
}

TEST(JpegHuffmanLookup, AnEmptySourceHasNoCodesAndEmptyGroups) {
  for (uint8_t classAndId : {uint8_t(0x00), uint8_t(0x10)}) {
    jpgHuffSource source{};
    source.classAndId = classAndId;
    Groups g(source);
    EXPECT_EQ(g.status, 0) << int(classAndId);
    EXPECT_EQ(g.codes[0].length, 0);
    for (int i = 0; i < g.n; ++i) {
      EXPECT_EQ(g.groups[i].table, nullptr);
      EXPECT_EQ(g.groups[i].count, 0u);
      EXPECT_EQ(g.groups[i].limit, 0x10000u);
    }
  }
}

TEST(JpegHuffmanLookup, AFailedAllocationFailsTheGeneratorAndFreesTheGroupsBuilt) {
  // The first AC group (4 KiB) fits, the second (8 KiB) does not.
  MemSetHeapLimit(6000);
  MemSetTempLimit(6000);
  Groups g(kJpgStdHuffman[2]);
  MemSetHeapLimit(0);
  MemSetTempLimit(0);
  EXPECT_EQ(g.status, kJpgBadHuffman);
  for (const auto& group : g.groups) EXPECT_EQ(group.table, nullptr);
}

TEST(JpegHuffmanLookup, GroupsThatWouldPassTheirListOrTableFail) {
  jpgHuffEntry codes[256];
  jpgHuffLookupGroup groups[kJpgACLookupGroups];
  ASSERT_EQ(jpgGenerateHuffmanTable(&kJpgStdHuffman[2], codes, groups), 162);
  jpgFreeHuffmanLookup(groups, kJpgACLookupGroups);
  for (int i = 0; i < 162; ++i) codes[i].code <<= 16 - codes[i].length;
  jpgHuffLookupGroup group{};
  struct Case {
    const char* name;
    int32_t (*part)(const jpgHuffEntry*, int32_t, jpgHuffLookupGroup*);
    int32_t start;
    int32_t result;
  };
  const Case cases[] = {
      {"start below 0", jpgGenerateHuffmanTable2Part1, -1, -1},
      {"start past the count", jpgGenerateHuffmanTable2Part3, 163, -1},
      {"second group without a code in front", jpgGenerateHuffmanTable2Part2, 0, -1},
      {"DC start below 0", jpgGenerateDCHuffmanTable2Part2, -1, -1},
      {"first group", jpgGenerateHuffmanTable2Part1, 0, 11},
      {"second group", jpgGenerateHuffmanTable2Part2, 11, 23},
      {"last group", jpgGenerateHuffmanTable2Part3, 23, 162},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.part(codes, c.start, &group), c.result) << c.name;
    jpgFreeHuffmanLookup(&group, 1);
  }
  // At the end of the list: an empty group.
  EXPECT_EQ(jpgGenerateHuffmanTable2Part3(codes, 162, &group), 162);
  EXPECT_EQ(group.table, nullptr);
  EXPECT_EQ(group.mask, 0xFFFFu);
  EXPECT_EQ(group.shift, 0u);
  EXPECT_EQ(group.count, 0u);
  EXPECT_EQ(group.limit, 0x10000u);
  // A code whose slots would run past the table (its low bits set beyond its length).
  const jpgHuffEntry bad[] = {{0x0000, 0, 2}, {0xFFFF, 0, 1}, {0, 0, 0}};
  EXPECT_EQ(jpgGenerateHuffmanTable2Part3(bad, 0, &group), -1);
  EXPECT_EQ(group.table, nullptr);
  // A failing group fails the later ones and the whole step.
  jpgHuffLookupGroup all[kJpgACLookupGroups];
  EXPECT_EQ(jpgGenerateHuffmanTable2(bad, all), kJpgBadHuffman);
  for (const auto& g : all) EXPECT_EQ(g.table, nullptr);
}

TEST(JpegHuffmanLookup, TheEncoderBuildsTheGroupsAndItsEpilogFreesThem) {
  void* context = jpgtest::ContextWithTables();
  auto* ctx = static_cast<jpgWContext*>(context);
  ASSERT_NE(ctx->lookup, nullptr);
  for (int t = 0; t < 2; ++t) {
    for (const auto& g : ctx->lookup->dc[t]) EXPECT_NE(g.table, nullptr);
    for (const auto& g : ctx->lookup->ac[t]) EXPECT_NE(g.table, nullptr);
  }
  // AddressSanitizer reports any group table the epilog leaves behind.
  void* data = nullptr;
  int64_t size = 0;
  EXPECT_EQ(jpgWriteEpilogToMemory(context, &data, &size), kJpgBadState);
}
