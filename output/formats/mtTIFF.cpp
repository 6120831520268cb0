#include "output/formats/mtTIFF.h"

#include <cstring>

namespace {

enum : uint16_t { kShort = 3, kLong = 4, kRational = 5 };

// Where the fixed layout keeps things.
constexpr long kEntryCountAt = 8;
constexpr long kFirstEntryAt = 10;
constexpr long kEntrySize = 12;
long EntryAt(int i) { return kFirstEntryAt + kEntrySize * i; }
long ValueAt(int i) { return EntryAt(i) + 8; }
constexpr int kWidthEntry = 0, kBitsEntry = 2, kSamplesEntry = 7, kRowsEntry = 8, kCountsEntry = 9;
constexpr long kNextIFDAt = 178;
constexpr long kXResolutionAt = 182;
constexpr long kYResolutionAt = 190;
constexpr long kBitsArrayAt = 198;
static_assert(kFirstEntryAt + 14 * kEntrySize == kNextIFDAt);
static_assert(kBitsArrayAt + 6 == kMTStripOffset);

struct TagInfo {
  unsigned long tag;
  uint16_t type;
};
constexpr TagInfo kTags[] = {{kMTImageWidth, kLong},     {kMTImageLength, kLong},    {kMTBitsPerSample, kShort},
                             {kMTCompression, kShort},   {kMTPhotometric, kShort},   {kMTStripOffsets, kLong},
                             {kMTOrientation, kShort},   {kMTSamplesPerPixel, kShort}, {kMTRowsPerStrip, kLong},
                             {kMTStripByteCounts, kLong}, {kMTXResolution, kRational}, {kMTYResolution, kRational},
                             {kMTPlanarConfig, kShort},  {kMTResolutionUnit, kShort}};

const TagInfo* Find(unsigned long tag) {
  for (const auto& t : kTags)
    if (t.tag == tag) return &t;
  return nullptr;
}

bool Seek(MTHandle f, long at) { return SetFilePointer(f, at, nullptr, kMTFromStart) == at; }

bool Put(MTHandle f, const void* data, uint32_t count, int layout) {
  uint32_t done = 0;
  return WriteFile(f, data, count, &done, nullptr, layout) != 0;
}

bool PutEntry(MTHandle f, uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
  MTDirEntry e{tag, type, count, type == kShort && count == 1 ? value << 16 : value};
  return Put(f, &e, kEntrySize, kMTLayoutEntry);
}

bool GetValueField(MTHandle f, int entry, uint32_t* value) {
  uint32_t done = 0;
  return Seek(f, ValueAt(entry)) && ReadFile(f, value, 4, &done, nullptr, kMTLayoutU32) != 0;
}

long RowLength(uint32_t width, uint32_t bits, uint32_t samples) {
  if (samples == 3) return 3L * width;
  if (samples == 1 && bits == 1) return (long(width) + 7) / 8;
  if (samples == 1 && bits == 8) return width;
  return 0;
}

// Width, bits and samples read back from the entries written so far.
long ScanlineFromEntries(MTHandle f) {
  uint32_t width = 0, bitsField = 0, samplesField = 0;
  if (!GetValueField(f, kWidthEntry, &width) || !GetValueField(f, kBitsEntry, &bitsField) ||
      !GetValueField(f, kSamplesEntry, &samplesField))
    return 0;
  return RowLength(width, bitsField >> 16, samplesField >> 16);
}

bool PutRational(MTHandle f, const TagInfo& t, long valueAt, long continueAt, uint32_t num, uint32_t den) {
  return PutEntry(f, static_cast<uint16_t>(t.tag), kRational, 1, static_cast<uint32_t>(valueAt)) && Seek(f, valueAt) &&
         Put(f, &num, 4, kMTLayoutU32) && Put(f, &den, 4, kMTLayoutU32) && Seek(f, continueAt);
}

// The entry of `tag` and the values it points to; false on a file error or an unsupported
// bits/samples combination.
bool SetField(MTHandle f, const TagInfo& t, unsigned long value, unsigned long denominator) {
  const unsigned long tag = t.tag;
  const auto v = static_cast<uint32_t>(value);
  switch (tag) {
    case kMTPhotometric:
      return PutEntry(f, tag, kShort, 1, v) && PutEntry(f, kMTStripOffsets, kLong, 1, kMTStripOffset);
    case kMTSamplesPerPixel: {
      if (!PutEntry(f, tag, kShort, 1, v)) return false;
      if (v != 3) return true;
      const uint16_t eight = 8;
      return Seek(f, EntryAt(kBitsEntry)) && PutEntry(f, kMTBitsPerSample, kShort, 3, kBitsArrayAt) &&
             Seek(f, kBitsArrayAt) && Put(f, &eight, 2, kMTLayoutU16) && Put(f, &eight, 2, kMTLayoutU16) &&
             Put(f, &eight, 2, kMTLayoutU16) && Seek(f, EntryAt(kRowsEntry));
    }
    case kMTRowsPerStrip: {
      const long row = ScanlineFromEntries(f);
      if (!Seek(f, EntryAt(kRowsEntry)) || !PutEntry(f, tag, kLong, 1, v)) return false;
      const unsigned long long bytes = static_cast<unsigned long long>(v) * static_cast<unsigned long long>(row);
      if (row == 0 || bytes > 0xFFFFFFFFull) return false;
      return Seek(f, EntryAt(kCountsEntry)) && PutEntry(f, kMTStripByteCounts, kLong, 1, static_cast<uint32_t>(bytes));
    }
    case kMTXResolution:
      return PutRational(f, t, kXResolutionAt, EntryAt(11), v, static_cast<uint32_t>(denominator));
    case kMTYResolution:
      return PutRational(f, t, kYResolutionAt, EntryAt(12), v, static_cast<uint32_t>(denominator));
    case kMTResolutionUnit: {
      const uint32_t none = 0;
      return PutEntry(f, tag, kShort, 1, v) && Seek(f, kNextIFDAt) && Put(f, &none, 4, kMTLayoutU32) &&
             Seek(f, kMTStripOffset);
    }
    default:
      return PutEntry(f, tag, t.type, 1, v);
  }
}

// A file that saw a failure is incomplete: it must not take its name when it closes.
long Kept(MTHandle f, bool ok) {
  if (!ok) f->failed = true;
  return ok ? 1 : 0;
}

}  // namespace

