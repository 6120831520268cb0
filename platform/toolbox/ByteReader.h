// Reading bytes that came from outside (files, resources, pictures, images), checked.
//
// Unlike RecordBytes, where an offset outside the record is a programming error, a read
// past the end here is what a damaged or hostile input does: it returns zero, and the
// reader stays failed from then on, so a parser may check ok() once after a run of reads.
// Numbers are big-endian unless the reader is made little-endian (TIFF's "II" files).
#pragma once

#include <cstddef>
#include <cstdint>

#include "toolbox/RecordAccess.h"

class ByteReader {
 public:
  ByteReader(const void* data, size_t size, bool littleEndian = false)
      : mData(static_cast<const uint8_t*>(data)), mSize(size), mLittle(littleEndian) {}

  const uint8_t* data() const { return mData; }
  size_t size() const { return mSize; }
  bool littleEndian() const { return mLittle; }
  bool ok() const { return mOk; }

  // Whether the `n` bytes from `off` lie inside.
  bool Has(uint64_t off, uint64_t n) const { return off <= mSize && n <= mSize - off; }

  // The `n` bytes from `off` as a reader of their own, in the same byte order; an empty,
  // failed reader (and this one failed) when they do not lie inside.
  ByteReader Sub(uint64_t off, uint64_t n) const {
    if (!Check(off, n)) return ByteReader(mData, 0, mLittle, false);
    return ByteReader(mData + off, static_cast<size_t>(n), mLittle, true);
  }

  // Reads at an offset; the cursor does not move.
  uint8_t U8At(uint64_t off) const { return Check(off, 1) ? mData[off] : 0; }
  uint16_t U16At(uint64_t off) const {
    if (!Check(off, 2)) return 0;
    return mLittle ? LEGetU16(mData + off) : BEGetU16(mData + off);
  }
  uint32_t U32At(uint64_t off) const {
    if (!Check(off, 4)) return 0;
    return mLittle ? LEGetU32(mData + off) : BEGetU32(mData + off);
  }
  const uint8_t* BytesAt(uint64_t off, uint64_t n) const { return Check(off, n) ? mData + off : nullptr; }

  // Reads from the cursor, which moves past what was read.
  size_t at() const { return mAt; }
  size_t left() const { return mOk ? mSize - mAt : 0; }
  bool Skip(size_t n) { return Bytes(n) != nullptr; }
  uint8_t U8() { return Advance(1) ? mData[mAt - 1] : 0; }
  uint16_t U16() { return Advance(2) ? U16At(mAt - 2) : 0; }
  uint32_t U32() { return Advance(4) ? U32At(mAt - 4) : 0; }
  int16_t S16() { return static_cast<int16_t>(U16()); }
  const uint8_t* Bytes(size_t n) { return Advance(n) ? mData + mAt - n : nullptr; }

 private:
  ByteReader(const uint8_t* data, size_t size, bool little, bool ok)
      : mData(data), mSize(size), mLittle(little), mOk(ok) {}

  bool Check(uint64_t off, uint64_t n) const {
    if (!mOk || !Has(off, n)) mOk = false;
    return mOk;
  }
  bool Advance(size_t n) {
    if (!Check(mAt, n)) return false;
    mAt += n;
    return true;
  }

  const uint8_t* mData;
  size_t mSize;
  bool mLittle;
  mutable bool mOk = true;
  size_t mAt = 0;
};
