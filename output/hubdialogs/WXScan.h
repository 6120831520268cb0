// The scan entry every function dialog calls, the queries that identify the configured
// scanner, and the deletion of a finished scan's raw pages.
#pragma once

#include "framework/PaneTypes.h"
#include "framework/TArray.h"
#include "toolbox/Files.h"
#include "twain/Twain.h"

class CTWAIN;
class CThreadChecker;
class LCommander;
class LDialogBox;

namespace CWXUtility {

// The dialog of the running scan, set by every ImportFromDevice (null for a commander that
// is no dialog).
inline LDialogBox* sDialog = nullptr;

// Opens the driver of `driverName` through the watcher's scanner object, hands it the
// parameters and starts the scan. Non-zero when the scan started (a plug-in's has already
// run); 0 after an alert: item 50 when no model is chosen (an empty name), item 6 when the
// driver does not open or the watcher has no scanner object of the asked kind, item 3 when a
// TWAIN scan cannot start.
long ImportFromDevice(long callerCode, unsigned char isTWAIN, CThreadChecker* checker, unsigned char* driverName,
                      SDimension16 customSize, unsigned long fileType, long source, long imageMode, long showDriverUI,
                      long paperIndex, long resolution, LCommander* dialog, long level, unsigned char flag);

// Why a TWAIN scan could not start on `model`, asked before a scan that is not started
// through ImportFromDevice: the item ImportFromDevice would show (50 when no model is
// chosen, 6 when its source does not open), or 0 when the source opens (it is closed again).
SInt32 SourceOpenFault(const unsigned char* model);

// The product ID of the configured scanner: from the model table by name (TWAIN), or the
// version of the plug-in file of that name; 0 when none matches.
long GetDriverVersion(unsigned char isTWAIN, const TArray<FSSpec>* plugIns, const TArray<TW_IDENTITY>* sources,
                      const unsigned char* modelName);

// Front-panel buttons of the configured scanner: the model table's count, 4 for a model it
// does not know, 0 on the plug-in path.
long GetScannerButtonNum(unsigned char isTWAIN, const TArray<FSSpec>* plugIns, const TArray<TW_IDENTITY>* sources,
                         const unsigned char* modelName);

// Tells the user why the scanner stopped a scan (a jam, an open cover, an empty feeder, a
// failed read), with the source taken out of its transfer first; nothing when it did not.
void ShowScannerFault(LCommander* dialog, CTWAIN& twain);

// Deletes every raw page file the watcher's scan lists; a file already gone is passed over.
void DeleteAllTempFile(CThreadChecker* checker);

}  // namespace CWXUtility
