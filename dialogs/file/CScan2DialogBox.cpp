#include "dialogs/file/CScan2DialogBox.h"

#include "app/CMainWindow.h"

namespace {
const SCustomScanKind kScan2{7000, PREF_ALL::kScan2, &CPreferences::Set_Default_Scan2,
                             &CMainWindow::SetScan2ButtonName, 8, 7, false};
}  // namespace

CScan2DialogBox::CScan2DialogBox(LStream* stream) : CCustomScanDialogBox(stream, kScan2) {}
