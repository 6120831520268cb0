// The dialogs' edit field: a forward delete in front of a two-byte character removes both
// of its bytes (the framework's field already works on whole characters).
#pragma once

#include "framework/LEditText.h"

class CEditText : public LEditText {
 public:
  static constexpr ClassIDT class_ID = 'CEtx';
  using Inherited = LEditText;

  explicit CEditText(LStream* stream) : LEditText(stream, 'ietx') {}
  using LEditText::LEditText;
};
