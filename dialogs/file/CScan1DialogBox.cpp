#include "dialogs/file/CScan1DialogBox.h"

#include "app/CMainWindow.h"

namespace {
const SCustomScanKind kScan1{6000, PREF_ALL::kScan1, &CPreferences::Set_Default_Scan1,
                             &CMainWindow::SetScan1ButtonName, 7, 6, true};
}  // namespace

CScan1DialogBox::CScan1DialogBox(LStream* stream) : CCustomScanDialogBox(stream, kScan1) {}
