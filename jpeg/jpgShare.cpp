#include "jpeg/jpgShare.h"

#include <cstring>

#include "jpeg/jpgWClr.h"

const uint8_t kJpgZigZag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

const int32_t kJpgStdQuant[2][64] = {
    {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,  14, 13, 16, 24, 40,  57,
     69, 56, 14, 17, 22,  29,  51,  87,  80, 62, 18, 22, 37,  56,  68,  109, 103, 77, 24, 35, 55, 64,
     81, 104, 113, 92, 49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99},
    {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
     99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
     99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99},
};

const jpgHuffSource kJpgStdHuffman[4] = {
    {{0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 0x00},
    {{0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 0x01},
    {{0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d},
     {0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07, 0x22, 0x71,
      0x14, 0x32, 0x81, 0x91, 0xa1, 0x08, 0x23, 0x42, 0xb1, 0xc1, 0x15, 0x52, 0xd1, 0xf0, 0x24, 0x33, 0x62, 0x72,
      0x82, 0x09, 0x0a, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x34, 0x35, 0x36, 0x37,
      0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59,
      0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a, 0x83,
      0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9a, 0xa2, 0xa3,
      0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3,
      0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe1, 0xe2,
      0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xf1, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa},
     0x10},
    {{0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77},
     {0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61, 0x71, 0x13, 0x22,
      0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xa1, 0xb1, 0xc1, 0x09, 0x23, 0x33, 0x52, 0xf0, 0x15, 0x62, 0x72, 0xd1,
      0x0a, 0x16, 0x24, 0x34, 0xe1, 0x25, 0xf1, 0x17, 0x18, 0x19, 0x1a, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x35, 0x36,
      0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58,
      0x59, 0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a,
      0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9a,
      0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba,
      0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda,
      0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa},
     0x11},
};

static void jpgInitParam(jpgWContext* ctx) {
  std::memset(ctx, 0, kJpgContextSize);
  std::memcpy(ctx->tag, "JPEG", 4);
  ctx->size = kJpgContextSize;
  ctx->version = 4;
  ctx->versionMinor = 6;
  ctx->versionLetter = 'f';
  ctx->predictor = 1;
}

jpgWContext* jpgProlog() {
  auto* ctx = static_cast<jpgWContext*>(complibMemAlloc(kJpgContextSize));
  if (!ctx) return nullptr;
  jpgInitParam(ctx);
  ctx->quality = 90;
  ctx->sampling = kJpgDefaultSampling;
  ctx->frameMarker = 0xFFC0;
  ctx->bitsPerSample = 8;
  ctx->flags = kJpgDefaultFlags;
  for (int i = 0; i < 4; ++i) {
    ctx->comp[i].id = i + 1;
    int table = i == 0 ? 0 : 1;
    ctx->comp[i].quantSel = ctx->comp[i].dcSel = ctx->comp[i].acSel = table;
  }
  for (int t = 0; t < 2; ++t)
    for (int k = 0; k < 64; ++k) ctx->quantBase[t][k] = kJpgStdQuant[t][kJpgZigZag[k]];
  ctx->coder.bits.freeBits = 32;
  ctx->stream.fork = -1;
  return ctx;
}

jpgWContext* jpgCheckParam(void* context) {
  auto* ctx = static_cast<jpgWContext*>(context);
  if (!ctx || std::memcmp(ctx->tag, "JPEG", 4) != 0 || ctx->size != kJpgContextSize) return nullptr;
  return ctx;
}

int32_t jpgEpilog(jpgWContext* ctx) {
  jpgWriteColorConvertTableClear(ctx);
  for (int t = 0; t < 2; ++t) {
    complibMemFree(ctx->dcCodes[t]);
    complibMemFree(ctx->acCodes[t]);
    ctx->dcCodes[t] = ctx->acCodes[t] = nullptr;
  }
  if (ctx->lookup) {
    for (int t = 0; t < 2; ++t) {
      jpgFreeHuffmanLookup(ctx->lookup->dc[t], kJpgDCLookupGroups);
      jpgFreeHuffmanLookup(ctx->lookup->ac[t], kJpgACLookupGroups);
    }
    complibMemFree(ctx->lookup);
    ctx->lookup = nullptr;
  }
  int32_t status = complibCloseBitstreamFile(&ctx->stream);
  complibMemFree(ctx->stream.block);
  ctx->stream.block = nullptr;
  std::memset(ctx->tag, 0, sizeof(ctx->tag));
  ctx->size = 0;
  complibMemFree(ctx);
  return status;
}

void* jpgMemAlloc(jpgWContext*, int64_t size) { return complibMemAlloc(size); }
void jpgMemFree(jpgWContext*, void* address) { complibMemFree(address); }

namespace {

constexpr int32_t kMaxCodes = 256;

int extraBitsOf(const jpgHuffEntry& e) { return e.symbol & 15; }
int expandedLength(const jpgHuffEntry& e) { return e.length + extraBitsOf(e); }

int32_t codeCount(const jpgHuffEntry* list) {
  int32_t n = 0;
  while (n < kMaxCodes && list[n].length != 0) ++n;
  return n;
}

int leadingOnes(uint32_t code16) {
  int p = 0;
  while (p < 16 && (code16 & (0x8000u >> p))) ++p;
  return p;
}

// How one group takes its codes and fills its slots.
struct GroupRule {
  int bound;            // the largest length + s taken (the second group: plus min(P, 5))
  bool prefix;          // indexed below the leading 1 bits of its first code
  bool expand;          // slots carry the extra bits of codes that have them
  bool afterFirstGroup; // L counts the previous code, the limit is not shifted
};

constexpr GroupRule kFirstAC{11, false, true, false};
constexpr GroupRule kFirstDC{9, false, true, false};
constexpr GroupRule kSecondAC{11, true, true, true};
constexpr GroupRule kLast{0, true, false, false};

void setEmpty(jpgHuffLookupGroup* group) { *group = jpgHuffLookupGroup{nullptr, 0xFFFF, 0, 0, 0x10000}; }

int32_t buildGroup(const jpgHuffEntry* list, int32_t start, const GroupRule& rule, jpgHuffLookupGroup* group) {
  *group = jpgHuffLookupGroup{};
  const int32_t count = codeCount(list);
  if (start < 0 || start > count) return -1;
  if (start == count) {
    setEmpty(group);
    return start;
  }
  if (rule.afterFirstGroup && start == 0) return -1;
  const int p = rule.prefix ? leadingOnes(list[start].code) : 0;
  const int allowance = rule.afterFirstGroup ? (p < 5 ? p : 5) : 0;
  int bits = rule.afterFirstGroup ? expandedLength(list[start - 1]) : 0;
  int32_t end = start;
  for (; end < count; ++end) {
    int taken = rule.expand ? expandedLength(list[end]) : list[end].length;
    if (rule.expand && taken - allowance > rule.bound) break;
    if (taken > bits) bits = taken;
  }
  if (end == start) {
    setEmpty(group);
    return start;
  }
  if (bits > 16 || bits < p) return -1;
  group->mask = 0xFFFFu >> p;
  group->shift = static_cast<uint32_t>(16 - bits);
  group->count = 1u << (bits - p);
  const uint32_t next = end < count ? list[end].code : 0x10000;
  group->limit = !rule.expand ? 0x10000 : rule.afterFirstGroup ? next : next >> group->shift;
  group->table = static_cast<uint32_t*>(complibMemAlloc(int64_t(group->count) * int64_t(sizeof(uint32_t))));
  if (!group->table) return -1;
  for (uint32_t i = 0; i < group->count; ++i) group->table[i] = kJpgLookupNoCode;
  for (int32_t k = start; k < end; ++k) {
    const jpgHuffEntry& e = list[k];
    const int s = extraBitsOf(e);
    const uint32_t first = (e.code & group->mask) >> group->shift;
    const uint32_t span = 1u << (bits - e.length);
    if (e.length > bits || first + span > group->count) {
      jpgFreeHuffmanLookup(group, 1);
      return -1;
    }
    if (!rule.expand || s == 0) {
      for (uint32_t i = 0; i < span; ++i) group->table[first + i] = uint32_t(e.symbol) << 8 | e.length;
      continue;
    }
    const int total = e.length + s;
    const uint32_t slots = 1u << (bits - total);
    for (int32_t v = 0; v < (1 << s); ++v) {
      int32_t value = v < tableTestShift[s][0] ? v + tableTestShift[s][1] : v;
      uint32_t entry = static_cast<uint32_t>(value) << 16 | uint32_t(e.symbol) << 8 | static_cast<uint32_t>(total);
      for (uint32_t i = 0; i < slots; ++i) group->table[first + uint32_t(v) * slots + i] = entry;
    }
  }
  return end;
}

// Runs the groups in turn, each from where the previous one stopped; any failure empties all.
int32_t buildGroups(const jpgHuffEntry* list, jpgHuffLookupGroup* groups, int n,
                    int32_t (*const* parts)(const jpgHuffEntry*, int32_t, jpgHuffLookupGroup*)) {
  int32_t index = 0;
  for (int g = 0; g < n; ++g) index = parts[g](list, index, &groups[g]);
  if (index >= 0) return kJpgOK;
  jpgFreeHuffmanLookup(groups, n);
  return kJpgBadHuffman;
}

}  // namespace

int32_t jpgGenerateHuffmanTable2Part1(const jpgHuffEntry* list, int32_t start, jpgHuffLookupGroup* group) {
  return buildGroup(list, start, kFirstAC, group);
}
int32_t jpgGenerateHuffmanTable2Part2(const jpgHuffEntry* list, int32_t start, jpgHuffLookupGroup* group) {
  return buildGroup(list, start, kSecondAC, group);
}
int32_t jpgGenerateHuffmanTable2Part3(const jpgHuffEntry* list, int32_t start, jpgHuffLookupGroup* group) {
  return buildGroup(list, start, kLast, group);
}
int32_t jpgGenerateDCHuffmanTable2Part1(const jpgHuffEntry* list, int32_t start, jpgHuffLookupGroup* group) {
  return buildGroup(list, start, kFirstDC, group);
}
int32_t jpgGenerateDCHuffmanTable2Part2(const jpgHuffEntry* list, int32_t start, jpgHuffLookupGroup* group) {
  return buildGroup(list, start, kLast, group);
}

int32_t jpgGenerateHuffmanTable2(const jpgHuffEntry* list, jpgHuffLookupGroup* groups) {
  static constexpr int32_t (*kParts[])(const jpgHuffEntry*, int32_t, jpgHuffLookupGroup*) = {
      jpgGenerateHuffmanTable2Part1, jpgGenerateHuffmanTable2Part2, jpgGenerateHuffmanTable2Part3};
  return buildGroups(list, groups, kJpgACLookupGroups, kParts);
}

int32_t jpgGenerateDCHuffmanTable2(const jpgHuffEntry* list, jpgHuffLookupGroup* groups) {
  static constexpr int32_t (*kParts[])(const jpgHuffEntry*, int32_t, jpgHuffLookupGroup*) = {
      jpgGenerateDCHuffmanTable2Part1, jpgGenerateDCHuffmanTable2Part2};
  return buildGroups(list, groups, kJpgDCLookupGroups, kParts);
}

void jpgFreeHuffmanLookup(jpgHuffLookupGroup* groups, int count) {
  for (int g = 0; g < count; ++g) {
    complibMemFree(groups[g].table);
    groups[g] = jpgHuffLookupGroup{};
  }
}

int32_t jpgGenerateHuffmanTable(const jpgHuffSource* source, jpgHuffEntry* out, jpgHuffLookupGroup* groups) {
  const bool ac = (source->classAndId >> 4) != 0;
  const int nGroups = ac ? kJpgACLookupGroups : kJpgDCLookupGroups;
  for (int g = 0; g < nGroups; ++g) groups[g] = jpgHuffLookupGroup{};
  int32_t total = 0;
  for (int i = 0; i < 16; ++i) total += source->counts[i];
  if (total > 255) return kJpgBadHuffman;
  // Sizes in order, then canonical codes (T.81 C.1 and C.2).
  int32_t k = 0;
  uint32_t code = 0;
  for (int length = 1; length <= 16; ++length) {
    for (int i = 0; i < source->counts[length - 1]; ++i, ++k) {
      out[k] = jpgHuffEntry{code, source->values[k], static_cast<uint16_t>(length)};
      ++code;
    }
    if (code > (1u << length)) return kJpgBadHuffman;
    code <<= 1;
  }
  out[total] = jpgHuffEntry{0, 0, 0};
  // The lookup groups work on the codes left-justified to 16 bits.
  for (int32_t i = 0; i < total; ++i) out[i].code <<= 16 - out[i].length;
  int32_t status = ac ? jpgGenerateHuffmanTable2(out, groups) : jpgGenerateDCHuffmanTable2(out, groups);
  for (int32_t i = 0; i < total; ++i) out[i].code >>= 16 - out[i].length;
  return status ? status : total;
}
