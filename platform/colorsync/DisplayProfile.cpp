#include "colorsync/DisplayProfile.h"

#include <vector>

#include "display/Display.h"
#include "quickdraw/QDOffscreen.h"
#include "toolbox/MacErrors.h"

namespace {
constexpr DisplayIDType kMainDisplayID = 1;
}

OSErr DMGetDisplayIDByGDevice(GDHandle displayDevice, DisplayIDType* displayID, Boolean failToMain) {
  if (!displayID) return paramErr;
  if (displayDevice != GetMainDevice() && !failToMain) return kDMDisplayNotFoundErr;
  *displayID = kMainDisplayID;
  return noErr;
}

OSErr CMGetProfileByAVID(CMDisplayIDType theID, CMProfileRef* prof) {
  if (!prof) return paramErr;
  *prof = nullptr;
  if (theID != kMainDisplayID) return kDMDisplayNotFoundErr;
  std::vector<uint8_t> bytes;
  if (DpyScreenICCProfile(&bytes)) return CMOpenProfileFromBytes(bytes.data(), bytes.size(), prof);
  *prof = CMNewSRGBProfile();
  return *prof ? OSErr(noErr) : OSErr(cmProfileError);
}
