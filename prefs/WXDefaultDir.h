// The default output folder "Wendrix" and the default place of the temporary folder, and
// the folder steps they share with the temporary folder's upkeep.
#pragma once

#include "toolbox/MacTypes.h"

namespace CWXUtility {

constexpr unsigned char kTempFolder[] = "\x08" "WX50Temp";

// "My Pictures" in the user's Pictures folder, and "Wendrix" inside it, created where missing.
unsigned char Create_Default_Dir();
unsigned char Get_Default_Dir(FSSpec* folder);

// "Dremlo Wendrix 5.0" in the user's Preferences folder and "WX50Temp" inside it, created
// where missing; where the user may not write the Preferences folder, "WX50Temp" in the program's
// temporary folder ($TMPDIR/wendrix-$UID). Stores nothing.
unsigned char Get_Default_TempDir(FSSpec* tempFolder, FSSpec* parent);

// `name` inside the folder (vRefNum, dirID), created when missing.
OSErr MakeFolderIn(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, FSSpec* spec);
// The folder ID of `spec`; dirNFErr when it is a file.
OSErr DirectoryOf(const FSSpec& spec, SInt32* dirID);
// `name` inside the folder `parent`, created when missing.
OSErr MakeFolderInside(const FSSpec& parent, ConstStr255Param name, FSSpec* spec);

}  // namespace CWXUtility
