#include "prefs/CPreferences.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "prefs/ButtonTags.h"
#include "prefs/LanguageTables.h"
#include "prefs/PrefFile.h"
#include "prefs/SiteDefaults.h"
#include "prefs/WXModels.h"
#include "framework/LException.h"
#include "toolbox/Files.h"
#include "toolbox/Folders.h"
#include "toolbox/MacErrors.h"
#include "toolbox/TextUtils.h"

FDSources CPreferences::sSources{nullptr, IsMetric() != 0};

namespace {

void (*sWriteFailureHandler)(OSErr) = nullptr;
bool sWriteFailureReported = false;

// The user hears once per run that the settings will not be kept, whatever stops them.
void ReportWriteFailure(OSErr err) {
  if (sWriteFailureReported || !sWriteFailureHandler) return;
  sWriteFailureReported = true;
  sWriteFailureHandler(err);
}

OSErr ErrorOf(const LException& e) {
  const ExceptionCode code = e.GetErrorCode();
  if (code >= -32768 && code < 0) return OSErr(code);
  return ioErr;
}

bool SomethingAt(const FSSpec& spec) {
  std::string path;
  struct stat st;
  return FSpGetPOSIXPath(&spec, &path) == noErr && lstat(path.c_str(), &st) == 0;
}

// Puts into `image` every byte where `now` differs from `base`. Most of the record is
// unchanged, so whole blocks are compared first.
void MergeChanges(const uint8_t* base, const uint8_t* now, uint8_t* image) {
  constexpr size_t kBlock = 256;
  for (size_t at = 0; at < PREF_ALL::kSize; at += kBlock) {
    const size_t end = std::min(at + kBlock, size_t(PREF_ALL::kSize));
    if (std::memcmp(base + at, now + at, end - at) == 0) continue;
    for (size_t i = at; i < end; ++i)
      if (now[i] != base[i]) image[i] = now[i];
  }
}

}  // namespace

void CPreferences::SetWriteFailureHandler(void (*handler)(OSErr)) {
  sWriteFailureHandler = handler;
  sWriteFailureReported = false;
}

CPreferences::CPreferences(ConstStr255Param fileName, Boolean)
    : mPrefAll(new uint8_t[PREF_ALL::kSize]()), mExifBlock(new uint8_t[EXIF_PREF::kSize]()) {
  SInt16 vRef = 0;
  SInt32 dirID = 0;
  // The folder is made when missing whatever the flag: on a fresh account it does not exist yet.
  if (FindFolder(kOnSystemDisk, kPreferencesFolderType, kCreateFolder, &vRef, &dirID) != noErr) {
    vRef = 0;
    dirID = 0;
  }
  OSErr err = FSMakeFSSpec(vRef, dirID, fileName, &mSpec);
  if (err != noErr && err != fnfErr) ThrowIfOSErr_(err);
  CPreferences::Load_Setting();
}

CPreferences::~CPreferences() {
  OSErr err = Save();
  if (err != noErr) ReportWriteFailure(err);
}

OSErr CPreferences::Save() noexcept {
  try {
    CPreferences::Save_Setting();
    return noErr;
  } catch (const LException& e) {
    return ErrorOf(e);
  } catch (...) {
    return ioErr;
  }
}

void CPreferences::Load_Setting() {
  std::vector<uint8_t> data;
  OSErr err = PFRead(mSpec, &data);
  // The File Manager answers "no file" for a folder; it is in the way all the same.
  if (err == fnfErr && SomethingAt(mSpec)) err = notAFileErr;
  if (err == noErr) {
    std::memcpy(mPrefAll.get(), data.data(), PREF_ALL::kSize);
    mBase = std::move(data);
    FDRepairRecord(PrefAll());
    return;
  }
  // Anything but a missing file (one that cannot be read, a folder) is kept aside for
  // inspection before it is replaced; where the folder forbids that, the defaults are used
  // and not written.
  if (err != fnfErr) {
    const OSErr moved = PFMoveAside(mSpec);
    if (moved != noErr) {
      Rebuild(false);
      ReportWriteFailure(moved);
      return;
    }
  }
  Rebuild(true);
}

void CPreferences::Rebuild(bool write) {
  std::memset(mPrefAll.get(), 0, PREF_ALL::kSize);
  mBase.clear();
  Set_Default_ButtonName();
  Set_Default_FileName();
  Set_Default();
  Read_DefaultsPrefs();
  if (!write) return;
  OSErr err = PFWrite(mSpec, mPrefAll.get(), PREF_ALL::kSize);
  if (err == noErr) mBase.assign(mPrefAll.get(), mPrefAll.get() + PREF_ALL::kSize);
  else if (PFIsPermissionError(err)) ReportWriteFailure(err);
}

