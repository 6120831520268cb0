#include "framework/LEditField.h"

#include <algorithm>
#include <cstdio>

#include "framework/LException.h"
#include "framework/LStr255.h"
#include "framework/LTETypingAction.h"
#include "framework/LStream.h"
#include "framework/ReadLayoutFields.h"
#include "framework/UAppearance.h"
#include "framework/UTextTraits.h"
#include "quickdraw/qdText.h"
#include "toolbox/MacMemory.h"

LEditField::LEditField(const SPaneInfo& paneInfo, ConstStr255Param text, ResIDT textTraitsID, SInt16 maxChars,
                       bool hasBox, bool wordWrap, KeyFilterFunc keyFilter, LCommander* super)
    : LPane(paneInfo), LCommander(super), mKeyFilter(keyFilter) {
  Init(text, textTraitsID, maxChars, hasBox, wordWrap);
}

LEditField::LEditField(LStream* stream) : LPane(stream), LCommander(LCommander::GetDefaultCommander()) {
  Str255 text;
  ResIDT traits = 0;
  SInt16 maxChars = 255;
  UInt8 box = 1, wrap = 0, filter = 0;
  ReadLayoutFields<layout::kEditField>(*stream, text, traits, maxChars, box, wrap, filter);
  mKeyFilter = UKeyFilters::FilterForCode(filter);
  Init(text, traits, maxChars, box != 0, wrap != 0);
}

void LEditField::Init(ConstStr255Param text, ResIDT traitsID, SInt16 maxChars, bool hasBox, bool wordWrap) {
  mTextTraitsID = traitsID;
  mMaxChars = static_cast<SInt16>(std::clamp<SInt32>(maxChars, 0, 32767));
  mHasBox = hasBox;
  Rect view;
  TextRects(view);
  mTE = TENew(&view, &view);
  ThrowIfNil_(mTE);
  TextTraitsRecord traits;
  UTextTraits::LoadTextTraits(mTextTraitsID, traits);
  (*mTE)->txFont = traits.fontNumber;
  (*mTE)->txSize = traits.size;
  (*mTE)->txFace = static_cast<Style>(traits.style);
  (*mTE)->wordWrap = wordWrap;
  if (!wordWrap) (*mTE)->destRect.right = 32767;
  SetDescriptor(text);
}

LEditField::~LEditField() { TEDispose(mTE); }

void LEditField::TextRects(Rect& view) const {
  CalcLocalFrameRect(view);
  if (mHasBox) InsetRect(&view, 3, 2);
}

void LEditField::ResizeFrameBy(SInt16 dw, SInt16 dh, bool refresh) {
  LPane::ResizeFrameBy(dw, dh, refresh);
  Rect view;
  TextRects(view);
  (*mTE)->viewRect = view;
  (*mTE)->destRect.bottom = view.bottom;
  if ((*mTE)->wordWrap) (*mTE)->destRect.right = static_cast<SInt16>((*mTE)->destRect.left + view.right - view.left);
  TECalText(mTE);
}

void LEditField::MoveBy(SInt32 dh, SInt32 dv, bool refresh) {
  LPane::MoveBy(dh, dv, refresh);
  OffsetRect(&(*mTE)->viewRect, static_cast<SInt16>(dh), static_cast<SInt16>(dv));
  OffsetRect(&(*mTE)->destRect, static_cast<SInt16>(dh), static_cast<SInt16>(dv));
}

StringPtr LEditField::GetDescriptor(Str255 out) const {
  SInt16 n = std::min<SInt16>((*mTE)->teLength, 255);
  out[0] = static_cast<unsigned char>(n);
  std::copy_n(*(*mTE)->hText, n, out + 1);
  return out;
}

void LEditField::SetDescriptor(ConstStr255Param text) { SetText(text + 1, text[0]); }

void LEditField::SetText(const void* text, SInt32 length) {
  // Cut to the limit on a character boundary.
  const auto* bytes = static_cast<const UInt8*>(text);
  SInt32 keep = 0;
  while (keep < length) {
    SInt32 step = qdIsLeadByte(bytes[keep]) && keep + 1 < length ? 2 : 1;
    if (keep + step > mMaxChars) break;
    keep += step;
  }
  TESetText(text, keep, mTE);
  mPendingLead = 0;
  Refresh();
}

SInt32 LEditField::GetValue() const {
  Str255 text;
  GetDescriptor(text);
  return LStr255(text).ToNumber();
}

