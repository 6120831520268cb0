#include "toolbox/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <unordered_map>
#include <vector>

#include "toolbox/DesktopEntry.h"
#include "toolbox/FileForks.h"
#include "toolbox/FileIDTable.h"
#include "toolbox/FilePaths.h"
#include "toolbox/FileReplacement.h"
#include "toolbox/Folders.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"

struct OpaqueFSIterator {
  std::string folder;
  std::vector<std::string> names;
  size_t next = 0;
};

namespace {

constexpr int64_t kUnixTo1904 = 2082844800;
constexpr const char* kSidecarPrefix = "._";

// An FSRef holds the item's volume, its folder's ID and a token for its disk name.
namespace ref {
constexpr size_t magic = 0, volume = 4, parent = 6, name = 10, used = 14;
}
static_assert(ref::used <= sizeof(FSRef::hidden));
constexpr uint32_t kRefMagic = 'WXrf';

// Disk names of items that FSRefs were made for, interned so a ref stays 80 bytes.
std::unordered_map<std::string, uint32_t> gNameTokens;
std::vector<std::string> gTokenNames;

uint32_t NameToken(const std::string& name) {
  auto it = gNameTokens.find(name);
  if (it != gNameTokens.end()) return it->second;
  gTokenNames.push_back(name);
  uint32_t token = static_cast<uint32_t>(gTokenNames.size());
  gNameTokens.emplace(name, token);
  return token;
}

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string SidecarOf(const std::string& path) { return FpJoin(FpParent(path), kSidecarPrefix + FpLastElement(path)); }

bool IsSidecarName(const std::string& name) { return name.compare(0, 2, kSidecarPrefix) == 0; }

OSErr MakeRef(const std::string& path, FSRef* out) {
  if (!Exists(path)) return fnfErr;
  std::memset(out->hidden, 0, sizeof out->hidden);
  RecordBytes r(out->hidden, sizeof out->hidden);
  SInt16 vol;
  SInt32 id;
  OSErr err = FidDirectoryID(path, &vol, &id);
  if (err == noErr && id == fsRtDirID) {
    r.setI32(ref::parent, fsRtParID);
  } else {
    err = FidDirectoryID(FpParent(path), &vol, &id);
    if (err != noErr) return err;
    r.setI32(ref::parent, id);
    r.setU32(ref::name, NameToken(FpLastElement(path)));
  }
  r.setU32(ref::magic, kRefMagic);
  r.setI16(ref::volume, vol);
  return noErr;
}

OSErr RefPath(const FSRef* in, std::string* path) {
  if (!in) return paramErr;
  RecordBytes r(const_cast<uint8_t*>(in->hidden), sizeof in->hidden);
  if (r.u32(ref::magic) != kRefMagic) return errFSBadFSRef;
  SInt16 vol = r.i16(ref::volume);
  SInt32 parent = r.i32(ref::parent);
  uint32_t token = r.u32(ref::name);
  if (parent == fsRtParID) {
    std::string name;
    return FidVolumeRoot(vol, path, &name);
  }
  if (token == 0 || token > gTokenNames.size()) return errFSBadFSRef;
  std::string folder;
  OSErr err = FidDirectoryPath(vol, parent, &folder);
  if (err != noErr) return err == dirNFErr ? OSErr(fnfErr) : err;
  *path = FpJoin(folder, gTokenNames[token - 1]);
  return Exists(*path) ? noErr : fnfErr;
}

OSErr SpecPath(const FSSpec* spec, std::string* path) {
  if (!spec) return paramErr;
  return FSpGetPOSIXPath(spec, path);
}

// rename(2) that never replaces an existing item.
OSErr RenameNoReplace(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return noErr;
  if (errno != EINVAL && errno != ENOSYS) return FpErrno(errno);
  if (Exists(to)) return dupFNErr;
  return rename(from.c_str(), to.c_str()) == 0 ? OSErr(noErr) : FpErrno(errno);
}

bool IsLocked(const struct stat& st) { return !S_ISLNK(st.st_mode) && !S_ISDIR(st.st_mode) && !(st.st_mode & S_IWUSR); }

OSErr DeletePath(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return FpErrno(errno);
  if (S_ISDIR(st.st_mode)) {
    std::string canonical = FpCanonical(path);
    if (rmdir(path.c_str()) != 0) return FpErrno(errno);
    FidDirectoryDeleted(canonical);
    return noErr;
  }
  if (IsLocked(st)) return fLckdErr;
  if (S_ISREG(st.st_mode) && ForkIsOpen(path)) return fBsyErr;
  if (unlink(path.c_str()) != 0) return FpErrno(errno);
  unlink(SidecarOf(path).c_str());
  return noErr;
}

OSErr RenamePath(const std::string& path, const std::string& newLeaf, std::string* newPath) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return FpErrno(errno);
  if (IsLocked(st)) return fLckdErr;
  *newPath = FpJoin(FpParent(path), newLeaf);
  std::string canonicalOld = S_ISDIR(st.st_mode) ? FpCanonical(path) : std::string();
  OSErr err = RenameNoReplace(path, *newPath);
  if (err != noErr) return err;
  if (S_ISDIR(st.st_mode)) FidPathMoved(canonicalOld, FpCanonical(*newPath));
  if (Exists(SidecarOf(path))) rename(SidecarOf(path).c_str(), SidecarOf(*newPath).c_str());
  return noErr;
}

