#include "toolbox/FileReplacement.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "toolbox/FilePaths.h"
#include "toolbox/MacErrors.h"

namespace {

// Creates a temporary file with a free name in the target's folder.
OSErr CreateTemp(const std::string& target, OSType creator, OSType type, FSReplacement* replacement, FSSpec* spec) {
  OSErr err = FSCheckReplaceable(target);
  if (err != noErr) return err;
  const std::string folder = FpParent(target);
  for (int i = 0; i < 1000; ++i) {
    char leaf[40];
    std::snprintf(leaf, sizeof leaf, ".wx-new-%d-%d", static_cast<int>(getpid()), i);
    err = FpMakeSpec(folder, leaf, spec);
    if (err == noErr) err = FSpCreate(spec, creator, type, smSystemScript);
    if (err == dupFNErr) continue;
    if (err != noErr) return err;
    replacement->target = target;
    replacement->temp = FpJoin(folder, leaf);
    return noErr;
  }
  return dupFNErr;
}

}  // namespace

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
