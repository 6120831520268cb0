// The Resource Manager's FSSpec entry points, over the path-based ones.
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/Resources.h"

SInt16 FSpOpenResFile(const FSSpec* spec, SInt8 permission) {
  std::string path;
  if (OSErr err = FSpGetPOSIXPath(spec, &path); err != noErr) {
    ResSetError(err);
    return -1;
  }
  return OpenResFilePath(path, permission);
}

void FSpCreateResFile(const FSSpec* spec, OSType creator, OSType fileType, ScriptCode scriptTag) {
  std::string path;
  if (OSErr err = FSpGetPOSIXPath(spec, &path); err != noErr) {
    ResSetError(err);
    return;
  }
  OSErr err = FSpCreate(spec, creator, fileType, scriptTag);
  if (err != noErr && err != dupFNErr) {
    ResSetError(err);
    return;
  }
  CreateResFilePath(path);
}