OSErr CreateFile(const std::string& path, const uint8_t* finderInfo) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return errno == ENOENT ? OSErr(dirNFErr) : FpErrno(errno);
  close(fd);
  if (finderInfo) FpSetFinderInfo(path, finderInfo);
  return noErr;
}

void ReadFInfo(const std::string& path, FInfo* info) {
  uint8_t bytes[kFinderInfoSize];
  FpGetFinderInfo(path, bytes);
  FpFInfoFromBytes(bytes, info);
}

int64_t Seconds1904(const struct timespec& t) { return t.tv_sec + kUnixTo1904; }

SInt32 FileNodeID(const struct stat& st) { return static_cast<SInt32>(st.st_ino & 0x7FFFFFFF); }

OSErr CatalogInfo(const std::string& path, FSCatalogInfoBitmap which, FSCatalogInfo* info) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 && lstat(path.c_str(), &st) != 0) return FpErrno(errno);
  std::memset(info, 0, sizeof *info);
  bool isDir = S_ISDIR(st.st_mode);
  bool noChanges = faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
  info->nodeFlags = static_cast<UInt16>((isDir ? kFSNodeIsDirectoryMask : 0) | (IsLocked(st) ? kFSNodeLockedMask : 0));
  SInt32 ownID = 0;
  if (isDir) FidDirectoryID(path, &info->volume, &ownID);
  if (ownID == fsRtDirID) {
    info->parentDirID = fsRtParID;
  } else {
    SInt16 vol;
    FidDirectoryID(FpParent(path), &vol, &info->parentDirID);
    info->volume = vol;
  }
  info->nodeID = isDir ? ownID : FileNodeID(st);
  struct statx sx;
  bool haveBirth = statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME);
  info->createDate = haveBirth ? sx.stx_btime.tv_sec + kUnixTo1904 : Seconds1904(st.st_ctim);
  info->contentModDate = Seconds1904(st.st_mtim);
  info->permissions.userID = st.st_uid;
  info->permissions.groupID = st.st_gid;
  info->permissions.mode = static_cast<UInt16>(st.st_mode);
  info->permissions.userAccess = noChanges ? kioACUserNoMakeChangesMask : 0;
  info->userPrivileges = info->permissions.userAccess;
  // A folder's flags sit where a file's do, so one layout reads both.
  if (which & kFSCatInfoFinderInfo) ReadFInfo(path, &info->finderInfo);
  info->dataLogicalSize = isDir ? 0 : static_cast<UInt64>(st.st_size);
  info->dataPhysicalSize = isDir ? 0 : static_cast<UInt64>(st.st_blocks) * 512;
  info->textEncodingHint = ScriptTextEncoding(smSystemScript);
  return noErr;
}

