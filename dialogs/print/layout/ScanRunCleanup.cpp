#include "dialogs/print/layout/ScanRunCleanup.h"

#include "output/hub/WXFolders.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/Scanner.h"

namespace {

void DeletePageFiles(TArray<FSSpec>* files) {
  for (ArrayIndexT i = 1; files && i <= files->GetCount(); ++i) CWXUtility::DeleteFileWithRetry((*files)[i]);
}

}  // namespace

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
