#include "output/glue/CAddPDFFile.h"

#include <cstdio>
#include <string>

#include "framework/Dialogs.h"
#include "framework/LStr255.h"
#include "framework/UDesktop.h"
#include "output/hubdialogs/WXAlert.h"
#include "output/hub/WXFolders.h"
#include "output/hub/WXText.h"
#include "output/glue/FrameworkPaths.h"
#include "paginor/Paginor.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"

namespace {

unsigned char kAppendPlugInName[] = "\x10Vesk_carbon.shlb";

// Items of the error list.
enum : SInt32 { kOpenFailedItem = 33, kCannotChangeItem = 35, kDiskFullItem = 47 };

void ShowError(SInt32 item) {
  CWXUtility::Show_Error(CWXUtility::kAlertLayout, nullptr, 400, item, 0, 1, nullptr, 0);
}

// The status as the first parameter of the caller's alert.
void SetAlertNumber(OSErr status) {
  UDesktop::Deactivate();
  ParamText(LStr255(static_cast<SInt32>(status)), nullptr, nullptr, nullptr);
  UDesktop::Activate();
}

// A free scratch name in the temporary folder: "Temp.PDF", else "Temp0001.PDF" and up.
// False when the folder cannot be had, a name cannot be checked, or all are taken.
bool ScratchCopySpec(FSSpec* scratch) {
  SInt16 vRefNum = 0;
  SInt32 dirID = 0;
  if (!CWXUtility::FindTempFolder(&vRefNum, &dirID)) return false;
  for (int serial = 0; serial <= 9999; ++serial) {
    char name[16];
    if (serial == 0)
      std::snprintf(name, sizeof name, "Temp.PDF");
    else
      std::snprintf(name, sizeof name, "Temp%04d.PDF", serial);
    const LStr255 pname(name);
    const OSErr err = FSMakeFSSpec(vRefNum, dirID, pname, scratch);
    if (err == fnfErr) return true;
    if (err != noErr) return false;
  }
  return false;
}

bool MayWrite(const FSSpec& pdf) {
  FSRef ref;
  FSCatalogInfo info{};
  return FSpMakeFSRef(&pdf, &ref) == noErr &&
         FSGetCatalogInfo(&ref, kFSCatInfoUserAccess, &info, nullptr, nullptr, nullptr) == noErr &&
         !(info.permissions.userAccess & kioACUserNoMakeChangesMask);
}

// A file with no PDF header is refused before it is copied, whatever its size.
SInt32 CheckHeader(const FSSpec& pdf) {
  std::string path;
  const OSErr err = FrameworkPathOf(pdf, &path);
  return err != noErr ? err : VESK_checkHeader(path.c_str());
}

// Opens and closes the copy with the framework, which never writes it.
SInt32 TryFramework(const FSSpec& copy) {
  std::string path;
  OSErr err = FrameworkPathOf(copy, &path);
  if (err != noErr) return err;
  UInt32 handle = 0;
  err = VESK_open(path.c_str(), 0, &handle);
  if (err != noErr) return err;
  return VESK_close(&handle);
}

void DeleteScratch(const FSSpec& scratch) {
  if (CWXUtility::DeleteFileWithRetry(scratch) == fLckdErr) {
    FSpRstFLock(&scratch);
    CWXUtility::DeleteFileWithRetry(scratch);
  }
}

}  // namespace

CAddPDFFile::CAddPDFFile(FSSpec& target, FSSpec& source) : mTarget(target), mSource(source) {
  InitLib(kAppendPlugInName);
}

CAddPDFFile::~CAddPDFFile() {
  TermLib();
  CWXUtility::RenameFSSpecFile2UniFile(&mTarget);
}

long CAddPDFFile::AddToSourceFile() {
  mError = CheckVeskLibrary(&mTarget, &mSource);
  return mError == 0 ? 1 : 0;
}

SInt32 CAddPDFFile::CheckVeskLibrary(FSSpec* target, FSSpec* source) {
  std::string targetPath, sourcePath;
  OSErr err = FrameworkPathOf(*target, &targetPath);
  if (err == noErr) err = FrameworkPathOf(*source, &sourcePath);
  if (err != noErr) {
    SetAlertNumber(err);
    return err;
  }
  UInt32 handle = 0;
  err = VESK_open(targetPath.c_str(), 0, &handle);
  if (err != noErr) {
    SetAlertNumber(err);
    return err;
  }
  err = VESK_addPDF(handle, sourcePath.c_str());
  if (err != noErr) {
    SetAlertNumber(err);
    VESK_close(&handle);
    return err;
  }
  err = VESK_close(&handle);
  if (err != noErr) SetAlertNumber(err);
  return err;
}

long CAddPDFFile::CheckPDFFile(FSSpec& pdf) {
  FSSpec scratch{};
  if (!ScratchCopySpec(&scratch)) {
    ShowError(kOpenFailedItem);
    return 0;
  }
  if (!MayWrite(pdf)) {
    ShowError(kCannotChangeItem);
    return 0;
  }
  if (CheckHeader(pdf) != noErr) {
    ShowError(kCannotChangeItem);
    return 0;
  }
  // A copy that cannot fit is refused before a byte of it is written.
  FSSpec folder{};
  const unsigned char noName[] = {0};
  OSErr err = FSMakeFSSpec(scratch.vRefNum, scratch.parID, noName, &folder);
  if (err == noErr) err = FSpFileCopy(&pdf, &folder, scratch.name, nullptr, 0, true);
  if (err != noErr) {
    DeleteScratch(scratch);
    ShowError(err == dskFulErr ? kDiskFullItem : kCannotChangeItem);
    return 0;
  }
  const SInt32 result = TryFramework(scratch);
  DeleteScratch(scratch);
  if (result == noErr) return 1;
  ShowError(result == kPaginorCannotAppendErr ? kCannotChangeItem : kOpenFailedItem);
  return 0;
}
