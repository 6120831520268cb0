#include "output/hubdialogs/WXPrompts.h"

#include "framework/LCheckBox.h"
#include "output/hubdialogs/HubDialog.h"

namespace CWXUtility {

namespace {
constexpr PaneIDT kNoticeCheckBox = 'HTZP';
}

SInt32 EZPDFButtonOnCheckMsg(LCommander* super) {
  HubDialog<> prompt(kPDFButtonNoticeLayout, super);
  LCheckBox* check = prompt.Pane<LCheckBox>(kNoticeCheckBox);
  check->SetValue(0);
  prompt.Run([] { return true; });
  return check->GetValue();
}

}  // namespace CWXUtility
