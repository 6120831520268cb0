#include "prefs/WXDefaultDir.h"

#include <initializer_list>

#include "prefs/PrefFile.h"
#include "toolbox/Files.h"
#include "toolbox/Folders.h"
#include "toolbox/MacErrors.h"

namespace CWXUtility {

namespace {

const unsigned char kMyPictures[] = "\x0b" "My Pictures";
const unsigned char kOutputFolder[] = "\x07" "Wendrix";
const unsigned char kTempParent[] = "\x12" "Dremlo Wendrix 5.0";

}  // namespace

OSErr MakeFolderIn(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, FSSpec* spec) {
  OSErr err = FSMakeFSSpec(vRefNum, dirID, name, spec);
  if (err == fnfErr) {
    SInt32 created = 0;
    err = FSpDirCreate(spec, smSystemScript, &created);
  }
  return err;
}

OSErr DirectoryOf(const FSSpec& spec, SInt32* dirID) {
  Boolean isDirectory = false;
  OSErr err = FSpGetDirectoryID(&spec, dirID, &isDirectory);
  if (err == noErr && !isDirectory) err = dirNFErr;
  return err;
}

OSErr MakeFolderInside(const FSSpec& parent, ConstStr255Param name, FSSpec* spec) {
  SInt32 parentID = 0;
  OSErr err = DirectoryOf(parent, &parentID);
  return err != noErr ? err : MakeFolderIn(parent.vRefNum, parentID, name, spec);
}

namespace {

// Made when missing, as the preferences store makes it: a fresh account has none.
OSErr TempParentInPreferences(FSSpec* base) {
  SInt16 vRef = 0;
  SInt32 prefsID = 0;
  const OSErr err = FindFolder(kUserDomain, kPreferencesFolderType, kCreateFolder, &vRef, &prefsID);
  return err != noErr ? err : MakeFolderIn(vRef, prefsID, kTempParent, base);
}

// The program's own temporary folder, for a Preferences folder the user may not write.
OSErr TempParentOfProgram(FSSpec* base) {
  SInt16 vRef = 0;
  SInt32 dirID = 0;
  const OSErr err = FindFolder(kUserDomain, kTemporaryFolderType, kCreateFolder, &vRef, &dirID);
  return err != noErr ? err : FSMakeFSSpec(vRef, dirID, nullptr, base);
}

}  // namespace

unsigned char Create_Default_Dir() {
  FSSpec folder{};
  return Get_Default_Dir(&folder);
}

unsigned char Get_Default_Dir(FSSpec* folder) {
  SInt16 vRef = 0;
  SInt32 picturesID = 0;
  if (FindFolder(kOnSystemDisk, kPictureDocumentsFolderType, kCreateFolder, &vRef, &picturesID) != noErr) return 0;
  FSSpec myPictures{};
  if (MakeFolderIn(vRef, picturesID, kMyPictures, &myPictures) != noErr) return 0;
  FSSpec output{};
  if (MakeFolderInside(myPictures, kOutputFolder, &output) != noErr) return 0;
  *folder = output;
  return 1;
}

unsigned char Get_Default_TempDir(FSSpec* tempFolder, FSSpec* parent) {
  for (OSErr (*place)(FSSpec*) : {&TempParentInPreferences, &TempParentOfProgram}) {
    FSSpec base{}, temp{};
    OSErr err = place(&base);
    if (err == noErr) err = MakeFolderInside(base, kTempFolder, &temp);
    if (err == noErr) {
      *parent = base;
      *tempFolder = temp;
      return 1;
    }
    // Only a folder the user may not write sends the run elsewhere; anything else in the
    // way (a file at the folder's path) is a fault to report.
    if (!PFIsPermissionError(err)) return 0;
  }
  return 0;
}

}  // namespace CWXUtility
