#include "framework/LStream.h"

#include <algorithm>
#include <cstring>

#include "framework/LException.h"
#include "toolbox/MacErrors.h"

void LStream::SetLength(SInt32 length) {
  mLength = std::max<SInt32>(0, length);
  if (mMarker > mLength) mMarker = mLength;
}

void LStream::SetMarker(SInt32 offset, EStreamFrom from) {
  SInt64 base = from == EStreamFrom::Start ? 0 : from == EStreamFrom::End ? GetLength() : mMarker;
  SInt64 target = from == EStreamFrom::End ? base - offset : base + offset;
  mMarker = static_cast<SInt32>(std::clamp<SInt64>(target, 0, GetLength()));
}

void LStream::WriteBlock(const void* buffer, SInt32 count) {
  ExceptionCode err = PutBytes(buffer, count);
  if (err != noErr) Throw_(err);
}

void LStream::ReadBlock(void* buffer, SInt32 count) {
  ExceptionCode err = GetBytes(buffer, count);
  if (err != noErr) Throw_(err);
}

void LStream::WritePString(ConstStringPtr pstr) {
  UInt8 length = pstr ? pstr[0] : 0;
  *this << length;
  if (length) WriteBlock(pstr + 1, length);
}

void LStream::ReadPString(StringPtr pstr, size_t capacity) {
  UInt8 length = 0;
  *this >> length;
  unsigned char bytes[255];
  ReadBlock(bytes, length);
  size_t kept = std::min<size_t>(length, capacity - 1);
  std::memcpy(pstr + 1, bytes, kept);
  pstr[0] = static_cast<unsigned char>(kept);
}

void LStream::WriteCString(const char* cstr) {
  UInt32 length = cstr ? static_cast<UInt32>(std::strlen(cstr)) : 0;
  *this << length;
  if (length) WriteBlock(cstr, static_cast<SInt32>(length));
}

SInt32 LStream::ReadCString(char* cstr, size_t capacity) {
  UInt32 length = 0;
  *this >> length;
  if (length > static_cast<UInt32>(GetLength() - mMarker)) Throw_(eofErr);
  size_t kept = std::min<size_t>(length, capacity - 1);
  ReadBlock(cstr, static_cast<SInt32>(kept));
  SetMarker(static_cast<SInt32>(length - kept), EStreamFrom::Marker);
  cstr[kept] = '\0';
  return static_cast<SInt32>(kept);
}

LStream& LStream::PutNumber(UInt32 v, int size) {
  UInt8 bytes[4];
  for (int i = 0; i < size; ++i) bytes[i] = static_cast<UInt8>(v >> (8 * (size - 1 - i)));
  WriteBlock(bytes, size);
  return *this;
}

template <typename T>
LStream& LStream::GetNumber(T& v, int size) {
  UInt8 bytes[4];
  ReadBlock(bytes, size);
  UInt32 u = 0;
  for (int i = 0; i < size; ++i) u = (u << 8) | bytes[i];
  v = static_cast<T>(u);
  return *this;
}

template LStream& LStream::GetNumber(SInt8&, int);
template LStream& LStream::GetNumber(UInt8&, int);
template LStream& LStream::GetNumber(SInt16&, int);
template LStream& LStream::GetNumber(UInt16&, int);
template LStream& LStream::GetNumber(SInt32&, int);
template LStream& LStream::GetNumber(UInt32&, int);
