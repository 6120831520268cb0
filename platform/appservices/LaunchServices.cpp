#include "appservices/LaunchServices.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <vector>

#include "corefoundation/CFBundle.h"
#include "toolbox/DesktopEntry.h"
#include "toolbox/FilePaths.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/MacErrors.h"

namespace {

bool EndsWith(const std::string& s, const std::string& suffix) {
  return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool IsFolder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

CFBundleRef BundleAt(const std::string& folder) {
  CFURLRef url = CFURLCreateFromFileSystemRepresentation(nullptr, reinterpret_cast<const UInt8*>(folder.c_str()),
                                                         static_cast<CFIndex>(folder.size()), true);
  CFBundleRef bundle = CFBundleCreate(nullptr, url);
  CFRelease(url);
  return bundle;
}

// The package type and signature of a bundle folder ('????' when it has none).
void BundleCodes(const std::string& folder, OSType* type, OSType* creator) {
  CFBundleRef bundle = BundleAt(folder);
  UInt32 t = '????', c = '????';
  CFBundleGetPackageInfo(bundle, &t, &c);
  *type = t;
  *creator = c;
  CFRelease(bundle);
}

FInfo FinderInfoOf(const std::string& path) {
  uint8_t bytes[kFinderInfoSize];
  FpGetFinderInfo(path, bytes);
  FInfo info{};
  FpFInfoFromBytes(bytes, &info);
  return info;
}

// The creator an application at `path` carries, or 0.
OSType CreatorOf(const std::string& path) {
  if (EndsWith(path, ".desktop")) {
    DesktopEntry entry;
    if (DesktopEntryRead(path, &entry) && entry.creator) return entry.creator;
  } else if (IsFolder(path)) {
    OSType type, creator;
    BundleCodes(path, &type, &creator);
    if (type == 'APPL' && creator != '????') return creator;
    return 0;
  }
  return FinderInfoOf(path).fdCreator;
}

// The Applications folders, the user's before the system's.
std::vector<std::string> ApplicationFolders() {
  std::vector<std::string> folders;
  for (SInt16 domain : {kUserDomain, kSystemDomain}) {
    std::string folder;
    if (FindFolderPath(domain, kApplicationsFolderType, kDontCreateFolder, &folder) == noErr &&
        std::find(folders.begin(), folders.end(), folder) == folders.end())
      folders.push_back(folder);
  }
  return folders;
}

std::vector<std::string> SortedEntries(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != ".." && name != "mimeapps.list") names.push_back(name);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The desktop-entry ids mimeapps.list gives as defaults for `mimeType`, in preference order.
std::vector<std::string> DefaultHandlers(const std::string& mimeType) {
  const std::string root = FolderSystemPrefix();
  const std::string lists[] = {FolderConfigHome() + "/mimeapps.list", FolderDataHome() + "/applications/mimeapps.list",
                               root + "/etc/xdg/mimeapps.list", root + "/usr/share/applications/mimeapps.list"};
  std::vector<std::string> ids;
  for (const std::string& list : lists) {
    std::ifstream in(list);
    std::string line;
    bool inDefaults = false;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty() && line[0] == '[') {
        inDefaults = line == "[Default Applications]";
        continue;
      }
      if (!inDefaults || line.compare(0, mimeType.size() + 1, mimeType + "=") != 0) continue;
      const std::string value = line.substr(mimeType.size() + 1);
      size_t start = 0;
      while (start < value.size()) {
        size_t end = value.find(';', start);
        if (end == std::string::npos) end = value.size();
        if (end > start) ids.push_back(value.substr(start, end - start));
        start = end + 1;
      }
    }
  }
  return ids;
}

// The MIME type the shared MIME database's globs give for `extension`, or "".
std::string MimeTypeForExtension(const std::string& extension) {
  const std::string pattern = "*." + Lower(extension);
  const std::string folders[] = {FolderDataHome() + "/mime", FolderSystemPrefix() + "/usr/share/mime"};
  std::string best;
  int bestWeight = -1;
  for (const std::string& folder : folders) {
    std::ifstream globs2(folder + "/globs2");
    std::string line;
    // weight:type:glob[:flags]
    while (std::getline(globs2, line)) {
      if (line.empty() || line[0] == '#') continue;
      const size_t a = line.find(':'), b = line.find(':', a + 1);
      if (a == std::string::npos || b == std::string::npos) continue;
      std::string glob = line.substr(b + 1);
      glob = glob.substr(0, glob.find(':'));
      const int weight = std::atoi(line.substr(0, a).c_str());
      if (Lower(glob) == pattern && weight > bestWeight) {
        best = line.substr(a + 1, b - a - 1);
        bestWeight = weight;
      }
    }
    if (!best.empty()) return best;
    std::ifstream globs(folder + "/globs");
    // type:glob
    while (std::getline(globs, line)) {
      if (line.empty() || line[0] == '#') continue;
      const size_t a = line.find(':');
      if (a != std::string::npos && Lower(line.substr(a + 1)) == pattern) return line.substr(0, a);
    }
  }
  return best;
}

// The first of `ids` found as a desktop entry that can run, or "".
std::string FindDesktopEntry(const std::vector<std::string>& ids) {
  for (const std::string& id : ids)
    for (const std::string& folder : ApplicationFolders()) {
      const std::string path = FpJoin(folder, id);
      DesktopEntry entry;
      if (id.find('/') == std::string::npos && DesktopEntryRead(path, &entry) && DesktopEntryCanRun(entry)) return path;
    }
  return std::string();
}

