#include "output/hubdialogs/WXPrompts.h"

#include "framework/LCheckBox.h"
#include "framework/LWindow.h"
#include "framework/StDialogHandler.h"
#include "output/hubdialogs/StApplicationResFile.h"
#include "output/hubdialogs/WXPanes.h"

namespace CWXUtility {

namespace {
constexpr PaneIDT kNoticeCheckBox = 'HTZP';
}

SInt32 EZPDFButtonOnCheckMsg(LCommander* super) {
  StApplicationResFile appResources;
  StDialogHandler handler(kPDFButtonNoticeLayout, super);
  LWindow* dialog = handler.GetDialog();
  ThrowIfNil_(dialog);
  LCheckBox* check = FindPaneAs<LCheckBox>(dialog, kNoticeCheckBox);
  check->SetValue(0);
  dialog->Show();
  while (handler.DoDialog() != msg_OK) {
  }
  return check->GetValue();
}

}  // namespace CWXUtility
