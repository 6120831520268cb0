#include "output/hub/WXLaunch.h"

#include "appservices/AppleEvents.h"
#include "appservices/LaunchServices.h"
#include "appservices/StAEDescriptor.h"
#include "framework/LException.h"
#include "toolbox/MacErrors.h"
#include "output/hub/CFSConverter.h"
#include "output/hub/UProcess.h"
#include "toolbox/Aliases.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"

namespace CWXUtility {

namespace {

constexpr UInt16 kLaunchFlags = 0x4800;
const unsigned char kNoName[] = {0};

// An 'alis' descriptor of the document.
void MakeAliasDesc(const FSSpec& document, AEDesc* desc) {
  AliasHandle alias = nullptr;
  ThrowIfOSErr_(NewAlias(nullptr, &document, &alias));
  HLock(reinterpret_cast<Handle>(alias));
  OSErr err = AECreateDesc(typeAlias, *alias, GetHandleSize(reinterpret_cast<Handle>(alias)), desc);
  HUnlock(reinterpret_cast<Handle>(alias));
  DisposeHandle(reinterpret_cast<Handle>(alias));
  ThrowIfOSErr_(err);
}

void SendOpenDocuments(const AEDesc& target, const AEDesc& directObject) {
  StAEDescriptor event;
  ThrowIfOSErr_(AECreateAppleEvent(kCoreEventClass, kAEOpenDocuments, &target, kAutoGenerateReturnID,
                                   kAnyTransactionID, event));
  ThrowIfOSErr_(AEPutParamDesc(event, keyDirectObject, &directObject));
  ThrowIfOSErr_(AESend(event, nullptr, kAENoReply, kAENormalPriority, kAEDefaultTimeout, nullptr, nullptr));
}

void SendToFileManager(const FSSpec& item) {
  const OSType signature = kProcessSignatureFileManager;
  StAEDescriptor target(typeApplSignature, &signature, sizeof signature);
  // The 70-byte stored form the file manager reads.
  UInt8 stored[kFSSpecRecordSize] = {};
  RecordBytes(stored, sizeof stored).setFSSpec(0, item);
  StAEDescriptor document(typeFSS, stored, sizeof stored);
  SendOpenDocuments(target.Get(), document.Get());
  UProcess::SetFront(UProcess::GetPSN(kProcessTypeFileManager, kProcessSignatureFileManager));
}

}  // namespace

long SearchApplication(OSType creator, FSSpec* app) {
  FSRef ref{};
  if (LSGetApplicationForInfo(0, creator, nullptr, kLSRolesAll, &ref, nullptr) != noErr) return 0;
  try {
    *app = CFSConverter(ref).GetFSSpec();
  } catch (const LException&) {
    return 0;
  }
  return 1;
}

ProcessSerialNumber LaunchWithFSSpec(const FSSpec& app) { return UProcess::LaunchApp(app, kLaunchFlags); }

void SendOpenDocWithPSN(const ProcessSerialNumber& psn, const FSSpec& document) {
  StAEDescriptor target(typeProcessSerialNumber, &psn, sizeof psn);
  StAEDescriptor alias;
  MakeAliasDesc(document, alias);
  SendOpenDocuments(target.Get(), alias.Get());
  UProcess::SetFront(psn);
}

void SendOpenDocListWithPSN(const ProcessSerialNumber& psn, const TArray<FSSpec>& documents) {
  StAEDescriptor target(typeProcessSerialNumber, &psn, sizeof psn);
  StAEDescriptor list;
  ThrowIfOSErr_(AECreateList(nullptr, 0, false, list));
  for (ArrayIndexT i = 1; i <= documents.GetCount(); ++i) {
    StAEDescriptor alias;
    MakeAliasDesc(documents[i], alias);
    ThrowIfOSErr_(AEPutDesc(list, 0, alias));
  }
  SendOpenDocuments(target.Get(), list.Get());
  UProcess::SetFront(psn);
}

void OpenFolderWithFSSpec(const FSSpec& item) {
  FSSpec folder{};
  ThrowIfOSErr_(FSMakeFSSpec(item.vRefNum, item.parID, kNoName, &folder));
  SendToFileManager(folder);
}

void OpenFileByFinder(const FSSpec& document) { SendToFileManager(document); }

long IsMacOSXNativeAppl(const FSSpec& app) {
  FSRef ref{};
  if (FSpMakeFSRef(&app, &ref) != noErr) return 2;
  LSItemInfoRecord info{};
  if (LSCopyItemInfoForRef(&ref, kLSRequestAllInfo, &info) != noErr) return 2;
  if (info.extension) CFRelease(info.extension);
  if (!(info.flags & kLSItemInfoIsNativeApp)) return 2;
  if (info.flags & kLSItemInfoAppPrefersNative) return 1;
  return (info.flags & kLSItemInfoAppPrefersClassic) ? 2 : 0;
}

IconRef GetIconFromFile(const FSSpec& item) {
  IconRef icon = nullptr;
  SInt16 label = 0;
  return GetIconRefFromFile(&item, &icon, &label) == noErr ? icon : nullptr;
}

}  // namespace CWXUtility
