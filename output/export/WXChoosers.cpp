#include "output/export/WXChoosers.h"

#include <string>

#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "prefs/PrefRecords.h"
#include "prefs/WXDefaultDir.h"
#include "framework/LException.h"
#include "navigation/UNavServicesDialogs.h"
#include "output/glue/CAddPDFFile.h"
#include "output/hub/WXChecks.h"
#include "output/hub/WXLaunch.h"
#include "output/hubdialogs/WXAlert.h"
#include "toolbox/Aliases.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/Folders.h"
#include "toolbox/Resources.h"
#include "toolbox/VolumeParms.h"

using UNavServicesDialogs::LFileChooser;

namespace CWXUtility {

namespace {

constexpr SInt16 kErrorList = 400;
constexpr SInt32 kNotATempFolder = 40;
constexpr unsigned char kNoName[] = {0};

// The chooser with the message of string list 10000 item `message`.
void SetMessage(LFileChooser& chooser, SInt16 message) {
  GetIndString(chooser.GetDialogOptions()->message, kChooserMessages, message);
}

bool Exists(const FSSpec& spec) {
  FSRef ref{};
  return spec.name[0] != 0 && FSpMakeFSRef(&spec, &ref) == noErr;
}

// Whether the item lies in the Trash: its parents are walked up to the Trash or the top.
bool InTrash(const FSSpec& spec) {
  SInt16 trashVol = 0;
  SInt32 trashID = 0;
  if (FindFolder(kOnSystemDisk, kTrashFolderType, false, &trashVol, &trashID) != noErr) return false;
  SInt32 dirID = spec.parID;
  for (int depth = 0; depth < 1000 && dirID > 1; ++depth) {
    if (spec.vRefNum == trashVol && dirID == trashID) return true;
    CInfoPBRec pb{};
    Str255 name = {0};
    pb.dirInfo.ioNamePtr = name;
    pb.dirInfo.ioVRefNum = spec.vRefNum;
    pb.dirInfo.ioFDirIndex = -1;
    pb.dirInfo.ioDrDirID = dirID;
    if (PBGetCatInfoSync(&pb) != noErr) return false;
    dirID = pb.dirInfo.ioDrParID;
  }
  return false;
}

bool OnNetwork(SInt16 vRefNum, bool* network) {
  GetVolParmsInfoBuffer buffer{};
  HParamBlockRec pb{};
  pb.ioParam.ioVRefNum = vRefNum;
  pb.ioParam.ioBuffer = reinterpret_cast<Ptr>(&buffer);
  pb.ioParam.ioReqCount = sizeof buffer;
  if (PBHGetVolParmsSync(&pb) != noErr) return false;
  *network = buffer.vMServerAdr != 0;
  return true;
}

OSType BundlePackageType(const FSSpec& folder) {
  std::string path;
  return FSpGetPOSIXPath(&folder, &path) == noErr ? NavPackageType(path) : 0;
}

Boolean TempParentFilter(AEDesc* item, void* info, void* userData, NavFilterModes mode) {
  return NetworkFolderFilterProc(item, info, userData, mode) && TempFolderFilterProc(item, info, userData, mode);
}

}  // namespace

Boolean AliasFilterProc(AEDesc* item, void* info, void*, NavFilterModes) {
  FSSpec spec{};
  if (NavGetItemSpec(item, &spec) != noErr) return true;
  const auto* nav = static_cast<const NavFileOrFolderInfo*>(info);
  return nav->isFolder || !(nav->fileAndFolder.fileInfo.finderInfo.fdFlags & kIsAlias);
}

Boolean ClassicAppFilterProc(AEDesc* item, void* info, void*, NavFilterModes) {
  FSSpec spec{};
  if (NavGetItemSpec(item, &spec) != noErr) return true;
  const auto* nav = static_cast<const NavFileOrFolderInfo*>(info);
  if (nav->isFolder)
    return !(nav->fileAndFolder.folderInfo.frFlags & kIsAlias) || BundlePackageType(spec) == 'APPL';
  Boolean isFolder = false, wasAliased = false;
  if (nav->fileAndFolder.fileInfo.finderInfo.fdFlags & kIsAlias &&
      ResolveAliasFile(&spec, true, &isFolder, &wasAliased) != noErr)
    return false;
  if (isFolder) return BundlePackageType(spec) == 'APPL';
  FInfo finfo{};
  if (FSpGetFInfo(&spec, &finfo) != noErr || finfo.fdType != 'APPL') return false;
  return IsMacOSXNativeAppl(spec) != 2;
}

Boolean NetworkFolderFilterProc(AEDesc* item, void*, void*, NavFilterModes) {
  FSSpec spec{};
  bool network = false;
  return NavGetItemSpec(item, &spec) != noErr || !OnNetwork(spec.vRefNum, &network) || !network;
}

Boolean TempFolderFilterProc(AEDesc* item, void* info, void* userData, NavFilterModes) {
  FSSpec spec{};
  const auto* temp = static_cast<const FSSpec*>(userData);
  if (NavGetItemSpec(item, &spec) != noErr || !temp || !static_cast<NavFileOrFolderInfo*>(info)->isFolder)
    return true;
  SInt32 itemID = 0, tempID = 0;
  if (DirectoryOf(spec, &itemID) != noErr || DirectoryOf(*temp, &tempID) != noErr) return true;
  return !(spec.vRefNum == temp->vRefNum && itemID == tempID);
}

long ChoosePDFFile(FSSpec& chosen, unsigned char*, FSSpec& lastFile) {
  StCurResFile appResources{ApplicationResFile()};
  LFileChooser chooser;
  chooser.GetDialogOptions()->dialogOptionFlags = kNavSupportPackages;
  SetMessage(chooser, kPDFMessage);
  FSSpec start = lastFile;
  if (!Exists(start) || InTrash(start)) Get_Default_Dir(&start);
  chooser.SetDefaultLocation(start);
  chooser.SetObjectFilterProc(AliasFilterProc);
  FSSpec file{};
  if (!chooser.AskChooseOneFile(LFileTypeList(), file)) return 0;
  if (CAddPDFFile::CheckPDFFile(file) != 1) return 0;
  chosen = file;
  return 1;
}

long ChooseApplication(FSSpec& chosen, unsigned char*) {
  StCurResFile appResources{ApplicationResFile()};
  LFileChooser chooser;
  chooser.GetDialogOptions()->dialogOptionFlags = kNavSupportPackages;
  SetMessage(chooser, kApplicationMessage);
  SInt16 vRefNum = 0;
  SInt32 dirID = 0;
  FSSpec apps{};
  if (FindFolder(kLocalDomain, kApplicationsFolderType, false, &vRefNum, &dirID) == noErr &&
      FSMakeFSSpec(vRefNum, dirID, kNoName, &apps) == noErr)
    chooser.SetDefaultLocation(apps);
  chooser.SetObjectFilterProc(ClassicAppFilterProc);
  const OSType types[] = {'APPL', 'adrp'};
  FSSpec app{};
  if (!chooser.AskChooseOneFile(LFileTypeList(2, types), app)) return 0;
  // A package comes back as its folder's ID; name the folder itself.
  if (app.name[0] == 0) {
    OSErr err = FSMakeFSSpec(app.vRefNum, app.parID, kNoName, &app);
    if (err != noErr) Throw_(err);
  }
  chosen = app;
  return 1;
}

long ChooseFolder(FSSpec& chosen, unsigned char*, FSSpec& defaultLocation) {
  try {
    StCurResFile appResources{ApplicationResFile()};
    LFileChooser chooser;
    SetMessage(chooser, kFolderMessage);
    chooser.SetDefaultLocation(defaultLocation);
    return chooser.AskChooseFolder(chosen) ? 1 : 0;
  } catch (...) {
    // The caller keeps its folder: a failure is no choice.
    return 0;
  }
}

long ChooseTempFolder(FSSpec& chosen, unsigned char*, FSSpec& defaultLocation) {
  StCurResFile appResources{ApplicationResFile()};
  FSSpec temp{};
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    temp = PREF_SETTING::kTempFolder.get(PREF_ALL::kSetting.in(prefs.PrefAll()));
  }
  LFileChooser chooser;
  SetMessage(chooser, kFolderMessage);
  chooser.SetDefaultLocation(defaultLocation);
  chooser.SetObjectFilterProc(TempParentFilter, &temp);
  FSSpec folder{};
  if (!chooser.AskChooseFolder(folder)) return 0;
  bool network = false;
  if (!check_permission(&folder, 0) || (OnNetwork(folder.vRefNum, &network) && network)) {
    Show_Error(kAlertLayout, nullptr, kErrorList, kNotATempFolder, 0, 1, nullptr, 0);
    return 0;
  }
  chosen = folder;
  return 1;
}

}  // namespace CWXUtility
