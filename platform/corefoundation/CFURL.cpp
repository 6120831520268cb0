#include "corefoundation/CFURL.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "corefoundation/cfObject.h"
#include "corefoundation/cfString.h"
#include "toolbox/FilePaths.h"
#include "toolbox/Folders.h"
#include "toolbox/MacErrors.h"

namespace {

struct cfURL : CFObject {
  cfURL(std::string p, bool dir) : CFObject(kCFTypeIDURL), path(std::move(p)), isDirectory(dir) {}
  ~cfURL() override { CFRelease(text); }
  bool Equal(const CFObject& other) const override {
    auto& o = static_cast<const cfURL&>(other);
    return path == o.path && isDirectory == o.isDirectory;
  }
  CFHashCode Hash() const override { return cfHashBytes(path.data(), path.size()); }
  const std::string path;
  const bool isDirectory;
  mutable CFStringRef text = nullptr;  // the "file://" form, made on first use
};

const cfURL* URL(CFURLRef url) { return cfCast<cfURL>(url, kCFTypeIDURL); }

bool IsDirectoryOnDisk(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// An absolute path without "." and ".." steps or doubled and trailing slashes (kept as the
// user gave it otherwise: links are not resolved).
std::string Normalized(const std::string& path) {
  std::string out;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string step = path.substr(start, end - start);
    if (step == "..") {
      size_t slash = out.find_last_of('/');
      out.erase(slash == std::string::npos ? 0 : slash);
    } else if (!step.empty() && step != ".") {
      out += '/';
      out += step;
    }
    start = end + 1;
  }
  return out.empty() ? "/" : out;
}

CFURLRef Make(const std::string& path, bool isDirectory) {
  if (path.empty()) return nullptr;
  std::string absolute = path;
  if (absolute[0] != '/') {
    char* cwd = getcwd(nullptr, 0);
    if (!cwd) return nullptr;
    absolute = std::string(cwd) + "/" + absolute;
    free(cwd);
  }
  return cfRef<CFURLRef>(new cfURL(Normalized(FolderMapOriginalPath(absolute)), isDirectory));
}

}  // namespace

CFTypeID CFURLGetTypeID() { return kCFTypeIDURL; }

CFURLRef CFURLCreateFromFileSystemRepresentation(CFAllocatorRef, const UInt8* buffer, CFIndex bufLen,
                                                 Boolean isDirectory) {
  if (!buffer || bufLen <= 0) return nullptr;
  std::string path(reinterpret_cast<const char*>(buffer), static_cast<size_t>(bufLen));
  if (path.find('\0') != std::string::npos) path.erase(path.find('\0'));
  return Make(path, isDirectory);
}

CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef, CFStringRef filePath, CFURLPathStyle pathStyle,
                                       Boolean isDirectory) {
  const std::string* path = cfUTF8(filePath);
  if (!path || pathStyle != kCFURLPOSIXPathStyle) return nullptr;
  return Make(*path, isDirectory);
}

CFURLRef CFURLCreateWithString(CFAllocatorRef, CFStringRef urlString, CFURLRef) {
  const std::string* text = cfUTF8(urlString);
  std::string path;
  if (!text || !FpPathFromFileURL(*text, &path)) return nullptr;
  return Make(path, path.back() == '/');
}

CFURLRef CFURLCreateFromFSRef(CFAllocatorRef, const FSRef* ref) {
  char path[4096];
  if (!ref || FSRefMakePath(ref, reinterpret_cast<UInt8*>(path), sizeof path) != noErr) return nullptr;
  return Make(path, IsDirectoryOnDisk(path));
}

CFURLRef CFURLCreateCopyAppendingPathComponent(CFAllocatorRef, CFURLRef url, CFStringRef component,
                                               Boolean isDirectory) {
  const cfURL* u = URL(url);
  const std::string* step = cfUTF8(component);
  if (!u || !step) return nullptr;
  return Make(FpJoin(u->path, *step), isDirectory);
}

CFURLRef CFURLCreateCopyDeletingLastPathComponent(CFAllocatorRef, CFURLRef url) {
  const cfURL* u = URL(url);
  if (!u) return nullptr;
  return Make(u->path == "/" ? "/" : FpParent(u->path), true);
}

Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean, UInt8* buffer, CFIndex maxBufLen) {
  const cfURL* u = URL(url);
  if (!u || !buffer || maxBufLen <= 0 || static_cast<CFIndex>(u->path.size()) >= maxBufLen) return false;
  std::memcpy(buffer, u->path.c_str(), u->path.size() + 1);
  return true;
}

Boolean CFURLGetFSRef(CFURLRef url, FSRef* ref) {
  const cfURL* u = URL(url);
  return u && ref && FSPathMakeRef(reinterpret_cast<const UInt8*>(u->path.c_str()), ref, nullptr) == noErr;
}

CFStringRef CFURLCopyFileSystemPath(CFURLRef url, CFURLPathStyle pathStyle) {
  const cfURL* u = URL(url);
  if (!u || pathStyle != kCFURLPOSIXPathStyle) return nullptr;
  return CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8*>(u->path.data()),
                                 static_cast<CFIndex>(u->path.size()), kCFStringEncodingUTF8, false);
}

CFStringRef CFURLCopyLastPathComponent(CFURLRef url) {
  const cfURL* u = URL(url);
  if (!u) return nullptr;
  const std::string last = u->path == "/" ? "/" : FpLastElement(u->path);
  return CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8*>(last.data()), static_cast<CFIndex>(last.size()),
                                 kCFStringEncodingUTF8, false);
}

CFStringRef CFURLGetString(CFURLRef url) {
  const cfURL* u = URL(url);
  if (!u) return nullptr;
  if (!u->text) {
    std::string text = FpFileURL(u->path);
    if (u->isDirectory && text.back() != '/') text += '/';
    u->text = cfMakeString(text);
  }
  return u->text;
}

Boolean CFURLHasDirectoryPath(CFURLRef url) {
  const cfURL* u = URL(url);
  return u && u->isDirectory;
}
