// The page-layout step of a Print run (the page-layout dialog), reached through one entry
// that a test can put a stand-in behind.
#pragma once

#include "dialogs/print/layout/ScanRunCleanup.h"
#include "framework/PaneTypes.h"
#include "toolbox/RecordAccess.h"

class CThreadChecker;
class LCommander;
class LPrintSpec;

enum : MessageT { kLayoutFinished = 'BTFN', kLayoutBack = 'BTBK' };

// Lays out and prints the pages of the watcher's scan. It takes the watcher, the scanner
// objects the watcher holds and the scan's page files, and has deleted them all when it
// answers kLayoutFinished (the Print dialog closes) or kLayoutBack (it stays). It may store
// new print-job values into `print`, the dialog's working PREF_PRINT.
using PrintLayoutProc = MessageT (*)(ResIDT layout, LCommander* super, UInt8 fit, UInt8 isTWAIN,
                                     CThreadChecker* watcher, LPrintSpec* spec, RecordBytes print);

MessageT PrintLayoutSetting(ResIDT layout, LCommander* super, UInt8 fit, UInt8 isTWAIN, CThreadChecker* watcher,
                            LPrintSpec* spec, RecordBytes print);

// Puts `proc` in place of the layout step (null: the page-layout dialog); answers the one
// before.
PrintLayoutProc SetPrintLayoutProc(PrintLayoutProc proc);
