#include "toolbox/Folders.h"

#include "toolbox/FileIDTable.h"
#include "toolbox/MacErrors.h"

OSErr FindFolder(SInt16 vRefNum, OSType folderType, Boolean createFolder, SInt16* foundVRefNum, SInt32* foundDirID) {
  std::string path;
  OSErr err = FindFolderPath(vRefNum, folderType, createFolder, &path);
  if (err != noErr) return err;
  SInt16 vol = 0;
  SInt32 dir = 0;
  err = FidDirectoryID(path, &vol, &dir);
  if (err != noErr) return err;
  if (foundVRefNum) *foundVRefNum = vol;
  if (foundDirID) *foundDirID = dir;
  return noErr;
}
