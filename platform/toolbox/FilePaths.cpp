#include "toolbox/FilePaths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "toolbox/FileIDTable.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/MacErrors.h"
#include "toolbox/RecordAccess.h"

namespace {

constexpr const char* kFinderInfoAttribute = "user.com.apple.FinderInfo";

// Finder info as the platform lays it out (the first 16 bytes; the rest is kept as found).
namespace finfo {
constexpr size_t type = 0, creator = 4, flags = 8, locationV = 10, locationH = 12, folder = 14, used = 16;
}
static_assert(finfo::used <= kFinderInfoSize);

bool IsDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

void Swap(std::string* s, char from, char to) {
  for (char& c : *s)
    if (c == from) c = to;
}

bool IsTraversal(const std::string& disk) { return disk.empty() || disk == "." || disk == ".."; }

// A name the script cannot write, or too long for the field, is shown as the platform showed
// long names: its plain-ASCII start, '#', the item's inode number in hex, and its extension.
std::string MangledName(const std::string& disk, uint64_t ino, size_t capacity) {
  char hex[24];
  snprintf(hex, sizeof hex, "#%llX", static_cast<unsigned long long>(ino));
  std::string ext;
  size_t dot = disk.find_last_of('.');
  if (dot != std::string::npos && dot > 0 && disk.size() - dot <= 6 &&
      std::all_of(disk.begin() + dot, disk.end(), [](char c) { return c > 0x20 && c < 0x7F && c != ':'; }))
    ext = disk.substr(dot);
  size_t budget = capacity - 1 - std::strlen(hex) - ext.size();
  std::string stem;
  for (char c : disk.substr(0, dot == std::string::npos ? disk.size() : dot)) {
    if (stem.size() == budget || c < 0x20 || c >= 0x7F || c == ':') break;
    stem.push_back(c);
  }
  return stem + hex + ext;
}

// The real disk name behind a mangled one, or the name as it is.
std::string Demangled(const std::string& folder, const std::string& disk) {
  size_t hash = disk.find_last_of('#');
  if (hash == std::string::npos || Exists(FpJoin(folder, disk))) return disk;
  char* end = nullptr;
  unsigned long long ino = strtoull(disk.c_str() + hash + 1, &end, 16);
  if (end == disk.c_str() + hash + 1) return disk;
  DIR* d = opendir(folder.c_str());
  if (!d) return disk;
  std::string found = disk;
  Str63 own;
  while (struct dirent* e = readdir(d)) {
    // Only a name with no FSSpec form of its own is ever shown mangled.
    if (e->d_ino != ino || IsTraversal(e->d_name) || FpMacName(e->d_name, own, sizeof own) == noErr) continue;
    if (MangledName(e->d_name, ino, sizeof(Str63)) == disk) {
      found = e->d_name;
      break;
    }
  }
  closedir(d);
  return found;
}

// The FSSpec name of `leaf` in `folder`: its own, or the mangled form when it has none.
OSErr SpecName(const std::string& folder, const std::string& leaf, StringPtr out, size_t capacity) {
  if (FpMacName(leaf, out, capacity) == noErr) return noErr;
  struct stat st;
  if (lstat(FpJoin(folder, leaf).c_str(), &st) != 0) return bdNamErr;
  std::string mangled = MangledName(leaf, st.st_ino, capacity);
  out[0] = static_cast<unsigned char>(mangled.size());
  std::memcpy(out + 1, mangled.data(), mangled.size());
  return noErr;
}

}  // namespace

OSErr FpErrno(int err) {
  switch (err) {
    case 0: return noErr;
    case ENOENT: return fnfErr;
    case ENOTDIR: return dirNFErr;
    case EEXIST: return dupFNErr;
    case ENOTEMPTY: case EBUSY: case ETXTBSY: return fBsyErr;
    case EACCES: case EPERM: return permErr;
    case EROFS: return vLckdErr;
    case ENOSPC: case EDQUOT: case EFBIG: return dskFulErr;
    case ENAMETOOLONG: return bdNamErr;
    case EMFILE: case ENFILE: return tmfoErr;
    case ENOMEM: return memFullErr;
    case EINVAL: return paramErr;
    case ELOOP: return fnfErr;
    default: return ioErr;
  }
}

OSErr FpDiskName(std::string_view macName, std::string* disk) {
  if (macName.find('\0') != std::string_view::npos) return bdNamErr;
  if (!ScriptToUTF8(macName, disk)) return bdNamErr;
  Swap(disk, '/', ':');
  if (IsTraversal(*disk) || disk->size() > 255) return bdNamErr;
  return noErr;
}