OSErr UnicodeChild(const FSRef* parentRef, UniCharCount length, const UniChar* name, std::string* path) {
  std::string folder, disk;
  OSErr err = RefPath(parentRef, &folder);
  if (err != noErr) return err;
  if (!IsDirectory(folder)) return dirNFErr;
  if (!name && length > 0) return paramErr;
  err = FpDiskNameFromUnicode(name, length, &disk);
  if (err != noErr) return err;
  *path = FpJoin(folder, disk);
  return noErr;
}

// Names in a folder in a stable order, without the resource-fork sidecars.
OSErr ListFolder(const std::string& folder, std::vector<std::string>* names) {
  DIR* d = opendir(folder.c_str());
  if (!d) return errno == ENOENT || errno == ENOTDIR ? OSErr(dirNFErr) : FpErrno(errno);
  names->clear();
  while (struct dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == ".." || IsSidecarName(name)) continue;
    names->push_back(name);
  }
  closedir(d);
  std::sort(names->begin(), names->end());
  return noErr;
}

}  // namespace

// ---- FSSpec calls ---------------------------------------------------------------------------

OSErr FSMakeFSSpec(SInt16 vRefNum, SInt32 dirID, ConstStr255Param fileName, FSSpec* spec) {
  if (!spec) return paramErr;
  static const unsigned char kEmpty[1] = {0};
  if (!fileName) fileName = kEmpty;
  // A name longer than an FSSpec can hold is refused, never cut or mangled.
  std::string_view text(reinterpret_cast<const char*>(fileName + 1), fileName[0]);
  size_t lastColon = text.find_last_of(':');
  if ((lastColon == std::string_view::npos ? text.size() : text.size() - lastColon - 1) > 63) return bdNamErr;
  std::string folder, leaf;
  OSErr err = FpResolve(vRefNum, dirID, fileName, &folder, &leaf);
  if (err != noErr) return err;
  err = FpMakeSpec(folder, leaf, spec);
  if (err != noErr) return err;
  return Exists(FpJoin(folder, leaf)) ? noErr : fnfErr;
}

OSErr FSpCreate(const FSSpec* spec, OSType creator, OSType fileType, ScriptCode) {
  std::string path;
  OSErr err = SpecPath(spec, &path);
  if (err != noErr) return err;
  FInfo info{};
  info.fdType = fileType;
  info.fdCreator = creator;
  uint8_t bytes[kFinderInfoSize] = {};
  FpFInfoToBytes(info, bytes);
  return CreateFile(path, bytes);
}

OSErr FSpDirCreate(const FSSpec* spec, ScriptCode, SInt32* createdDirID) {
  std::string path;
  OSErr err = SpecPath(spec, &path);
  if (err != noErr) return err;
  if (mkdir(path.c_str(), 0777) != 0) return errno == ENOENT ? OSErr(dirNFErr) : FpErrno(errno);
  SInt16 vol;
  SInt32 id;
  err = FidDirectoryID(path, &vol, &id);
  if (err == noErr && createdDirID) *createdDirID = id;
  return err;
}

OSErr FSpDelete(const FSSpec* spec) {
  std::string path;
  OSErr err = SpecPath(spec, &path);
  return err != noErr ? err : DeletePath(path);
}

OSErr FSpRename(const FSSpec* spec, ConstStr255Param newName) {
  if (!newName) return paramErr;
  std::string path, disk, renamed;
  OSErr err = SpecPath(spec, &path);
  if (err != noErr) return err;
  if (newName[0] > 63) return bdNamErr;
  err = FpDiskName(std::string_view(reinterpret_cast<const char*>(newName + 1), newName[0]), &disk);
  if (err != noErr) return err;
  return RenamePath(path, disk, &renamed);
}

