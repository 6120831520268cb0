#include "dialogs/file/WatchedScan.h"

#include <exception>

#include "dialogs/file/FunctionDialogKit.h"
#include "framework/LDialogBox.h"
#include "output/hub/UProcess.h"
#include "output/hub/WXFolders.h"
#include "output/hub/WXLaunch.h"
#include "output/hubdialogs/WXScan.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/Scanner.h"

bool StartWatchedScan(LDialogBox* dialog, RecordBytes prefsAll, const ScanRequest& request) {
  RecordBytes setting = PREF_ALL::kSetting.in(prefsAll);
  const UInt8 isTWAIN = PREF_SETTING::kTWAIN.get(setting);
  Str255 model;
  PREF_SETTING::kModelName.get(setting, model);
  Scanner* scanner = nullptr;
  CTWAIN* twain = nullptr;
  CThreadChecker* checker = nullptr;
  // Raw pages go to the working temporary folder, where the export and the clean-up look.
  const FSSpec temp = CWXUtility::TempFolderSpec();
  if (isTWAIN) {
    twain = new CTWAIN;
    twain->SetTempFolder(temp);
    checker = new CThreadChecker(dialog, twain);
  } else {
    scanner = new Scanner;
    scanner->SetTempFolder(temp);
    checker = new CThreadChecker(dialog, scanner);
  }
  const long started = CWXUtility::ImportFromDevice(
      request.caller, isTWAIN, checker, model, request.customSize, request.fileType, request.source,
      request.imageMode, request.driverWindow, request.paperIndex, request.resolution, dialog, 0, request.flag);
  if (started != 0) return true;
  delete checker;
  delete scanner;
  delete twain;
  return false;
}

void LaunchBeforeScan(LWindow* dialog, const FSSpec& app) {
  constexpr SInt32 kFirst = 0x1010, kLast = 0x101F;
  const SInt32 system = FunctionDialogKit::SystemVersion();
  if (system < kFirst || system > kLast || app.name[0] == 0) return;
  try {
    CWXUtility::LaunchWithFSSpec(app);
  } catch (const std::exception&) {
    // The hand-on after the scan tries again and decides.
  }
  ProcessSerialNumber self{0, kCurrentProcess};
  UProcess::SetFront(self);
  dialog->Activate();
}
