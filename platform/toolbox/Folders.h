// Folder Manager: the platform's well-known folders as FSSpec locations (volume and folder
// ID); where each lies on Linux is in FolderLocations.h.
#pragma once

#include "toolbox/FolderLocations.h"

// fnfErr when the folder does not exist and may not be created, or the type is unknown.
OSErr FindFolder(SInt16 vRefNum, OSType folderType, Boolean createFolder, SInt16* foundVRefNum,
                 SInt32* foundDirID);
