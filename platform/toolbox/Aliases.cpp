#include "toolbox/Aliases.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "toolbox/FileForks.h"
#include "toolbox/FileIDTable.h"
#include "toolbox/FilePaths.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"

namespace {

// Stored layout: the platform's header (user type, total size), then ours.
namespace al {
constexpr size_t userType = 0, aliasSize = 4, magic = 6, version = 10, flags = 12, fsid = 14, ino = 22,
                 btime = 30, parentID = 38, volume = 42, pathLen = 44, size = 46;
}
static_assert(al::pathLen + 2 == al::size);
constexpr uint32_t kAliasMagic = 'WXal';
constexpr uint16_t kAliasVersion = 1;
constexpr uint16_t kFlagFolder = 0x0001;
constexpr int kMaxAliasChain = 8;

struct Identity {
  uint64_t fsid = 0;
  uint64_t ino = 0;
  int64_t btime = 0;
  bool isDir = false;
};

struct Alias {
  Identity id;
  SInt32 parentID = 0;
  SInt16 volume = 0;
  std::string path;
};

bool Identify(const std::string& path, Identity* id) {
  struct statx st;
  if (statx(AT_FDCWD, path.c_str(), 0, STATX_TYPE | STATX_INO | STATX_BTIME, &st) != 0) return false;
  struct statfs sf;
  uint32_t a = 0, b = 0;
  if (statfs(path.c_str(), &sf) == 0) {
    std::memcpy(&a, &sf.f_fsid.__val[0], 4);
    std::memcpy(&b, &sf.f_fsid.__val[1], 4);
  }
  // A file system without an ID of its own is known by its device.
  id->fsid = (a | b) ? (uint64_t(a) << 32) | b : makedev(st.stx_dev_major, st.stx_dev_minor);
  id->ino = st.stx_ino;
  id->btime = (st.stx_mask & STATX_BTIME) ? st.stx_btime.tv_sec * 1000000000LL + st.stx_btime.tv_nsec : 0;
  id->isDir = S_ISDIR(st.stx_mode);
  return true;
}

bool SameItem(const Identity& a, const Identity& b) {
  return a.fsid == b.fsid && a.ino == b.ino && a.isDir == b.isDir && (a.btime == 0 || b.btime == 0 || a.btime == b.btime);
}

OSErr Describe(const std::string& path, Alias* out) {
  if (!Identify(path, &out->id)) return FpErrno(errno);
  out->path = path;
  out->parentID = 0;
  out->volume = 0;
  FidDirectoryID(FpParent(path), &out->volume, &out->parentID);
  return noErr;
}

Handle Store(const Alias& a) {
  size_t size = al::size + a.path.size();
  if (size > 0xFFFF) return nullptr;
  Handle h = NewHandleClear(static_cast<Size>(size));
  if (!h) return nullptr;
  RecordBytes r(*h, size);
  r.setU32(al::userType, 0);
  r.setU16(al::aliasSize, static_cast<uint16_t>(size));
  r.setU32(al::magic, kAliasMagic);
  r.setU16(al::version, kAliasVersion);
  r.setU16(al::flags, a.id.isDir ? kFlagFolder : 0);
  r.setU64(al::fsid, a.id.fsid);
  r.setU64(al::ino, a.id.ino);
  r.setU64(al::btime, static_cast<uint64_t>(a.id.btime));
  r.setI32(al::parentID, a.parentID);
  r.setI16(al::volume, a.volume);
  r.setU16(al::pathLen, static_cast<uint16_t>(a.path.size()));
  r.setBytes(al::size, a.path.data(), a.path.size());
  return h;
}

bool Parse(const uint8_t* data, size_t size, Alias* out) {
  try {
    RecordBytes r(const_cast<uint8_t*>(data), size);
    if (r.u32(al::magic) != kAliasMagic || r.u16(al::version) != kAliasVersion) return false;
    size_t len = r.u16(al::pathLen);
    RecordBytes path = r.sub(al::size, len);
    out->id.isDir = (r.u16(al::flags) & kFlagFolder) != 0;
    out->id.fsid = r.u64(al::fsid);
    out->id.ino = r.u64(al::ino);
    out->id.btime = static_cast<int64_t>(r.u64(al::btime));
    out->parentID = r.i32(al::parentID);
    out->volume = r.i16(al::volume);
    out->path.assign(reinterpret_cast<const char*>(path.data()), len);
    return !out->path.empty() && out->path[0] == '/';
  } catch (const std::out_of_range&) {
    return false;
  }
}

bool Matches(const std::string& path, const Identity& wanted) {
  Identity now;
  return Identify(path, &now) && SameItem(now, wanted);
}

// The entry of `folder` that is the wanted item under another name.
bool FindByIdentity(const std::string& folder, const Identity& wanted, std::string* found) {
  DIR* d = opendir(folder.c_str());
  if (!d) return false;
  bool hit = false;
  while (struct dirent* e = readdir(d)) {
    if (e->d_ino != wanted.ino || !strcmp(e->d_name, ".") || !strcmp(e->d_name, "..")) continue;
    std::string candidate = FpJoin(folder, e->d_name);
    if (Matches(candidate, wanted)) {
      *found = candidate;
      hit = true;
      break;
    }
  }
  closedir(d);
  return hit;
}

// Where the item is now: at its path; in its folder (wherever that folder went) under its
// name or another; or, failing those, whatever now stands at its path (a document replaced
// by a save).
bool Locate(const Alias& a, std::string* found) {
  if (Matches(a.path, a.id)) {
    *found = a.path;
    return true;
  }
  std::string leaf = FpLastElement(a.path);
  std::string folder;
  if (a.parentID != 0 && FidDirectoryPath(a.volume, a.parentID, &folder) == noErr) {
    if (Matches(FpJoin(folder, leaf), a.id)) {
      *found = FpJoin(folder, leaf);
      return true;
    }
    if (FindByIdentity(folder, a.id, found)) return true;
  }
  if (FindByIdentity(FpParent(a.path), a.id, found)) return true;
  struct stat st;
  if (lstat(a.path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) == a.id.isDir) {
    *found = a.path;
    return true;
  }
  return false;
}

OSErr ReadAliasFile(const std::string& path, std::vector<uint8_t>* bytes) {
  SInt16 ref;
  OSErr err = ForkOpen(path, fsRdPerm, &ref);
  if (err != noErr) return err;
  SInt64 size = 0;
  FSGetForkSize(ref, &size);
  if (size <= 0 || size > 0xFFFF) {
    FSCloseFork(ref);
    return paramErr;
  }
  bytes->resize(static_cast<size_t>(size));
  ByteCount got = 0;
  err = FSReadFork(ref, fsFromStart, 0, bytes->size(), bytes->data(), &got);
  FSCloseFork(ref);
  return err;
}

// One step along an alias file: the FSSpec of what it points at.
OSErr FollowOnce(const std::string& path, const struct stat& lst, FSSpec* spec) {
  if (S_ISLNK(lst.st_mode)) {
    std::vector<char> target(4096);
    ssize_t n = readlink(path.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<size_t>(n) >= target.size()) return fnfErr;
    std::string to(target.data(), static_cast<size_t>(n));
    if (to[0] != '/') to = FpJoin(FpParent(path), to);
    OSErr err = FSpMakeFromPOSIXPath(to, spec);
    return err == dirNFErr ? OSErr(fnfErr) : err;
  }
  std::vector<uint8_t> bytes;
  OSErr err = ReadAliasFile(path, &bytes);
  if (err != noErr) return err;
  Handle h = NewHandle(static_cast<Size>(bytes.size()));
  if (!h) return memFullErr;
  std::memcpy(*h, bytes.data(), bytes.size());
  Boolean changed = false;
  err = ResolveAlias(nullptr, h, spec, &changed);
  DisposeHandle(h);
  return err;
}

bool IsAliasFile(const std::string& path, const struct stat& lst) {
  if (S_ISLNK(lst.st_mode)) return true;
  if (!S_ISREG(lst.st_mode)) return false;
  uint8_t info[kFinderInfoSize];
  FInfo finfo;
  FpGetFinderInfo(path, info);
  FpFInfoFromBytes(info, &finfo);
  return (finfo.fdFlags & kIsAlias) != 0;
}

}  // namespace

