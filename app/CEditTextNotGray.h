// A field that shows text without taking clicks and keeps its look when its window is
// activated or deactivated.
#pragma once

#include "framework/LEditText.h"

class CEditTextNotGray : public LEditText {
 public:
  static constexpr ClassIDT class_ID = 'Etng';
  using Inherited = LEditText;

  explicit CEditTextNotGray(LStream* stream) : LEditText(stream, 'ietx') {}
  using LEditText::LEditText;

 protected:
  void ClickSelf(const SMouseDownEvent&) override {}
  void ActivateSelf() override { Refresh(); }
  void DeactivateSelf() override { Refresh(); }
};
