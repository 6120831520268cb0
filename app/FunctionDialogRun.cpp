#include "app/FunctionDialogRun.h"

#include "app/CAppearanceApp.h"
#include "app/CMainWindow.h"
#include "framework/LCommander.h"
#include "framework/LWindow.h"
#include "output/hub/WXDialogFlags.h"
#include "toolbox/Gestalt.h"

namespace {

constexpr SInt32 kLastCoveringSystem = 0x102F;

}  // namespace

bool ScanCoversWindows() {
  SInt32 version = 0;
  Gestalt(gestaltSystemVersion, &version);
  return version <= kLastCoveringSystem;
}

void CoverForScan(LWindow* dialog) {
  if (ScanCoversWindows()) {
    dialog->Hide();
    if (CAppearanceApp::sMainWindow) CAppearanceApp::sMainWindow->DisableWindow();
  } else {
    dialog->Disable();
  }
  dialog->Refresh();
}

void UncoverAfterScan(LWindow* dialog) {
  if (ScanCoversWindows() && CAppearanceApp::sMainWindow) CAppearanceApp::sMainWindow->EnableWindow();
  if (!dialog->IsVisible()) dialog->Show();
  dialog->Enable();
  dialog->Refresh();
}

void SetScanRunning(LCommander* dialog, UInt8& flag, UInt8 running) {
  flag = running;
  CWXUtility::sIsQuellaneOpened = running;
  if (running) LCommander::SwitchTarget(dialog);
  LCommander::SetUpdateCommandStatus(true);
}
