#include "toolbox/FileReplacement.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "toolbox/FilePaths.h"
#include "toolbox/MacErrors.h"

namespace {

constexpr char kTempPrefix[] = ".wx-new-";

// The writer's process of a temporary file's name; 0 for a name that is not one. The tag is
// lower-case letters, then a serial number.
pid_t TempWriter(const char* leaf) {
  if (std::strncmp(leaf, kTempPrefix, sizeof kTempPrefix - 1) != 0) return 0;
  char* end = nullptr;
  const long pid = std::strtol(leaf + sizeof kTempPrefix - 1, &end, 10);
  if (pid <= 0 || *end != '-') return 0;
  const char* tag = end + 1;
  while (*tag >= 'a' && *tag <= 'z') ++tag;
  if (*tag < '0' || *tag > '9') return 0;
  std::strtol(tag, &end, 10);
  return *end == '\0' ? pid_t(pid) : 0;
}

// Creates a temporary file with a free name in the target's folder.
OSErr CreateTemp(const std::string& target, OSType creator, OSType type, FSReplacement* replacement, FSSpec* spec) {
  OSErr err = FSCheckReplaceable(target);
  if (err != noErr) return err;
  std::string temp;
  err = FSCreateTempBeside(
      target,
      [&](const std::string& path) {
        const OSErr made = FpMakeSpec(FpParent(path), FpLastElement(path), spec);
        return made == noErr ? FSpCreate(spec, creator, type, smSystemScript) : made;
      },
      &temp);
  if (err != noErr) return err;
  replacement->target = target;
  replacement->temp = temp;
  return noErr;
}

}  // namespace

std::string FSTempPath(const std::string& folder, const std::string& tag) {
  return FpJoin(folder, kTempPrefix + std::to_string(getpid()) + "-" + tag);
}

void FSRemoveStaleTemps(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = readdir(dir)) {
    const pid_t writer = TempWriter(entry->d_name);
    if (writer == 0 || writer == getpid() || kill(writer, 0) == 0 || errno != ESRCH) continue;
    unlinkat(dirfd(dir), entry->d_name, 0);
  }
  closedir(dir);
}

OSErr FSCreateTempBeside(const std::string& target, const std::function<OSErr(const std::string&)>& create,
                         std::string* temp) {
  const std::string folder = FpParent(target);
  FSRemoveStaleTemps(folder);
  for (int serial = 0; serial < 1000; ++serial) {
    const std::string path = FSTempPath(folder, std::to_string(serial));
    const OSErr err = create(path);
    if (err == dupFNErr) continue;
    if (err == noErr) *temp = path;
    return err;
  }
  return dupFNErr;
}

// A folder or a locked file at the target's path is never replaced.
OSErr FSCheckReplaceable(const std::string& target) {
  struct stat st;
  if (lstat(target.c_str(), &st) != 0) return errno == ENOENT ? OSErr(noErr) : FpErrno(errno);
  if (S_ISDIR(st.st_mode)) return dupFNErr;
  if (!S_ISLNK(st.st_mode) && !(st.st_mode & S_IWUSR)) return fLckdErr;
  return noErr;
}

OSErr FSpBeginReplacement(const FSSpec* target, OSType creator, OSType type, FSReplacement* replacement, FSSpec* temp) {
  if (!target || !replacement || !temp) return paramErr;
  std::string path;
  const OSErr err = FSpGetPOSIXPath(target, &path);
  if (err != noErr) return err;
  return CreateTemp(path, creator, type, replacement, temp);
}

OSErr FSBeginReplacementUnicode(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name, OSType creator,
                                OSType type, FSReplacement* replacement, FSRef* temp) {
  if (!parentRef || !name || !replacement || !temp) return paramErr;
  UInt8 folder[4096];
  std::string leaf;
  OSErr err = static_cast<OSErr>(FSRefMakePath(parentRef, folder, sizeof folder));
  if (err == noErr) err = FpDiskNameFromUnicode(name, nameLength, &leaf);
  if (err != noErr) return err;
  FSSpec spec{};
  err = CreateTemp(FpJoin(reinterpret_cast<const char*>(folder), leaf), creator, type, replacement, &spec);
  if (err == noErr) err = FSpMakeFSRef(&spec, temp);
  if (err != noErr) FSAbandonReplacement(replacement);
  return err;
}

OSErr FSCommitReplacement(FSReplacement* replacement) {
  OSErr err = FSCheckReplaceable(replacement->target);
  if (err == noErr && rename(replacement->temp.c_str(), replacement->target.c_str()) != 0) err = FpErrno(errno);
  if (err != noErr) {
    FSAbandonReplacement(replacement);
    return err;
  }
  replacement->temp.clear();
  return noErr;
}

void FSAbandonReplacement(FSReplacement* replacement) {
  if (replacement->temp.empty()) return;
  unlink(replacement->temp.c_str());
  replacement->temp.clear();
}