std::string FindByCreator(OSType creator) {
  for (const std::string& folder : ApplicationFolders())
    for (const std::string& name : SortedEntries(folder)) {
      const std::string path = FpJoin(folder, name);
      bool native = false;
      if (LSPathIsApplication(path, &native) && CreatorOf(path) == creator) return path;
    }
  if (creator == 'emal') return FindDesktopEntry(DefaultHandlers("x-scheme-handler/mailto"));
  return std::string();
}

std::string ExtensionOf(const std::string& name) {
  const size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || dot == 0 || dot + 1 == name.size()) return std::string();
  return name.substr(dot + 1);
}

}  // namespace

OSStatus LSInit(LSInitializeFlags) { return noErr; }

std::string LSBundleExecutable(const std::string& folder) {
  CFBundleRef bundle = BundleAt(folder);
  auto name = static_cast<CFStringRef>(CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFBundleExecutable")));
  char buffer[256];
  std::string executable;
  if (name && CFGetTypeID(name) == CFStringGetTypeID() && CFStringGetCString(name, buffer, sizeof buffer, kCFStringEncodingUTF8) &&
      *buffer && std::string(buffer).find('/') == std::string::npos)
    executable = folder + "/Contents/MacOS/" + buffer;
  CFRelease(bundle);
  return executable;
}

OSStatus LSTerm() { return noErr; }

bool LSPathIsApplication(const std::string& path, bool* native) {
  *native = false;
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return false;
  if (S_ISDIR(st.st_mode)) {
    OSType type, creator;
    BundleCodes(path, &type, &creator);
    if (type != 'APPL') return false;
    const std::string executable = LSBundleExecutable(path);
    *native = !executable.empty() && DesktopIsProgramFile(executable);
    return true;
  }
  if (!S_ISREG(st.st_mode)) return false;
  if (EndsWith(path, ".desktop")) {
    DesktopEntry entry;
    if (!DesktopEntryRead(path, &entry) || entry.type != "Application") return false;
    *native = DesktopEntryCanRun(entry);
    return true;
  }
  if (FinderInfoOf(path).fdType == 'APPL') {
    *native = access(path.c_str(), X_OK) == 0;
    return true;
  }
  *native = DesktopIsProgramFile(path);
  return *native;
}

OSStatus LSCopyItemInfoForRef(const FSRef* item, LSRequestedInfo whichInfo, LSItemInfoRecord* info) {
  if (!item || !info) return paramErr;
  char buffer[4096];
  OSStatus err = FSRefMakePath(item, reinterpret_cast<UInt8*>(buffer), sizeof buffer);
  if (err != noErr) return err;
  const std::string path = buffer;
  struct stat lst;
  if (lstat(path.c_str(), &lst) != 0) return fnfErr;
  *info = LSItemInfoRecord{};
  const std::string name = FpLastElement(path);
  LSItemInfoFlags flags = 0;
  if (!name.empty() && name[0] == '.') flags |= kLSItemInfoIsInvisible;
  bool native = false;
  if (S_ISLNK(lst.st_mode)) {
    flags |= kLSItemInfoIsAliasFile | kLSItemInfoIsSymlink | kLSItemInfoIsPlainFile;
  } else if (S_ISDIR(lst.st_mode)) {
    flags |= kLSItemInfoIsContainer;
    if (LSPathIsApplication(path, &native)) flags |= kLSItemInfoIsPackage | kLSItemInfoIsApplication;
    OSType type, creator;
    BundleCodes(path, &type, &creator);
    if (flags & kLSItemInfoIsApplication) {
      info->filetype = type;
      info->creator = creator;
    }
  } else {
    flags |= kLSItemInfoIsPlainFile;
    const FInfo finder = FinderInfoOf(path);
    info->filetype = finder.fdType;
    info->creator = finder.fdCreator;
    if (LSPathIsApplication(path, &native)) {
      flags |= kLSItemInfoIsApplication;
      if (info->filetype == 0) info->filetype = 'APPL';
      if (const OSType creator = CreatorOf(path)) info->creator = creator;
    }
  }
  if (flags & kLSItemInfoIsApplication)
    flags |= native ? kLSItemInfoIsNativeApp | kLSItemInfoAppPrefersNative : kLSItemInfoAppPrefersClassic;
  info->flags = flags;
  const std::string extension = ExtensionOf(name);
  if ((whichInfo & kLSRequestExtension) && !extension.empty())
    info->extension = CFStringCreateWithCString(nullptr, extension.c_str(), kCFStringEncodingUTF8);
  return noErr;
}

OSStatus LSGetApplicationForInfo(OSType, OSType inCreator, CFStringRef inExtension, LSRolesMask, FSRef* outAppRef,
                                 CFURLRef* outAppURL) {
  if (outAppURL) *outAppURL = nullptr;
  std::string found;
  if (inCreator != 0 && inCreator != '????') {
    found = FindByCreator(inCreator);
  } else if (inExtension) {
    char extension[256];
    if (!CFStringGetCString(inExtension, extension, sizeof extension, kCFStringEncodingUTF8)) return paramErr;
    const std::string mimeType = MimeTypeForExtension(extension);
    if (!mimeType.empty()) found = FindDesktopEntry(DefaultHandlers(mimeType));
  } else {
    return paramErr;
  }
  if (found.empty()) return kLSApplicationNotFoundErr;
  if (outAppRef) {
    OSStatus err = FSPathMakeRef(reinterpret_cast<const UInt8*>(found.c_str()), outAppRef, nullptr);
    if (err != noErr) return err;
  }
  if (outAppURL)
    *outAppURL = CFURLCreateFromFileSystemRepresentation(nullptr, reinterpret_cast<const UInt8*>(found.c_str()),
                                                         static_cast<CFIndex>(found.size()), IsFolder(found));
  return noErr;
}
