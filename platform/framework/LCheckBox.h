// A check box: a click toggles the value between 0 and 1, which broadcasts.
#pragma once

#include "framework/LControl.h"

class LCheckBox : public LControl {
 public:
  static constexpr ClassIDT class_ID = 'cbox';

  LCheckBox(const SPaneInfo& paneInfo, MessageT valueMessage, SInt32 value, ConstStr255Param title,
            ResIDT textTraitsID = 0);
  // Layout data: the control's, then layout::kTitled.
  explicit LCheckBox(LStream* stream);

  StringPtr GetDescriptor(Str255 outTitle) const override;
  void SetDescriptor(ConstStr255Param title) override;

 protected:
  void DrawSelf() override;
  void HotSpotResult(SInt16 hotSpot) override;
  // Check boxes and radio buttons differ only in the mark and in what a click does.
  void DrawWithMark(bool round);

  Str255 mTitle;
  ResIDT mTextTraitsID = 0;
};

// The standard check box as made in code.
class LStdCheckBox : public LCheckBox {
 public:
  static constexpr ClassIDT class_ID = 'icbx';
  using Inherited = LCheckBox;
  using LCheckBox::LCheckBox;
};
