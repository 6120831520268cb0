// Big-endian access to stored records at named offsets.
//
// Every record that is stored or exchanged (preferences, settings blocks, the plug-in
// parameter block, TIFF and JPEG structures) is read and written through these, never
// through a packed struct or a memcpy of a host struct. An offset outside the record is
// a programming error and throws std::out_of_range.
#pragma once

#include <cstring>
#include <stdexcept>

#include "toolbox/MacTypes.h"

// Raw byte helpers for code that walks a buffer it has already bounds-checked.
inline uint16_t BEGetU16(const void* p) {
  const auto* b = static_cast<const uint8_t*>(p);
  return static_cast<uint16_t>((b[0] << 8) | b[1]);
}
inline uint32_t BEGetU32(const void* p) {
  const auto* b = static_cast<const uint8_t*>(p);
  return (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
}
inline void BEPutU16(void* p, uint16_t v) {
  auto* b = static_cast<uint8_t*>(p);
  b[0] = uint8_t(v >> 8);
  b[1] = uint8_t(v);
}
inline void BEPutU32(void* p, uint32_t v) {
  auto* b = static_cast<uint8_t*>(p);
  b[0] = uint8_t(v >> 24);
  b[1] = uint8_t(v >> 16);
  b[2] = uint8_t(v >> 8);
  b[3] = uint8_t(v);
}
inline uint16_t LEGetU16(const void* p) {
  const auto* b = static_cast<const uint8_t*>(p);
  return static_cast<uint16_t>(b[0] | (b[1] << 8));
}
inline uint32_t LEGetU32(const void* p) {
  const auto* b = static_cast<const uint8_t*>(p);
  return uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
}
inline void LEPutU16(void* p, uint16_t v) {
  auto* b = static_cast<uint8_t*>(p);
  b[0] = uint8_t(v);
  b[1] = uint8_t(v >> 8);
}
inline void LEPutU32(void* p, uint32_t v) {
  auto* b = static_cast<uint8_t*>(p);
  b[0] = uint8_t(v);
  b[1] = uint8_t(v >> 8);
  b[2] = uint8_t(v >> 16);
  b[3] = uint8_t(v >> 24);
}

// A non-owning, bounds-checked view of one stored record.
class RecordBytes {
 public:
  RecordBytes(void* data, size_t size) : mData(static_cast<uint8_t*>(data)), mSize(size) {}

  uint8_t* data() const { return mData; }
  size_t size() const { return mSize; }
  RecordBytes sub(size_t offset, size_t size) const {
    check(offset, size);
    return RecordBytes(mData + offset, size);
  }

  uint8_t u8(size_t off) const { check(off, 1); return mData[off]; }
  int8_t i8(size_t off) const { return static_cast<int8_t>(u8(off)); }
  uint16_t u16(size_t off) const { check(off, 2); return BEGetU16(mData + off); }
  int16_t i16(size_t off) const { return static_cast<int16_t>(u16(off)); }
  uint32_t u32(size_t off) const { check(off, 4); return BEGetU32(mData + off); }
  int32_t i32(size_t off) const { return static_cast<int32_t>(u32(off)); }
  uint64_t u64(size_t off) const { return (uint64_t(u32(off)) << 32) | u32(off + 4); }

  void setU8(size_t off, uint8_t v) const { check(off, 1); mData[off] = v; }
  void setI8(size_t off, int8_t v) const { setU8(off, static_cast<uint8_t>(v)); }
  void setU16(size_t off, uint16_t v) const { check(off, 2); BEPutU16(mData + off, v); }
  void setI16(size_t off, int16_t v) const { setU16(off, static_cast<uint16_t>(v)); }
  void setU32(size_t off, uint32_t v) const { check(off, 4); BEPutU32(mData + off, v); }
  void setI32(size_t off, int32_t v) const { setU32(off, static_cast<uint32_t>(v)); }
  void setU64(size_t off, uint64_t v) const {
    setU32(off, uint32_t(v >> 32));
    setU32(off + 4, uint32_t(v));
  }

  void getBytes(size_t off, void* out, size_t n) const { check(off, n); std::memcpy(out, mData + off, n); }
  void setBytes(size_t off, const void* in, size_t n) const { check(off, n); std::memcpy(mData + off, in, n); }
  void fill(size_t off, size_t n, uint8_t v) const { check(off, n); std::memset(mData + off, v, n); }

  // A Pascal string field of `capacity` bytes (length byte included). A stored length
  // larger than the field is clamped, so a damaged record never reads past its field.
  void pstr(size_t off, size_t capacity, unsigned char* out) const {
    check(off, capacity);
    size_t len = mData[off];
    if (len > capacity - 1) len = capacity - 1;
    out[0] = static_cast<unsigned char>(len);
    std::memcpy(out + 1, mData + off + 1, len);
  }
  // Writes the string cut to the field; the rest of the field is left as it was.
  void setPstr(size_t off, size_t capacity, const unsigned char* s) const {
    check(off, capacity);
    size_t len = s[0];
    if (len > capacity - 1) len = capacity - 1;
    mData[off] = static_cast<uint8_t>(len);
    std::memcpy(mData + off + 1, s + 1, len);
  }

  // A 70-byte file specification: i16 volume, i32 parent folder, Str63 name.
  FSSpec fsspec(size_t off) const {
    check(off, kFSSpecRecordSize);
    FSSpec s{};
    s.vRefNum = i16(off);
    s.parID = i32(off + 2);
    pstr(off + 6, sizeof(s.name), s.name);
    return s;
  }
  void setFSSpec(size_t off, const FSSpec& s) const {
    check(off, kFSSpecRecordSize);
    setI16(off, s.vRefNum);
    setI32(off + 2, s.parID);
    fill(off + 6, 64, 0);
    setPstr(off + 6, 64, s.name);
  }

 private:
  void check(size_t off, size_t n) const {
    if (off > mSize || n > mSize - off) throw std::out_of_range("record field outside the record");
  }
  uint8_t* mData;
  size_t mSize;
};
