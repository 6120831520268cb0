// A radio button: a click turns it on (never off); its radio group turns the others off.
#pragma once

#include "framework/LCheckBox.h"

class LRadioButton : public LCheckBox {
 public:
  static constexpr ClassIDT class_ID = 'rdbt';
  using Inherited = LCheckBox;
  using LCheckBox::LCheckBox;

 protected:
  void DrawSelf() override { DrawWithMark(true); }
  void HotSpotResult(SInt16) override { SetValue(1); }
};
