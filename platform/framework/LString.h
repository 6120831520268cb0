// A Pascal string (length byte, then bytes) held in storage of a fixed capacity that a
// subclass provides. Text is bytes in the system script: comparison is byte-exact, and
// assigning or appending past the capacity keeps what fits.
#pragma once

#include <string>

#include "framework/FrameworkTypes.h"

class LString {
 public:
  LString(const LString&) = delete;

  UInt8 Length() const { return mString[0]; }
  operator StringPtr() { return mString; }
  operator ConstStringPtr() const { return mString; }
  unsigned char& operator[](UInt8 index) { return mString[index]; }  // 0 is the length byte

  LString& Assign(ConstStringPtr pstr);
  LString& Assign(const void* bytes, size_t length);
  LString& Assign(const char* cstr);
  LString& Assign(SInt32 number);
  LString& operator=(const LString& other) { return Assign(other.mString); }
  LString& operator=(ConstStringPtr pstr) { return Assign(pstr); }
  LString& operator=(const char* cstr) { return Assign(cstr); }
  LString& operator=(SInt32 number) { return Assign(number); }

  LString& Append(ConstStringPtr pstr);
  LString& Append(const void* bytes, size_t length);
  LString& Append(const char* cstr);
  LString& Append(char c) { return Append(&c, 1); }
  LString& operator+=(ConstStringPtr pstr) { return Append(pstr); }
  LString& operator+=(const LString& other) { return Append(other.mString); }
  LString& operator+=(const char* cstr) { return Append(cstr); }
  LString& operator+=(char c) { return Append(c); }

  // 1-based position of the first occurrence of `pattern` at or after `start`, 0 if none.
  // A plain byte search: no case folding, no script rules.
  UInt8 Find(ConstStringPtr pattern, UInt8 start = 1) const;
  UInt8 Find(const char* pattern, UInt8 start = 1) const;
  bool BeginsWith(ConstStringPtr pattern) const;
  bool EndsWith(ConstStringPtr pattern) const;

  // Removes `count` bytes from 1-based `start`.
  LString& Remove(UInt8 start, UInt8 count);

  bool operator==(ConstStringPtr pstr) const;
  bool operator==(StringPtr pstr) const { return *this == static_cast<ConstStringPtr>(pstr); }
  bool operator==(const LString& other) const { return *this == static_cast<ConstStringPtr>(other.mString); }
  bool operator==(const char* cstr) const;

  // The number the text spells (leading blanks and a sign allowed), 0 when it is none.
  SInt32 ToNumber() const;
  std::string ToStdString() const { return std::string(reinterpret_cast<const char*>(mString + 1), mString[0]); }

  // Conversions between Pascal and C strings; the C buffer must hold 256 bytes.
  static char* PToCStr(ConstStringPtr src, char* dst);
  static StringPtr CToPStr(const char* src, StringPtr dst);
  // Copies a Pascal string into storage of `dstSize` bytes (length byte included), cutting it.
  static StringPtr CopyPStr(ConstStringPtr src, StringPtr dst, size_t dstSize = sizeof(Str255));

 protected:
  LString(UInt8 maxLength, StringPtr storage) : mMaxLength(maxLength), mString(storage) { mString[0] = 0; }
  ~LString() = default;

 private:
  UInt8 mMaxLength;
  StringPtr mString;
};
