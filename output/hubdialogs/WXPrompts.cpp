#include "output/hubdialogs/WXPrompts.h"

#include "framework/LCheckBox.h"
#include "framework/LWindow.h"
#include "framework/StDialogHandler.h"
#include "toolbox/Resources.h"
#include "output/hubdialogs/WXPanes.h"

namespace CWXUtility {

namespace {
constexpr PaneIDT kNoticeCheckBox = 'HTZP';
}

SInt32 EZPDFButtonOnCheckMsg(LCommander* super) {
  StCurResFile appResources(ApplicationResFile());
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
