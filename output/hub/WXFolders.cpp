#include "output/hub/WXFolders.h"

#include <cstring>
#include <vector>

#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "toolbox/Clock.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"

namespace CWXUtility {

namespace {

const unsigned char kNoName[] = {0};

constexpr UInt32 kBusyLimitTicks = 599;
constexpr UInt32 kBusyPauseTicks = 5;

// The temporary folder made this run where the settings could not keep it.
FSSpec sUnstoredTemp{};

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
    // Settings that cannot be kept are reported by the store; the folder serves this run all
    // the same.
    CPreferences prefs(PREFS_FILE_NAME, 0);
    PREF_SETTING::kTempFolder.set(PREF_ALL::kSetting.in(prefs.PrefAll()), temp);
    sUnstoredTemp = prefs.Save() == noErr ? FSSpec{} : temp;
    *tempFolder = temp;
    return 1;
  } catch (...) {
    return 0;
  }
}

OSErr Delete_Default_TempDir(const FSSpec& tempFolder) {
  FSSpec folder = tempFolder;
  try {
    if (folder.vRefNum == 0 && sUnstoredTemp.name[0] != 0) {
      folder = sUnstoredTemp;
    } else if (folder.vRefNum == 0) {
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
    FSSpec temp = sUnstoredTemp;
    if (temp.name[0] == 0) {
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

FSSpec TempFolderSpec() {
  SInt16 vRefNum = 0;
  SInt32 dirID = 0;
  FSSpec folder{};
  if (FindTempFolder(&vRefNum, &dirID)) FSMakeFSSpec(vRefNum, dirID, nullptr, &folder);
  return folder;
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

OSErr FileSize(const FSSpec& spec, long* size) {
  SInt16 ref = 0;
  OSErr err = FSpOpenDF(&spec, fsRdPerm, &ref);
  if (err != noErr) return err;
  err = GetEOF(ref, size);
  FSClose(ref);
  return err;
}

}  // namespace CWXUtility
