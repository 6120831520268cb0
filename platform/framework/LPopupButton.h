// A popup menu button: a label at the left, then a box showing the chosen item. Its value
// is the chosen item (1-based), or 0 for none; clicking shows the menu and a choice sets
// the value.
#pragma once

#include "framework/LControl.h"
#include "framework/LMenuController.h"

class LPopupButton : public LControl, public LMenuController {
 public:
  static constexpr ClassIDT class_ID = 'popb';

  LPopupButton(const SPaneInfo& paneInfo, MessageT valueMessage, SInt16 titleOptions, SInt16 menuID,
               SInt16 titleWidth, SInt16 popupVariation, SInt16 textTraitsID, ConstStr255Param title,
               OSType menuResType, SInt16 initialMenuItem, ClassIDT implementation = 'ipop');
  // Layout data: the control's (its value is the initial item), then layout::kTitled and
  // layout::kPopup.
  explicit LPopupButton(LStream* stream, ClassIDT implementation = 'ipop');

  void SetValue(SInt32 value) override;
  StringPtr GetDescriptor(Str255 outText) const override;  // the chosen item's text
  void SetDescriptor(ConstStr255Param title) override;     // the label

  bool TrackHotSpot(SInt16 hotSpot, Point point, SInt16 modifiers) override;

 protected:
  void DrawSelf() override;
  void HotSpotResult(SInt16) override {}

 private:
  void GetBoxRect(Rect& out) const;

  Str255 mTitle;
  ResIDT mTextTraitsID = 0;
  SInt16 mTitleWidth = 0;
};
