#include "colorsync/ColorSyncFolder.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "toolbox/Folders.h"
#include "toolbox/MacErrors.h"

namespace fs = std::filesystem;

namespace {

// An ICC profile carries 'acsp' at byte 36 of its 128-byte header.
bool HasProfileHeader(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  unsigned char header[40];
  const bool ok = pread(fd, header, sizeof header, 0) == static_cast<ssize_t>(sizeof header) && header[36] == 'a' &&
                  header[37] == 'c' && header[38] == 's' && header[39] == 'p';
  close(fd);
  return ok;
}

// The files below `dir`, each folder's files in byte order before its subfolders' files.
void CollectFiles(const fs::path& dir, std::vector<std::string>* files) {
  std::error_code ec;
  std::vector<fs::path> entries;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) entries.push_back(it->path());
  std::sort(entries.begin(), entries.end());
  std::vector<fs::path> folders;
  for (const fs::path& p : entries) {
    // Symbolic links to folders are not followed, so a loop of links cannot trap the walk.
    const fs::file_status status = fs::symlink_status(p, ec);
    if (fs::is_directory(status)) folders.push_back(p);
    else if (fs::is_regular_file(fs::status(p, ec))) files->push_back(p.string());
  }
  for (const fs::path& f : folders) CollectFiles(f, files);
}

}  // namespace

OSErr CMIterateColorSyncFolder(CMProfileIterateUPP proc, UInt32*, UInt32* count, void* refCon) {
  UInt32 seen = 0;
  for (const std::string& dir : FolderColorProfileDirs()) {
    std::vector<std::string> files;
    CollectFiles(dir, &files);
    for (const std::string& file : files) {
      if (!HasProfileHeader(file)) continue;
      CMProfileIterateData data{};
      data.dataVersion = 1;
      data.location.locType = cmFileBasedProfile;
      if (FSpMakeFromPOSIXPath(file, &data.location.u.fileLoc.spec) != noErr) continue;
      ++seen;
      if (proc) {
        const OSErr result = proc(&data, refCon);
        if (result != noErr) return result;
      }
    }
  }
  if (count) *count = seen;
  return noErr;
}
