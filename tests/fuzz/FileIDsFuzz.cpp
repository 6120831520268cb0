// The folder-ID table comes from disk, where another process or damage may have left any
// bytes: whatever they are, a folder gets an ID, and that ID leads back to the folder.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/fuzz/FuzzRoot.h"
#include "toolbox/FileIDTable.h"
#include "toolbox/Folders.h"
#include "toolbox/MacErrors.h"
#include "toolbox/RecordAccess.h"

namespace {

// A private root (where the table lives) holding the folder "pages/2026".
const std::string& Folder() {
  static const std::string folder = [] {
    const std::string& root = FuzzRoot("ids");
    FolderSetApplicationDir(root);
    const std::string pages = root + "/pages/2026";
    std::system(("mkdir -p '" + pages + "'").c_str());
    return pages;
  }();
  return folder;
}

// The table as the input, put in place the way the table itself is written, so that the
// next lookup sees a changed file.
void PlaceTable(const uint8_t* data, size_t size) {
  const std::string table = FidTablePath(), temp = table + ".fuzz";
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) std::abort();
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
  std::rename(temp.c_str(), table.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& folder = Folder();
  PlaceTable(data, size);
  // IDs and volume references the bytes name, looked up as stored.
  for (size_t at = 0; at + 4 <= size && at < 64; at += 4) {
    std::string path;
    FidDirectoryPath(0, static_cast<SInt32>(BEGetU32(data + at)), &path);
    FidVolumeRoot(static_cast<SInt16>(BEGetU16(data + at)), &path, &path);
  }
  SInt16 vRef = 0;
  FidVolumeNamed("pages", &vRef);
  SInt32 id = 0;
  if (FidDirectoryID(folder, &vRef, &id) != noErr) std::abort();
  std::string back;
  if (FidDirectoryPath(vRef, id, &back) != noErr || back != folder) std::abort();
  return 0;
}
