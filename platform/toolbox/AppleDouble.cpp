#include "toolbox/AppleDouble.h"

#include <cstring>

#include "toolbox/MacErrors.h"
#include "toolbox/RecordAccess.h"

OSErr AppleDoubleParse(const uint8_t* bytes, size_t size, std::vector<AppleDoubleEntry>* entries) {
  entries->clear();
  if (size < kAppleDoubleHeaderSize || BEGetU32(bytes) != kAppleDoubleMagic) return mapReadErr;
  const size_t n = BEGetU16(bytes + 24);
  if (n * kAppleDoubleEntrySize > size - kAppleDoubleHeaderSize) return mapReadErr;
  for (size_t i = 0; i < n; ++i) {
    const uint8_t* e = bytes + kAppleDoubleHeaderSize + i * kAppleDoubleEntrySize;
    const size_t off = BEGetU32(e + 4), len = BEGetU32(e + 8);
    if (off > size || len > size - off) return mapReadErr;
    entries->push_back(AppleDoubleEntry{BEGetU32(e), std::vector<uint8_t>(bytes + off, bytes + off + len)});
  }
  return noErr;
}

std::vector<uint8_t> AppleDoubleBuild(const std::vector<AppleDoubleEntry>& entries) {
  const size_t tableEnd = kAppleDoubleHeaderSize + entries.size() * kAppleDoubleEntrySize;
  std::vector<uint8_t> out(tableEnd);
  BEPutU32(out.data(), kAppleDoubleMagic);
  BEPutU32(out.data() + 4, kAppleDoubleVersion);
  std::memcpy(out.data() + 8, "Mac OS X        ", 16);
  BEPutU16(out.data() + 24, static_cast<uint16_t>(entries.size()));
  for (size_t i = 0; i < entries.size(); ++i) {
    uint8_t* e = out.data() + kAppleDoubleHeaderSize + i * kAppleDoubleEntrySize;
    BEPutU32(e, entries[i].id);
    BEPutU32(e + 4, static_cast<uint32_t>(out.size()));
    BEPutU32(e + 8, static_cast<uint32_t>(entries[i].bytes.size()));
    out.insert(out.end(), entries[i].bytes.begin(), entries[i].bytes.end());
  }
  return out;
}

std::string AppleDoublePathFor(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "._" + path : path.substr(0, slash + 1) + "._" + path.substr(slash + 1);
}
