#include "toolbox/VolumeParms.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <sstream>

#include "toolbox/FileIDTable.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/MacErrors.h"

namespace {

// The mount table's escapes (\040 for a space) undone.
std::string Unescape(const std::string& field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && std::isdigit(static_cast<unsigned char>(field[i + 1])) &&
        std::isdigit(static_cast<unsigned char>(field[i + 2])) && std::isdigit(static_cast<unsigned char>(field[i + 3]))) {
      out += char((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

// The type of the file system mounted at the longest mount point that holds `path`.
std::string TypeOfMountHolding(const std::string& path) {
  std::string table = FolderSystemPrefix() + "/proc/self/mounts";
  if (access(table.c_str(), R_OK) != 0) table = "/proc/self/mounts";
  std::ifstream in(table);
  std::string line, best, bestType;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string source, mount, type;
    if (!(fields >> source >> mount >> type)) continue;
    mount = Unescape(mount);
    const bool holds = path == mount || mount == "/" ||
                       (path.compare(0, mount.size(), mount) == 0 && path.size() > mount.size() && path[mount.size()] == '/');
    if (holds && mount.size() >= best.size()) {
      best = mount;
      bestType = type;
    }
  }
  return bestType;
}

}  // namespace

bool VolIsNetworkType(const std::string& type) {
  static const char* const kNetwork[] = {"nfs",  "nfs4",     "cifs",        "smb3",       "smbfs",     "ncpfs", "afs",
                                         "ceph", "glusterfs", "fuse.sshfs", "fuse.davfs2", "davfs", "fuse.rclone"};
  return std::any_of(std::begin(kNetwork), std::end(kNetwork), [&](const char* t) { return type == t; });
}

OSErr PBHGetVolParmsSync(HParmBlkPtr pb) {
  if (!pb || !pb->ioParam.ioBuffer) return paramErr;
  std::string mountPoint, name;
  OSErr err = FidVolumeRoot(pb->ioParam.ioVRefNum, &mountPoint, &name);
  pb->ioParam.ioResult = err;
  if (err != noErr) return err;
  GetVolParmsInfoBuffer info{};
  info.vMVersion = 1;
  info.vMServerAdr = VolIsNetworkType(TypeOfMountHolding(mountPoint)) ? 1 : 0;
  const SInt32 count = std::clamp<SInt32>(pb->ioParam.ioReqCount, 0, SInt32(sizeof info));
  std::memcpy(pb->ioParam.ioBuffer, &info, size_t(count));
  pb->ioParam.ioActCount = count;
  return noErr;
}
