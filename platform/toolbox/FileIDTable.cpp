#include "toolbox/FileIDTable.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <functional>
#include <map>
#include <random>
#include <unordered_map>
#include <vector>

#include "toolbox/FolderLocations.h"
#include "toolbox/MacErrors.h"
#include "toolbox/PathNames.h"
#include "toolbox/RecordAccess.h"

namespace {

// Stored layout: a header, then the volume records, then the folder records.
namespace hdr {
constexpr size_t magic = 0, version = 4, nextID = 8, volumeCount = 12, dirCount = 16, size = 20;
}
namespace vol {
constexpr size_t ref = 0, fsid = 2, dev = 10, rootIno = 18, pathLen = 26, size = 28;
}
namespace dir {
constexpr size_t id = 0, ref = 4, ino = 6, btime = 14, pathLen = 22, size = 24;
}
static_assert(hdr::dirCount + 4 == hdr::size);
static_assert(vol::pathLen + 2 == vol::size);
static_assert(dir::pathLen + 2 == dir::size);
constexpr uint32_t kMagic = 'WXid';
constexpr uint16_t kVersion = 1;
constexpr SInt32 kFirstFreshID = 16;

struct Volume {
  SInt16 ref;
  uint64_t fsid;
  uint64_t dev;  // as last seen; device numbers may change between boots
  uint64_t rootIno;
  std::string mountPoint;
};

struct Directory {
  SInt32 id;
  SInt16 ref;
  uint64_t ino;
  int64_t btime;  // 0 where the file system keeps none
  std::string path;
};

struct Identity {
  uint64_t dev;
  uint64_t ino;
  int64_t btime;
  bool isDir;
};

struct Table {
  std::string file;
  bool loaded = false;
  struct timespec stampTime {};
  off_t stampSize = -1;
  ino_t stampIno = 0;
  uint32_t nextID = kFirstFreshID;
  std::vector<Volume> volumes;
  std::unordered_map<SInt32, Directory> byID;
  std::map<std::pair<SInt16, uint64_t>, SInt32> byInode;
  std::map<uint64_t, SInt16> checkedDevices;  // device -> volume, as checked by this process
};

Table gTable;

bool Identify(const std::string& path, Identity* id) {
  struct statx st;
  if (statx(AT_FDCWD, path.c_str(), 0, STATX_TYPE | STATX_INO | STATX_BTIME, &st) != 0) return false;
  id->dev = makedev(st.stx_dev_major, st.stx_dev_minor);
  id->ino = st.stx_ino;
  id->btime = (st.stx_mask & STATX_BTIME) ? st.stx_btime.tv_sec * 1000000000LL + st.stx_btime.tv_nsec : 0;
  id->isDir = S_ISDIR(st.stx_mode);
  return true;
}

uint64_t FileSystemID(const std::string& path) {
  struct statfs sf;
  if (statfs(path.c_str(), &sf) != 0) return 0;
  uint32_t a, b;
  std::memcpy(&a, &sf.f_fsid.__val[0], 4);
  std::memcpy(&b, &sf.f_fsid.__val[1], 4);
  return (uint64_t(a) << 32) | b;
}

std::string Parent(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return "/";
  return path.substr(0, slash);
}

// The top folder of the file system that holds `path` (canonical).
std::string MountPointOf(const std::string& path, uint64_t dev) {
  std::string here = path;
  while (here != "/") {
    std::string up = Parent(here);
    Identity id;
    if (!Identify(up, &id) || id.dev != dev) break;
    here = up;
  }
  return here;
}

bool SameStamp(const struct stat& st) {
  return st.st_size == gTable.stampSize && st.st_ino == gTable.stampIno &&
         st.st_mtim.tv_sec == gTable.stampTime.tv_sec && st.st_mtim.tv_nsec == gTable.stampTime.tv_nsec;
}

void Index() {
  gTable.byInode.clear();
  for (const auto& [id, d] : gTable.byID) gTable.byInode[{d.ref, d.ino}] = id;
}

// A fresh table starts its IDs at a random point, so IDs from a lost table are not handed
// out again to other folders.
uint32_t FreshStart() {
  std::random_device rd;
  return kFirstFreshID + rd() % 0x3FFF0000u;
}

bool Parse(const std::vector<uint8_t>& bytes) {
  try {
    std::vector<uint8_t> copy = bytes;
    RecordBytes r(copy.data(), copy.size());
    if (r.u32(hdr::magic) != kMagic || r.u16(hdr::version) != kVersion) return false;
    gTable.nextID = r.u32(hdr::nextID);
    size_t off = hdr::size;
    for (uint32_t n = r.u16(hdr::volumeCount); n > 0; --n) {
      RecordBytes v = r.sub(off, vol::size);
      size_t len = v.u16(vol::pathLen);
      RecordBytes p = r.sub(off + vol::size, len);
      gTable.volumes.push_back({v.i16(vol::ref), v.u64(vol::fsid), v.u64(vol::dev), v.u64(vol::rootIno),
                                std::string(reinterpret_cast<char*>(p.data()), len)});
      off += vol::size + len;
    }
    for (uint32_t n = r.u32(hdr::dirCount); n > 0; --n) {
      RecordBytes d = r.sub(off, dir::size);
      size_t len = d.u16(dir::pathLen);
      RecordBytes p = r.sub(off + dir::size, len);
      Directory entry{d.i32(dir::id), d.i16(dir::ref), d.u64(dir::ino), static_cast<int64_t>(d.u64(dir::btime)),
                      std::string(reinterpret_cast<char*>(p.data()), len)};
      gTable.byID[entry.id] = entry;
      off += dir::size + len;
    }
    return true;
  } catch (const std::out_of_range&) {
    return false;
  }
}

void Load() {
  gTable.checkedDevices.clear();
  gTable.volumes.clear();
  gTable.byID.clear();
  gTable.nextID = 0;
  gTable.stampSize = -1;
  std::vector<uint8_t> bytes;
  int fd = open(gTable.file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    struct stat st;
    if (fstat(fd, &st) == 0) {
      bytes.resize(static_cast<size_t>(st.st_size));
      size_t got = 0;
      while (got < bytes.size()) {
        ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
        if (n <= 0) break;
        got += static_cast<size_t>(n);
      }
      bytes.resize(got);
      gTable.stampTime = st.st_mtim;
      gTable.stampSize = st.st_size;
      gTable.stampIno = st.st_ino;
    }
    close(fd);
  }
  if (!Parse(bytes)) {
    gTable.volumes.clear();
    gTable.byID.clear();
    gTable.nextID = FreshStart();
  }
  Index();
  gTable.loaded = true;
}

void Save() {
  std::vector<uint8_t> bytes(hdr::size);
  size_t total = hdr::size;
  for (const auto& v : gTable.volumes) total += vol::size + v.mountPoint.size();
  for (const auto& [id, d] : gTable.byID) total += dir::size + d.path.size();
  bytes.resize(total);
  RecordBytes r(bytes.data(), bytes.size());
  r.setU32(hdr::magic, kMagic);
  r.setU16(hdr::version, kVersion);
  r.setU32(hdr::nextID, gTable.nextID);
  r.setU16(hdr::volumeCount, static_cast<uint16_t>(gTable.volumes.size()));
  r.setU32(hdr::dirCount, static_cast<uint32_t>(gTable.byID.size()));
  size_t off = hdr::size;
  for (const auto& v : gTable.volumes) {
    RecordBytes rec = r.sub(off, vol::size + v.mountPoint.size());
    rec.setI16(vol::ref, v.ref);
    rec.setU64(vol::fsid, v.fsid);
    rec.setU64(vol::dev, v.dev);
    rec.setU64(vol::rootIno, v.rootIno);
    rec.setU16(vol::pathLen, static_cast<uint16_t>(v.mountPoint.size()));
    rec.setBytes(vol::size, v.mountPoint.data(), v.mountPoint.size());
    off += rec.size();
  }
  for (const auto& [id, d] : gTable.byID) {
    RecordBytes rec = r.sub(off, dir::size + d.path.size());
    rec.setI32(dir::id, d.id);
    rec.setI16(dir::ref, d.ref);
    rec.setU64(dir::ino, d.ino);
    rec.setU64(dir::btime, static_cast<uint64_t>(d.btime));
    rec.setU16(dir::pathLen, static_cast<uint16_t>(d.path.size()));
    rec.setBytes(dir::size, d.path.data(), d.path.size());
    off += rec.size();
  }
  // Written beside the table and renamed over it, so a reader never sees half a table.
  std::string temp = gTable.file + ".new";
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return;
  bool ok = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  ok = close(fd) == 0 && ok;
  if (!ok || rename(temp.c_str(), gTable.file.c_str()) != 0) {
    unlink(temp.c_str());
    return;
  }
  struct stat st;
  if (stat(gTable.file.c_str(), &st) == 0) {
    gTable.stampTime = st.st_mtim;
    gTable.stampSize = st.st_size;
    gTable.stampIno = st.st_ino;
  }
}

std::string TableIn(const std::string& folder) { return folder + "/FileIDs"; }

// Loads the table on first use or when the root moved; reloads when another process changed it.
// Looking is not writing: the support folder is made only when the table is stored (Mutate).
void Refresh() {
  std::string file = TableIn(FolderSupportPath());
  if (!gTable.loaded || file != gTable.file) {
    gTable.file = file;
    Load();
    return;
  }
  struct stat st;
  bool exists = stat(gTable.file.c_str(), &st) == 0;
  if (exists ? !SameStamp(st) : gTable.stampSize != -1) Load();
}

// Runs `change` on the current table under the cross-process lock and stores the result.
void Mutate(const std::function<void()>& change) {
  FolderSupportDir();
  Refresh();
  int lock = open((gTable.file + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lock >= 0) flock(lock, LOCK_EX);
  Refresh();
  change();
  Save();
  if (lock >= 0) close(lock);
}

Volume* FindVolume(SInt16 ref) {
  for (auto& v : gTable.volumes)
    if (v.ref == ref) return &v;
  return nullptr;
}

// The volume that holds an item on device `dev` (`path` is any item on it), registered on
// first sight. A device number is trusted only once this process has checked it, since
// numbers are handed out again after a restart.
SInt16 VolumeFor(uint64_t dev, const std::string& path) {
  auto checked = gTable.checkedDevices.find(dev);
  if (checked != gTable.checkedDevices.end()) return checked->second;
  uint64_t fsid = FileSystemID(path);
  std::string mount = MountPointOf(FpCanonical(path), dev);
  Identity root{};
  Identify(mount, &root);
  // Known by its file-system ID; or, where that ID is derived from a device number that
  // changed, by the same top folder at the same place.
  auto match = [&]() -> Volume* {
    for (auto& v : gTable.volumes)
      if (fsid != 0 && v.fsid == fsid) return &v;
    for (auto& v : gTable.volumes)
      if (v.mountPoint == mount && v.rootIno == root.ino) return &v;
    return nullptr;
  };
  const Volume* known = match();
  SInt16 found = 0;
  if (known && known->dev == dev && known->fsid == fsid && known->mountPoint == mount) {
    found = known->ref;
  } else {
    Mutate([&] {
      if (Volume* v = match()) {
        *v = {v->ref, fsid, dev, root.ino, mount};
        found = v->ref;
        return;
      }
      found = static_cast<SInt16>(-1 - static_cast<int>(gTable.volumes.size()));
      gTable.volumes.push_back({found, fsid, dev, root.ino, mount});
    });
  }
  gTable.checkedDevices[dev] = found;
  return found;
}

// True when folder `id` is still where the table says. (Checking may register a volume and
// so reload the table: callers hold no references into it across this call.)
bool Verified(SInt32 id) {
  auto it = gTable.byID.find(id);
  if (it == gTable.byID.end()) return false;
  const Directory d = it->second;
  Identity now;
  if (!Identify(d.path, &now) || !now.isDir || now.ino != d.ino) return false;
  if (d.btime != 0 && now.btime != 0 && d.btime != now.btime) return false;
  return VolumeFor(now.dev, d.path) == d.ref;
}

bool UnderOrAt(const std::string& path, const std::string& folder) {
  return path == folder || (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
                            path[folder.size()] == '/');
}

}  // namespace

std::string FidTablePath() { return TableIn(FolderSupportDir()); }

OSErr FidVolumeOf(const std::string& path, SInt16* vRefNum) {
  Identity id;
  if (!Identify(path, &id)) return errno == ENOENT ? fnfErr : ioErr;
  Refresh();
  *vRefNum = VolumeFor(id.dev, path);
  return noErr;
}

OSErr FidDirectoryID(const std::string& path, SInt16* vRefNum, SInt32* dirID) {
  Identity id;
  if (!Identify(path, &id) || !id.isDir) return dirNFErr;
  Refresh();
  SInt16 ref = VolumeFor(id.dev, path);
  *vRefNum = ref;
  const Volume* v = FindVolume(ref);
  if (v && v->rootIno == id.ino) {
    *dirID = fsRtDirID;
    return noErr;
  }
  for (int pass = 0; pass < 2; ++pass) {
    auto it = gTable.byInode.find({ref, id.ino});
    if (it != gTable.byInode.end()) {
      const Directory d = gTable.byID[it->second];
      bool sameBirth = d.btime == 0 || id.btime == 0 || d.btime == id.btime;
      if (sameBirth && (d.path == path || Verified(d.id))) {
        *dirID = d.id;
        return noErr;
      }
      if (sameBirth) break;  // the same folder, seen at a new place: record where it is now
    }
    if (pass == 0) Refresh();
  }
  std::string canonical = FpCanonical(path);
  SInt32 assigned = 0;
  Mutate([&] {
    auto it = gTable.byInode.find({ref, id.ino});
    if (it != gTable.byInode.end()) {
      Directory& d = gTable.byID[it->second];
      if (d.btime == 0 || id.btime == 0 || d.btime == id.btime) {
        d.path = canonical;
        assigned = d.id;
        return;
      }
      gTable.byID.erase(it->second);  // the inode was reused by a new folder
    }
    if (gTable.nextID < kFirstFreshID || gTable.nextID >= 0x7FFFFFF0u) gTable.nextID = kFirstFreshID;
    assigned = static_cast<SInt32>(gTable.nextID++);
    gTable.byID[assigned] = {assigned, ref, id.ino, id.btime, canonical};
    Index();
  });
  *dirID = assigned;
  return noErr;
}

OSErr FidDirectoryPath(SInt16 vRefNum, SInt32 dirID, std::string* path) {
  Refresh();
  if (dirID == fsRtDirID) {
    if (vRefNum == 0) return nsvErr;
    std::string name;
    return FidVolumeRoot(vRefNum, path, &name);
  }
  for (int pass = 0; pass < 2; ++pass) {
    if (Verified(dirID)) {
      const Directory& d = gTable.byID[dirID];
      if (vRefNum != 0 && d.ref != vRefNum) return dirNFErr;
      *path = d.path;
      return noErr;
    }
    if (pass == 0) Refresh();
  }
  return dirNFErr;
}

OSErr FidVolumeRoot(SInt16 vRefNum, std::string* mountPoint, std::string* name) {
  Refresh();
  const Volume* v = FindVolume(vRefNum);
  if (!v) return nsvErr;
  *mountPoint = v->mountPoint;
  if (v->mountPoint == "/")
    *name = "Root";
  else
    *name = v->mountPoint.substr(v->mountPoint.find_last_of('/') + 1);
  return noErr;
}

OSErr FidVolumeNamed(const std::string& name, SInt16* vRefNum) {
  Refresh();
  std::vector<SInt16> refs;
  for (const auto& v : gTable.volumes) refs.push_back(v.ref);
  for (SInt16 ref : refs) {
    std::string mount, volumeName;
    if (FidVolumeRoot(ref, &mount, &volumeName) == noErr && strcasecmp(volumeName.c_str(), name.c_str()) == 0) {
      *vRefNum = ref;
      return noErr;
    }
  }
  return nsvErr;
}

void FidPathMoved(const std::string& from, const std::string& to) {
  Refresh();
  bool any = false;
  for (const auto& [id, d] : gTable.byID) any = any || UnderOrAt(d.path, from);
  if (!any) return;
  Mutate([&] {
    for (auto& [id, d] : gTable.byID)
      if (UnderOrAt(d.path, from)) d.path = to + d.path.substr(from.size());
  });
}

void FidDirectoryDeleted(const std::string& path) {
  Refresh();
  bool any = false;
  for (const auto& [id, d] : gTable.byID) any = any || d.path == path;
  if (!any) return;
  Mutate([&] {
    std::erase_if(gTable.byID, [&](const auto& entry) { return entry.second.path == path; });
    Index();
  });
}
