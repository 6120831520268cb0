#include "FrameworkFixture.h"

#include "toolbox/Files.h"
#include "toolbox/Resources.h"

SInt16 FrameworkFixture::OpenResources(std::string* path) {
  *path = WX_FRAMEWORK_TEST_RSRC;
  return OpenResFilePath(*path, fsRdPerm);
}

// fontconfig keeps its configuration, and libdbus (opened by SDL for the dialogs drawn on a
// screen) its session-bus state, for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\nleak:libdbus-1.so\n"; }
