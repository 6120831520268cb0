// The objects of one scan run of the hand-on dialogs: the scanner object of the configured
// kind and the watcher that tells the dialog when its pages are ready; and the old systems'
// start of the target application before the scan.
#pragma once

#include "toolbox/MacTypes.h"

class CThreadChecker;
class LDialogBox;

namespace ScanObjects {

// A TWAIN connection (`twain` true) or a plug-in scanner writing its raw pages into
// `temporary`, and its watcher reporting to `dialog`. The watcher gives both back;
// FunctionDialogKit::DeleteRunObjects frees all of them.
CThreadChecker* NewRun(LDialogBox* dialog, bool twain, const FSSpec& temporary);

// Systems 0x1010 to 0x101F have `app` (when set) started before the scan, with this
// application kept in front. A launch that fails is left to the hand-on after the scan.
void LaunchFirstOnOldSystems(const FSSpec& app, LDialogBox* dialog);

}  // namespace ScanObjects
