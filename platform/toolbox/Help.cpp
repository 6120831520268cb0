#include "toolbox/Help.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <map>

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

// Percent-encodes what a file URL cannot carry as it is.
std::string EscapePath(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : path) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '/' || c == '-' || c == '_' || c == '.' || c == '~' || c >= 0x80;
    if (plain) {
      out += char(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
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

}  // namespace

OSStatus AHRegisterHelpBook(const FSRef* bookFolder) {
  if (!bookFolder) return paramErr;
  char path[4096];
  if (FSRefMakePath(bookFolder, reinterpret_cast<UInt8*>(path), sizeof path) != noErr) return fnfErr;
  struct stat st;
  if (stat(path, &st) != 0 || !S_ISDIR(st.st_mode)) return fnfErr;
  Books()[FpLastElement(path)] = path;
  return noErr;
}

std::string AHPageURL(const std::string& file, const char* anchor) {
  std::string url = "file://" + EscapePath(file);
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