void CPreferences::Save_Setting() {
  const uint8_t* now = mPrefAll.get();
  if (!mBase.empty() && std::equal(mBase.begin(), mBase.end(), now)) return;

  std::vector<uint8_t> image;
  OSErr writeErr = noErr;
  OSErr err = PFRead(mSpec, &image, &writeErr);
  // A file the user may not change is left as it is, though the folder would allow replacing it.
  if (err == noErr && PFIsPermissionError(writeErr)) ThrowIfOSErr_(writeErr);
  if (err == noErr && !mBase.empty()) {
    MergeChanges(mBase.data(), now, image.data());
  } else {
    // Nothing sound to merge into: this object's record becomes the file.
    image.assign(now, now + PREF_ALL::kSize);
  }
  ThrowIfOSErr_(PFWrite(mSpec, image.data(), image.size()));
  mBase.assign(now, now + PREF_ALL::kSize);
}

void CPreferences::Set_Default() { FDSetDefault(PrefAll(), sSources); }
RecordBytes CPreferences::Set_Default_ScannerDriver() { return FDScannerDriver(PrefAll(), sSources); }
RecordBytes CPreferences::Set_Default_Exif() { return FDExif(PrefAll()); }
RecordBytes CPreferences::Set_Default_Copy() { return FDCopy(PrefAll(), sSources); }
RecordBytes CPreferences::Set_Default_Print() { return FDPrint(PrefAll(), sSources); }
RecordBytes CPreferences::Set_Default_Mail() { return FDMail(PrefAll(), sSources); }
RecordBytes CPreferences::Set_Default_OCR() { return FDOCR(PrefAll(), sSources); }
RecordBytes CPreferences::Set_Default_Save() { return FDSave(PrefAll(), sSources); }
RecordBytes CPreferences::Set_Default_File() { return FDFile(PrefAll(), sSources); }
RecordBytes CPreferences::Set_Default_File_Tab(long tab) { return FDFileTab(PrefAll(), tab, sSources); }
RecordBytes CPreferences::Set_Default_Scan1() { return FDScan1(PrefAll(), sSources); }
RecordBytes CPreferences::Set_Default_Scan2() { return FDScan2(PrefAll(), sSources); }
RecordBytes CPreferences::Set_Default_Setting() { return FDSetting(PrefAll()); }
void CPreferences::Set_Default_ButtonName() { FDButtonNames(PrefAll()); }
void CPreferences::Set_Default_FileName() { FDFileNames(PrefAll()); }

void CPreferences::Read_DefaultsPrefs() {
  Str255 model;
  if (!SDReadModel(model)) return;
  RecordBytes all = PrefAll();
  RecordBytes setting = PREF_ALL::kSetting.in(all);
  PREF_SETTING::kModelName.set(setting, model);
  const long productID = FDProductID(1, model);
  const bool fourButtons = CWXUtility::Is4ButtonDriver(productID);
  PREF_SETTING::kButtonSlot0.set(setting, 1);
  PREF_SETTING::kButtonSlot1.set(setting, 6);
  PREF_SETTING::kButtonSlot2.set(setting, fourButtons ? 8 : 0);
  PREF_SETTING::kButtonSlot3.set(setting, 3);
  SetupButtonValue(static_cast<unsigned short>(productID));

  struct SiteAlias {
    short id;
    RecordBytes rec;
    PrefSpec field;
  };
  const SiteAlias aliases[] = {
      {5000, PREF_ALL::kScan1.in(all), PREF_SCANX::kTargetApp},
      {5001, PREF_ALL::kScan2.in(all), PREF_SCANX::kTargetApp},
      {5002, PREF_ALL::File(0).in(all), PREF_FILE::kTargetApp},
      {5003, PREF_ALL::kOCR.in(all), PREF_OCR::kOCRApp},
  };
  for (const SiteAlias& a : aliases) {
    FSSpec app{};
    if (SDResolveAlias(a.id, &app)) a.field.set(a.rec, app);
  }
}

void CPreferences::SetupButtonValue(unsigned short productID) {
  RecordBytes all = PrefAll();
  RecordBytes setting = PREF_ALL::kSetting.in(all);
  ClearFunctionTags(all);
  AssignSlotTags(all, setting, setting, CWXUtility::Is4ButtonDriver(productID));
}

void CPreferences::set_paper_size(Rect* rect, long paperIndex, long resolution) {
  const PaperSizeRow paper = PaperSizeAt(paperIndex);
  rect->top = 0;
  rect->left = 0;
  rect->right = static_cast<int16_t>(CWXUtility::mm10_to_pixel(paper.width, double(resolution)));
  rect->bottom = static_cast<int16_t>(CWXUtility::mm10_to_pixel(paper.height, double(resolution)));
}
