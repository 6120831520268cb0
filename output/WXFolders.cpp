#include "output/WXFolders.h"

#include <cstring>
#include <vector>

#include "app/CPreferences.h"
#include "app/LanguageTables.h"
#include "toolbox/Clock.h"
#include "toolbox/Files.h"
#include "toolbox/Folders.h"
#include "toolbox/MacErrors.h"

namespace CWXUtility {

namespace {

const unsigned char kMyPictures[] = "\x0b" "My Pictures";
const unsigned char kOutputFolder[] = "\x07" "Wendrix";
const unsigned char kTempParent[] = "\x12" "Dremlo Wendrix 5.0";
const unsigned char kTempFolder[] = "\x08" "WX50Temp";
const unsigned char kNoName[] = {0};

constexpr UInt32 kBusyLimitTicks = 599;
constexpr UInt32 kBusyPauseTicks = 5;

// `name` inside the folder (vRefNum, dirID), created when missing.
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

// `name` inside the folder `parent`, created when missing.
OSErr MakeFolderInside(const FSSpec& parent, ConstStr255Param name, FSSpec* spec) {
  SInt32 parentID = 0;
  OSErr err = DirectoryOf(parent, &parentID);
  return err != noErr ? err : MakeFolderIn(parent.vRefNum, parentID, name, spec);
}

bool IsTempFolderName(ConstStr255Param name) { return std::memcmp(name, kTempFolder, sizeof kTempFolder - 1) == 0; }

// The files (not subfolders) a folder holds, listed before any is deleted.
std::vector<FSSpec> FilesIn(const FSSpec& folder) {
  std::vector<FSSpec> files;
  for (SInt16 index = 1;; ++index) {
    FSSpec item{};
    SInt16 count = 0;
    SInt16 at = index;
    if (GetDirItems(folder.vRefNum, folder.parID, folder.name, true, false, &item, 1, &count, &at) != noErr ||
        count != 1)
      break;
    files.push_back(item);
  }
  return files;
}

// Deletes what a folder holds, depth first. Each subfolder that goes away makes room at its
// index; one that stays is stepped over, so nothing is asked for twice.
void EmptyFolder(const FSSpec& folder) {
  for (const FSSpec& file : FilesIn(folder)) DeleteFileWithRetry(file);

  for (SInt16 index = 1;;) {
    FSSpec sub{};
    SInt16 count = 0;
    SInt16 at = index;
    if (GetDirItems(folder.vRefNum, folder.parID, folder.name, false, true, &sub, 1, &count, &at) != noErr ||
        count != 1)
      break;
    EmptyFolder(sub);
    if (DeleteFileWithRetry(sub) != noErr) ++index;
  }
}

bool IsTempCopyName(ConstStr255Param name) {
  static const char kPrefix[] = "tempcopy";
  static const char kSuffix[] = ".TIF";
  const size_t prefix = sizeof kPrefix - 1, suffix = sizeof kSuffix - 1;
  if (name[0] != prefix + 4 + suffix) return false;
  const char* text = reinterpret_cast<const char*>(name + 1);
  if (std::memcmp(text, kPrefix, prefix) != 0 || std::memcmp(text + prefix + 4, kSuffix, suffix) != 0) return false;
  for (size_t i = prefix; i < prefix + 4; ++i)
    if (text[i] < '0' || text[i] > '9') return false;
  return true;
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
  SInt16 vRef = 0;
  SInt32 prefsID = 0;
  // Made when missing, as the preferences store makes it: a fresh account has none.
  if (FindFolder(kUserDomain, kPreferencesFolderType, kCreateFolder, &vRef, &prefsID) != noErr) return 0;
  FSSpec base{};
  if (MakeFolderIn(vRef, prefsID, kTempParent, &base) != noErr) return 0;
  *parent = base;
  FSSpec temp{};
  if (MakeFolderInside(base, kTempFolder, &temp) != noErr) return 0;
  *tempFolder = temp;
  return 1;
}

unsigned char Create_Default_TempDir(const FSSpec& parent, FSSpec* tempFolder) {
  try {
    FSSpec base = parent;
    if (base.vRefNum == 0) {
      CPreferences prefs(PREFS_FILE_NAME, 0);
      base = PREF_SETTING::kTempBase.get(PREF_ALL::kSetting.in(prefs.PrefAll()));
    }
    SInt32 baseID = 0;
    if (DirectoryOf(base, &baseID) != noErr) return 0;
    FSSpec temp{};
    OSErr err = FSMakeFSSpec(base.vRefNum, baseID, kTempFolder, &temp);
    if (err == fnfErr) {
      SInt32 created = 0;
      err = FSpDirCreate(&temp, smSystemScript, &created);
    } else if (err == noErr) {
      DeleteTempFoldersAndFiles(temp);
    }
    if (err != noErr) return 0;
    CPreferences prefs(PREFS_FILE_NAME, 0);
    PREF_SETTING::kTempFolder.set(PREF_ALL::kSetting.in(prefs.PrefAll()), temp);
    if (prefs.Save() != noErr) return 0;
    *tempFolder = temp;
    return 1;
  } catch (...) {
    return 0;
  }
}

OSErr Delete_Default_TempDir(const FSSpec& tempFolder) {
  FSSpec folder = tempFolder;
  try {
    if (folder.vRefNum == 0) {
      CPreferences prefs(PREFS_FILE_NAME, 0);
      RecordBytes setting = PREF_ALL::kSetting.in(prefs.PrefAll());
      folder = PREF_SETTING::kTempFolder.get(setting);
      FSRef ref{};
      if (FSpMakeFSRef(&folder, &ref) == fnfErr) {
        const FSSpec base = PREF_SETTING::kTempBase.get(setting);
        if (MakeFolderInside(base, kTempFolder, &folder) == noErr) PREF_SETTING::kTempFolder.set(setting, folder);
      }
    }
  } catch (...) {
    return ioErr;
  }
  if (!IsTempFolderName(folder.name)) return paramErr;
  DeleteTempFoldersAndFiles(folder);
  return DeleteFileWithRetry(folder);
}

unsigned char FindTempFolder(SInt16* vRefNum, SInt32* dirID) {
  try {
    FSSpec temp{};
    {
      CPreferences prefs(PREFS_FILE_NAME, 0);
      temp = PREF_SETTING::kTempFolder.get(PREF_ALL::kSetting.in(prefs.PrefAll()));
    }
    SInt32 id = 0;
    OSErr err = DirectoryOf(temp, &id);
    if (err == fnfErr) err = FSpDirCreate(&temp, smSystemScript, &id);
    if (err != noErr) return 0;
    *vRefNum = temp.vRefNum;
    *dirID = id;
    return 1;
  } catch (...) {
    return 0;
  }
}

void DeleteTempFiles() {
  SInt16 vRef = 0;
  SInt32 dirID = 0;
  if (!FindTempFolder(&vRef, &dirID)) return;
  FSSpec folder{};
  if (FSMakeFSSpec(vRef, dirID, kNoName, &folder) != noErr) return;
  for (const FSSpec& file : FilesIn(folder))
    if (IsTempCopyName(file.name)) DeleteFileWithRetry(file);
}

void DeleteTempFoldersAndFiles(const FSSpec& folder) {
  if (IsTempFolderName(folder.name)) EmptyFolder(folder);
}

OSErr DeleteFileWithRetry(const FSSpec& spec) {
  const UInt32 start = TickCount();
  OSErr err = fBsyErr;
  while (TickCount() - start <= kBusyLimitTicks) {
    err = FSpDelete(&spec);
    if (err != fBsyErr) return err;
    const UInt32 pause = TickCount();
    while (TickCount() - pause <= kBusyPauseTicks) {
    }
  }
  return err;
}

}  // namespace CWXUtility
