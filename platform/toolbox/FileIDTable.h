// Persistent volume references and folder IDs for the File Manager.
//
// A folder's ID names one folder for good: the table keys it by its identity on disk
// (volume, inode and birth time) and keeps the last known path as the way back. Looking an
// ID up checks that the folder at that path is still the same one; a folder moved or deleted
// behind our back is simply not found. The table lives in the application's support folder
// and is shared, under a file lock, by every process that uses the same root, so an FSSpec
// stored by one run resolves in the next.
//
// Volume references are small negative numbers, one per mounted file system (known by its
// file-system ID, so they survive a restart). Each volume's root folder has ID 2 and the
// root's parent ID 1, as on the platform.
#pragma once

#include <string>

#include "toolbox/MacTypes.h"

constexpr SInt32 fsRtParID = 1;
constexpr SInt32 fsRtDirID = 2;

// The ID of the existing folder at `path` (assigned on first sight), and its volume.
OSErr FidDirectoryID(const std::string& path, SInt16* vRefNum, SInt32* dirID);
// The path of folder `dirID` on `vRefNum` (0 = whichever volume holds it); dirNFErr when the
// ID is unknown or the folder is gone or moved, nsvErr for an unknown volume.
OSErr FidDirectoryPath(SInt16 vRefNum, SInt32 dirID, std::string* path);
// The volume's mount point and its name (the mount point's last element).
OSErr FidVolumeRoot(SInt16 vRefNum, std::string* mountPoint, std::string* name);
// The registered volume whose name is `name` (ASCII case ignored), nsvErr when none is.
OSErr FidVolumeNamed(const std::string& name, SInt16* vRefNum);
// The volume reference of the file system that holds the existing item at `path`.
OSErr FidVolumeOf(const std::string& path, SInt16* vRefNum);

// Keep IDs of folders this process renamed or moved (the folder and everything below it).
void FidPathMoved(const std::string& from, const std::string& to);
// Retire the ID of a folder this process deleted.
void FidDirectoryDeleted(const std::string& path);

// Where the table is kept (inside FolderSupportDir()).
std::string FidTablePath();
