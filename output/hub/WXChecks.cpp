#include "output/hub/WXChecks.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "prefs/LanguageTables.h"
#include "output/hub/WXNaming.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/Files.h"
#include "toolbox/Folders.h"
#include "toolbox/MacErrors.h"
#include "toolbox/TextUtils.h"

namespace CWXUtility {

namespace {

constexpr long kErrBadCharacter = 14;
constexpr long kErrTooLong = 15;
constexpr long kErrEmpty = 16;
constexpr long kErrBadName = 30;
constexpr long kErrDiskFull = 48;
constexpr unsigned char kMaxNameLength = 20;
constexpr long kMaxGroups = 256;

bool SameBytes(ConstStr255Param a, ConstStr255Param b) {
  return a[0] == b[0] && std::memcmp(a + 1, b + 1, a[0]) == 0;
}

// True when the name holds nothing but blanks: spaces, and in Japanese full-width spaces.
bool OnlyBlanks(ConstStr255Param name) {
  const unsigned len = name[0];
  for (unsigned i = 1; i <= len; ++i) {
    if (name[i] == ' ') continue;
    if (IS_J && name[i] == 0x81 && i < len && name[i + 1] == 0x40) {
      ++i;
      continue;
    }
    return false;
  }
  return true;
}

bool HasForbiddenCharacter(ConstStr255Param name) {
  const unsigned len = name[0];
  for (unsigned i = 1; i <= len; ++i) {
    const unsigned char c = name[i];
    if (c == ':' || c == '/') return true;
    if (c == '\\' &&
        CharacterByteType(reinterpret_cast<Ptr>(const_cast<unsigned char*>(name + 1)), short(i - 1), smSystemScript) ==
            smSingleByte)
      return true;
  }
  return false;
}

}  // namespace

long CheckFileName(ConstStr255Param name) {
  if (name[0] > kMaxNameLength) return kErrTooLong;
  if (name[0] == 0) return kErrEmpty;
  FSSpec spec{};
  OSErr err = FSMakeFSSpec(0, 0, name, &spec);
  if ((err != noErr && err != fnfErr) || !SameBytes(spec.name, name)) return kErrBadName;
  if (OnlyBlanks(name)) return kErrBadName;
  if (HasForbiddenCharacter(name)) return kErrBadCharacter;
  if (name[1] == '.') return kErrBadName;
  return 0;
}

OSErr GetGroupArray(UInt32* groups, long* count) {
  if (*count <= 0) return paramErr;
  std::vector<gid_t> list(size_t(std::max<long>(*count, 1)));
  int n = getgroups(int(list.size()), list.data());
  if (n < 0) return paramErr;
  list.resize(size_t(n));
  // The effective group need not be among the supplementary groups on Linux.
  const gid_t effective = getegid();
  if (std::find(list.begin(), list.end(), effective) == list.end()) list.insert(list.begin(), effective);
  const long filled = std::min<long>(long(list.size()), *count);
  for (long i = 0; i < filled; ++i) groups[i] = UInt32(list[size_t(i)]);
  *count = filled;
  return noErr;
}

OSErr GetUserID(UInt32* userID) {
  *userID = UInt32(geteuid());
  return noErr;
}

OSErr CreateFrameworkBundleFromName(const char* name, CFBundleRef* bundle) {
  *bundle = nullptr;
  SInt16 volume = 0;
  SInt32 folder = 0;
  OSErr err = FindFolder(kSystemDomain, kFrameworksFolderType, kDontCreateFolder, &volume, &folder);
  if (err != noErr) return err;
  FSSpec spec{};
  const unsigned char kNoName[] = {0};
  FSRef ref{};
  if ((err = FSMakeFSSpec(volume, folder, kNoName, &spec)) != noErr || (err = FSpMakeFSRef(&spec, &ref)) != noErr)
    return err;
  CFURLRef frameworks = CFURLCreateFromFSRef(nullptr, &ref);
  if (!frameworks) return fnfErr;
  CFStringRef component = CFStringCreateWithCString(nullptr, name, kCFStringEncodingUTF8);
  CFURLRef url = component ? CFURLCreateCopyAppendingPathComponent(nullptr, frameworks, component, true) : nullptr;
  if (component) CFRelease(component);
  CFRelease(frameworks);
  if (!url) return fnfErr;
  *bundle = CFBundleCreate(nullptr, url);
  CFRelease(url);
  return *bundle ? noErr : fnfErr;
}

unsigned char check_permission(const FSSpec* folder, unsigned char dayFolder) {
  SInt32 dirID = 0;
  Boolean isDirectory = false;
  if (FSpGetDirectoryID(folder, &dirID, &isDirectory) != noErr || !isDirectory) return 0;
  FSSpec tested = *folder;
  if (dayFolder) {
    Str255 day;
    DayFolderName(day);
    FSSpec sub{};
    SInt32 subID = 0;
    Boolean subIsDirectory = false;
    if (FSMakeFSSpec(folder->vRefNum, dirID, day, &sub) == noErr &&
        FSpGetDirectoryID(&sub, &subID, &subIsDirectory) == noErr && subIsDirectory)
      tested = sub;
  }
  FSRef ref{};
  FSCatalogInfo info{};
  if (FSpMakeFSRef(&tested, &ref) != noErr) return 0;
  if (FSGetCatalogInfo(&ref, kFSCatInfoVolume | kFSCatInfoParentDirID | kFSCatInfoPermissions | kFSCatInfoUserPrivs,
                       &info, nullptr, nullptr, nullptr) != noErr)
    return 0;
  UInt32 groups[kMaxGroups];
  long count = kMaxGroups;
  UInt32 user = 0;
  if (GetGroupArray(groups, &count) != noErr || GetUserID(&user) != noErr) return 0;
  const UInt16 mode = info.permissions.mode;
  if (info.permissions.userID == user) return (mode & 0200) != 0;
  if (std::find(groups, groups + count, info.permissions.groupID) != groups + count) return (mode & 0020) != 0;
  return (mode & 0002) != 0;
}

UInt64 NeededDiskBytes(long paperIndex, long imageMode, long documentKind, long dpi, SDimension16 customSize,
                       unsigned short productID, unsigned char flag) {
  long w10 = 890, h10 = 1270;  // a photograph of 89 x 127 mm
  if (imageMode == 5 || imageMode == 6) {
    w10 = 2160;
    h10 = 2970;
  } else if (documentKind == 1) {
    if (paperIndex == Paper_Size_custom) {
      w10 = customSize.width;
      h10 = customSize.height;
    } else {
      const PaperSizeRow paper = PaperSizeAt(paperIndex);
      w10 = paper.width;
      h10 = paper.height;
    }
  }
  const UInt64 w = UInt64(std::max<long>(0, mm10_to_pixel(w10, double(dpi))));
  const UInt64 h = UInt64(std::max<long>(0, mm10_to_pixel(h10, double(dpi))));
  if (documentKind == 1) {
    UInt64 image = 3 * w * h;
    if (imageMode == 1) image = w * h / 8;
    else if (imageMode == 2 || imageMode == 7) image = w * h;
    return (image + 206) * (flag ? 16 : 4);
  }
  return (3 * w * h + 206) * (productID == 0x1250 ? 48 : 24);
}

unsigned char CheckHDSpace(FSSpec destination, long paperIndex, long imageMode, long documentKind, long dpi,
                           SDimension16 customSize, unsigned short productID, unsigned char flag,
                           void (*showError)(long item)) {
  if (destination.vRefNum == 0) return 1;
  UInt64 freeBytes = 0, totalBytes = 0;
  if (FSGetVolumeFreeBytes(destination.vRefNum, &freeBytes, &totalBytes) != noErr) freeBytes = 0;
  const UInt64 needed =
      NeededDiskBytes(paperIndex, imageMode, documentKind, dpi, customSize, productID, flag);
  if (needed < freeBytes) return 1;
  if (showError) showError(kErrDiskFull);
  return 0;
}

long CheckHistFileName(ConstStr255Param name, RecordBytes record, PrefHistory history) {
  uint32_t count = history.count(record);
  Str255 entry, next;
  for (uint32_t i = 0; i < count; ++i) {
    history.entry(record, i, entry);
    if (SameBytes(entry, name) || EqualString(entry, name, false, false)) {
      for (uint32_t j = i; j + 1 < count; ++j) {
        history.entry(record, j + 1, next);
        history.setEntry(record, j, next);
      }
      --count;
      break;
    }
  }
  if (count < PrefHistory::kEntries) {
    ++count;
  } else {
    for (uint32_t j = 0; j + 1 < count; ++j) {
      history.entry(record, j + 1, next);
      history.setEntry(record, j, next);
    }
  }
  history.setEntry(record, count - 1, name);
  history.setCount(record, count);
  return 1;
}

}  // namespace CWXUtility
