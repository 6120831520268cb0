#include "framework/LCicnButton.h"

#include "framework/LStream.h"
#include "framework/ReadLayoutFields.h"
#include "framework/UAppearance.h"
#include "quickdraw/Icons.h"

LCicnButton::LCicnButton(const SPaneInfo& paneInfo, MessageT valueMessage, ResIDT normalID, ResIDT pushedID)
    : LControl(paneInfo, valueMessage, 0, 0, 0), mNormalID(normalID), mPushedID(pushedID) {}

LCicnButton::LCicnButton(LStream* stream) : LControl(stream) {
  ReadLayoutFields<layout::kCicnButton>(*stream, mNormalID, mPushedID);
}

void LCicnButton::DrawSelf() {
  Rect frame;
  CalcLocalFrameRect(frame);
  CIconHandle icon = GetCIcon(mHilitedHotSpot ? mPushedID : mNormalID);
  if (!icon) {
    UAppearance::DrawPushButton(frame, mHilitedHotSpot != 0, IsEnabled(), false);
    return;
  }
  PlotCIcon(&frame, icon);
  DisposeCIcon(icon);
}
