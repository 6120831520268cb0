#include "output/hubdialogs/WXCheckBoxPrompt.h"

#include "framework/LCheckBox.h"
#include "output/hubdialogs/HubDialog.h"

namespace CWXUtility {

SInt32 CheckBoxPrompt(SInt16 layoutID, PaneIDT checkBox, LCommander* super) {
  HubDialog<> prompt(layoutID, super);
  LCheckBox* check = prompt.Pane<LCheckBox>(checkBox);
  check->SetValue(0);
  prompt.Run([] { return true; });
  return check->GetValue();
}

SInt32 SkipFavoriteScanCheckMsg(LCommander* super) { return CheckBoxPrompt(kFavoriteScanNoticeLayout, 'CbDD', super); }

}  // namespace CWXUtility
