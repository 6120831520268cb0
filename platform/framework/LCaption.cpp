#include "framework/LCaption.h"

#include "framework/LStream.h"
#include "framework/LString.h"
#include "framework/ReadLayoutFields.h"
#include "framework/UAppearance.h"
#include "framework/UTextDrawing.h"
#include "framework/UTextTraits.h"

LCaption::LCaption(const SPaneInfo& paneInfo, ConstStr255Param text, ResIDT textTraitsID)
    : LPane(paneInfo), mTextTraitsID(textTraitsID) {
  LString::CopyPStr(text, mText);
}

LCaption::LCaption(LStream* stream) : LPane(stream) {
  ReadLayoutFields<layout::kText>(*stream, mText, mTextTraitsID);
}

StringPtr LCaption::GetDescriptor(Str255 out) const { return LString::CopyPStr(mText, out); }

void LCaption::SetDescriptor(ConstStr255Param text) {
  LString::CopyPStr(text, mText);
  Refresh();
}

void LCaption::DrawSelf() {
  Rect frame;
  CalcLocalFrameRect(frame);
  SInt16 just = UTextTraits::SetPortTextTraits(mTextTraitsID);
  if (!IsEnabled()) UAppearance::SetTextColor(false);
  UTextDrawing::DrawWithJustification(mText + 1, mText[0], frame, just, true);
}
