#include "dialogs/file/ScanObjects.h"

#include <exception>

#include "dialogs/file/FunctionDialogKit.h"
#include "framework/LDialogBox.h"
#include "output/hub/UProcess.h"
#include "output/hub/WXLaunch.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/Scanner.h"

namespace ScanObjects {

namespace {
constexpr SInt32 kFirstLaunchFirstSystem = 0x1010, kLastLaunchFirstSystem = 0x101F;
}  // namespace

CThreadChecker* NewRun(LDialogBox* dialog, bool twain, const FSSpec& temporary) {
  if (twain) {
    auto* connection = new CTWAIN;
    connection->SetTempFolder(temporary);
    return new CThreadChecker(dialog, connection);
  }
  auto* scanner = new Scanner;
  scanner->SetTempFolder(temporary);
  return new CThreadChecker(dialog, scanner);
}

void LaunchFirstOnOldSystems(const FSSpec& app, LDialogBox* dialog) {
  const SInt32 system = FunctionDialogKit::SystemVersion();
  if (system < kFirstLaunchFirstSystem || system > kLastLaunchFirstSystem || app.name[0] == 0) return;
  try {
    CWXUtility::LaunchWithFSSpec(app);
  } catch (const std::exception&) {
    // The hand-on after the scan tries again and decides.
  }
  ProcessSerialNumber self{0, kCurrentProcess};
  UProcess::SetFront(self);
  dialog->Activate();
}

}  // namespace ScanObjects