void LEditField::SetValue(SInt32 value) { SetDescriptor(LStr255(value)); }

LTETypingAction* LEditField::TypingAction() {
  // One action per run of typing; a new run once the last action was undone or let go of.
  if (!LTETypingAction::IsLive(mTypingAction) || mTypingAction->GetTE() != mTE || !mTypingAction->IsDone()) {
    mTypingAction = new LTETypingAction(mTE, this);
    PostAction(mTypingAction);  // the top of the chain deletes it at once when nobody keeps it
  }
  return LTETypingAction::IsLive(mTypingAction) ? mTypingAction : &mScratchAction;
}

void LEditField::SelectAll() {
  TESetSelect(0, (*mTE)->teLength, mTE);
  Refresh();
}

bool LEditField::TooManyCharacters(SInt32 charsToAdd) {
  return (*mTE)->teLength - ((*mTE)->selEnd - (*mTE)->selStart) + charsToAdd > mMaxChars;
}

void LEditField::Changed() {
  TESelView(mTE);
  Refresh();
  UserChangedText();
}

bool LEditField::HandleKeyPress(const EventRecord& event) {
  if (UKeyFilters::IsSelectAllKey(event)) {
    SelectAll();
    return true;
  }
  UInt16 c = 0;
  const EKeyStatus status = UKeyFilters::ClassOfKeyPress(event, mKeyFilter, mTE, mPendingLead != 0, c);
  UTextTraits::SetPortTextTraits(mTextTraitsID);
  switch (status) {
    case keyStatus_Input: {
      char bytes[2] = {static_cast<char>(c), 0};
      SInt32 n = 1;
      if (mPendingLead) {
        bytes[0] = static_cast<char>(mPendingLead);
        bytes[1] = static_cast<char>(c);
        n = 2;
        mPendingLead = 0;
      } else if (qdIsLeadByte(static_cast<UInt8>(c))) {
        mPendingLead = static_cast<UInt8>(c);
        return true;
      }
      if (TooManyCharacters(n)) {
        SysBeep(1);
        return true;
      }
      TypingAction()->TypeCharacter();
      TEInsert(bytes, n, mTE);
      Changed();
      return true;
    }
    case keyStatus_TEDelete:
      mPendingLead = 0;
      if (c == kBackspaceCharCode)
        TypingAction()->BackwardErase();
      else
        TypingAction()->ForwardErase();
      TEKey(static_cast<SInt16>(c), mTE);
      Changed();
      return true;
    case keyStatus_TECursor:
      TEKey(static_cast<SInt16>(c), mTE);
      TESelView(mTE);
      Refresh();
      return true;
    default:
      return UKeyFilters::TakeNonEditingKey(status, *this, event);
  }
}

bool LEditField::ObeyCommand(CommandT command, void* param) {
  if (command == cmd_SelectAll) {
    SelectAll();
    return true;
  }
  if (command == cmd_Clear) {
    TEDelete(mTE);
    Changed();
    return true;
  }
  return LCommander::ObeyCommand(command, param);
}

void LEditField::DrawSelf() {
  Rect frame;
  CalcLocalFrameRect(frame);
  if (mHasBox) UAppearance::DrawEditBox(frame, IsEnabled(), IsTarget() && IsActive());
  UTextTraits::SetPortTextTraits(mTextTraitsID);
  UAppearance::SetTextColor(IsEnabled());
  (*mTE)->active = IsTarget() && IsActive();
  TEUpdate(&frame, mTE);
}

void LEditField::ClickSelf(const SMouseDownEvent& event) {
  if (!IsTarget()) SwitchTarget(this);
  FocusDraw();
  UTextTraits::SetPortTextTraits(mTextTraitsID);
  TEClick(event.whereLocal, (event.macEvent.modifiers & shiftKey) != 0, mTE);
  Point now = event.whereLocal;
  while (StillDown()) {
    GetMouse(&now);
    TEClick(now, true, mTE);
  }
  mPendingLead = 0;
  Refresh();
}

void LEditField::BeTarget() {
  mPendingLead = 0;
  TEActivate(mTE);
  SelectAll();
}

void LEditField::DontBeTarget() {
  mPendingLead = 0;
  TEDeactivate(mTE);
  Refresh();
}

bool LEditField::ExecuteCommanderAttachments(MessageT message, void* param) { return ExecuteAttachments(message, param); }