OSErr FSpReplaceFile(const FSSpec* source, const FSSpec* target) {
  std::string from, to;
  OSErr err = SpecPath(source, &from);
  if (err == noErr) err = SpecPath(target, &to);
  if (err != noErr) return err;
  struct stat fromStat, toStat;
  if (lstat(from.c_str(), &fromStat) != 0 || lstat(to.c_str(), &toStat) != 0) return FpErrno(errno);
  if (!S_ISREG(fromStat.st_mode) || !S_ISREG(toStat.st_mode)) return notAFileErr;
  if (IsLocked(fromStat) || IsLocked(toStat)) return fLckdErr;
  if (rename(from.c_str(), to.c_str()) != 0) return FpErrno(errno);
  // The target's resource sidecar belonged to the file it replaced.
  if (Exists(SidecarOf(from)))
    rename(SidecarOf(from).c_str(), SidecarOf(to).c_str());
  else
    unlink(SidecarOf(to).c_str());
  return noErr;
}

OSErr FSpOpenDF(const FSSpec* spec, SInt8 permission, SInt16* refNum) {
  std::string path;
  OSErr err = SpecPath(spec, &path);
  return err != noErr ? err : ForkOpen(path, permission, refNum);
}

OSErr FSpGetFInfo(const FSSpec* spec, FInfo* info) {
  if (!info) return paramErr;
  std::string path;
  OSErr err = SpecPath(spec, &path);
  if (err != noErr) return err;
  struct stat lst, st;
  if (lstat(path.c_str(), &lst) != 0) return FpErrno(errno);
  bool target = stat(path.c_str(), &st) == 0;
  if (!S_ISLNK(lst.st_mode) && S_ISDIR(st.st_mode)) return fnfErr;
  std::memset(info, 0, sizeof *info);
  if (target && !S_ISDIR(st.st_mode)) ReadFInfo(path, info);
  // A symbolic link is this platform's alias file.
  if (S_ISLNK(lst.st_mode)) info->fdFlags |= kIsAlias;
  else if (info->fdType == 0 && DesktopIsApplicationFile(path)) info->fdType = 'APPL';
  return noErr;
}

OSErr FSpSetFInfo(const FSSpec* spec, const FInfo* info) {
  if (!info) return paramErr;
  std::string path;
  OSErr err = SpecPath(spec, &path);
  if (err != noErr) return err;
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return FpErrno(errno);
  if (S_ISDIR(st.st_mode)) return fnfErr;
  uint8_t bytes[kFinderInfoSize];
  FpGetFinderInfo(path, bytes);
  FpFInfoToBytes(*info, bytes);
  return FpSetFinderInfo(path, bytes);
}

OSErr HGetFInfo(SInt16 vRefNum, SInt32 dirID, ConstStr255Param fileName, FInfo* info) {
  FSSpec spec;
  OSErr err = FSMakeFSSpec(vRefNum, dirID, fileName, &spec);
  return err != noErr ? err : FSpGetFInfo(&spec, info);
}

static OSErr ChangeLock(const FSSpec* spec, bool lock) {
  std::string path;
  OSErr err = SpecPath(spec, &path);
  if (err != noErr) return err;
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return FpErrno(errno);
  mode_t mode = lock ? (st.st_mode & ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH)) : (st.st_mode | S_IWUSR);
  return chmod(path.c_str(), mode & 07777) == 0 ? OSErr(noErr) : FpErrno(errno);
}

OSErr FSpRstFLock(const FSSpec* spec) { return ChangeLock(spec, false); }
OSErr FSpSetFLock(const FSSpec* spec) { return ChangeLock(spec, true); }

// ---- FSRef and Unicode calls ----------------------------------------------------------------

OSErr FSpMakeFSRef(const FSSpec* source, FSRef* newRef) {
  if (!newRef) return paramErr;
  std::string path;
  OSErr err = SpecPath(source, &path);
  return err != noErr ? err : MakeRef(path, newRef);
}

OSErr FSMakeFSRefUnicode(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name, TextEncoding,
                         FSRef* newRef) {
  if (!newRef) return paramErr;
  std::string path;
  OSErr err = UnicodeChild(parentRef, nameLength, name, &path);
  return err != noErr ? err : MakeRef(path, newRef);
}

