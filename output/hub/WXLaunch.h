// Handing written files on: finding and launching applications, sending them the files,
// opening folders and files in the file manager, and what kind of application an item is.
// The senders throw every platform failure as LException with its code.
#pragma once

#include "appservices/Processes.h"
#include "framework/TArray.h"
#include "quickdraw/Icons.h"

namespace CWXUtility {

// 1 and the application's specification when an application with this creator is known.
long SearchApplication(OSType creator, FSSpec* app);
ProcessSerialNumber LaunchWithFSSpec(const FSSpec& app);
// Open-documents with one document, or a list in the array's order; then the process
// comes to the front.
void SendOpenDocWithPSN(const ProcessSerialNumber& psn, const FSSpec& document);
void SendOpenDocListWithPSN(const ProcessSerialNumber& psn, const TArray<FSSpec>& documents);
// The file manager opens the folder holding `item`, or the document itself.
void OpenFolderWithFSSpec(const FSSpec& item);
void OpenFileByFinder(const FSSpec& document);
// 1 native and preferring native, 0 native without preference, 2 anything else.
long IsMacOSXNativeAppl(const FSSpec& app);
// The item's icon (one hold, the caller releases it), or null.
IconRef GetIconFromFile(const FSSpec& item);

}  // namespace CWXUtility
