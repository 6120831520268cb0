#include "framework/LDataStream.h"

#include <algorithm>
#include <cstring>

#include "toolbox/MacErrors.h"

LDataStream::LDataStream(void* buffer, SInt32 size)
    : mBuffer(static_cast<UInt8*>(buffer)), mCapacity(std::max<SInt32>(0, size)), mReadOnly(false) {
  mLength = mCapacity;
}

LDataStream::LDataStream(const void* buffer, SInt32 size)
    : mBuffer(static_cast<UInt8*>(const_cast<void*>(buffer))), mCapacity(std::max<SInt32>(0, size)), mReadOnly(true) {
  mLength = mCapacity;
}

void LDataStream::SetLength(SInt32 length) { LStream::SetLength(std::min(length, mCapacity)); }

ExceptionCode LDataStream::PutBytes(const void* buffer, SInt32& count) {
  SInt32 wanted = std::max<SInt32>(0, count);
  count = mReadOnly ? 0 : std::min(wanted, mCapacity - mMarker);
  if (count > 0) std::memcpy(mBuffer + mMarker, buffer, static_cast<size_t>(count));
  mMarker += count;
  if (mMarker > mLength) mLength = mMarker;
  return count < wanted ? (mReadOnly ? wrPermErr : eofErr) : noErr;
}

ExceptionCode LDataStream::GetBytes(void* buffer, SInt32& count) {
  SInt32 wanted = std::max<SInt32>(0, count);
  count = std::min(wanted, mLength - mMarker);
  if (count > 0) std::memcpy(buffer, mBuffer + mMarker, static_cast<size_t>(count));
  mMarker += count;
  return count < wanted ? eofErr : noErr;
}