OSErr FSGetCatalogInfo(const FSRef* ref, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* catalogInfo,
                       HFSUniStr255* outName, FSSpec* fsSpec, FSRef* parentRef) {
  std::string path;
  OSErr err = RefPath(ref, &path);
  if (err != noErr) return err;
  if (catalogInfo && whichInfo != kFSCatInfoNone) {
    err = CatalogInfo(path, whichInfo, catalogInfo);
    if (err != noErr) return err;
  }
  RecordBytes r(const_cast<uint8_t*>(ref->hidden), sizeof ref->hidden);
  bool isRoot = r.i32(ref::parent) == fsRtParID;
  if (outName) {
    std::string volumeName, mount;
    if (isRoot) FidVolumeRoot(r.i16(ref::volume), &mount, &volumeName);
    FpUnicodeName(isRoot ? volumeName : FpLastElement(path), outName);
  }
  if (parentRef) {
    if (isRoot)
      std::memset(parentRef->hidden, 0, sizeof parentRef->hidden);
    else if ((err = MakeRef(FpParent(path), parentRef)) != noErr)
      return err;
  }
  if (fsSpec) {
    if (isRoot) return FpMakeSpec(path, "", fsSpec);
    return FpMakeSpec(FpParent(path), FpLastElement(path), fsSpec);
  }
  return noErr;
}

OSErr FSCreateFileUnicode(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name,
                          FSCatalogInfoBitmap whichInfo, const FSCatalogInfo* catalogInfo, FSRef* newRef,
                          FSSpec* newSpec) {
  std::string path;
  OSErr err = UnicodeChild(parentRef, nameLength, name, &path);
  if (err != noErr) return err;
  uint8_t bytes[kFinderInfoSize] = {};
  bool withInfo = catalogInfo && (whichInfo & kFSCatInfoFinderInfo);
  if (withInfo) FpFInfoToBytes(catalogInfo->finderInfo, bytes);
  err = CreateFile(path, withInfo ? bytes : nullptr);
  if (err != noErr) return err;
  if (newRef && (err = MakeRef(path, newRef)) != noErr) return err;
  if (newSpec) return FpMakeSpec(FpParent(path), FpLastElement(path), newSpec);
  return noErr;
}

OSErr FSRenameUnicode(const FSRef* ref, UniCharCount nameLength, const UniChar* name, TextEncoding, FSRef* newRef) {
  std::string path, disk, renamed;
  OSErr err = RefPath(ref, &path);
  if (err != noErr) return err;
  if (!name && nameLength > 0) return paramErr;
  err = FpDiskNameFromUnicode(name, nameLength, &disk);
  if (err != noErr) return err;
  err = RenamePath(path, disk, &renamed);
  if (err != noErr) return err;
  return newRef ? MakeRef(renamed, newRef) : OSErr(noErr);
}

OSErr FSDeleteObject(const FSRef* ref) {
  std::string path;
  OSErr err = RefPath(ref, &path);
  return err != noErr ? err : DeletePath(path);
}

OSErr FSOpenIterator(const FSRef* container, FSIteratorFlags iteratorFlags, FSIterator* iterator) {
  if (!iterator) return paramErr;
  *iterator = nullptr;
  if (iteratorFlags != kFSIterateFlat) return errFSIteratorNotSupported;
  std::string folder;
  OSErr err = RefPath(container, &folder);
  if (err != noErr) return err;
  auto* it = new OpaqueFSIterator;
  it->folder = folder;
  err = ListFolder(folder, &it->names);
  if (err != noErr) {
    delete it;
    return err;
  }
  *iterator = it;
  return noErr;
}

OSErr FSCloseIterator(FSIterator iterator) {
  if (!iterator) return errFSBadIteratorFlags;
  delete iterator;
  return noErr;
}