OSErr FpMacName(const std::string& disk, StringPtr out, size_t capacity) {
  std::string name = disk;
  Swap(&name, ':', '/');
  return UTF8ToPString(name, out, capacity) ? noErr : bdNamErr;
}

OSErr FpDiskNameFromUnicode(const UniChar* name, UniCharCount length, std::string* disk) {
  if (length > 255) return errFSNameTooLong;
  if (!UTF16ToUTF8(name, length, disk) || disk->find('\0') != std::string::npos) return bdNamErr;
  Swap(disk, '/', ':');
  if (IsTraversal(*disk)) return bdNamErr;
  if (disk->size() > 255) return errFSNameTooLong;
  return noErr;
}

void FpUnicodeName(const std::string& disk, HFSUniStr255* out) {
  std::string name = disk;
  Swap(&name, ':', '/');
  std::u16string units;
  out->length = 0;
  // A Linux name is at most 255 bytes, so never more than 255 UTF-16 units; a name that is
  // not UTF-8 comes out as its bytes taken one by one.
  if (!UTF8ToUTF16(name, &units)) {
    units.clear();
    for (unsigned char c : name) units.push_back(c);
  }
  for (char16_t u : units) {
    if (out->length == 255) break;
    out->unicode[out->length++] = u;
  }
}

OSErr FpFolderPath(SInt16 vRefNum, SInt32 dirID, std::string* path) {
  if (dirID == 0) {
    if (vRefNum == 0) {
      *path = FolderApplicationDir();
      return IsDirectory(*path) ? noErr : dirNFErr;
    }
    std::string name;
    return FidVolumeRoot(vRefNum, path, &name);
  }
  return FidDirectoryPath(vRefNum, dirID, path);
}

OSErr FpResolve(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, std::string* folder, std::string* leaf) {
  std::string_view text(reinterpret_cast<const char*>(name + 1), name[0]);
  std::string here;
  std::string volumeRoot;
  bool fullPath = dirID == fsRtParID || (!text.empty() && text[0] != ':' && text.find(':') != std::string_view::npos);
  if (fullPath) {
    size_t colon = text.find(':');
    std::string volumeName;
    if (!ScriptToUTF8(text.substr(0, colon), &volumeName)) return bdNamErr;
    SInt16 probe;
    FidVolumeOf(FolderApplicationDir(), &probe);  // the application's volume is always known by name
    SInt16 vol;
    if (FidVolumeNamed(volumeName, &vol) != noErr) return nsvErr;
    std::string unused;
    FidVolumeRoot(vol, &here, &unused);
    text = colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
  } else {
    OSErr err = FpFolderPath(vRefNum, dirID, &here);
    if (err != noErr) return err;
    if (!text.empty() && text[0] == ':') text.remove_prefix(1);
  }
  SInt16 vol;
  if (FidVolumeOf(here, &vol) != noErr) return dirNFErr;
  std::string unusedName;
  FidVolumeRoot(vol, &volumeRoot, &unusedName);

  // Elements between ':'; an empty one climbs to the parent. A trailing ':' only says that
  // the item is a folder.
  std::vector<std::string_view> parts;
  while (!text.empty()) {
    size_t colon = text.find(':');
    parts.push_back(text.substr(0, colon));
    text = colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
  }
  *leaf = "";
  for (size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].empty()) {
      if (here == volumeRoot) return dirNFErr;  // above the top of the volume
      here = FpParent(here);
      continue;
    }
    std::string disk;
    OSErr err = FpDiskName(parts[i], &disk);
    if (err != noErr) return err;
    disk = Demangled(here, disk);
    if (i + 1 == parts.size()) {
      *leaf = disk;
      break;
    }
    here = FpJoin(here, disk);
    if (!IsDirectory(here)) return dirNFErr;
  }
  if (!IsDirectory(here)) return dirNFErr;
  *folder = here;
  return noErr;
}

OSErr FpMakeSpec(const std::string& folder, const std::string& leaf, FSSpec* spec) {
  FSSpec out{};
  SInt32 folderID;
  OSErr err = FidDirectoryID(folder, &out.vRefNum, &folderID);
  if (err != noErr) return err;
  if (leaf.empty()) {
    if (folderID == fsRtDirID) {
      std::string mount, volumeName;
      FidVolumeRoot(out.vRefNum, &mount, &volumeName);
      out.parID = fsRtParID;
      if (!UTF8ToPString(volumeName, out.name, sizeof out.name)) return bdNamErr;
      *spec = out;
      return noErr;
    }
    std::string parent = FpParent(folder);
    SInt16 parentVol;
    err = FidDirectoryID(parent, &parentVol, &out.parID);
    if (err != noErr) return err;
    err = SpecName(parent, FpLastElement(folder), out.name, sizeof out.name);
  } else {
    out.parID = folderID;
    err = SpecName(folder, leaf, out.name, sizeof out.name);
  }
  if (err != noErr) return err;
  *spec = out;
  return noErr;
}

