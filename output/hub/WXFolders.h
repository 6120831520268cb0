// The temporary folder "WX50Temp", where it is remembered, and the deletion of temporary
// files; the default folders themselves are in WXDefaultDir.h.
#pragma once

#include "prefs/WXDefaultDir.h"
#include "toolbox/MacTypes.h"

namespace CWXUtility {

// Makes sure "WX50Temp" exists in `parent` (volume 0: the stored parent) and is empty, and
// stores it as the temporary folder; where the settings cannot be written, it serves for the
// rest of the run.
unsigned char Create_Default_TempDir(const FSSpec& parent, FSSpec* tempFolder);
// Empties and deletes the temporary folder (volume 0: the stored one). A folder not named
// "WX50Temp" is refused with paramErr.
OSErr Delete_Default_TempDir(const FSSpec& tempFolder);
// The stored temporary folder (or the one made this run where the settings cannot keep it),
// created when it went missing.
unsigned char FindTempFolder(SInt16* vRefNum, SInt32* dirID);
// The same folder as a specification, or an empty one (which no file is made in) when it
// cannot be had.
FSSpec TempFolderSpec();
// Deletes the "tempcopy" page files ("tempcopy" + four digits + ".TIF") of the temporary folder.
void DeleteTempFiles();
// Deletes everything inside a folder named "WX50Temp", depth first; the folder stays. A
// subfolder that cannot be deleted is left behind, and links are deleted, never followed.
void DeleteTempFoldersAndFiles(const FSSpec& folder);
// The length of a file's data fork.
OSErr FileSize(const FSSpec& spec, long* size);
// Deletes one file or empty folder, retrying a busy one every 5 ticks for up to 599 ticks.
OSErr DeleteFileWithRetry(const FSSpec& spec);

}  // namespace CWXUtility