OSErr FSGetCatalogInfoBulk(FSIterator iterator, ItemCount maximumObjects, ItemCount* actualObjects,
                           Boolean* containerChanged, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* catalogInfos,
                           FSRef* refs, FSSpec* specs, HFSUniStr255* names) {
  if (!iterator || !actualObjects) return paramErr;
  if (containerChanged) *containerChanged = false;
  ItemCount n = 0;
  while (n < maximumObjects && iterator->next < iterator->names.size()) {
    const std::string& leaf = iterator->names[iterator->next++];
    std::string path = FpJoin(iterator->folder, leaf);
    if (!Exists(path)) {
      if (containerChanged) *containerChanged = true;
      continue;
    }
    if (catalogInfos && CatalogInfo(path, whichInfo, &catalogInfos[n]) != noErr) continue;
    if (refs && MakeRef(path, &refs[n]) != noErr) continue;
    if (specs && FpMakeSpec(iterator->folder, leaf, &specs[n]) != noErr) std::memset(&specs[n], 0, sizeof specs[n]);
    if (names) FpUnicodeName(leaf, &names[n]);
    ++n;
  }
  *actualObjects = n;
  return n < maximumObjects ? errFSNoMoreItems : noErr;
}

OSErr FSOpenFork(const FSRef* ref, UniCharCount forkNameLength, const UniChar*, SInt8 permissions,
                 SInt16* forkRefNum) {
  if (forkNameLength != 0) return errFSBadForkName;
  std::string path;
  OSErr err = RefPath(ref, &path);
  return err != noErr ? err : ForkOpen(path, permissions, forkRefNum);
}

OSStatus FSRefMakePath(const FSRef* ref, UInt8* path, UInt32 maxPathSize) {
  if (!path || maxPathSize == 0) return paramErr;
  std::string p;
  OSErr err = RefPath(ref, &p);
  if (err != noErr) return err;
  if (p.size() + 1 > maxPathSize) return paramErr;
  std::memcpy(path, p.c_str(), p.size() + 1);
  return noErr;
}

OSStatus FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory) {
  if (!path || !ref) return paramErr;
  std::string p = FolderMapOriginalPath(reinterpret_cast<const char*>(path));
  if (p.empty()) return paramErr;
  char* real = realpath(p.c_str(), nullptr);
  if (!real) return errno == ENOENT ? OSErr(fnfErr) : errno == ENOTDIR ? OSErr(dirNFErr) : FpErrno(errno);
  std::string canonical = real;
  free(real);
  OSErr err = MakeRef(canonical, ref);
  if (err == noErr && isDirectory) *isDirectory = IsDirectory(canonical);
  return err;
}

namespace {
SInt64 gFreeSpace = -1;
}  // namespace

void FSTestSetFreeSpace(SInt64 bytes) { gFreeSpace = bytes; }

OSErr FSGetVolumeFreeBytes(SInt16 vRefNum, UInt64* freeBytes, UInt64* totalBytes) {
  std::string path, name;
  OSErr err = FpFolderPath(vRefNum, vRefNum == 0 ? 0 : fsRtDirID, &path);
  if (err != noErr) return err == dirNFErr ? OSErr(nsvErr) : err;
  struct statvfs sv;
  if (statvfs(path.c_str(), &sv) != 0) return FpErrno(errno);
  if (freeBytes) *freeBytes = static_cast<UInt64>(sv.f_bavail) * sv.f_frsize;
  if (freeBytes && gFreeSpace >= 0) *freeBytes = std::min(*freeBytes, static_cast<UInt64>(gFreeSpace));
  if (totalBytes) *totalBytes = static_cast<UInt64>(sv.f_blocks) * sv.f_frsize;
  return noErr;
}

// ---- Helpers over the File Manager ----------------------------------------------------------

OSErr FSpGetDirectoryID(const FSSpec* spec, SInt32* theDirID, Boolean* isDirectory) {
  std::string path;
  OSErr err = SpecPath(spec, &path);
  // A missing folder anywhere on the way is "not found": callers rebuild what vanished.
  if (err == dirNFErr) return fnfErr;
  if (err != noErr) return err;
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return FpErrno(errno) == dirNFErr ? OSErr(fnfErr) : FpErrno(errno);
  bool dir = S_ISDIR(st.st_mode);
  SInt32 id = FileNodeID(st);
  if (dir) {
    SInt16 vol;
    err = FidDirectoryID(path, &vol, &id);
    if (err != noErr) return err;
  }
  if (theDirID) *theDirID = id;
  if (isDirectory) *isDirectory = dir;
  return noErr;
}

