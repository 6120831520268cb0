// A function dialog's scan through the scan entry: new scan objects (a TWAIN connection or
// a plug-in scanner, by the settings' TWAIN flag) and a watcher that tells the dialog
// "TEnd" when the pages are ready.
#pragma once

#include "prefs/PrefRecords.h"
#include "framework/PaneTypes.h"

class LDialogBox;
class LWindow;

struct ScanRequest {
  long caller;
  SDimension16 customSize;
  OSType fileType;
  long source;
  long imageMode;
  long driverWindow;
  long paperIndex;
  long resolution;
  unsigned char flag;
};

// True when the scan started; otherwise the scan entry has shown why, the objects are gone
// and no "TEnd" follows.
bool StartWatchedScan(LDialogBox* dialog, RecordBytes prefsAll, const ScanRequest& request);

// Systems 0x1010 to 0x101F start the target application (if any) before the scan, then
// bring this program and the dialog back to the front. A launch that fails is left to the
// hand-on after the scan.
void LaunchBeforeScan(LWindow* dialog, const FSSpec& app);