void FpGetFinderInfo(const std::string& path, uint8_t info[kFinderInfoSize]) {
  std::memset(info, 0, kFinderInfoSize);
  uint8_t stored[kFinderInfoSize];
  ssize_t n = getxattr(path.c_str(), kFinderInfoAttribute, stored, sizeof stored);
  if (n == static_cast<ssize_t>(kFinderInfoSize)) std::memcpy(info, stored, kFinderInfoSize);
}

OSErr FpSetFinderInfo(const std::string& path, const uint8_t info[kFinderInfoSize]) {
  if (setxattr(path.c_str(), kFinderInfoAttribute, info, kFinderInfoSize, 0) == 0) return noErr;
  return errno == ENOENT ? fnfErr : noErr;
}

void FpFInfoFromBytes(const uint8_t info[kFinderInfoSize], FInfo* out) {
  RecordBytes r(const_cast<uint8_t*>(info), kFinderInfoSize);
  out->fdType = r.u32(finfo::type);
  out->fdCreator = r.u32(finfo::creator);
  out->fdFlags = r.u16(finfo::flags);
  out->fdLocation.v = r.i16(finfo::locationV);
  out->fdLocation.h = r.i16(finfo::locationH);
  out->fdFldr = r.i16(finfo::folder);
}

void FpFInfoToBytes(const FInfo& in, uint8_t info[kFinderInfoSize]) {
  RecordBytes r(info, kFinderInfoSize);
  r.setU32(finfo::type, in.fdType);
  r.setU32(finfo::creator, in.fdCreator);
  r.setU16(finfo::flags, in.fdFlags);
  r.setI16(finfo::locationV, in.fdLocation.v);
  r.setI16(finfo::locationH, in.fdLocation.h);
  r.setI16(finfo::folder, in.fdFldr);
}

OSErr FSpGetPOSIXPath(const FSSpec* spec, std::string* path) {
  if (!spec || !path) return paramErr;
  if (spec->name[0] >= sizeof spec->name) return bdNamErr;
  std::string folder, leaf;
  OSErr err = FpResolve(spec->vRefNum, spec->parID, spec->name, &folder, &leaf);
  if (err != noErr) return err;
  *path = FpJoin(folder, leaf);
  return noErr;
}

OSErr FSpMakeFromPOSIXPath(const std::string& path, FSSpec* spec) {
  if (!spec || path.empty()) return paramErr;
  std::string absolute = path;
  if (absolute[0] != '/') {
    char* cwd = getcwd(nullptr, 0);
    if (!cwd) return ioErr;
    absolute = std::string(cwd) + "/" + absolute;
    free(cwd);
  }
  while (absolute.size() > 1 && absolute.back() == '/') absolute.pop_back();
  std::string leaf = FpLastElement(absolute);
  std::string folder = FpParent(absolute);
  if (absolute == "/" || leaf == "." || leaf == "..") {
    folder = absolute;
    leaf.clear();
  }
  char* real = realpath(folder.c_str(), nullptr);
  if (!real) return errno == ENOENT || errno == ENOTDIR ? OSErr(dirNFErr) : FpErrno(errno);
  folder = real;
  free(real);
  if (leaf.empty()) return FpMakeSpec(folder, "", spec);
  OSErr err = FpMakeSpec(folder, leaf, spec);
  if (err != noErr) return err;
  struct stat st;
  return lstat(FpJoin(folder, leaf).c_str(), &st) == 0 ? noErr : fnfErr;
}

std::string FpFileURL(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : path) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' ||
                       c == '-' || c == '_' || c == '.' || c == '~';
    if (plain) {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 15];
    }
  }
  return url;
}

bool FpPathFromFileURL(const std::string& url, std::string* path) {
  static const std::string kScheme = "file://";
  if (url.compare(0, kScheme.size(), kScheme) != 0) return false;
  std::string rest = url.substr(kScheme.size());
  if (rest.compare(0, 9, "localhost") == 0) rest.erase(0, 9);
  if (rest.empty() || rest[0] != '/') return false;
  auto hex = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  path->clear();
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] != '%') {
      *path += rest[i];
      continue;
    }
    if (i + 2 >= rest.size() || hex(rest[i + 1]) < 0 || hex(rest[i + 2]) < 0) return false;
    *path += static_cast<char>(hex(rest[i + 1]) * 16 + hex(rest[i + 2]));
    i += 2;
  }
  return path->find('\0') == std::string::npos;
}
