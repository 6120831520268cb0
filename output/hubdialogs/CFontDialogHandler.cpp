#include "output/hubdialogs/CFontDialogHandler.h"

#include <string>

#include "framework/LEditText.h"
#include "framework/LException.h"
#include "framework/LLittleArrows.h"
#include "framework/LWindow.h"
#include "output/hubdialogs/WXPanes.h"
#include "toolbox/TextUtils.h"

namespace {

constexpr SInt32 kMinSize = 1;
constexpr SInt32 kMaxSize = 100;
constexpr SInt32 kArrowsFallback = 9;

// The whole text as a decimal number (blanks around allowed); false for anything else.
bool WholeNumber(const std::string& text, SInt32* value) {
  const size_t begin = text.find_first_not_of(' '), end = text.find_last_not_of(' ');
  if (begin == std::string::npos || end - begin > 8) return false;
  SInt32 v = 0;
  for (size_t i = begin; i <= end; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
  }
  *value = v;
  return true;
}

}  // namespace

CFontDialogHandler::CFontDialogHandler(ResIDT layoutID, LCommander* super) : StDialogHandler(layoutID, super) { Init(); }

CFontDialogHandler::CFontDialogHandler(LWindow* window, LCommander* super) : StDialogHandler(window, super) { Init(); }

void CFontDialogHandler::Init() {
  LWindow* dialog = GetDialog();
  ThrowIfNil_(dialog);
  mSizeField = CWXUtility::FindPaneAs<LEditText>(dialog, 'EDSZ');
  mSizeArrows = CWXUtility::FindPaneAs<LLittleArrows>(dialog, 'LASZ');
}

void CFontDialogHandler::ShowHeldSize() {
  Str255 text;
  NumToString(mHeldSize, text);
  mSizeField->SetDescriptor(text);
}

void CFontDialogHandler::SetSize(SInt32 size) {
  mHeldSize = size;
  StopListening();
  mSizeArrows->SetValue(size);
  ShowHeldSize();
  StartListening();
}

void CFontDialogHandler::ListenToMessage(MessageT message, void* param) {
  if (message == 'EDSZ') {
    SInt32 value = 0;
    if (WholeNumber(mSizeField->GetText(), &value) && value >= kMinSize && value <= kMaxSize) {
      mHeldSize = value;
      StopListening();
      mSizeArrows->SetValue(value);
      StartListening();
    } else {
      StopListening();
      ShowHeldSize();
      StartListening();
    }
    return;
  }
  if (message == 'LASZ') {
    SInt32 value = mSizeArrows->GetValue();
    if (value < kMinSize || value > kMaxSize) value = kArrowsFallback;
    mHeldSize = value;
    StopListening();
    ShowHeldSize();
    StartListening();
    // The field follows the arrows while they are held down.
    mSizeField->UpdatePort();
    return;
  }
  StDialogHandler::ListenToMessage(message, param);
}