OSErr FSpGetFullPath(const FSSpec* spec, SInt16* fullPathLength, Handle* fullPath) {
  if (!fullPathLength || !fullPath) return paramErr;
  *fullPath = nullptr;
  *fullPathLength = 0;
  std::string path;
  OSErr err = SpecPath(spec, &path);
  if (err != noErr) return err;
  if (path.size() > 32767) return bdNamErr;
  Handle h = NewHandle(static_cast<Size>(path.size()));
  if (!h) return memFullErr;
  std::memcpy(*h, path.data(), path.size());
  *fullPath = h;
  *fullPathLength = static_cast<SInt16>(path.size());
  return Exists(path) ? noErr : fnfErr;
}

OSErr FSpFileCopy(const FSSpec* srcSpec, const FSSpec* dstSpec, ConstStr255Param copyName, void* copyBufferPtr,
                  long copyBufferSize, Boolean preflight) {
  std::string source, folder, leaf;
  OSErr err = SpecPath(srcSpec, &source);
  if (err != noErr) return err;
  struct stat st;
  if (stat(source.c_str(), &st) != 0) return FpErrno(errno);
  if (S_ISDIR(st.st_mode)) return paramErr;
  if ((err = SpecPath(dstSpec, &folder)) != noErr) return err;
  if (!IsDirectory(folder)) return dirNFErr;
  const unsigned char* name = copyName && copyName[0] > 0 ? copyName : srcSpec->name;
  if (name[0] > 63) return bdNamErr;
  if ((err = FpDiskName(std::string_view(reinterpret_cast<const char*>(name + 1), name[0]), &leaf)) != noErr)
    return err;
  std::string target = FpJoin(folder, leaf);
  if (Exists(target)) return dupFNErr;
  if (preflight) {
    struct statvfs sv;
    if (statvfs(folder.c_str(), &sv) == 0 &&
        static_cast<UInt64>(sv.f_bavail) * sv.f_frsize < static_cast<UInt64>(st.st_size))
      return dskFulErr;
  }

  // Copied under a private name and renamed into place only when complete.
  int in = open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return FpErrno(errno);
  int out = -1;
  std::string temp;
  err = FSCreateTempBeside(
      target,
      [&](const std::string& path) {
        out = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        return out >= 0 ? OSErr(noErr) : errno == EEXIST ? OSErr(dupFNErr) : FpErrno(errno);
      },
      &temp);
  if (err != noErr) {
    close(in);
    return err;
  }
  std::vector<char> own;
  char* buffer = static_cast<char*>(copyBufferPtr);
  size_t bufferSize = copyBufferPtr && copyBufferSize > 0 ? static_cast<size_t>(copyBufferSize) : 0;
  if (bufferSize == 0) {
    own.resize(1 << 16);
    buffer = own.data();
    bufferSize = own.size();
  }
  off_t offset = 0;
  for (;;) {
    size_t got = 0, written = 0;
    err = ForkReadAt(in, buffer, bufferSize, offset, &got);
    if (err != noErr || got == 0) break;
    err = ForkWriteAt(out, buffer, got, offset, &written);
    if (err != noErr) break;
    offset += static_cast<off_t>(got);
  }
  close(in);
  if (close(out) != 0 && err == noErr) err = FpErrno(errno);
  if (err == noErr) {
    uint8_t info[kFinderInfoSize];
    FpGetFinderInfo(source, info);
    FpSetFinderInfo(temp, info);
    err = RenameNoReplace(temp, target);
  }
  if (err != noErr) unlink(temp.c_str());
  return err;
}

