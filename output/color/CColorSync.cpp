#include "output/color/CColorSync.h"

#include <cstring>

#include "colorsync/ColorSyncFolder.h"
#include "colorsync/DisplayProfile.h"
#include "quickdraw/QDOffscreen.h"
#include "toolbox/Folders.h"
#include "toolbox/MacErrors.h"

namespace {

OSErr OpenFileProfile(const FSSpec& spec, CMProfileRef* profile) {
  CMProfileLocation location{};
  location.locType = cmFileBasedProfile;
  location.u.fileLoc.spec = spec;
  return CMOpenProfile(profile, &location);
}

struct ProfileSearch {
  ConstStringPtr name;
  FSSpec found;
};

OSErr ProfileIterate(CMProfileIterateData* data, void* refCon) {
  if (data->location.locType != cmFileBasedProfile) return noErr;
  ProfileSearch* search = static_cast<ProfileSearch*>(refCon);
  const FSSpec& spec = data->location.u.fileLoc.spec;
  if (spec.name[0] != search->name[0] || std::memcmp(spec.name + 1, search->name + 1, spec.name[0]) != 0)
    return noErr;
  search->found = spec;
  return cmIterateStop;
}

OSErr ColorSyncFolder(SInt16 domain, short& vRefNum, long& dirID) {
  SInt16 v = 0;
  SInt32 d = 0;
  const OSErr err = FindFolder(domain, kColorSyncProfilesFolderType, false, &v, &d);
  if (err == noErr) vRefNum = v, dirID = d;
  return err;
}

}  // namespace

CColorSync::CColorSync(const FSSpec& source, const FSSpec& destination) {
  OpenSourceProfile(source);
  OpenDestinationProfile(destination);
}

CColorSync::CColorSync(const FSSpec& source, CMProfileRef destination) : mDestination(destination) {
  OpenSourceProfile(source);
}

CColorSync::CColorSync(CMProfileRef source, const FSSpec& destination) : mSource(source) {
  OpenDestinationProfile(destination);
}

CColorSync::CColorSync(CMProfileRef source, CMProfileRef destination) : mSource(source), mDestination(destination) {}

CColorSync::~CColorSync() {
  if (mDrawMatch) CMEndMatching(mDrawMatch);
  CWDisposeColorWorld(mWorld);
  if (mSource) CMCloseProfile(mSource);
  if (mDestination) CMCloseProfile(mDestination);
}

void CColorSync::ReplaceProfile(CMProfileRef* slot, CMProfileRef profile) {
  // The world was made from the old profile.
  CWDisposeColorWorld(mWorld);
  mWorld = nullptr;
  if (*slot) CMCloseProfile(*slot);
  *slot = profile;
}

OSErr CColorSync::OpenSourceProfile(const FSSpec& spec) {
  CMProfileRef profile = nullptr;
  const OSErr err = OpenFileProfile(spec, &profile);
  ReplaceProfile(&mSource, profile);
  return err;
}

OSErr CColorSync::OpenDestinationProfile(const FSSpec& spec) {
  CMProfileRef profile = nullptr;
  const OSErr err = OpenFileProfile(spec, &profile);
  ReplaceProfile(&mDestination, profile);
  return err;
}

void CColorSync::SetSourceProfileRef(CMProfileRef profile) { ReplaceProfile(&mSource, profile); }
void CColorSync::SetDestinationProfileRef(CMProfileRef profile) { ReplaceProfile(&mDestination, profile); }

void CColorSync::SetDestinationForMainDisplay() {
  CMProfileRef profile = nullptr;
  GetProfileForMainDisplay(&profile);
  ReplaceProfile(&mDestination, profile);
}

OSErr CColorSync::GetProfileForMainDisplay(CMProfileRef* profile) {
  *profile = nullptr;
  DisplayIDType display = 0;
  const OSErr err = DMGetDisplayIDByGDevice(GetMainDevice(), &display, true);
  return err != noErr ? err : CMGetProfileByAVID(display, profile);
}

Boolean CColorSync::FindProfile(LStr255 name, FSSpec& spec) {
  ProfileSearch search{static_cast<ConstStringPtr>(name), {}};
  const bool found = CMIterateColorSyncFolder(ProfileIterate, nullptr, nullptr, &search) == cmIterateStop;
  spec = found ? search.found : FSSpec{};
  return found;
}

OSErr CColorSync::GetSystemDomainColorSyncFolder(short& vRefNum, long& dirID) {
  return ColorSyncFolder(kSystemDomain, vRefNum, dirID);
}

OSErr CColorSync::GetLocalDomainColorSyncFolder(short& vRefNum, long& dirID) {
  return ColorSyncFolder(kLocalDomain, vRefNum, dirID);
}

OSErr CColorSync::ColorMatchForPixel(char* row, long width, long rows) {
  CMBitmap bitmap{row, width, rows, width * 3, 24, cmRGB24Space, 0, 0};
  return ColorMatchForPixelInternal(&bitmap);
}

OSErr CColorSync::MakeWorld() {
  if (!HasProfiles()) return cmProfileError;
  return mWorld ? OSErr(noErr) : NCWNewColorWorld(&mWorld, mSource, mDestination);
}

OSErr CColorSync::ColorMatchForPixelInternal(CMBitmap* bitmap) {
  const OSErr err = MakeWorld();
  return err != noErr ? err : CWMatchBitmap(mWorld, bitmap, nullptr, nullptr, nullptr);
}

OSErr CColorSync::ColorMatchForPixMap(PixMap* pixMap) {
  const OSErr err = MakeWorld();
  return err != noErr ? err : CWMatchPixMap(mWorld, pixMap, nullptr, nullptr);
}

void CColorSync::ColorMatchBeginForDraw() {
  if (!HasProfiles() || mDrawMatch) return;
  NCMBeginMatching(mSource, mDestination, &mDrawMatch);
}

void CColorSync::ColorMatchEndForDraw() {
  if (!mDrawMatch) return;
  CMEndMatching(mDrawMatch);
  mDrawMatch = nullptr;
}
