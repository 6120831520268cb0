#include "app/CEditableCaption.h"

#include <algorithm>
#include <cstdio>

#include "app/CAppearanceApp.h"
#include "app/CMainWindow.h"
#include "framework/LEditField.h"
#include "framework/LException.h"
#include "framework/LView.h"
#include "framework/UKeyFilters.h"
#include "framework/UTextTraits.h"
#include "quickdraw/QuickDrawText.h"
#include "toolbox/Clock.h"
#include "windows/Events.h"

CEditableCaption::CEditableCaption(const SPaneInfo& paneInfo, ConstStr255Param text, ResIDT textTraitsID,
                                   UInt8 editable)
    : LCaption(paneInfo, text, textTraitsID), mEditable(editable) {}

CEditableCaption::~CEditableCaption() {
  StopRepeating();
  delete mEditField;
}

void CEditableCaption::GetCurrentText(Str255 outText) const {
  if (mEditField)
    mEditField->GetDescriptor(outText);
  else
    GetDescriptor(outText);
}

void CEditableCaption::SetCurrentText(ConstStr255Param text) {
  SetDescriptor(text);
  if (mEditField) mEditField->SetDescriptor(text);
}

PaneIDT CEditableCaption::EditFieldID() {
  char id[16];
  std::snprintf(id, sizeof id, "%4d", static_cast<int>(TickCount() % 100000));
  return static_cast<PaneIDT>((UInt8(id[0]) << 24) | (UInt8(id[1]) << 16) | (UInt8(id[2]) << 8) | UInt8(id[3]));
}

void CEditableCaption::ClickSelf(const SMouseDownEvent&) {
  if (mEditable != 1) return;
  if (!mEditField) {
    const SPaneInfo info = EditFieldPaneInfo();
    LCommander* super = CAppearanceApp::sMainWindow;
    mEditField = new LEditField(info, mText, mTextTraitsID, kMaxChars, false, false, &UKeyFilters::PrintingCharField,
                                super);
    ThrowIfNil_(mEditField);
    mEditField->FinishCreate();
  }
  LCommander::SwitchTarget(mEditField);
  mEditField->FocusDraw();
  mEditField->Draw(nullptr);
  StartRepeating();
}

SPaneInfo CEditableCaption::EditFieldPaneInfo() const {
  SPaneInfo info;
  info.paneID = EditFieldID();
  info.width = mFrameSize.width;
  info.height = mFrameSize.height;
  info.bindings = mFrameBinding;
  SPoint32 superLocation{0, 0};
  if (GetSuperView()) GetSuperView()->GetFrameLocation(superLocation);
  info.left = mFrameLocation.h - superLocation.h;
  info.top = mFrameLocation.v - superLocation.v;
  info.superView = GetSuperView();
  return info;
}

void CEditableCaption::SpendTime(const EventRecord&) {
  if (!mEditField) return StopRepeating();
  const LPane* last = LPane::sLastPaneClicked;
  const PaneIDT lastID = last ? last->GetPaneID() : 0;
  if (lastID == mEditField->GetPaneID() || lastID == GetPaneID()) return;
  EndEditing();
}

void CEditableCaption::EndEditing() {
  StopRepeating();
  Str255 text;
  mEditField->GetDescriptor(text);
  LEditField* field = mEditField;
  mEditField = nullptr;
  delete field;
  SetDescriptor(text);
}

void CEditableCaption::Draw(RgnHandle) {
  if (!IsVisible() || !FocusDraw()) return;
  DrawSelf();
}

void CEditableCaption::DrawSelf() {
  const SInt16 justification = UTextTraits::SetPortTextTraits(mTextTraitsID);
  RGBColor traitsColour;
  GetForeColor(&traitsColour);
  ApplyForeAndBackColors();
  RGBForeColor(&traitsColour);
  Rect frame;
  CalcLocalFrameRect(frame);
  DrawWithJustificationMyOnly(reinterpret_cast<const char*>(mText + 1), mText[0], frame, justification, false);
}

void CEditableCaption::DrawWithJustificationMyOnly(const char* text, long length, const Rect& frame,
                                                   SInt16 justification, bool addLeading) {
  FontInfo font;
  GetFontInfo(&font);
  const SInt16 lineHeight = static_cast<SInt16>(font.ascent + font.descent + font.leading);
  SInt32 baseline = frame.top + font.ascent + (addLeading ? font.leading : 0);
  if (justification == teFlushDefault) justification = GetSysDirection() == 0 ? teFlushLeft : teFlushRight;

  RgnHandle savedClip = NewRgn();
  GetClip(savedClip);
  ClipRect(&frame);
  const SInt16 frameWidth = static_cast<SInt16>(frame.right - frame.left);
  long start = 0;
  while (start < length && baseline <= frame.bottom) {
    const SInt32 remaining = static_cast<SInt32>(std::min<long>(length - start, 32767));
    Fixed width = static_cast<Fixed>(frameWidth) << 16;
    SInt32 offset = 1;
    Ptr lineStart = const_cast<char*>(text + start);
    StyledLineBreak(lineStart, remaining, 0, remaining, 0, &width, &offset);
    // At least one byte a line, so a frame too narrow for any character still ends.
    const SInt32 lineBytes = std::clamp<SInt32>(offset, 1, remaining);
    const SInt32 visible = VisibleLength(lineStart, lineBytes);
    const SInt16 visibleWidth = TextWidth(lineStart, 0, static_cast<SInt16>(visible));
    SInt16 x = frame.left;
    if (justification == teFlushRight)
      x = static_cast<SInt16>(frame.right - visibleWidth);
    else if (justification != teFlushLeft)
      x = static_cast<SInt16>(frame.left + (frameWidth - visibleWidth) / 2);
    MoveTo(x, static_cast<SInt16>(baseline));
    DrawText(lineStart, 0, static_cast<SInt16>(lineBytes));
    start += lineBytes;
    baseline += lineHeight;
  }
  SetClip(savedClip);
  DisposeRgn(savedClip);
}
