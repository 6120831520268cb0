#include "framework/LHandleStream.h"

#include <algorithm>
#include <cstring>

#include "framework/LException.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"

LHandleStream::LHandleStream() : mData(NewHandle(0)) { ThrowIfNil_(mData); }

LHandleStream::LHandleStream(Handle data) : mData(data) {
  ThrowIfNil_(mData);
  mLength = static_cast<SInt32>(GetHandleSize(mData));
}

LHandleStream::~LHandleStream() {
  if (mData) DisposeHandle(mData);
}

void LHandleStream::SetLength(SInt32 length) {
  length = std::max<SInt32>(0, length);
  SetHandleSize(mData, length);
  if (MemError() != noErr) Throw_(MemError());
  LStream::SetLength(length);
}

ExceptionCode LHandleStream::PutBytes(const void* buffer, SInt32& count) {
  if (count <= 0) {
    count = 0;
    return noErr;
  }
  if (mMarker + count > mLength) {
    SetHandleSize(mData, mMarker + count);
    if (MemError() != noErr) {
      count = 0;
      return MemError();
    }
    mLength = mMarker + count;
  }
  std::memcpy(*mData + mMarker, buffer, static_cast<size_t>(count));
  mMarker += count;
  return noErr;
}

ExceptionCode LHandleStream::GetBytes(void* buffer, SInt32& count) {
  SInt32 wanted = std::max<SInt32>(0, count);
  count = std::min(wanted, mLength - mMarker);
  if (count > 0) std::memcpy(buffer, *mData + mMarker, static_cast<size_t>(count));
  mMarker += count;
  return count < wanted ? eofErr : noErr;
}

Handle LHandleStream::DetachDataHandle() {
  Handle data = mData;
  mData = NewHandle(0);
  ThrowIfNil_(mData);
  mLength = mMarker = 0;
  return data;
}
