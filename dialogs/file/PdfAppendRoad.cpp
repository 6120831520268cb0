#include "dialogs/file/PdfAppendRoad.h"

#include <cstring>
#include <memory>

#include "dialogs/file/FunctionDialogKit.h"
#include "output/export/WXExport.h"
#include "output/glue/CAddPDFFile.h"
#include "output/hub/WXFolders.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/Scanner.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/TextUtils.h"

namespace PdfAppendRoad {

namespace {

constexpr SInt16 kSuffixLength = 4;  // "_New"
constexpr long kItemOperationFailed = 3;

long DeliveredPages(CThreadChecker* checker) {
  if (CTWAIN* twain = checker->GetTWAIN()) return twain->GetImageCount();
  if (Scanner* scanner = checker->GetScanner()) return scanner->GetImageCount();
  return 0;
}

// The pass as temporary PDFs. The append exporter takes TWAIN pages only; a plug-in's pages
// become one PDF of the pass in the temporary folder.
TArray<FSSpec>* PassAsTemporaryPDFs(long kind, CThreadChecker* checker, StPDFDialog& pdf, UInt8 numberFlag,
                                    OSType creator) {
  if (kind != 0) return CWXUtility::ExportToFile_AddPDFFile(kind, checker, 'PDF ', pdf, 0, numberFlag, creator);
  StPDFDialog onePDF = pdf;
  StPDFDialog::kUnused4.set(onePDF.view(), 1);
  StPDFDialog::kUnused8.set(onePDF.view(), 0);
  StJPEGDialog jpeg;
  StOtherDialog pict, tiff;
  Str255 base;
  PStrFromString("tmp", base);
  return CWXUtility::ExportToFile(0, checker, 'PDF ', base, FunctionDialogKit::TempFolder(), 0, onePDF, jpeg, pict,
                                  tiff, 0, creator, 1, 0, 0);
}

bool Exists(const FSSpec& spec) {
  FInfo info{};
  return spec.name[0] != 0 && FSpGetFInfo(&spec, &info) == noErr;
}

}  // namespace

void CopyName(const FSSpec& pdf, SInt16 maxChars, Str255 out) {
  std::memcpy(out, pdf.name, size_t(pdf.name[0]) + 1);
  for (int i = out[0]; i >= 1; --i)
    if (out[i] == '.') {
      out[0] = UInt8(i - 1);
      break;
    }
  TruncPString(out, out, SInt16(maxChars - kSuffixLength));
  std::memcpy(out + 1 + out[0], "_New", kSuffixLength);
  out[0] = UInt8(out[0] + kSuffixLength);
}

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
  bool failed = run.file.name[0] == 0;
  for (ArrayIndexT i = 1; i <= parts->GetCount() && !failed; ++i) {
    FSSpec part = (*parts)[i];
    CAddPDFFile append(run.file, part);
    failed = append.AddToSourceFile() != 1;
    if (failed) break;
    run.holdsPages = true;
    CWXUtility::DeleteFileWithRetry(part);
  }
  if (failed) {
    if (copyName && run.copyMade && !run.holdsPages) {
      CWXUtility::DeleteFileWithRetry(run.file);
      run = RunPDF{};
    }
    FunctionDialogKit::Alert(alertOwner, kItemOperationFailed);
    return ExistingRunPDF(run);
  }
  FInfo info{};
  if (FSpGetFInfo(&run.file, &info) == noErr) {
    info.fdType = 'PDF ';
    info.fdCreator = creator;
    FSpSetFInfo(&run.file, &info);
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
