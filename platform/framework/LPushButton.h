// A push button: a click broadcasts its value message (900 OK, 901 Cancel, or its own).
#pragma once

#include "framework/LControl.h"

class LPushButton : public LControl {
 public:
  static constexpr ClassIDT class_ID = 'push';

  LPushButton(const SPaneInfo& paneInfo, MessageT valueMessage, ConstStr255Param title, ResIDT textTraitsID = 0);
  // Layout data: the control's, then layout::kTitled and layout::kPush.
  explicit LPushButton(LStream* stream);

  StringPtr GetDescriptor(Str255 outTitle) const override;
  void SetDescriptor(ConstStr255Param title) override;
  void SetDefaultButton(bool isDefault);
  ResIDT GetTextTraitsID() const { return mTextTraitsID; }
  // The title's room is the frame less this on each side.
  SInt16 TitleInset() const { return mIsDefault ? 7 : 4; }

 protected:
  void DrawSelf() override;
  void HotSpotResult(SInt16 hotSpot) override;

 private:
  Str255 mTitle;
  ResIDT mTextTraitsID = 0;
  bool mIsDefault = false;
};