OSErr GetDirItems(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, Boolean getFiles, Boolean getDirectories,
                  FSSpec* items, SInt16 reqItemCount, SInt16* actItemCount, SInt16* itemIndex) {
  if (!items || !actItemCount || !itemIndex || reqItemCount <= 0 || *itemIndex < 1) return paramErr;
  *actItemCount = 0;
  static const unsigned char kEmpty[1] = {0};
  std::string parent, leaf;
  OSErr err = FpResolve(vRefNum, dirID, name ? name : kEmpty, &parent, &leaf);
  if (err != noErr) return err;
  std::string folder = FpJoin(parent, leaf);
  std::vector<std::string> names;
  if ((err = ListFolder(folder, &names)) != noErr) return err;
  int index = 0;
  for (const auto& entry : names) {
    if (*actItemCount == reqItemCount) break;
    struct stat st;
    if (lstat(FpJoin(folder, entry).c_str(), &st) != 0) continue;
    bool isDir = S_ISDIR(st.st_mode);  // a symbolic link counts as a file
    if (isDir ? !getDirectories : !getFiles) continue;
    if (++index < *itemIndex) continue;
    ++*itemIndex;
    if (FpMakeSpec(folder, entry, &items[*actItemCount]) == noErr) ++*actItemCount;
  }
  return *actItemCount > 0 ? noErr : fnfErr;
}

OSErr PBGetCatInfoSync(CInfoPBPtr pb) {
  if (!pb) return paramErr;
  HFileInfo& file = pb->hFileInfo;
  DirInfo& dir = pb->dirInfo;
  static const unsigned char kEmpty[1] = {0};
  std::string folder, leaf;
  OSErr err = noErr;
  if (file.ioFDirIndex > 0) {
    err = FpFolderPath(file.ioVRefNum, file.ioDirID, &folder);
    std::vector<std::string> names;
    if (err == noErr) err = ListFolder(folder, &names);
    if (err == noErr && static_cast<size_t>(file.ioFDirIndex) > names.size()) err = fnfErr;
    if (err == noErr) leaf = names[static_cast<size_t>(file.ioFDirIndex) - 1];
  } else {
    const unsigned char* name = file.ioFDirIndex == 0 && file.ioNamePtr ? file.ioNamePtr : kEmpty;
    err = FpResolve(file.ioVRefNum, file.ioDirID, name, &folder, &leaf);
  }
  std::string path = FpJoin(folder, leaf);
  struct stat st;
  if (err == noErr && stat(path.c_str(), &st) != 0 && lstat(path.c_str(), &st) != 0) err = FpErrno(errno);
  FSSpec spec{};
  if (err == noErr) err = FpMakeSpec(folder, leaf, &spec);
  if (err != noErr) return file.ioResult = err;
  if (file.ioNamePtr && file.ioFDirIndex != 0) std::memcpy(file.ioNamePtr, spec.name, spec.name[0] + 1u);
  file.ioVRefNum = spec.vRefNum;
  if (S_ISDIR(st.st_mode)) {
    std::vector<std::string> inside;
    ListFolder(path, &inside);
    dir.ioFlAttrib = kioFlAttribDirMask;
    FidDirectoryID(path, &dir.ioVRefNum, &dir.ioDrDirID);
    dir.ioDrParID = spec.parID;
    dir.ioDrNmFls = static_cast<UInt16>(std::min<size_t>(inside.size(), 0xFFFF));
  } else {
    file.ioFlAttrib = IsLocked(st) ? kioFlAttribLockedMask : 0;
    file.ioDirID = FileNodeID(st);
    file.ioFlParID = spec.parID;
    FSpGetFInfo(&spec, &file.ioFlFndrInfo);
    file.ioFlLgLen = static_cast<long>(st.st_size);
    file.ioFlPyLen = static_cast<long>(st.st_blocks * 512);
  }
  return file.ioResult = noErr;
}

OSErr GetCatInfoNoName(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, CInfoPBPtr pb) {
  if (!pb) return paramErr;
  std::memset(pb, 0, sizeof *pb);
  Str255 copy = {0};
  if (name) std::memcpy(copy, name, name[0] + 1u);
  pb->hFileInfo.ioNamePtr = copy;
  pb->hFileInfo.ioVRefNum = vRefNum;
  pb->hFileInfo.ioDirID = dirID;
  pb->hFileInfo.ioFDirIndex = copy[0] == 0 ? -1 : 0;
  OSErr err = PBGetCatInfoSync(pb);
  pb->hFileInfo.ioNamePtr = nullptr;
  return err;
}