MTHandle MTOpen(const char* path, const char* mode) {
  if (!path || !mode) return nullptr;
  const bool create = std::strcmp(mode, "w") == 0;
  MTHandle f = CreateFile(path, 0, 0, nullptr, create ? kMTCreateAlways : kMTOpenExisting, 0, nullptr);
  if (!f || !create) return f;
  const uint16_t magic = 42, entries = 14;
  const uint32_t directory = kEntryCountAt;
  if (!Put(f, "MM", 2, kMTLayoutBytes) || !Put(f, &magic, 2, kMTLayoutU16) || !Put(f, &directory, 4, kMTLayoutU32) ||
      !Put(f, &entries, 2, kMTLayoutU16)) {
    CloseHandle(f);
    return nullptr;
  }
  return f;
}

long MTSetField(MTHandle file, unsigned long tag, unsigned long value) {
  const TagInfo* t = Find(tag);
  if (t && t->type == kRational) return MTSetField(file, tag, value, 1);
  return MTSetField(file, tag, value, 0);
}

long MTSetField(MTHandle f, unsigned long tag, unsigned long value, unsigned long denominator) {
  const TagInfo* t = Find(tag);
  if (!t) return 1;
  if (!f) return 0;
  return Kept(f, SetField(f, *t, value, denominator));
}

long MTScanlineSize(MTHandle f) {
  if (!f) return 0;
  const long row = ScanlineFromEntries(f);
  SetFilePointer(f, 0, nullptr, kMTFromEnd);
  return row;
}

long MTWriteScanline(MTHandle f, const void* data, unsigned long row) {
  if (!f) return 0;
  const long length = data ? MTScanlineSize(f) : 0;
  const long at = kMTStripOffset + static_cast<long>(row) * length;
  return Kept(f, length != 0 && Seek(f, at) && Put(f, data, static_cast<uint32_t>(length), kMTLayoutBytes));
}

long MTClose(MTHandle f) { return CloseHandle(f); }

long MTRowBufferSize(MTHandle f, long rawRowBytes) {
  const long scanline = MTScanlineSize(f);
  if (scanline == 0) return 0;
  return scanline > rawRowBytes ? scanline : rawRowBytes;
}
