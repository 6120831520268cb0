// The field of a custom document size: at most two characters after the decimal point.
#pragma once

#include "framework/LEditText.h"

class CCustomSize_EditText : public LEditText {
 public:
  static constexpr ClassIDT class_ID = 'CsEt';
  using Inherited = LEditText;

  explicit CCustomSize_EditText(LStream* stream) : LEditText(stream, 'ietx') {}
  using LEditText::LEditText;

  bool TooManyCharacters(SInt32 charsToAdd) override;
};
