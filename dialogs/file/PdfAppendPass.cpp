#include "dialogs/file/PdfAppendPass.h"

#include <cstring>

#include "dialogs/file/FunctionDialogKit.h"
#include "output/export/CFileExporter.h"
#include "output/export/WXExport.h"
#include "output/glue/CAddPDFFile.h"
#include "output/hub/WXFolders.h"
#include "output/hubdialogs/WXScan.h"
#include "toolbox/MacErrors.h"
#include "toolbox/TextUtils.h"

namespace {
constexpr char kNewSuffix[] = "_New";
constexpr SInt16 kNewSuffixLength = 4;
constexpr OSType kPDF = 'PDF ';
}  // namespace

void NewCopyName(const FSSpec& pdf, SInt16 maxChars, Str255 out) {
  std::memcpy(out, pdf.name, size_t(pdf.name[0]) + 1);
  for (int i = out[0]; i >= 1; --i)
    if (out[i] == '.') {
      out[0] = UInt8(i - 1);
      break;
    }
  TruncPString(out, out, SInt16(maxChars - kNewSuffixLength));
  std::memcpy(out + 1 + out[0], kNewSuffix, kNewSuffixLength);
  out[0] = UInt8(out[0] + kNewSuffixLength);
}

TArray<FSSpec>* PassAsTemporaryPDFs(long kind, CThreadChecker* checker, StPDFDialog& pdf, unsigned char numberFlag,
                                    OSType creator) {
  if (kind != 0) return CWXUtility::ExportToFile_AddPDFFile(kind, checker, kPDF, pdf, 0, numberFlag, creator);
  // The append exporter takes TWAIN pages only: plug-in pages go through the plain exporter,
  // into the temporary folder.
  // The pass becomes one PDF of its own, never an append.
  static const unsigned char kBase[] = {6, 't', 'm', 'p', 'a', 'd', 'd'};
  StPDFDialog onePDF = pdf;
  StPDFDialog::kUnused4.set(onePDF.view(), 1);
  StPDFDialog::kUnused8.set(onePDF.view(), 0);
  StJPEGDialog jpeg;
  StOtherDialog pict, tiff;
  TArray<FSSpec>* pieces = CWXUtility::ExportToFile(0, checker, kPDF, kBase, CWXUtility::TempFolderSpec(), 0,
                                                    onePDF, jpeg, pict, tiff, 0, creator, 1, 0, 0);
  if (pieces && pieces->GetCount() == 0) {
    delete pieces;
    return nullptr;
  }
  return pieces;
}

AppendOutcome AppendPieces(FSSpec& target, TArray<FSSpec>& pieces, OSType creator, CThreadChecker* pass) {
  if (target.name[0] == 0) return AppendOutcome::kNoTarget;
  while (pieces.GetCount() > 0) {
    FSSpec piece = pieces[1];
    CAddPDFFile append(target, piece);
    if (append.AddToSourceFile() != 1) return AppendOutcome::kFailed;
    CWXUtility::DeleteFileWithRetry(piece);
    pieces.RemoveItemsAt(1, 1);
  }
  CWXUtility::DeleteAllTempFile(pass);
  FInfo info{};
  if (FSpGetFInfo(&target, &info) == noErr) {
    info.fdType = kPDF;
    if (PDFViewerExists()) info.fdCreator = creator;
    FSpSetFInfo(&target, &info);
  }
  return AppendOutcome::kDone;
}
