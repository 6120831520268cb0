#include "framework/LPopupButton.h"

#include "framework/LStream.h"
#include "framework/LString.h"
#include "framework/ReadLayoutFields.h"
#include "framework/UAppearance.h"
#include "framework/UTextDrawing.h"
#include "framework/UTextTraits.h"

LPopupButton::LPopupButton(const SPaneInfo& paneInfo, MessageT valueMessage, SInt16, SInt16 menuID,
                           SInt16 titleWidth, SInt16, SInt16 textTraitsID, ConstStr255Param title, OSType,
                           SInt16 initialMenuItem, ClassIDT)
    : LControl(paneInfo, valueMessage, initialMenuItem, 0, 0),
      LMenuController(this),
      mTextTraitsID(textTraitsID),
      mTitleWidth(titleWidth) {
  LString::CopyPStr(title, mTitle);
  SetMenuID(menuID);
}

LPopupButton::LPopupButton(LStream* stream, ClassIDT) : LControl(stream), LMenuController(this) {
  SInt16 menuID = 0;
  ReadLayoutFields<layout::kTitled>(*stream, mTitle, mTextTraitsID);
  ReadLayoutFields<layout::kPopup>(*stream, menuID, mTitleWidth);
  SInt32 initial = mValue;
  mMinValue = mMaxValue = 0;
  StopBroadcasting();  // loading the menu is no user change
  SetMenuID(menuID);
  LControl::SetValue(initial);
  MarkItem(static_cast<SInt16>(mValue));
  StartBroadcasting();
}

void LPopupButton::SetValue(SInt32 value) {
  // 0 means no item chosen (a font that is not in the menu); it is allowed whatever the range.
  if (value == 0 && mValue != 0) {
    mValue = 0;
    Refresh();
    BroadcastValueMessage();
  } else if (value != 0) {
    LControl::SetValue(value);
  }
  MarkItem(static_cast<SInt16>(mValue));
}

StringPtr LPopupButton::GetDescriptor(Str255 out) const {
  out[0] = 0;
  if (mValue > 0) GetMenuItemText(static_cast<SInt16>(mValue), out);
  return out;
}

void LPopupButton::SetDescriptor(ConstStr255Param title) {
  LString::CopyPStr(title, mTitle);
  Refresh();
}

void LPopupButton::GetBoxRect(Rect& out) const {
  CalcLocalFrameRect(out);
  out.left = static_cast<SInt16>(out.left + mTitleWidth);
}

bool LPopupButton::TrackHotSpot(SInt16, Point, SInt16) {
  Rect box;
  GetBoxRect(box);
  Point topLeft = {box.top, box.left};
  PortToGlobalPoint(topLeft);
  mHilitedHotSpot = 1;
  DrawNow();
  SInt32 choice = PopUpMenuSelect(mMenu, topLeft.v, topLeft.h, static_cast<SInt16>(mValue));
  mHilitedHotSpot = 0;
  DrawNow();
  SInt16 item = static_cast<SInt16>(choice & 0xFFFF);
  if (choice != 0 && item >= 1) SetValue(item);
  return choice != 0;
}

void LPopupButton::DrawSelf() {
  Rect frame, box;
  CalcLocalFrameRect(frame);
  GetBoxRect(box);
  UTextTraits::SetPortTextTraits(mTextTraitsID);
  if (mTitleWidth > 0 && mTitle[0]) {
    UAppearance::SetTextColor(IsEnabled());
    Rect label = frame;
    label.right = static_cast<SInt16>(box.left - 4);
    UTextDrawing::DrawTruncatedWithJust(mTitle, label, teFlushLeft);
  }
  UAppearance::DrawPopupBox(box, mHilitedHotSpot != 0, IsEnabled());
  Str255 text;
  GetDescriptor(text);
  UTextTraits::SetPortTextTraits(mTextTraitsID);
  UAppearance::SetTextColor(IsEnabled());
  Rect textRect = box;
  textRect.left = static_cast<SInt16>(textRect.left + 8);
  textRect.right = static_cast<SInt16>(textRect.right - 20);
  UTextDrawing::DrawTruncatedWithJust(text, textRect, teFlushLeft);
}
