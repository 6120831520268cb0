// Names and alias records come from outside (typed names, stored preferences, alias files):
// any bytes must resolve or be refused, and never reach outside the folder they name.
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/fuzz/FuzzRoot.h"
#include "toolbox/Aliases.h"
#include "toolbox/Folders.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"

namespace {

// Everything the File Manager writes (the folder-ID table) goes to a private scratch root.
const std::string& Root() {
  static const std::string root = [] {
    const std::string& made = FuzzRoot("names");
    FolderSetApplicationDir(made);
    return made;
  }();
  return root;
}

void CheckName(const uint8_t* data, size_t size) {
  Str255 name;
  name[0] = static_cast<unsigned char>(size > 255 ? 255 : size);
  std::memcpy(name + 1, data, name[0]);
  SetSystemScriptForLanguage(size > 0 && (data[0] & 1) ? 'J' : 'E');
  FSSpec spec;
  OSErr err = FSMakeFSSpec(0, 0, name, &spec);
  if (err != noErr && err != fnfErr) return;
  std::string path;
  if (FSpGetPOSIXPath(&spec, &path) != noErr) std::abort();  // a spec just made must resolve
}

void CheckAlias(const uint8_t* data, size_t size) {
  Handle h = NewHandle(static_cast<Size>(size));
  if (!h) return;
  if (size) std::memcpy(*h, data, size);
  FSSpec target;
  Boolean changed = false;
  ResolveAlias(nullptr, h, &target, &changed);
  DisposeHandle(h);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Root();
  CheckName(data, size);
  CheckAlias(data, size);
  return 0;
}
