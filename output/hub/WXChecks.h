// Checks made before a scan: file names, write permission, free space; the file-name
// history. The classification of scanner models and lengths on the platen come with it
// from WXModels.h.
#pragma once

#include "prefs/PrefRecords.h"
#include "corefoundation/CFBundle.h"
#include "prefs/WXModels.h"
#include "framework/PaneTypes.h"
#include "toolbox/MacTypes.h"

namespace CWXUtility {

// 0 when the name is acceptable, else the item of the error list to show: 14 (a ':', '/'
// or one-byte '\'), 15 (longer than 20), 16 (empty), 30 (altered by the file system, only
// blanks, or starting with '.').
long CheckFileName(ConstStr255Param name);

// 1 when the current user may write into the folder (or into today's dated subfolder when
// `dayFolder` is set and that subfolder exists), else 0.
unsigned char check_permission(const FSSpec* folder, unsigned char dayFolder);

// The process's supplementary groups and its effective group; `count` is the capacity in
// and the number filled out.
OSErr GetGroupArray(UInt32* groups, long* count);
OSErr GetUserID(UInt32* userID);

// A bundle (the caller releases it) for the framework folder `name` (for example
// "System.framework") in the system's Frameworks folder; fnfErr when there is none.
OSErr CreateFrameworkBundleFromName(const char* name, CFBundleRef* bundle);

// Bytes a scan needs on the disk (the rule behind CheckHDSpace).
UInt64 NeededDiskBytes(long paperIndex, long imageMode, long documentKind, long dpi, SDimension16 customSize,
                       unsigned short productID, unsigned char flag);

// 1 when the destination's volume has more free bytes than the scan needs (or no volume is
// given); otherwise calls `showError` with error-list item 48 and answers 0.
unsigned char CheckHDSpace(FSSpec destination, long paperIndex, long imageMode, long documentKind, long dpi,
                           SDimension16 customSize, unsigned short productID, unsigned char flag,
                           void (*showError)(long item));

// Puts `name` at the newest place of the history in `record` (field `history`): an equal
// entry (exactly, or ignoring case and diacritical marks) moves there, the oldest of ten
// goes. Always 1.
long CheckHistFileName(ConstStr255Param name, RecordBytes record, PrefHistory history);

}  // namespace CWXUtility
