#include "app/PushScanEvents.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "prefs/LanguageTables.h"
#include "appservices/AppleEvents.h"
#include "appservices/Processes.h"
#include "corefoundation/CFData.h"
#include "corefoundation/CFPropertyList.h"
#include "corefoundation/CFString.h"
#include "corefoundation/CFURL.h"
#include "corefoundation/CFURLAccess.h"
#include "framework/LException.h"
#include "output/hub/WXChecks.h"
#include "toolbox/Clock.h"
#include "toolbox/Gestalt.h"
#include "toolbox/MacErrors.h"
#include "toolbox/TextUtils.h"

namespace {

constexpr SInt32 kLastVersionWithSenderTest = 0x105F;
constexpr size_t kNameLength = 25;
constexpr int kSecondsTaken = 5;
constexpr UInt32 kRootUser = 0;

bool LooseNames() {
  SInt32 version = 0;
  Gestalt(gestaltSystemVersion, &version);
  return version <= kLastVersionWithSenderTest;
}

std::string NameFor(UInt32 secs) {
  DateTimeRec d{};
  SecondsToDate(secs, &d);
  char name[64];
  std::snprintf(name, sizeof name, "KVQR.%04d%02d%02d%02d%02d%02d.plist", d.year, d.month, d.day, d.hour, d.minute,
                d.second);
  return name;
}

bool NameFits(const std::string& name, bool loose) {
  if (name.size() != kNameLength) return false;
  if (loose) return name.rfind("KVQR.", 0) == 0 && name.compare(kNameLength - 6, 6, ".plist") == 0;
  for (int k = 0; k < kSecondsTaken; ++k) {
    UInt32 now = 0;
    GetDateTime(&now);
    if (name == NameFor(now - UInt32(k))) return true;
  }
  return false;
}

// Only a plain file of this user (or root), small enough to read whole.
bool SafeToRead(const FSCatalogInfo& info) {
  UInt32 me = 0;
  if (CWXUtility::GetUserID(&me) != noErr) return false;
  if (info.nodeFlags & kFSNodeIsDirectoryMask) return false;
  if (info.finderInfo.fdFlags & kIsAlias) return false;
  if (info.permissions.userID != me && info.permissions.userID != kRootUser) return false;
  return info.dataLogicalSize <= UInt64(kMaxEventFileBytes);
}

struct Candidate {
  Str255 name;
  FSRef ref;
  FSSpec spec;
};

CFTypeRef ValueOfType(CFDictionaryRef dict, CFStringRef key, CFTypeID type) {
  CFTypeRef value = CFDictionaryGetValue(dict, key);
  return value && CFGetTypeID(value) == type ? value : nullptr;
}

}  // namespace

CFDictionaryRef loadPushScanInfo(const char* path) {
  CFURLRef url = CFURLCreateFromFileSystemRepresentation(nullptr, reinterpret_cast<const UInt8*>(path),
                                                         static_cast<CFIndex>(std::strlen(path)), false);
  if (!url) return nullptr;
  CFDataRef data = nullptr;
  SInt32 error = 0;
  const Boolean read = CFURLCreateDataAndPropertiesFromResource(nullptr, url, &data, nullptr, nullptr, &error);
  CFRelease(url);
  if (!read || !data) return nullptr;
  CFPropertyListRef list = CFPropertyListCreateFromXMLData(nullptr, data, kCFPropertyListImmutable, nullptr);
  CFRelease(data);
  if (!list) return nullptr;
  if (CFGetTypeID(list) == CFDictionaryGetTypeID()) {
    auto dict = static_cast<CFDictionaryRef>(list);
    auto id = static_cast<CFStringRef>(ValueOfType(dict, CFSTR("FileID"), CFStringGetTypeID()));
    if (id && CFStringCompare(id, CFSTR("OstrelZenbo_PushScan"), 0) == kCFCompareEqualTo) return dict;
  }
  CFRelease(list);
  return nullptr;
}

bool ReadPushScanInfo(CFDictionaryRef event, KVQRInfo* info) {
  auto device = static_cast<CFStringRef>(ValueOfType(event, CFSTR("DeviceName"), CFStringGetTypeID()));
  auto data = static_cast<CFDataRef>(ValueOfType(event, CFSTR("EventData"), CFDataGetTypeID()));
  if (!device || !data || CFDataGetLength(data) < 1) return false;
  char name[1024];
  if (!CFStringGetCString(device, name, sizeof name, kCFStringEncodingUTF8)) return false;
  // Cut to 31 bytes without splitting a UTF-8 sequence.
  size_t length = std::strlen(name);
  if (length > sizeof info->deviceName - 1) {
    length = sizeof info->deviceName - 1;
    while (length > 0 && (UInt8(name[length]) & 0xC0) == 0x80) --length;
  }
  std::memset(info->deviceName, 0, sizeof info->deviceName);
  std::memcpy(info->deviceName, name, length);
  std::memset(info->eventData, 0, sizeof info->eventData);
  const CFIndex copied = std::min<CFIndex>(CFDataGetLength(data), sizeof info->eventData);
  CFDataGetBytes(data, CFRangeMake(0, copied), info->eventData);
  return true;
}

