// Where a Print scan goes when its watcher says it ended. The decision reads only what was
// captured of the scan (CaptureCopyScan) before any scanner object is deleted.
#pragma once

#include <vector>

#include "dialogs/print/CopyScanOutcome.h"

enum class PrintScanRoute {
  Continue,  // cancelled in the driver's own window: that window stays for another scan
  Layout,    // the pages go to the page layout
  Discard,   // nothing to lay out
};

struct PrintScanEnd {
  PrintScanRoute route = PrintScanRoute::Layout;
  std::vector<short> alerts;  // items of string list 400, each after taking the source down
};

// `driverInterface`: the dialog's driver-window setting; `sessionShowedDriver`: whether the
// connection itself showed the driver's window. A stitched page always goes to the layout
// and a plug-in scan counts as finished.
PrintScanEnd PlanPrintScanEnd(const CopyScanOutcome& scan, bool driverInterface, bool sessionShowedDriver, bool stitch);
