#include "framework/LPreferencesFile.h"

#include "toolbox/Folders.h"
#include "toolbox/MacErrors.h"

LPreferencesFile::LPreferencesFile(ConstStr255Param fileName, bool createFolder) {
  SInt16 vRefNum = 0;
  SInt32 dirID = 0;
  if (FindFolder(kOnSystemDisk, kPreferencesFolderType, createFolder, &vRefNum, &dirID) != noErr) {
    vRefNum = 0;
    dirID = 0;
  }
  // fnfErr only says the file is not there yet; the specification is filled either way.
  FSSpec spec;
  OSErr err = FSMakeFSSpec(vRefNum, dirID, fileName, &spec);
  if (err != noErr && err != fnfErr) FSMakeFSSpec(0, 0, fileName, &spec);
  SetSpecifier(spec);
}