long FindKVQR(KVQRInfo* info, unsigned short* productID, FSSpec* file) {
  *info = KVQRInfo{};
  FSRef folder{};
  if (FSPathMakeRef(reinterpret_cast<const UInt8*>("/Tmp/"), &folder, nullptr) != noErr) return -1;
  FSIterator iterator = nullptr;
  if (FSOpenIterator(&folder, kFSIterateFlat, &iterator) != noErr) return -1;
  const bool loose = LooseNames();
  std::vector<Candidate> taken;
  for (;;) {
    ItemCount count = 0;
    FSCatalogInfo catalog{};
    Candidate c{};
    if (FSGetCatalogInfoBulk(iterator, 1, &count, nullptr, kFSCatInfoGettableInfo, &catalog, &c.ref, &c.spec,
                             nullptr) != noErr ||
        count == 0)
      break;
    const std::string name(reinterpret_cast<const char*>(c.spec.name + 1), c.spec.name[0]);
    if (!NameFits(name, loose) || !SafeToRead(catalog)) continue;
    std::memcpy(c.name, c.spec.name, size_t(c.spec.name[0]) + 1);
    // Newest first: the names carry the time.
    auto at = taken.begin();
    while (at != taken.end() && CompareString(c.name, at->name, nullptr) <= 0) ++at;
    taken.insert(at, c);
  }
  FSCloseIterator(iterator);

  for (const Candidate& c : taken) {
    *file = c.spec;
    char path[sizeof info->path];
    if (FSRefMakePath(&c.ref, reinterpret_cast<UInt8*>(path), sizeof path) != noErr) continue;
    // A link could point anywhere: only a plain file is read.
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(path, error))) continue;
    CFDictionaryRef event = loadPushScanInfo(path);
    if (!event) continue;
    KVQRInfo found{};
    const bool readable = ReadPushScanInfo(event, &found);
    CFRelease(event);
    if (!readable) continue;
    Str255 device;
    CopyCStringToPascal(found.deviceName, device);
    const ScannerTableRow* row = ScannerTableFind(device);
    if (!row) continue;
    std::memcpy(found.path, path, sizeof found.path);
    *info = found;
    *productID = row->productID;
    return 0;
  }
  return -1;
}

void ResetButtonAssignments(RecordBytes prefsAll, long buttons) {
  const bool seven = buttons == 7;
  RecordBytes setting = PREF_ALL::kSetting.in(prefsAll);
  const UInt32 slots[PREF_SETTING::kSlots] = {1, 6, seven ? 0u : 8u, 3};
  for (UInt32 k = 0; k < PREF_SETTING::kSlots; ++k) PREF_SETTING::ButtonSlot(k).set(setting, slots[k]);
  PREF_COPY::kTag.set(PREF_ALL::kCopy.in(prefsAll), 2000);
  PREF_SCANX::kTag.set(PREF_ALL::kScan1.in(prefsAll), 2001);
  PREF_MAIL::kTag.set(PREF_ALL::kMail.in(prefsAll), 2003);
  for (UInt32 k = 0; k < PREF_ALL::kFileRecords; ++k)
    PREF_FILE::kTag.set(PREF_ALL::File(k).in(prefsAll), seven ? 0 : 2002);
  PREF_PRINT::kTag.set(PREF_ALL::kPrint.in(prefsAll), 0);
  PREF_OCR::kTag.set(PREF_ALL::kOCR.in(prefsAll), 0);
  PREF_SAVE::kTag.set(PREF_ALL::kSave.in(prefsAll), 0);
  PREF_SCANX::kTag.set(PREF_ALL::kScan2.in(prefsAll), 0);
}

OSType AEGetCreatorOfSender(const AEDesc& event) {
  ProcessSerialNumber psn{};
  DescType type = 0;
  Size size = 0;
  if (AEGetAttributePtr(&event, keyAddressAttr, typeProcessSerialNumber, &type, &psn, sizeof psn, &size) != noErr)
    return 0;
  if (psn.highLongOfPSN != 0 || psn.lowLongOfPSN == 0) return 0;
  ProcessInfoRec info{};
  info.processInfoLength = kProcessInfoRecLength;
  if (GetProcessInformation(&psn, &info) != noErr) return 0;
  return info.processSignature;
}

OSType GetMyApplicationFileSpec() {
  ProcessSerialNumber me{};
  ThrowIfOSErr_(GetCurrentProcess(&me));
  ProcessInfoRec info{};
  info.processInfoLength = kProcessInfoRecLength;
  ThrowIfOSErr_(GetProcessInformation(&me, &info));
  ProcessInfoRec launcher{};
  launcher.processInfoLength = kProcessInfoRecLength;
  ThrowIfOSErr_(GetProcessInformation(&info.processLauncher, &launcher));
  return launcher.processSignature;
}
