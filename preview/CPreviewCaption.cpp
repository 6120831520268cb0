#include "preview/CPreviewCaption.h"

#include "app/CPreviewEditField.h"
#include "framework/LException.h"
#include "framework/LUndoer.h"
#include "framework/LView.h"
#include "framework/StColorPenState.h"
#include "framework/UKeyFilters.h"
#include "framework/UTextTraits.h"
#include "preview/CPreviewThumbnail.h"
#include "preview/PreviewColours.h"
#include "quickdraw/QuickDraw.h"

CPreviewCaption::CPreviewCaption(const SPaneInfo& paneInfo, ConstStr255Param text, ResIDT textTraitsID,
                                 UInt8 editable)
    : CEditableCaption(paneInfo, text, textTraitsID, editable), mEditable(editable == 1) {}

CPreviewCaption::~CPreviewCaption() {
  StopRepeating();
  delete mEdit;
}

void CPreviewCaption::SetEditable(bool editable) {
  mEditable = editable;
  if (editable)
    Enable();
  else
    Disable();
}

void CPreviewCaption::GetText(Str255 out) const {
  if (mEdit)
    mEdit->GetDescriptor(out);
  else
    GetDescriptor(out);
}

void CPreviewCaption::TakeEditText() {
  if (!mEdit) return;
  Str255 text;
  mEdit->GetDescriptor(text);
  SetDescriptor(text);
}

void CPreviewCaption::CommitEdit() {
  StopRepeating();
  if (!mEdit) return;
  TakeEditText();
  CPreviewEditField* field = mEdit;
  mEdit = nullptr;
  delete field;
  Refresh();
}

void CPreviewCaption::ClickSelf(const SMouseDownEvent&) {
  BroadcastMessage(msg_Click, this);
  if (!mEditable || mEdit) return;
  const SPaneInfo info = EditFieldPaneInfo();
  LView* top = GetSuperView();
  while (top->GetSuperView()) top = top->GetSuperView();
  mEdit = new CPreviewEditField(info, mText, mEditTraitsID ? mEditTraitsID : mTextTraitsID, kMaxChars, false, true,
                                &UKeyFilters::PrintingCharField, dynamic_cast<LCommander*>(top));
  mEdit->FinishCreate();
  mEdit->AddAttachment(new LUndoer);
  LCommander::SwitchTarget(mEdit);
  mEdit->FocusDraw();
  mEdit->Draw(nullptr);
  StartRepeating();
}

void CPreviewCaption::SpendTime(const EventRecord&) {
  if (!mEdit) return StopRepeating();
  // Every caption is 'Fncp': the thumbnail the click landed in tells them apart.
  const LPane* last = LPane::sLastPaneClicked;
  if (last && (last == mEdit || last == this)) return;
  if (last && (last->GetPaneID() == mEdit->GetPaneID() || last->GetPaneID() == GetPaneID()) &&
      last->GetSuperView() == mEdit->GetSuperView())
    return;
  CommitEdit();
}

void CPreviewCaption::Draw(RgnHandle) {
  if (!IsVisible() || !FocusDraw()) return;
  DrawSelf();
}

void CPreviewCaption::DrawSelf() {
  Rect frame;
  CalcLocalFrameRect(frame);
  DrawIn(frame);
}

void CPreviewCaption::DrawForDrag() {
  Rect frame;
  CalcPortFrameRect(frame);
  DrawIn(frame);
}

void CPreviewCaption::DrawIn(const Rect& frame) {
  StColorPenState saved;
  StColorPenState::Normalize();
  if (auto* cell = dynamic_cast<CPreviewThumbnail*>(GetSuperView())) {
    RGBForeColor(&PreviewColours::kBackground);
    PaintRect(&frame);
    if (cell->IsSelected()) {
      Pattern grey;
      RGBForeColor(&PreviewColours::kSelection);
      PenPat(GetQDGlobalsGray(&grey));
      PenSize(2, 2);
      FrameRect(&frame);
      PenNormal();
    }
  }
  // While renaming, the field shows the text.
  if (mEdit) return;
  const SInt16 justification = UTextTraits::SetPortTextTraits(mTextTraitsID);
  DrawWithJustificationMyOnly(reinterpret_cast<const char*>(mText + 1), mText[0], frame, justification, false);
}
