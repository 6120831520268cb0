// A Pascal string of up to 255 bytes.
#pragma once

#include "framework/LString.h"

class LStr255 : public LString {
 public:
  LStr255() : LString(255, mStorage) {}
  LStr255(const LStr255& other) : LStr255() { Assign(static_cast<ConstStringPtr>(other)); }
  LStr255(const LString& other) : LStr255() { Assign(static_cast<ConstStringPtr>(other)); }
  LStr255(ConstStringPtr pstr) : LStr255() { Assign(pstr); }
  LStr255(const char* cstr) : LStr255() { Assign(cstr); }
  LStr255(const void* bytes, size_t length) : LStr255() { Assign(bytes, length); }
  explicit LStr255(SInt32 number) : LStr255() { Assign(number); }
  // Item `index` of the 'STR#' list `listID` (empty when either is missing).
  LStr255(ResIDT listID, SInt16 index);

  LStr255& operator=(const LStr255& other) {
    Assign(static_cast<ConstStringPtr>(other));
    return *this;
  }
  using LString::operator=;

 private:
  Str255 mStorage;
};
