#include "dialogs/file/PdfAppendRoad.h"

#include <memory>

#include "dialogs/file/FunctionDialogKit.h"
#include "dialogs/file/PdfAppendPass.h"
#include "output/export/WXExport.h"
#include "output/hub/WXFolders.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/Scanner.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"

namespace PdfAppendRoad {

namespace {

constexpr long kItemOperationFailed = 3;

long DeliveredPages(CThreadChecker* checker) {
  if (CTWAIN* twain = checker->GetTWAIN()) return twain->GetImageCount();
  if (Scanner* scanner = checker->GetScanner()) return scanner->GetImageCount();
  return 0;
}

bool Exists(const FSSpec& spec) {
  FInfo info{};
  return spec.name[0] != 0 && FSpGetFInfo(&spec, &info) == noErr;
}

}  // namespace

TArray<FSSpec>* AppendPass(long kind, CThreadChecker* checker, StPDFDialog& pdf, const unsigned char* copyName,
                           UInt8 numberFlag, OSType creator, RunPDF& run, LCommander* alertOwner) {
  std::unique_ptr<TArray<FSSpec>> parts(PassAsTemporaryPDFs(kind, checker, pdf, numberFlag, creator));
  if (!parts || parts->GetCount() == 0) {
    // Pages came but none could be written: their raw files stay.
    if (DeliveredPages(checker) > 0) FunctionDialogKit::Alert(alertOwner, kItemOperationFailed);
    return ExistingRunPDF(run);
  }
  if (copyName && !run.copyMade) {
    const FSSpec chosen = StPDFDialog::kAppendTo.get(pdf.view());
    FSSpec folder{};
    FSMakeFSSpec(chosen.vRefNum, chosen.parID, nullptr, &folder);
    run.file = CWXUtility::CreateNewPDFFile(copyName, folder, pdf);
    run.copyMade = run.file.name[0] != 0;
  }
  const ArrayIndexT before = parts->GetCount();
  const bool failed = AppendPieces(run.file, *parts, creator, checker) != AppendOutcome::kDone;
  if (parts->GetCount() < before) run.holdsPages = true;
  if (failed) {
    if (copyName && run.copyMade && !run.holdsPages) {
      CWXUtility::DeleteFileWithRetry(run.file);
      run = RunPDF{};
    }
    FunctionDialogKit::Alert(alertOwner, kItemOperationFailed);
  }
  return ExistingRunPDF(run);
}

TArray<FSSpec>* ExistingRunPDF(const RunPDF& run) {
  if (!Exists(run.file)) return nullptr;
  auto* list = new TArray<FSSpec>;
  list->AddItem(run.file);
  return list;
}

}  // namespace PdfAppendRoad