OSErr NewAlias(const FSSpec*, const FSSpec* target, AliasHandle* alias) {
  if (!target || !alias) return paramErr;
  *alias = nullptr;
  std::string path;
  OSErr err = FSpGetPOSIXPath(target, &path);
  if (err != noErr) return err == dirNFErr ? OSErr(fnfErr) : err;
  Alias a;
  if ((err = Describe(path, &a)) != noErr) return err;
  *alias = Store(a);
  return *alias ? OSErr(noErr) : OSErr(memFullErr);
}

OSErr ResolveAlias(const FSSpec*, AliasHandle alias, FSSpec* target, Boolean* wasChanged) {
  if (!alias || !*alias || !target) return paramErr;
  if (wasChanged) *wasChanged = false;
  Alias a;
  if (!Parse(reinterpret_cast<const uint8_t*>(*alias), static_cast<size_t>(GetHandleSize(alias)), &a)) return paramErr;
  std::string found;
  if (!Locate(a, &found)) return fnfErr;
  OSErr err = FSpMakeFromPOSIXPath(found, target);
  if (err != noErr) return err;
  Alias now;
  if (Describe(found, &now) != noErr) return noErr;
  if (now.path == a.path && now.parentID == a.parentID && SameItem(now.id, a.id)) return noErr;
  // Bring the record up to date in place.
  Handle fresh = Store(now);
  if (!fresh) return noErr;
  Size size = GetHandleSize(fresh);
  SetHandleSize(alias, size);
  if (MemError() == noErr) {
    std::memcpy(*alias, *fresh, static_cast<size_t>(size));
    if (wasChanged) *wasChanged = true;
  }
  DisposeHandle(fresh);
  return noErr;
}

OSErr ResolveAliasFile(FSSpec* theSpec, Boolean resolveAliasChains, Boolean* targetIsFolder, Boolean* wasAliased) {
  if (!theSpec) return paramErr;
  if (wasAliased) *wasAliased = false;
  FSSpec spec = *theSpec;
  bool aliased = false;
  for (int step = 0;; ++step) {
    std::string path;
    OSErr err = FSpGetPOSIXPath(&spec, &path);
    if (err != noErr) return err == dirNFErr ? OSErr(fnfErr) : err;
    struct stat lst;
    if (lstat(path.c_str(), &lst) != 0) return FpErrno(errno) == dirNFErr ? OSErr(fnfErr) : FpErrno(errno);
    bool more = IsAliasFile(path, lst) && (resolveAliasChains || !aliased);
    if (!more) {
      struct stat st;
      if (targetIsFolder) *targetIsFolder = stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
      break;
    }
    if (step == kMaxAliasChain) return fnfErr;  // a loop, or a chain too long to be meant
    if ((err = FollowOnce(path, lst, &spec)) != noErr) return err;
    aliased = true;
  }
  *theSpec = spec;
  if (wasAliased) *wasAliased = aliased;
  return noErr;
}
