#include "PrintLayoutEntry.h"

#include "dialogs/print/layout/CPrintLayoutDialog.h"

namespace {

PrintLayoutProc sLayoutProc = &CPrintLayoutDialog::PrintLayoutSetting;

}  // namespace

MessageT PrintLayoutSetting(ResIDT layout, LCommander* super, UInt8 fit, UInt8 isTWAIN, CThreadChecker* watcher,
                            LPrintSpec* spec, RecordBytes print) {
  return sLayoutProc(layout, super, fit, isTWAIN, watcher, spec, print);
}

PrintLayoutProc SetPrintLayoutProc(PrintLayoutProc proc) {
  PrintLayoutProc before = sLayoutProc;
  sLayoutProc = proc ? proc : &CPrintLayoutDialog::PrintLayoutSetting;
  return before;
}
