#include "framework/LCheckBox.h"

#include "framework/LStream.h"
#include "framework/LString.h"
#include "framework/ReadLayoutFields.h"
#include "framework/UAppearance.h"
#include "framework/UTextDrawing.h"
#include "framework/UTextTraits.h"

LCheckBox::LCheckBox(const SPaneInfo& paneInfo, MessageT valueMessage, SInt32 value, ConstStr255Param title,
                     ResIDT textTraitsID)
    : LControl(paneInfo, valueMessage, value, 0, 1), mTextTraitsID(textTraitsID) {
  LString::CopyPStr(title, mTitle);
}

LCheckBox::LCheckBox(LStream* stream) : LControl(stream) {
  ReadLayoutFields<layout::kTitled>(*stream, mTitle, mTextTraitsID);
  mMinValue = 0;
  mMaxValue = 1;
}

StringPtr LCheckBox::GetDescriptor(Str255 out) const { return LString::CopyPStr(mTitle, out); }

void LCheckBox::SetDescriptor(ConstStr255Param title) {
  LString::CopyPStr(title, mTitle);
  Refresh();
}

void LCheckBox::DrawWithMark(bool round) {
  Rect frame;
  CalcLocalFrameRect(frame);
  UAppearance::DrawCheckMark(frame, mValue, mHilitedHotSpot != 0, IsEnabled(), round);
  UTextTraits::SetPortTextTraits(mTextTraitsID);
  UAppearance::SetTextColor(IsEnabled());
  Rect text = frame;
  text.left = static_cast<SInt16>(frame.left + 18);
  UTextDrawing::DrawTruncatedWithJust(mTitle, text, teFlushLeft);
}

void LCheckBox::DrawSelf() { DrawWithMark(false); }

void LCheckBox::HotSpotResult(SInt16) { SetValue(mValue == 0 ? 1 : 0); }
