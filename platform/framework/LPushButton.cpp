#include "framework/LPushButton.h"

#include <cstring>

#include "framework/LStream.h"
#include "framework/LString.h"
#include "framework/ReadLayoutFields.h"
#include "framework/UAppearance.h"
#include "framework/UTextDrawing.h"
#include "framework/UTextTraits.h"

LPushButton::LPushButton(const SPaneInfo& paneInfo, MessageT valueMessage, ConstStr255Param title,
                         ResIDT textTraitsID)
    : LControl(paneInfo, valueMessage, 0, 0, 0), mTextTraitsID(textTraitsID) {
  LString::CopyPStr(title, mTitle);
}

LPushButton::LPushButton(LStream* stream) : LControl(stream) {
  UInt8 isDefault = 0;
  ReadLayoutFields<layout::kTitled>(*stream, mTitle, mTextTraitsID);
  ReadLayoutFields<layout::kPush>(*stream, isDefault);
  mIsDefault = isDefault != 0;
}

StringPtr LPushButton::GetDescriptor(Str255 out) const { return LString::CopyPStr(mTitle, out); }

void LPushButton::SetDescriptor(ConstStr255Param title) {
  LString::CopyPStr(title, mTitle);
  Refresh();
}

void LPushButton::SetDefaultButton(bool isDefault) {
  if (mIsDefault == isDefault) return;
  mIsDefault = isDefault;
  Refresh();
}

void LPushButton::DrawSelf() {
  Rect frame;
  CalcLocalFrameRect(frame);
  UAppearance::DrawPushButton(frame, mHilitedHotSpot != 0, IsEnabled(), mIsDefault);
  UTextTraits::SetPortTextTraits(mTextTraitsID);
  UAppearance::SetTextColor(IsEnabled());
  Rect text = frame;
  InsetRect(&text, TitleInset(), 0);
  UTextDrawing::DrawTruncatedWithJust(mTitle, text, teCenter);
}

void LPushButton::HotSpotResult(SInt16) { BroadcastValueMessage(); }
