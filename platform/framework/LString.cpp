#include "framework/LString.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

LString& LString::Assign(const void* bytes, size_t length) {
  size_t n = std::min<size_t>(length, mMaxLength);
  std::memmove(mString + 1, bytes, n);
  mString[0] = static_cast<unsigned char>(n);
  return *this;
}

LString& LString::Assign(ConstStringPtr pstr) {
  if (!pstr) return Assign("", 0);
  return Assign(pstr + 1, pstr[0]);
}

LString& LString::Assign(const char* cstr) { return Assign(cstr ? cstr : "", cstr ? std::strlen(cstr) : 0); }

LString& LString::Assign(SInt32 number) {
  char text[16];
  int n = std::snprintf(text, sizeof text, "%ld", static_cast<long>(number));
  return Assign(text, static_cast<size_t>(n));
}

LString& LString::Append(const void* bytes, size_t length) {
  size_t n = std::min<size_t>(length, mMaxLength - mString[0]);
  std::memmove(mString + 1 + mString[0], bytes, n);
  mString[0] = static_cast<unsigned char>(mString[0] + n);
  return *this;
}

LString& LString::Append(ConstStringPtr pstr) {
  if (!pstr) return *this;
  return Append(pstr + 1, pstr[0]);
}

LString& LString::Append(const char* cstr) { return cstr ? Append(cstr, std::strlen(cstr)) : *this; }

UInt8 LString::Find(ConstStringPtr pattern, UInt8 start) const {
  size_t len = mString[0], plen = pattern ? pattern[0] : 0;
  if (start < 1) start = 1;
  if (plen == 0 || plen > len) return 0;
  for (size_t pos = start; pos + plen - 1 <= len; ++pos)
    if (std::memcmp(mString + pos, pattern + 1, plen) == 0) return static_cast<UInt8>(pos);
  return 0;
}

UInt8 LString::Find(const char* pattern, UInt8 start) const {
  Str255 p;
  return Find(CToPStr(pattern, p), start);
}

bool LString::BeginsWith(ConstStringPtr pattern) const {
  return pattern[0] <= mString[0] && std::memcmp(mString + 1, pattern + 1, pattern[0]) == 0;
}

bool LString::EndsWith(ConstStringPtr pattern) const {
  return pattern[0] <= mString[0] &&
         std::memcmp(mString + 1 + mString[0] - pattern[0], pattern + 1, pattern[0]) == 0;
}

LString& LString::Remove(UInt8 start, UInt8 count) {
  size_t len = mString[0];
  if (start < 1 || start > len || count == 0) return *this;
  size_t n = std::min<size_t>(count, len - start + 1);
  std::memmove(mString + start, mString + start + n, len - (start + n - 1));
  mString[0] = static_cast<unsigned char>(len - n);
  return *this;
}

bool LString::operator==(ConstStringPtr pstr) const {
  return pstr && pstr[0] == mString[0] && std::memcmp(pstr + 1, mString + 1, mString[0]) == 0;
}

bool LString::operator==(const char* cstr) const {
  size_t n = cstr ? std::strlen(cstr) : 0;
  return n == mString[0] && std::memcmp(cstr, mString + 1, n) == 0;
}

SInt32 LString::ToNumber() const {
  size_t i = 1, len = mString[0];
  while (i <= len && mString[i] == ' ') ++i;
  bool negative = false;
  if (i <= len && (mString[i] == '-' || mString[i] == '+')) negative = mString[i++] == '-';
  long long value = 0;
  for (; i <= len && mString[i] >= '0' && mString[i] <= '9'; ++i) {
    value = value * 10 + (mString[i] - '0');
    if (value > 0x7FFFFFFFLL) value = 0x7FFFFFFFLL;
  }
  return static_cast<SInt32>(negative ? -value : value);
}

char* LString::PToCStr(ConstStringPtr src, char* dst) {
  size_t n = src ? src[0] : 0;
  std::memmove(dst, src + 1, n);
  dst[n] = '\0';
  return dst;
}

StringPtr LString::CToPStr(const char* src, StringPtr dst) {
  size_t n = src ? std::min<size_t>(std::strlen(src), 255) : 0;
  std::memmove(dst + 1, src, n);
  dst[0] = static_cast<unsigned char>(n);
  return dst;
}

StringPtr LString::CopyPStr(ConstStringPtr src, StringPtr dst, size_t dstSize) {
  size_t n = src ? std::min<size_t>(src[0], dstSize - 1) : 0;
  std::memmove(dst + 1, src + 1, n);
  dst[0] = static_cast<unsigned char>(n);
  return dst;
}
