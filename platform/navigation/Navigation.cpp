#include "navigation/Navigation.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "corefoundation/CFBundle.h"
#include "corefoundation/CFURL.h"
#include "toolbox/DesktopEntry.h"
#include "toolbox/RecordAccess.h"

namespace fs = std::filesystem;

namespace {

bool IsPackage(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(fs::path(path) / "Contents" / "Info.plist", ec);
}

}  // namespace

OSType NavPackageType(const std::string& path) {
  CFURLRef url = CFURLCreateFromFileSystemRepresentation(nullptr, reinterpret_cast<const UInt8*>(path.data()),
                                                         CFIndex(path.size()), true);
  CFBundleRef bundle = url ? CFBundleCreate(nullptr, url) : nullptr;
  UInt32 type = 0, creator = 0;
  if (bundle) CFBundleGetPackageInfo(bundle, &type, &creator);
  if (bundle) CFRelease(bundle);
  if (url) CFRelease(url);
  return type;
}

bool NavMakeItem(const std::string& path, bool packages, NavItem* item) {
  struct stat lst, st;
  if (lstat(path.c_str(), &lst) != 0) return false;
  const bool link = S_ISLNK(lst.st_mode);
  const bool target = stat(path.c_str(), &st) == 0;
  NavItem made;
  made.path = path;
  made.shown = fs::path(path).filename().string();
  if (FSpMakeFromPOSIXPath(path, &made.spec) != noErr) return false;
  if (!link && target && S_ISDIR(st.st_mode)) {
    const bool package = IsPackage(path);
    made.info.isFolder = true;
    made.folder = !(package && packages);
    made.package = package && packages;
    if (package) {
      made.info.fileAndFolder.folderInfo.frFlags = kIsAlias;
      made.type = NavPackageType(path);
    }
  } else {
    FSpGetFInfo(&made.spec, &made.info.fileAndFolder.fileInfo.finderInfo);
    made.type = made.info.fileAndFolder.fileInfo.finderInfo.fdType;
    // An alias counts by its target, as a folder when it leads to one.
    if (link && target) {
      made.folder = S_ISDIR(st.st_mode) && !(packages && IsPackage(path));
      FSSpec resolved{};
      FInfo targetInfo{};
      if (!S_ISDIR(st.st_mode) && FSpMakeFromPOSIXPath(fs::canonical(path).string(), &resolved) == noErr &&
          FSpGetFInfo(&resolved, &targetInfo) == noErr)
        made.type = targetInfo.fdType;
    }
    DesktopEntry entry;
    if (made.shown.ends_with(".desktop") && DesktopEntryRead(path, &entry) && !entry.name.empty())
      made.shown = entry.name;
  }
  *item = made;
  return true;
}

std::vector<NavItem> NavListFolder(const std::string& folder, bool packages) {
  std::vector<NavItem> items;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    NavItem item;
    if (!name.starts_with(".") && NavMakeItem(it->path().string(), packages, &item)) items.push_back(item);
  }
  std::sort(items.begin(), items.end(), [](const NavItem& a, const NavItem& b) {
    if (a.folder != b.folder) return a.folder;
    return std::lexicographical_compare(a.shown.begin(), a.shown.end(), b.shown.begin(), b.shown.end(),
                                        [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
  });
  return items;
}

bool NavFilterShows(const NavItem& item, NavObjectFilterProcPtr filter, void* userData) {
  if (!filter) return true;
  UInt8 bytes[kFSSpecRecordSize];
  RecordBytes(bytes, sizeof bytes).setFSSpec(0, item.spec);
  AEDesc desc;
  AEInitializeDesc(&desc);
  if (AECreateDesc(typeFSS, bytes, sizeof bytes, &desc) != noErr) return true;
  NavFileOrFolderInfo info = item.info;
  const bool shown = filter(&desc, &info, userData, kNavFilteringBrowserList);
  AEDisposeDesc(&desc);
  return shown;
}

OSErr NavGetItemSpec(const AEDesc* item, FSSpec* spec) {
  if (!item || item->descriptorType != typeFSS || AEGetDescDataSize(item) != Size(kFSSpecRecordSize)) return paramErr;
  UInt8 bytes[kFSSpecRecordSize];
  OSErr err = AEGetDescData(item, bytes, sizeof bytes);
  if (err == noErr) *spec = RecordBytes(bytes, sizeof bytes).fsspec(0);
  return err;
}
