#include "framework/LEditText.h"

#include <algorithm>
#include <cstdio>

#include "framework/LStream.h"
#include "framework/LStr255.h"
#include "framework/ReadLayoutFields.h"
#include "framework/UAppearance.h"
#include "framework/UTextTraits.h"
#include "quickdraw/QuickDrawText.h"
#include "quickdraw/qdText.h"

LEditText::LEditText(const SPaneInfo& paneInfo, LCommander* super, ConstStr255Param text, ResIDT textTraitsID,
                     MessageT valueMessage, SInt16 maxChars, KeyFilterFunc keyFilter)
    : LControl(paneInfo, valueMessage, 0, 0, 0),
      LCommander(super),
      mMaxChars(maxChars),
      mTextTraitsID(textTraitsID),
      mKeyFilter(keyFilter) {
  SetDescriptor(text);
}

LEditText::LEditText(LStream* stream, ClassIDT) : LControl(stream), LCommander(LCommander::GetDefaultCommander()) {
  Str255 text;
  UInt8 filter = 0, framed = 1;
  ReadLayoutFields<layout::kEditText>(*stream, text, mTextTraitsID, mMaxChars, filter, framed);
  mKeyFilter = UKeyFilters::FilterForCode(filter);
  mFramed = framed != 0;
  SetDescriptor(text);
}

size_t LEditText::NextCharEnd(size_t at) const {
  if (at >= mText.size()) return mText.size();
  size_t step = qdIsLeadByte(static_cast<UInt8>(mText[at])) && at + 1 < mText.size() ? 2 : 1;
  return at + step;
}

size_t LEditText::PreviousCharStart(size_t at) const {
  // Walk from the start: a byte's role depends on what comes before it.
  size_t pos = 0, last = 0;
  while (pos < at) {
    last = pos;
    pos = NextCharEnd(pos);
  }
  return last;
}

size_t LEditText::FitWholeChars(const std::string& bytes, size_t limit) const {
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t step = qdIsLeadByte(static_cast<UInt8>(bytes[pos])) && pos + 1 < bytes.size() ? 2 : 1;
    if (pos + step > limit) break;
    pos += step;
  }
  return pos;
}

StringPtr LEditText::GetDescriptor(Str255 out) const {
  size_t n = std::min<size_t>(mText.size(), 255);
  out[0] = static_cast<unsigned char>(n);
  std::copy(mText.begin(), mText.begin() + static_cast<long>(n), out + 1);
  return out;
}

void LEditText::SetDescriptor(ConstStr255Param text) {
  std::string bytes(reinterpret_cast<const char*>(text + 1), text[0]);
  mText = bytes.substr(0, FitWholeChars(bytes, static_cast<size_t>(std::max<SInt16>(0, mMaxChars))));
  mSelStart = mSelEnd = mText.size();
  mPendingLead = 0;
  mScroll = 0;
  Refresh();
}

SInt32 LEditText::GetValue() const {
  Str255 text;
  GetDescriptor(text);
  return LStr255(text).ToNumber();
}

void LEditText::SetValue(SInt32 value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%ld", static_cast<long>(value));
  SetDescriptor(LStr255(digits));
}

void LEditText::GetSelection(SInt16& start, SInt16& end) const {
  start = static_cast<SInt16>(mSelStart);
  end = static_cast<SInt16>(mSelEnd);
}

void LEditText::SetSelection(SInt16 start, SInt16 end) {
  auto clampToChar = [this](SInt16 at) {
    size_t pos = static_cast<size_t>(std::clamp<int>(at, 0, static_cast<int>(mText.size())));
    size_t boundary = 0;
    while (boundary < pos) {
      size_t next = NextCharEnd(boundary);
      if (next > pos) break;
      boundary = next;
    }
    return boundary;
  };
  mSelStart = clampToChar(std::min(start, end));
  mSelEnd = clampToChar(std::max(start, end));
  Refresh();
}

void LEditText::SelectAll() { SetSelection(0, static_cast<SInt16>(mText.size())); }

bool LEditText::TooManyCharacters(SInt32 charsToAdd) {
  SInt32 length = static_cast<SInt32>(mText.size() - (mSelEnd - mSelStart));
  return length + charsToAdd > mMaxChars;
}

void LEditText::ReplaceSelection(const std::string& bytes) {
  mText.replace(mSelStart, mSelEnd - mSelStart, bytes);
  mSelStart = mSelEnd = mSelStart + bytes.size();
}

void LEditText::UserChangedText() { BroadcastValueMessage(); }

bool LEditText::HandleKeyPress(const EventRecord& event) {
  if (UKeyFilters::IsSelectAllKey(event)) {
    SelectAll();
    return true;
  }
  UInt16 c = 0;
  const EKeyStatus status = UKeyFilters::ClassOfKeyPress(event, mKeyFilter, nullptr, mPendingLead != 0, c);
  switch (status) {
    case keyStatus_Input: {
      std::string bytes;
      if (mPendingLead) {
        bytes = {static_cast<char>(mPendingLead), static_cast<char>(c)};
        mPendingLead = 0;
      } else if (qdIsLeadByte(static_cast<UInt8>(c))) {
        mPendingLead = static_cast<UInt8>(c);
        return true;
      } else {
        bytes = std::string(1, static_cast<char>(c));
      }
      if (TooManyCharacters(static_cast<SInt32>(bytes.size()))) {
        SysBeep(1);
        return true;
      }
      ReplaceSelection(bytes);
      Refresh();
      UserChangedText();
      return true;
    }
    case keyStatus_TEDelete: {
      mPendingLead = 0;
      if (mSelStart == mSelEnd) {
        if (c == kBackspaceCharCode) {
          if (mSelStart == 0) return true;
          mSelStart = PreviousCharStart(mSelStart);
        } else {
          if (mSelEnd >= mText.size()) return true;
          mSelEnd = NextCharEnd(mSelEnd);
        }
      }
      ReplaceSelection("");
      Refresh();
      UserChangedText();
      return true;
    }
    case keyStatus_TECursor: {
      size_t at = mSelEnd;
      if (c == kLeftArrowCharCode)
        at = mSelStart != mSelEnd ? mSelStart : PreviousCharStart(mSelStart);
      else if (c == kRightArrowCharCode)
        at = mSelStart != mSelEnd ? mSelEnd : NextCharEnd(mSelEnd);
      else if (c == kHomeCharCode || c == kUpArrowCharCode)
        at = 0;
      else
        at = mText.size();
      mSelStart = mSelEnd = at;
      Refresh();
      return true;
    }
    default:
      return UKeyFilters::TakeNonEditingKey(status, *this, event);
  }
}

