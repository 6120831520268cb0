#include "prefs/SiteDefaults.h"

#include <cstring>

#include "toolbox/Aliases.h"
#include "toolbox/Files.h"
#include "toolbox/Folders.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"

namespace {

const unsigned char kSiteDefaultsName[] = "\x11" "Vormix50.def.pref";

// The site-defaults file opened read-only as the current resource file, for one scope.
class SiteDefaultsFile {
 public:
  SiteDefaultsFile() {
    SInt16 vRef = 0;
    SInt32 dirID = 0;
    if (FindFolder(kOnSystemDisk, kPreferencesFolderType, kDontCreateFolder, &vRef, &dirID) != noErr) return;
    FSSpec spec{};
    if (FSMakeFSSpec(vRef, dirID, kSiteDefaultsName, &spec) != noErr) return;
    mRef = FSpOpenResFile(&spec, fsRdPerm);
    if (mRef != -1) UseResFile(mRef);
  }
  ~SiteDefaultsFile() {
    if (mRef != -1) CloseResFile(mRef);
  }

  bool isOpen() const { return mRef != -1; }

 private:
  StCurResFile mSaved;  // restored after the file is closed
  SInt16 mRef = -1;
};

}  // namespace

bool SDReadModel(Str255 model) {
  SiteDefaultsFile file;
  if (!file.isOpen()) return false;
  Handle h = Get1Resource(kSDModelResType, kSDModelResID);
  if (!h) return false;
  const Size size = GetHandleSize(h);
  const auto* bytes = reinterpret_cast<const unsigned char*>(*h);
  bool ok = size > kSDModelOffset && size >= kSDModelOffset + 1 + bytes[kSDModelOffset];
  if (ok) std::memcpy(model, bytes + kSDModelOffset, size_t(bytes[kSDModelOffset]) + 1);
  ReleaseResource(h);
  return ok;
}

bool SDResolveAlias(short id, FSSpec* target) {
  SiteDefaultsFile file;
  if (!file.isOpen()) return false;
  Handle model = Get1Resource(kSDModelResType, kSDModelResID);
  if (!model) return false;
  ReleaseResource(model);
  Handle alias = Get1Resource(kSDAliasResType, id);
  if (!alias) return false;
  FSSpec resolved{};
  Boolean changed = false;
  ResolveAlias(nullptr, reinterpret_cast<AliasHandle>(alias), &resolved, &changed);
  *target = resolved;
  ReleaseResource(alias);
  return true;
}
