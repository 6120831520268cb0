// The page-layout step of a Print run, reached through one entry so that the Print dialog's
// road runs (and is tested) on its own.
#pragma once

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

// Puts `proc` in place of the layout step (null: the built-in one); answers the one before.
PrintLayoutProc SetPrintLayoutProc(PrintLayoutProc proc);

// Deletes the scan's raw page files, the watcher's scanner objects and the watcher.
void DeleteScanRun(CThreadChecker* watcher);
