#include "toolbox/FolderLocations.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string_view>

#include "toolbox/ConfigHome.h"
#include "toolbox/MacErrors.h"

namespace {

std::string gApplicationDirOverride;
std::string gInstallPrefixOverride;

// Where the user's and the system's folders are, read from the environment in this one place.
struct Locations {
  std::string home;
  std::string config;    // XDG_CONFIG_HOME
  std::string data;      // XDG_DATA_HOME
  std::string pictures;  // XDG_PICTURES_DIR
  std::string documents;  // XDG_DOCUMENTS_DIR
  std::string temp;      // TMPDIR
  std::string system;    // prefix of /usr/...: "" for the real system
};

std::string Env(const char* name) { return ConfigHomeVariable(name); }

std::string EnvOr(const char* name, const std::string& fallback) {
  std::string v = Env(name);
  return v.empty() ? fallback : v;
}

Locations CurrentLocations() {
  Locations l;
  std::string root = Env("WENDRIX_ROOT");
  if (!root.empty()) {
    l.home = root;
    l.config = ConfigHomeFromEnvironment();
    l.data = root + "/.local/share";
    l.pictures = root + "/Pictures";
    l.documents = root + "/Documents";
    l.temp = root + "/tmp";
    l.system = root;
    return l;
  }
  l.home = EnvOr("HOME", "/");
  l.config = ConfigHomeFromEnvironment();
  l.data = EnvOr("XDG_DATA_HOME", l.home + "/.local/share");
  l.pictures = EnvOr("XDG_PICTURES_DIR", l.home + "/Pictures");
  l.documents = EnvOr("XDG_DOCUMENTS_DIR", l.home + "/Documents");
  l.temp = EnvOr("TMPDIR", "/tmp");
  return l;
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// mkdir -p; the last folder gets `mode`.
bool MakeFolders(const std::string& path, mode_t mode) {
  if (IsDirectory(path)) return true;
  size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash), 0755)) return false;
  return mkdir(path.c_str(), mode) == 0 || (errno == EEXIST && IsDirectory(path));
}

bool IsUserDomain(SInt16 domain) { return domain == kUserDomain || domain == kOnSystemDisk || domain == kOnAppropriateDisk; }

// The folder for (domain, type), or "" for a type this platform does not have.
std::string FolderFor(SInt16 domain, OSType type, const Locations& l) {
  switch (type) {
    case kPreferencesFolderType:
      return l.config + "/wendrix";
    case kPictureDocumentsFolderType:
      return l.pictures;
    case kDocumentsFolderType:
      return l.documents;
    case kTemporaryFolderType:
      return l.temp + "/wendrix-" + std::to_string(getuid());
    case kTrashFolderType:
      return l.data + "/Trash/files";
    case kApplicationSupportFolderType:
      return IsUserDomain(domain) ? l.data : l.system + "/usr/share";
    case kApplicationsFolderType:
      return domain == kUserDomain ? l.data + "/applications" : l.system + "/usr/share/applications";
    case kFrameworksFolderType:
      return l.system + "/usr/lib";
    case kColorSyncProfilesFolderType:
      if (domain == kUserDomain) return l.data + "/icc";
      if (domain == kLocalDomain) return l.system + "/usr/local/share/color/icc";
      return l.system + "/usr/share/color/icc";
    default:
      return std::string();
  }
}

}  // namespace

OSErr FindFolderPath(SInt16 vRefNum, OSType folderType, Boolean createFolder, std::string* path) {
  Locations l = CurrentLocations();
  std::string folder = FolderFor(vRefNum, folderType, l);
  if (folder.empty()) return fnfErr;
  if (!IsDirectory(folder)) {
    if (!createFolder) return fnfErr;
    // The temporary folder is private to the user, as the platform's is.
    mode_t mode = folderType == kTemporaryFolderType ? 0700 : 0755;
    if (!MakeFolders(folder, mode)) return errno == ENOSPC ? dskFulErr : (errno == EACCES || errno == EROFS) ? permErr : fnfErr;
    if (folderType == kTrashFolderType) MakeFolders(l.data + "/Trash/info", 0700);
  }
  *path = folder;
  return noErr;
}

std::string FolderRoot() { return CurrentLocations().home; }

// The running executable's folder.
static std::string ExecutableDir() {
  char buffer[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "/";
  std::string exe(buffer, static_cast<size_t>(n));
  size_t slash = exe.find_last_of('/');
  return slash == 0 || slash == std::string::npos ? "/" : exe.substr(0, slash);
}

std::string FolderInstallPrefix() {
  if (!gInstallPrefixOverride.empty()) return gInstallPrefixOverride;
  std::string folder = ExecutableDir();
  size_t slash = folder.find_last_of('/');
  return slash == 0 || slash == std::string::npos ? "/" : folder.substr(0, slash);
}

std::string FolderRuntimePath(const std::string& relative) {
  std::string prefix = FolderInstallPrefix();
  return prefix == "/" ? "/" + relative : prefix + "/" + relative;
}

std::string FolderProgramPath(const std::string& name) {
  return FolderRuntimePath(std::string(kRuntimeProgramDir) + "/" + name);
}

std::string FolderApplicationDir() {
  if (!gApplicationDirOverride.empty()) return gApplicationDirOverride;
  // A program that stands in no runtime tree (a test, a benchmark) keeps its own folder.
  std::string folder = FolderRuntimePath(kRuntimeApplicationDir);
  return IsDirectory(folder) ? folder : ExecutableDir();
}

void FolderSetApplicationDir(const std::string& path) { gApplicationDirOverride = path; }
void FolderSetInstallPrefix(const std::string& path) { gInstallPrefixOverride = path; }

std::string FolderEventDir() {
  Locations l = CurrentLocations();
  MakeFolders(l.temp, 01777);
  return l.temp;
}

std::string FolderConfigHome() { return CurrentLocations().config; }
std::string FolderDataHome() { return CurrentLocations().data; }
std::string FolderSystemPrefix() { return CurrentLocations().system; }

std::string FolderMapOriginalPath(const std::string& path) {
  struct Original {
    std::string_view prefix;
    std::string (*folder)();
  };
  static const Original kOriginals[] = {
      {"/Tmp", FolderEventDir},
      {"/Library/Application Support", [] { return FolderFor(kLocalDomain, kApplicationSupportFolderType, CurrentLocations()); }},
  };
  for (const Original& o : kOriginals) {
    if (path.compare(0, o.prefix.size(), o.prefix) != 0) continue;
    if (path.size() == o.prefix.size() || path[o.prefix.size()] == '/') return o.folder() + path.substr(o.prefix.size());
  }
  return path;
}

std::string FolderSupportPath() { return CurrentLocations().data + "/wendrix"; }

std::string FolderSupportDir() {
  std::string folder = FolderSupportPath();
  MakeFolders(folder, 0755);
  return folder;
}

std::vector<std::string> FolderColorProfileDirs() {
  Locations l = CurrentLocations();
  return {l.data + "/icc", l.home + "/.color/icc", l.system + "/usr/local/share/color/icc",
          l.system + "/usr/share/color/icc"};
}
