// Round trips through our own pieces: symbols put by the entropy coder's single-symbol puts
// (and by the plain bit writer) come back through the bitstream reader and the decoding
// lookup groups of each standard table, in memory and file modes.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "JpegTestKit.h"
#include "jpeg/complib.h"
#include "jpeg/complibMac.h"
#include "jpeg/jpgShare.h"
#include "jpeg/jpgWCore.h"
#include "jpeg/jpgWVLC.h"
#include "pelmora/PelmoraBits.h"
#include "support/TestEnv.h"
#include "toolbox/MacErrors.h"

namespace {

// One coded symbol: a DC value or an AC value after `run` zeros (ZRL and EOB have value 0).
struct Item {
  int table;  // 0, 1: DC tables; 2, 3: AC tables
  int run;
  int32_t value;
};

// A mix that reaches every size, every run and the longest codes (third AC group).
std::vector<Item> Items(int count) {
  std::vector<Item> items;
  uint32_t s = 5;
  auto next = [&] { return s = s * 1664525u + 1013904223u, s >> 8; };
  for (int i = 0; i < count; ++i) {
    int table = int(next() % 4);
    int size = int(next() % (table < 2 ? 12 : 11));
    int32_t value = size ? int32_t((1u << (size - 1)) + next() % (1u << (size - 1))) : 0;
    if (next() & 1) value = -value;
    int run = table < 2 ? 0 : int(next() % 16);
    if (table >= 2 && size == 0) run = (next() & 1) ? 15 : 0;  // ZRL or EOB
    items.push_back({table, run, value});
  }
  return items;
}

// The standard tables: code lists by symbol, and their lookup groups.
struct Tables {
  std::array<std::array<jpgHuffEntry, 256>, 4> bySymbol{};
  jpgHuffLookupGroup groups[4][kJpgACLookupGroups] = {};
  Tables() {
    for (int t = 0; t < 4; ++t) {
      jpgHuffEntry codes[256];
      EXPECT_GT(jpgGenerateHuffmanTable(&kJpgStdHuffman[t], codes, groups[t]), 0);
      jpgWriteSortHuffmanTable(codes, bySymbol[t].data());
    }
  }
  ~Tables() {
    for (int t = 0; t < 4; ++t) jpgFreeHuffmanLookup(groups[t], t < 2 ? kJpgDCLookupGroups : kJpgACLookupGroups);
  }
};

std::vector<uint8_t>* gCollected = nullptr;
int32_t collect(void*, const uint8_t* data, int32_t n) {
  gCollected->insert(gCollected->end(), data, data + n);
  return 0;
}

// The entropy coder's writer, stuffing included; pending bits padded with 1s as at a marker.
std::vector<uint8_t> WriteWithCoder(const Tables& t, const std::vector<Item>& items) {
  std::vector<uint8_t> out;
  gCollected = &out;
  jpgBitWriter w{};
  w.freeBits = 32;
  w.writeOut = collect;
  for (const Item& i : items) {
    int32_t status = i.table < 2 ? jpgWritePut8BitDCHuffman(&w, t.bySymbol[i.table].data(), i.value)
                                 : jpgWritePut8BitACHuffman(&w, t.bySymbol[i.table].data(), i.value, i.run);
    EXPECT_EQ(status, 0);
  }
  EXPECT_EQ(pelmora_bits::PutMarker(&w, 0xFFD9), 0);
  EXPECT_EQ(pelmora_bits::Flush(&w), 0);
  gCollected = nullptr;
  out.resize(out.size() - 2);  // the marker
  return out;
}

// Removes the 0x00 that follows each 0xFF in entropy-coded data.
std::vector<uint8_t> Unstuff(const std::vector<uint8_t>& in) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i < in.size(); ++i) {
    out.push_back(in[i]);
    if (in[i] == 0xFF) ++i;
  }
  return out;
}

// The plain bit writer with the same codes, into memory.
std::vector<uint8_t> WriteWithPlainWriter(const Tables& t, const std::vector<Item>& items) {
  complibBitstream s{};
  EXPECT_EQ(complibInitBitstreamMemory(&s, nullptr, 0, kBitstreamWrite), 0);
  for (const Item& i : items) {
    jpgValueClass c = jpgWriteClassOf(i.value);
    const jpgHuffEntry& e = t.bySymbol[i.table][i.table < 2 ? c.size : i.run * 16 + int(c.size)];
    EXPECT_EQ(complibPutBits(&s, (e.code << c.size) | c.bits, e.length + int(c.size)), 0);
  }
  EXPECT_EQ(complibFlushPutBits(&s), 0);
  std::vector<uint8_t> out(s.block, s.block + s.used);
  complibMemFree(s.block);
  return out;
}

// One symbol through the lookup groups: the group whose range holds the next 16 bits, then
// either the expanded slot (code and extra bits at once) or the code and its extra bits.
struct Decoded {
  int group;
  int symbol;
  int32_t value;
};
Decoded DecodeOne(complibBitstream* s, const jpgHuffLookupGroup* g, int n) {
  const uint32_t look = complibShowBits(s, 16);
  int k = 0;
  if (g[0].count == 0 || (look >> g[0].shift) >= g[0].limit) {
    k = 1;
    while (k + 1 < n && (g[k].count == 0 || look >= g[k].limit)) ++k;
  }
  const uint32_t entry = g[k].table[(look & g[k].mask) >> g[k].shift];
  const int bits = int(entry & 0xFF);
  const int symbol = int((entry >> 8) & 0xFF);
  const int extra = symbol & 15;
  if (bits == 0) return {k, -1, 0};
  complibFlushGetBits(s, bits);
  if (k < n - 1 || extra == 0) return {k, symbol, extra ? static_cast<int32_t>(entry) >> 16 : 0};
  int32_t v = int32_t(complibGetBits(s, extra));
  if (v < tableTestShift[extra][0]) v += tableTestShift[extra][1];
  return {k, symbol, v};
}

