#include "appservices/AppleHelp.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <dirent.h>

#include <cerrno>
#include <cstdlib>
#include <map>
#include <vector>

#include "corefoundation/CoreFoundation.h"

#include "toolbox/FilePaths.h"
#include "toolbox/MacErrors.h"

extern char** environ;

namespace {

std::map<std::string, std::string>& Books() {
  static std::map<std::string, std::string> books;
  return books;
}

bool IsFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// A page path relative to its book that cannot climb out of it.
bool StaysInside(const std::string& page) {
  if (page.empty() || page[0] == '/') return false;
  size_t start = 0;
  while (start <= page.size()) {
    size_t end = page.find('/', start);
    if (end == std::string::npos) end = page.size();
    if (page.compare(start, end - start, "..") == 0 && end - start == 2) return false;
    start = end + 1;
  }
  return true;
}

// The UTF-8 text of `value` when it is a string.
bool TextOf(CFTypeRef value, std::string* text) {
  char buffer[1024];
  if (!value || CFGetTypeID(value) != CFStringGetTypeID() ||
      !CFStringGetCString(static_cast<CFStringRef>(value), buffer, sizeof buffer, kCFStringEncodingUTF8))
    return false;
  *text = buffer;
  return true;
}

// Every name the book goes by: CFBundleHelpBookName of its Info.plist and of each
// localization's InfoPlist.strings.
std::vector<std::string> HelpBookNames(const std::string& folder) {
  std::vector<std::string> names;
  std::vector<std::string> files{folder + "/Contents/Info.plist"};
  const std::string resources = folder + "/Contents/Resources";
  if (DIR* dir = opendir(resources.c_str())) {
    while (dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name.size() > 6 && name.compare(name.size() - 6, 6, ".lproj") == 0)
        files.push_back(resources + "/" + name + "/InfoPlist.strings");
    }
    closedir(dir);
  }
  for (const std::string& file : files) {
    CFDictionaryRef dict = CFPropertyListCreateDictionaryFromFile(file);
    std::string name;
    if (TextOf(CFDictionaryGetValue(dict, CFSTR("CFBundleHelpBookName")), &name) && !name.empty()) names.push_back(name);
    CFRelease(dict);
  }
  return names;
}

}  // namespace

void AHForgetHelpBooks() { Books().clear(); }

OSStatus AHRegisterHelpBook(const FSRef* bookFolder) {
  if (!bookFolder) return paramErr;
  char path[4096];
  if (FSRefMakePath(bookFolder, reinterpret_cast<UInt8*>(path), sizeof path) != noErr) return fnfErr;
  struct stat st;
  if (stat(path, &st) != 0 || !S_ISDIR(st.st_mode)) return fnfErr;
  Books()[FpLastElement(path)] = path;
  for (const std::string& name : HelpBookNames(path)) Books()[name] = path;
  return noErr;
}

std::string AHPageURL(const std::string& file, const char* anchor) {
  std::string url = FpFileURL(file);
  if (anchor && *anchor) url += std::string("#") + anchor;
  return url;
}

OSStatus AHGotoPage(const char* bookName, const char* path, const char* anchor) {
  if (!bookName) return paramErr;
  auto book = Books().find(bookName);
  if (book == Books().end()) return kAHInternalErrNoBook;
  const std::string page = (path && *path) ? std::string(path) : std::string("index.html");
  if (!StaysInside(page)) return paramErr;
  const std::string file = FpJoin(book->second, page);
  if (!IsFile(file)) return fnfErr;

  const char* opener = std::getenv("WX_OPENER");
  if (!opener || !*opener) opener = "xdg-open";
  const std::string url = AHPageURL(file, anchor);
  char* argv[] = {const_cast<char*>(opener), const_cast<char*>(url.c_str()), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, opener, nullptr, nullptr, argv, environ) != 0) return kAHInternalErr;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return kAHInternalErr;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? OSStatus(noErr) : kAHInternalErr;
}