bool LEditText::ObeyCommand(CommandT command, void* param) {
  switch (command) {
    case cmd_SelectAll:
      SelectAll();
      return true;
    case cmd_Clear:
      ReplaceSelection("");
      Refresh();
      UserChangedText();
      return true;
    default:
      return LCommander::ObeyCommand(command, param);
  }
}

void LEditText::FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                                  Str255 outName) {
  if (command == cmd_SelectAll) {
    outEnabled = !mText.empty();
    return;
  }
  if (command == cmd_Clear) {
    outEnabled = mSelStart != mSelEnd;
    return;
  }
  LCommander::FindCommandStatus(command, outEnabled, outUsesMark, outMark, outName);
}

void LEditText::BeTarget() {
  // Tabbing into a field selects its text, so typing replaces it.
  mPendingLead = 0;
  SelectAll();
}

void LEditText::DontBeTarget() {
  mPendingLead = 0;
  Refresh();
}

bool LEditText::ExecuteCommanderAttachments(MessageT message, void* param) { return ExecuteAttachments(message, param); }

void LEditText::TextRect(Rect& out) const {
  CalcLocalFrameRect(out);
  InsetRect(&out, 3, 1);
}

size_t LEditText::OffsetAt(SInt16 h) const {
  Rect r;
  TextRect(r);
  SInt16 x = static_cast<SInt16>(h - r.left + mScroll);
  size_t pos = 0;
  while (pos < mText.size()) {
    size_t next = NextCharEnd(pos);
    SInt16 mid = static_cast<SInt16>((TextWidth(mText.data(), 0, static_cast<SInt16>(pos)) +
                                      TextWidth(mText.data(), 0, static_cast<SInt16>(next))) / 2);
    if (x < mid) break;
    pos = next;
  }
  return pos;
}

void LEditText::ClickSelf(const SMouseDownEvent& event) {
  if (!IsTarget()) SwitchTarget(this);
  FocusDraw();
  UTextTraits::SetPortTextTraits(mTextTraitsID);
  if (GetClickCount() >= 2) {
    SelectAll();
    return;
  }
  size_t anchor = OffsetAt(event.whereLocal.h);
  size_t other = anchor;
  Point now = event.whereLocal;
  while (StillDown()) {
    GetMouse(&now);
    other = OffsetAt(now.h);
  }
  mPendingLead = 0;
  mSelStart = std::min(anchor, other);
  mSelEnd = std::max(anchor, other);
  Refresh();
}

void LEditText::DrawSelf() {
  Rect frame, r;
  CalcLocalFrameRect(frame);
  TextRect(r);
  bool focused = IsTarget() && IsActive();
  if (mFramed) UAppearance::DrawEditBox(frame, IsEnabled(), focused);
  UTextTraits::SetPortTextTraits(mTextTraitsID);
  FontInfo info;
  GetFontInfo(&info);
  SInt16 caretX = TextWidth(mText.data(), 0, static_cast<SInt16>(mSelEnd));
  SInt16 room = static_cast<SInt16>(r.right - r.left - 1);
  if (caretX - mScroll > room) mScroll = static_cast<SInt16>(caretX - room);
  if (caretX < mScroll) mScroll = caretX;
  SInt16 baseline = static_cast<SInt16>(r.top + (r.bottom - r.top - info.ascent - info.descent) / 2 + info.ascent);
  Rect revealed, clip;
  if (CalcRevealedRect(revealed) && SectRect(&r, &revealed, &clip)) ClipRect(&clip);
  if (focused && mSelStart != mSelEnd) {
    RGBColor selection = {0xB3B3, 0xD7D7, 0xFFFF};
    Rect sel = {static_cast<SInt16>(baseline - info.ascent),
                static_cast<SInt16>(r.left - mScroll + TextWidth(mText.data(), 0, static_cast<SInt16>(mSelStart))),
                static_cast<SInt16>(baseline + info.descent), static_cast<SInt16>(r.left - mScroll + caretX)};
    RGBForeColor(&selection);
    PaintRect(&sel);
  }
  UAppearance::SetTextColor(IsEnabled());
  MoveTo(static_cast<SInt16>(r.left - mScroll), baseline);
  DrawText(mText.data(), 0, static_cast<SInt16>(mText.size()));
  if (focused && mSelStart == mSelEnd) {
    MoveTo(static_cast<SInt16>(r.left - mScroll + caretX), static_cast<SInt16>(baseline - info.ascent));
    LineTo(static_cast<SInt16>(r.left - mScroll + caretX), static_cast<SInt16>(baseline + info.descent));
  }
}
