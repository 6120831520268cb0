// The installed profiles: every file with a profile header in the profile folders.
#pragma once

#include "colorsync/ColorSync.h"

struct CMProfileIterateData {
  UInt32 dataVersion;
  CMProfileLocation location;  // file-based
};

// A result other than noErr ends the walk (cmIterateStop by custom).
typedef OSErr (*CMProfileIterateProcPtr)(CMProfileIterateData* iterateData, void* refCon);
typedef CMProfileIterateProcPtr CMProfileIterateUPP;

// Calls `proc` with each profile of FolderColorProfileDirs() (user folders first, subfolders
// included, names in byte order within a folder). Returns the result that ended the walk,
// or noErr with *count the number of profiles seen. `seed` may be null and is not changed.
OSErr CMIterateColorSyncFolder(CMProfileIterateUPP proc, UInt32* seed, UInt32* count, void* refCon);