// Decodes the items back and counts the codes each group resolved.
void ExpectItems(complibBitstream* s, const Tables& t, const std::vector<Item>& items, const char* what) {
  int perGroup[kJpgACLookupGroups] = {};
  for (size_t n = 0; n < items.size(); ++n) {
    const Item& i = items[n];
    const int groups = i.table < 2 ? kJpgDCLookupGroups : kJpgACLookupGroups;
    Decoded d = DecodeOne(s, t.groups[i.table], groups);
    int expected = i.table < 2 ? int(jpgWriteClassOf(i.value).size) : i.run * 16 + int(jpgWriteClassOf(i.value).size);
    ASSERT_EQ(d.symbol, expected) << what << " item " << n;
    ASSERT_EQ(d.value, i.value) << what << " item " << n;
    if (i.table >= 2) ++perGroup[d.group];
  }
  for (int g = 0; g < kJpgACLookupGroups; ++g) EXPECT_GT(perGroup[g], 0) << what << " AC group " << g;
}

}  // namespace

TEST(JpegRoundTrip, CoderAndPlainWriterOutputDecodesThroughTheLookupGroups) {
  Tables t;
  const std::vector<Item> items = Items(6000);
  const std::vector<uint8_t> coded = WriteWithCoder(t, items);
  const std::vector<uint8_t> unstuffed = Unstuff(coded);
  const std::vector<uint8_t> plain = WriteWithPlainWriter(t, items);
  ASSERT_GT(plain.size(), 2u * kBitstreamBufferSize);
  ASSERT_LT(unstuffed.size(), coded.size()) << "some 0xFF bytes were stuffed";
  // The two writers differ only in the padding of the last byte.
  ASSERT_EQ(unstuffed.size(), plain.size());
  EXPECT_EQ(std::vector<uint8_t>(unstuffed.begin(), unstuffed.end() - 1),
            std::vector<uint8_t>(plain.begin(), plain.end() - 1));

  wxtest::ScratchDir dir;
  for (const auto* bytes : {&unstuffed, &plain}) {
    const char* what = bytes == &plain ? "plain writer" : "entropy coder";
    std::vector<uint8_t> copy = *bytes;
    complibBitstream memory{};
    ASSERT_EQ(complibInitBitstreamMemory(&memory, copy.data(), int64_t(copy.size()), kBitstreamRead), 0);
    ExpectItems(&memory, t, items, what);

    wxtest::WriteBytes(dir / "coded.bin", *bytes);
    complibBitstream file{};
    FSRef folder{};
    Boolean isDir = 0;
    ASSERT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(dir.path().c_str()), &folder, &isDir), noErr);
    HFSUniStr255 name{};
    const std::string n = "coded.bin";
    name.length = UInt16(n.size());
    for (size_t i = 0; i < n.size(); ++i) name.unicode[i] = UniChar(n[i]);
    ASSERT_EQ(complibMacCreateFileNameFromFsRef(&file.name, &folder, &name, 'prvw', 'JPEG'), 0);
    ASSERT_EQ(complibOpenBitstreamFile(&file), 0);
    ExpectItems(&file, t, items, what);
    EXPECT_EQ(complibCloseBitstreamFile(&file), 0);
    complibMemFree(file.block);
  }
}

TEST(JpegRoundTrip, ThePreparedDCEntryPutsTheSameBitsAsTheCodeList) {
  // The encoder's prepared DC table against the code list of its source, for every difference.
  void* context = jpgtest::ContextWithTables();
  auto* ctx = static_cast<jpgWContext*>(context);
  Tables t;
  for (int table = 0; table < 2; ++table) {
    jpgCoderComponent component{};
    component.dcCodes = ctx->dcCodes[table];
    std::vector<uint8_t> prepared, listed;
    for (auto* out : {&prepared, &listed}) {
      gCollected = out;
      jpgBitWriter w{};
      w.freeBits = 32;
      w.writeOut = collect;
      for (int32_t d = -2047; d <= 2047; ++d)
        ASSERT_EQ(out == &prepared ? jpgWriteBaseLine8BitDCHuffman(&w, &component, d)
                                   : jpgWritePut8BitDCHuffman(&w, t.bySymbol[table].data(), d),
                  0);
      ASSERT_EQ(pelmora_bits::Flush(&w), 0);
      gCollected = nullptr;
    }
    EXPECT_EQ(prepared, listed) << "table " << table;
    jpgBitWriter w{};
    EXPECT_EQ(jpgWriteBaseLine8BitDCHuffman(&w, &component, 2048), kJpgBadParameter);
  }
  // Values and symbols the tables do not have.
  jpgBitWriter w{};
  w.freeBits = 32;
  EXPECT_EQ(jpgWritePut8BitDCHuffman(&w, t.bySymbol[0].data(), -2048), kJpgBadParameter);
  EXPECT_EQ(jpgWritePut8BitACHuffman(&w, t.bySymbol[2].data(), 1024, 0), kJpgBadParameter);
  EXPECT_EQ(jpgWritePut8BitACHuffman(&w, t.bySymbol[2].data(), 1, 16), kJpgBadParameter);
  EXPECT_EQ(jpgWritePut8BitACHuffman(&w, t.bySymbol[2].data(), 0, 3), kJpgBadParameter);
  void* data = nullptr;
  int64_t size = 0;
  EXPECT_EQ(jpgWriteEpilogToMemory(context, &data, &size), kJpgBadState);
}
