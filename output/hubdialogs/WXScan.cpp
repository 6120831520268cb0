#include "output/hubdialogs/WXScan.h"

#include <algorithm>

#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "framework/LDialogBox.h"
#include "output/hubdialogs/WXAlert.h"
#include "output/hub/WXChecks.h"
#include "output/hub/WXText.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/Scanner.h"

namespace CWXUtility {

namespace {

enum : SInt32 { kItemCannotStart = 3, kItemNoDriver = 6, kItemNoScannerChosen = 50 };

long ShowScanError(LCommander* dialog, SInt32 item) {
  Show_Error(kAlertLayout, dialog, kAlertLayout, item, 0, 1, nullptr, 0);
  return 0;
}

// Without a model there is nothing to open: the user has a choice to make, not a fault to mend.
bool ModelChosen(const unsigned char* model) { return model[0] != 0; }

bool SameName(ConstStr255Param a, ConstStr255Param b) { return a[0] == b[0] && std::equal(a + 1, a + 1 + a[0], b + 1); }

}  // namespace

long ImportFromDevice(long callerCode, unsigned char isTWAIN, CThreadChecker* checker, unsigned char* driverName,
                      SDimension16 customSize, unsigned long fileType, long source, long imageMode, long showDriverUI,
                      long paperIndex, long resolution, LCommander* dialog, long level, unsigned char flag) {
  sDialog = dynamic_cast<LDialogBox*>(dialog);
  if (!ModelChosen(driverName)) return ShowScanError(dialog, kItemNoScannerChosen);

  Rect area{0, 0, 0, 0};
  if (paperIndex == Paper_Size_custom) {
    area.bottom = static_cast<SInt16>(mm10_to_pixel(customSize.height, resolution));
    area.right = static_cast<SInt16>(mm10_to_pixel(customSize.width, resolution));
  } else {
    CPreferences::set_paper_size(&area, paperIndex, resolution);
  }

  const unsigned char showUI = static_cast<unsigned char>(showDriverUI);
  if (!isTWAIN) {
    Scanner* scanner = checker ? checker->GetScanner() : nullptr;
    if (scanner && scanner->SetDriverAndOpen(driverName) == 1) {
      scanner->Setup_Parameter(callerCode, showUI, source, imageMode, resolution, area, level);
      return scanner->Scan();
    }
    return ShowScanError(dialog, kItemNoDriver);
  }

  CTWAIN* twain = checker ? checker->GetTWAIN() : nullptr;
  if (!twain) return ShowScanError(dialog, kItemNoDriver);
  if (twain->SetDriverAndOpen(driverName) != 1) {
    twain->SetActive(0);
    return ShowScanError(dialog, kItemNoDriver);
  }
  twain->Setup_Parameter(callerCode, fileType, showUI, source, imageMode, resolution, area, level, flag);
  twain->SetIdleHook(&UpdateProc);
  if (long started = twain->Scan()) return started;
  twain->SetActive(0);
  return ShowScanError(dialog, kItemCannotStart);
}

SInt32 SourceOpenFault(const unsigned char* model) {
  if (!ModelChosen(model)) return kItemNoScannerChosen;
  CTWAIN probe;
  return probe.SetDriverAndOpen(model) == 1 ? 0 : kItemNoDriver;
}

long GetDriverVersion(unsigned char isTWAIN, const TArray<FSSpec>* plugIns, const TArray<TW_IDENTITY>*,
                      const unsigned char* modelName) {
  try {
    if (isTWAIN) {
      const ScannerTableRow* row = ScannerTableFind(modelName);
      return row ? row->productID : 0;
    }
    if (!plugIns) return 0;
    for (SInt32 i = 1; i <= plugIns->GetCount(); ++i) {
      FSSpec file = (*plugIns)[i];
      if (SameName(file.name, modelName)) return Scanner::GetDriverVersion(file);
    }
  } catch (...) {
    return 0;
  }
  return 0;
}

long GetScannerButtonNum(unsigned char isTWAIN, const TArray<FSSpec>*, const TArray<TW_IDENTITY>*,
                         const unsigned char* modelName) {
  if (!isTWAIN) return 0;
  const ScannerTableRow* row = ScannerTableFind(modelName);
  return row ? row->buttons : 4;
}

void ShowScannerFault(LCommander* dialog, CTWAIN& twain) {
  enum : SInt16 { kFaultList = 410 };
  enum : SInt32 { kJam = 1, kCoverOpen, kFeederEmpty, kOtherFault };
  SInt32 item = kOtherFault;
  switch (twain.GetSourceCondition()) {
    case TWCC_SUCCESS: return;
    case TWCC_PAPERJAM: item = kJam; break;
    case TWCC_INTERLOCK: item = kCoverOpen; break;
    case TWCC_BUMMER: item = kFeederEmpty; break;
  }
  twain.DisableDS();
  Show_Error(kAlertLayout, dialog, kFaultList, item, 0, 1, nullptr, 0);
}

void DeleteAllTempFile(CThreadChecker* checker) {
  if (!checker) return;
  TArray<FSSpec>* files = nullptr;
  if (checker->GetScanner())
    files = checker->GetScanner()->GetTempFileArray();
  else if (checker->GetTWAIN())
    files = checker->GetTWAIN()->GetTempFileArray();
  if (!files) return;
  for (SInt32 i = 1; i <= files->GetCount(); ++i) {
    FSSpec spec = (*files)[i];
    FSpDelete(&spec);
  }
}

}  // namespace CWXUtility
