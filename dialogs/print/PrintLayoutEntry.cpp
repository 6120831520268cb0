#include "PrintLayoutEntry.h"

#include "output/hub/WXFolders.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/Scanner.h"

namespace {

void DeletePageFiles(TArray<FSSpec>* files) {
  for (ArrayIndexT i = 1; files && i <= files->GetCount(); ++i) CWXUtility::DeleteFileWithRetry((*files)[i]);
}

// Without the page-layout dialog there is nothing to lay the pages out on: they are
// discarded and the Print dialog stays.
MessageT DiscardPages(ResIDT, LCommander*, UInt8, UInt8, CThreadChecker* watcher, LPrintSpec*, RecordBytes) {
  DeleteScanRun(watcher);
  return kLayoutBack;
}

PrintLayoutProc sLayoutProc = &DiscardPages;

}  // namespace

MessageT PrintLayoutSetting(ResIDT layout, LCommander* super, UInt8 fit, UInt8 isTWAIN, CThreadChecker* watcher,
                            LPrintSpec* spec, RecordBytes print) {
  return sLayoutProc(layout, super, fit, isTWAIN, watcher, spec, print);
}

PrintLayoutProc SetPrintLayoutProc(PrintLayoutProc proc) {
  PrintLayoutProc before = sLayoutProc;
  sLayoutProc = proc ? proc : &DiscardPages;
  return before;
}

void DeleteScanRun(CThreadChecker* watcher) {
  if (!watcher) return;
  Scanner* scanner = watcher->GetScanner();
  CTWAIN* twain = watcher->GetTWAIN();
  if (twain) DeletePageFiles(twain->GetTempFileArray());
  if (scanner) DeletePageFiles(scanner->GetTempFileArray());
  delete watcher;
  delete scanner;
  delete twain;
}
