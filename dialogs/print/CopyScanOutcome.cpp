#include "CopyScanOutcome.h"

#include "prefs/LanguageTables.h"
#include "prefs/PrefRecords.h"
#include "dialogs/print/ScanControlRules.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/Scanner.h"

namespace {

constexpr unsigned short kFilmMenuProduct = 0x1120;
constexpr uint32_t kFitScaleItem = 2;
constexpr uint32_t kNegativeFilmCode = 3;

}  // namespace

CopyScanOutcome CaptureCopyScan(CTWAIN* session, Scanner* plugIn) {
  CopyScanOutcome o;
  if (session) {
    o.twain = true;
    o.result = session->GetResult();
    o.imageSizeOver = session->IsImageSizeOver() != 0;
    o.outputLimitOver = session->IsImageResOver() != 0;
    o.highBitDepth = session->IsDeepImage() != 0;
    TArray<TW_IMAGEINFO>* infos = session->GetImageInfoArray();
    for (ArrayIndexT i = 1; i <= infos->GetCount(); ++i) {
      TW_IMAGEINFO info{};
      infos->FetchItemAt(i, info);
      o.pages.push_back({long(info.ImageWidth), long(info.ImageLength), long(info.XResolution.Whole)});
    }
  } else if (plugIn) {
    TArray<OstrelScannerRecord>* records = plugIn->GetAcquireOstrelArray();
    for (ArrayIndexT i = 1; i <= records->GetCount(); ++i) {
      OstrelScannerRecord record{};
      records->FetchItemAt(i, record);
      RecordBytes r = record.view();
      o.pages.push_back({long(r.i16(OstrelField::kImageColumns)), long(r.i16(OstrelField::kImageRows)),
                         long(r.i32(OstrelField::kHResolution) >> 16)});
    }
  }
  return o;
}

CopyEndPlan PlanCopyEnd(const CopyScanOutcome& scan, bool driverInterface) {
  CopyEndPlan plan;
  if (!scan.twain) return plan;
  if (scan.result == kScanCancelled && driverInterface) {
    plan.continueSession = true;
    return plan;
  }
  if (scan.result != kScanFailed) return plan;
  if (driverInterface && scan.imageSizeOver) plan.alerts.push_back(37);
  if (driverInterface && scan.outputLimitOver) plan.alerts.push_back(49);
  if (scan.highBitDepth) plan.alerts.push_back(38);
  return plan;
}

void ContinueScanSession(CTWAIN* session, CThreadChecker* watcher) {
  session->Scan_Continue();
  watcher->StartRepeating();
}

void ShowScanRefusals(CTWAIN* session, const std::vector<short>& alerts, const std::function<void(short)>& show) {
  for (short item : alerts) {
    session->DisableDS();
    show(item);
  }
  session->SetImageSizeOver(0);
  session->SetImageResOver(0);
  session->DisableDS();
}

bool CopyFitFlag(RecordBytes work, unsigned short productID) {
  switch (PREF_COPY::kSource.get(work)) {
    case 1: return PREF_COPY::kScale.get(work) == uint32_t(Copy_Popup_FitPaper);
    case 2:
      return PREF_COPY::kScale2.get(work) == kFitScaleItem ||
             (productID != kFilmMenuProduct && PREF_COPY::kImageMode2.get(work) == kNegativeFilmCode);
    default: return false;
  }
}

long CopyMagnification(RecordBytes work, bool japanese) {
  if (PREF_COPY::kSource.get(work) != 1) return 100;
  int32_t item = static_cast<int32_t>(PREF_COPY::kScale.get(work));
  if (item == Copy_Popup_Custom) return PREF_COPY::kCustomPercent.get(work);
  if (item == Copy_Popup_FitPaper) return 100;
  return FixedScalePercent(item, japanese);
}

bool CopyRunQuits(bool quitAfterButtonRun, const CopyScanOutcome& scan) {
  return quitAfterButtonRun && !(scan.twain && scan.result == kScanCancelled);
}
