#include "app/CExifEditText.h"

#include "toolbox/TextUtils.h"

namespace {

// A key code classed as the second byte after a zero byte: single (0) or lead (-1) byte.
SInt16 ByteClass(UInt16 code) {
  char buffer[2] = {0, static_cast<char>(code)};
  return CharByte(buffer, 1);
}

}  // namespace

bool CExifEditText::HandleKeyPress(const EventRecord& event) {
  UInt16 code = static_cast<UInt16>(event.message & charCodeMask);
  const bool command = (event.modifiers & cmdKey) != 0;
  if (command) return LEditText::HandleKeyPress(event);
  if (KeyFilterFunc filter = GetKeyFilter()) {
    if (mPreviousChar == 0) mPreviousChar = code;
    const bool bothSingle = ByteClass(mPreviousChar) == 0 && ByteClass(code) == 0;
    const UInt16 keyCode = static_cast<UInt16>((event.message & keyCodeMask) >> 8);
    const EKeyStatus status = bothSingle ? filter(nullptr, keyCode, code, event.modifiers) : keyStatus_Reject;
    mPreviousChar = code;
    if (status == keyStatus_Reject) {
      SysBeep(1);
      return true;
    }
    if (status != keyStatus_Input) return LEditText::HandleKeyPress(event);
  } else if (!UKeyFilters::IsPrintingChar(code)) {
    return LEditText::HandleKeyPress(event);
  }
  if (TooManyCharacters(1)) {
    SysBeep(1);
    return true;
  }
  if (static_cast<SInt32>(GetText().size()) < GetMaxChars() - 1 || ByteClass(code) == 0) {
    if (mPendingTrail == 1) {
      mPendingTrail = 0;
      return true;
    }
    return LEditText::HandleKeyPress(event);
  }
  mPendingTrail = 1;
  SysBeep(1);
  return true;
}
