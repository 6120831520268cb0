#include "output/hubdialogs/WXAlert.h"

#include <string>

#include "framework/LDialogBox.h"
#include "framework/LException.h"
#include "framework/LIconControl.h"
#include "framework/LPushButton.h"
#include "framework/LStaticText.h"
#include "output/hubdialogs/HubDialog.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"
#include "windows/Events.h"

namespace CWXUtility {

namespace {

constexpr PaneIDT kMessageText = 'TXMS';
constexpr PaneIDT kCancelButton = 'BTCN';
constexpr PaneIDT kIcon = 'ICMS';
constexpr SInt16 kBeepDuration = 10;

PaneIDT ChosenButton(UInt16 buttonChoice) {
  switch (buttonChoice) {
    case 2: return 'BOK2';
    case 3: return 'BOK3';
    default: return 'BOK1';
  }
}

// A waiting prompt is over however the alert ends, so a later scanner-button push is
// never taken for its answer.
class StPromptOpen {
 public:
  StPromptOpen() = default;
  ~StPromptOpen() { sIsOpen = 0; }
  StPromptOpen(const StPromptOpen&) = delete;
  StPromptOpen& operator=(const StPromptOpen&) = delete;
};

}  // namespace

void ComposeAlertMessage(ConstStr255Param item, ConstStr255Param param, Str255 out) {
  const std::string text(reinterpret_cast<const char*>(item + 1), item[0]);
  if (!param) {
    PStrFromString(text, out);
    return;
  }
  const std::string value(reinterpret_cast<const char*>(param + 1), param[0]);
  std::string message;
  bool substituted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size()) {
      if (text[i + 1] == '%') {
        message += '%';
        ++i;
        continue;
      }
      if (text[i + 1] == 's' && !substituted) {
        message += value;
        substituted = true;
        ++i;
        continue;
      }
    }
    message += text[i];
  }
  PStrFromString(message, out);
}

SInt32 Show_Error(SInt32 layoutID, LCommander* super, SInt16 listID, SInt32 index, UInt8 showCancel, UInt8 showIcon,
                  ConstStr255Param param, UInt16 buttonChoice) {
  StPromptOpen promptGuard;
  SysBeep(kBeepDuration);

  HubDialog<> alert(layoutID, super);
  alert.handler().SetAlertName("alert " + std::to_string(layoutID) + " (string list " + std::to_string(listID) +
                               " item " + std::to_string(index) + ")");

  Str255 item, message;
  GetIndString(item, listID, SInt16(index));
  ComposeAlertMessage(item, param, message);

  if (layoutID == kNextPageButtonLayout) {
    auto* box = dynamic_cast<LDialogBox*>(alert.dialog());
    ThrowIfNil_(box);
    const PaneIDT chosen = ChosenButton(buttonChoice);
    LPushButton* button = alert.Pane<LPushButton>(chosen);
    box->SetCancelButton(chosen);
    button->Show();
  }
  if (!showCancel) {
    LPushButton* cancel = alert.Pane<LPushButton>(kCancelButton);
    cancel->Disable();
    cancel->Hide();
  }
  if (!showIcon) {
    LIconControl* icon = alert.Pane<LIconControl>(kIcon);
    icon->Disable();
    icon->Hide();
  }
  alert.Pane<LStaticText>(kMessageText)->SetDescriptor(message);

  sEZMag = 0;
  return alert.Run([] { return true; },
                   [&](MessageT) -> SInt32 {
                     if (layoutID != kNextPageButtonLayout) return 0;
                     // A scanner-button push answers the prompt as its buttons would.
                     const SInt32 answer = sEZMag;
                     sIsOpen = 1;
                     return answer == msg_OK || answer == msg_Cancel ? answer : 0;
                   });
}

}  // namespace CWXUtility
