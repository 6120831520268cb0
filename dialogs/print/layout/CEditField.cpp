#include "dialogs/print/layout/CEditField.h"

#include <algorithm>

#include "dialogs/print/layout/CPictureView.h"
#include "dialogs/print/layout/CPrintSizePane.h"
#include "framework/StColorPenState.h"

CEditField::CEditField(const SPaneInfo& paneInfo, ConstStr255Param text, ResIDT textTraitsID, SInt16 maxChars,
                       UInt8 hasBox, UInt8 wordWrap, KeyFilterFunc keyFilter, LCommander* superCommander)
    : LEditField(paneInfo, text, textTraitsID, maxChars, hasBox != 0, wordWrap != 0, keyFilter, superCommander) {
  GetForeColor(&mTextColor);
}

void CEditField::SetTextTraitsRecord(const TextTraitsRecord* traits) {
  mTraits = traits;
  if (mTraits) UTextTraits::SetTETextTraits(mTraits, GetMacTEH());
}

void CEditField::UserChangedText() {
  TEHandle te = GetMacTEH();
  const SInt32 textHeight = (*te)->nLines * (*te)->lineHeight;
  auto* area = dynamic_cast<CPictureView*>(GetSuperView());
  CPrintSizePane* paper = area ? area->GetPaper() : nullptr;
  Draw(nullptr);
  if (!paper) return;
  Rect range, frame;
  paper->GetPrintRangeRect(range, 0);
  CalcLocalFrameRect(frame);
  const SInt32 height = frame.bottom - frame.top;
  if (textHeight <= height) return;
  const SInt32 grow = frame.top + textHeight < range.bottom - 3 ? textHeight - height : range.bottom - frame.bottom - 3;
  // A field already lower than the limit stays as it is rather than shrinking.
  if (grow > 0) ResizeFrameBy(0, static_cast<SInt16>(grow), true);
}

void CEditField::DrawSelf() {
  StColorPenState saved;
  if (mTraits) {
    mTextColor = mTraits->color;
    UTextTraits::SetPortTextTraits(*mTraits);
  }
  TEHandle te = GetMacTEH();
  if (mTraits) UTextTraits::SetTETextTraits(mTraits, te);
  const RGBColor white = {0xFFFF, 0xFFFF, 0xFFFF};
  RGBBackColor(&white);
  Rect frame;
  CalcLocalFrameRect(frame);
  EraseRect(&frame);
  RGBForeColor(&mTextColor);
  (*te)->active = IsTarget() && IsActive();
  TEUpdate(&frame, te);
}
