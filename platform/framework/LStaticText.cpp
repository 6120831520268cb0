#include "framework/LStaticText.h"

#include "framework/UAppearance.h"
#include "framework/UTextDrawing.h"
#include "framework/UTextTraits.h"

void LStaticText::DrawSelf() {
  Rect frame;
  CalcLocalFrameRect(frame);
  SInt16 just = UTextTraits::SetPortTextTraits(mTextTraitsID);
  if (!IsEnabled()) UAppearance::SetTextColor(false);
  UTextDrawing::DrawWithJustification(mText + 1, mText[0], frame, just);
}
