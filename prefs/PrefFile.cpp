#include "prefs/PrefFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "prefs/PrefRecords.h"
#include "toolbox/FileReplacement.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"

namespace {

// Closes a data fork on scope exit.
class OpenFork {
 public:
  explicit OpenFork(SInt16 ref) : mRef(ref) {}
  ~OpenFork() { FSClose(mRef); }
  OpenFork(const OpenFork&) = delete;
  OpenFork& operator=(const OpenFork&) = delete;

 private:
  SInt16 mRef;
};

OSErr WriteAll(const FSSpec& spec, const uint8_t* data, size_t size) {
  SInt16 ref = 0;
  OSErr err = FSpOpenDF(&spec, fsRdWrPerm, &ref);
  if (err != noErr) return err;
  OpenFork fork(ref);
  long count = long(size);
  err = FSWrite(ref, &count, data);
  if (err == noErr && count != long(size)) err = dskFulErr;
  if (err == noErr) err = SetEOF(ref, long(size));
  return err;
}

}  // namespace

FSSpec PFWithSuffix(const FSSpec& spec, const char* suffix) {
  FSSpec out = spec;
  size_t len = out.name[0];
  size_t add = std::strlen(suffix);
  if (len + add > 63) len = 63 - add;
  std::memcpy(out.name + 1 + len, suffix, add);
  out.name[0] = static_cast<unsigned char>(len + add);
  return out;
}

bool PFIsPermissionError(OSErr err) {
  switch (err) {
    case permErr:
    case wrPermErr:
    case afpAccessDenied:
    case wPrErr:
    case fLckdErr:
    case vLckdErr:
      return true;
    default:
      return false;
  }
}

OSErr PFRead(const FSSpec& spec, std::vector<uint8_t>* data, OSErr* writeErr) {
  SInt16 ref = 0;
  OSErr err = FSpOpenDF(&spec, fsRdWrPerm, &ref);
  if (writeErr) *writeErr = err;
  // A file that may not be written still loads; the write fails, and is reported, later.
  if (PFIsPermissionError(err)) err = FSpOpenDF(&spec, fsRdPerm, &ref);
  if (err != noErr) return err;
  OpenFork fork(ref);
  long size = 0;
  err = GetEOF(ref, &size);
  if (err != noErr) return err;
  // Checked before anything is allocated: a huge file at the path costs nothing.
  if (size_t(size) != PREF_ALL::kSize) return eofErr;
  data->assign(size_t(size), 0);
  long count = size;
  if (size > 0) err = FSRead(ref, &count, data->data());
  if (err == noErr && count != size) err = eofErr;
  return err;
}

OSErr PFWriteTemp(const FSSpec& target, const uint8_t* data, size_t size, FSSpec* temp) {
  FInfo info{};
  info.fdType = kPrefFileType;
  info.fdCreator = kPrefCreator;
  FInfo old{};
  if (FSpGetFInfo(&target, &old) == noErr) {
    info.fdType = old.fdType;
    info.fdCreator = old.fdCreator;
  }
  std::string path, made;
  OSErr err = FSpGetPOSIXPath(&target, &path);
  if (err != noErr) return err;
  err = FSCreateTempBeside(
      path,
      [&](const std::string& candidate) {
        const OSErr named = FSpMakeFromPOSIXPath(candidate, temp);
        return named == noErr || named == fnfErr ? FSpCreate(temp, info.fdCreator, info.fdType, smSystemScript) : named;
      },
      &made);
  if (err != noErr) return err;
  err = WriteAll(*temp, data, size);
  if (err != noErr) FSpDelete(temp);
  return err;
}

OSErr PFReplace(const FSSpec& temp, const FSSpec& target) {
  std::string from, to;
  OSErr err = FSpGetPOSIXPath(&temp, &from);
  if (err == noErr) err = FSpGetPOSIXPath(&target, &to);
  if (err != noErr) return err;
  if (std::rename(from.c_str(), to.c_str()) == 0) return noErr;
  switch (errno) {
    case EACCES:
    case EPERM:
    case EROFS:
      return permErr;
    case ENOSPC:
      return dskFulErr;
    default:
      return ioErr;
  }
}

OSErr PFWrite(const FSSpec& target, const uint8_t* data, size_t size) {
  FSSpec temp{};
  OSErr err = PFWriteTemp(target, data, size, &temp);
  if (err != noErr) return err;
  err = PFReplace(temp, target);
  if (err != noErr) FSpDelete(&temp);
  return err;
}

OSErr PFMoveAside(const FSSpec& target) {
  FSSpec damaged = PFWithSuffix(target, ".damaged");
  FSpDelete(&damaged);
  return FSpRename(&target, damaged.name);
}
