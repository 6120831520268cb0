#include "toolbox/TIFFDirectory.h"

namespace {

constexpr uint64_t kEntrySize = 12;

}  // namespace

bool TIFFReadFirstDirectory(const uint8_t* data, size_t size, TIFFDirectory* out) {
  if (!data || size < 8) return false;
  const bool little = data[0] == 'I' && data[1] == 'I';
  if (!little && !(data[0] == 'M' && data[1] == 'M')) return false;
  const ByteReader f(data, size, little);
  if (f.U16At(2) != 42) return false;
  const uint64_t dir = f.U32At(4);
  if (!f.Has(dir, 2)) return false;
  const uint64_t count = f.U16At(dir);
  if (!f.Has(dir + 2, count * kEntrySize)) return false;
  out->entries.clear();
  out->entries.reserve(count);
  for (uint64_t i = 0; i < count; ++i) {
    const uint64_t e = dir + 2 + i * kEntrySize;
    TIFFEntry entry{f.U16At(e), f.U16At(e + 2), f.U32At(e + 4), 0, f.U32At(e + 8)};
    entry.value = entry.type == kTIFFTypeShort && entry.count <= 2 ? f.U16At(e + 8) : entry.offset;
    out->entries.push_back(entry);
  }
  out->file = f;
  return true;
}
