// What the function dialogs share around their scan: standing aside while it runs. Panes
// and quiet control updates come from the hub's `WXPanes.h`.
#pragma once

#include "output/hubdialogs/WXPanes.h"

class LCommander;
class LWindow;

using CWXUtility::EnableIf;

// Whether this system hides a scanning window and covers the main window (up to 0x102F).
bool ScanCoversWindows();
// While a scan runs the dialog is disabled; systems up to 0x102F hide it and cover the main
// window instead.
void CoverForScan(LWindow* dialog);
void UncoverAfterScan(LWindow* dialog);

// The dialog's running flag and the application's scanning state; a running dialog takes
// the target, and the menus are brought up to date.
void SetScanRunning(LCommander* dialog, UInt8& flag, UInt8 running);
