// Profiles, colour worlds and matching over Little CMS 2.
#include "colorsync/ColorSync.h"

#include <lcms2.h>

#include <cstring>
#include <vector>

#include "quickdraw/QDOffscreen.h"
#include "toolbox/MacErrors.h"

struct OpaqueCMProfileRef {
  cmsHPROFILE profile;
};

struct OpaqueCMWorldRef {
  cmsHTRANSFORM transform;
};

struct OpaqueCMMatchRef {
  CMWorldRef world;
  PixMapHandle pixels;
  std::vector<uint8_t> before;  // the port's pixels when matching began
};

namespace {

CMProfileRef Wrap(cmsHPROFILE profile) { return profile ? new OpaqueCMProfileRef{profile} : nullptr; }

// Matches `count` pixels of one row in place: 3 bytes each (R, G, B), or 4 (0, R, G, B)
// with the first byte kept. The transform works on 16-bit samples: Little CMS's 8-bit
// shortcuts round dark samples of wide-gamut profiles to 0 where the exact value is 2.
void MatchRow(cmsHTRANSFORM transform, uint8_t* row, long count, int bytesPerPixel, std::vector<uint16_t>* rgb) {
  rgb->resize(static_cast<size_t>(count) * 3);
  uint16_t* samples = rgb->data();
  const int skip = bytesPerPixel - 3;
  for (long x = 0; x < count; ++x)
    for (int c = 0; c < 3; ++c) samples[3 * x + c] = static_cast<uint16_t>(row[bytesPerPixel * x + skip + c] * 257);
  cmsDoTransform(transform, samples, samples, static_cast<cmsUInt32Number>(count));
  for (long x = 0; x < count; ++x)
    for (int c = 0; c < 3; ++c)
      row[bytesPerPixel * x + skip + c] = static_cast<uint8_t>((samples[3 * x + c] * 255u + 32767u) / 65535u);
}

int BytesPerPixel(long pixelSize, UInt32 space) {
  if (pixelSize == 24 && space == cmRGB24Space) return 3;
  if (pixelSize == 32 && space == cmRGB32Space) return 4;
  return 0;
}

}  // namespace

OSErr CMOpenProfileFromBytes(const void* bytes, size_t size, CMProfileRef* prof) {
  *prof = nullptr;
  // Little CMS checks the 'acsp' signature and the tag table itself.
  cmsHPROFILE profile = cmsOpenProfileFromMem(bytes, static_cast<cmsUInt32Number>(size));
  if (!profile) return cmProfileError;
  *prof = Wrap(profile);
  return noErr;
}

CMProfileRef CMNewSRGBProfile() { return Wrap(cmsCreate_sRGBProfile()); }

OSErr CMGetDefaultProfileBySpace(OSType dataColorSpace, CMProfileRef* prof) {
  if (!prof) return paramErr;
  *prof = dataColorSpace == cmRGBData ? CMNewSRGBProfile() : nullptr;
  return *prof ? OSErr(noErr) : OSErr(paramErr);
}

OSErr CMOpenProfile(CMProfileRef* prof, const CMProfileLocation* theProfile) {
  if (!prof || !theProfile) return paramErr;
  *prof = nullptr;
  if (theProfile->locType != cmFileBasedProfile) return paramErr;
  std::vector<uint8_t> bytes;
  const OSErr err = FSpReadDataFork(&theProfile->u.fileLoc.spec, &bytes);
  if (err != noErr) return err;
  return CMOpenProfileFromBytes(bytes.data(), bytes.size(), prof);
}

OSErr CMCloseProfile(CMProfileRef prof) {
  if (!prof) return paramErr;
  cmsCloseProfile(prof->profile);
  delete prof;
  return noErr;
}

OSErr NCWNewColorWorld(CMWorldRef* cw, CMProfileRef src, CMProfileRef dst) {
  if (!cw) return paramErr;
  *cw = nullptr;
  if (!src || !dst) return paramErr;
  const cmsUInt32Number intent = cmsGetHeaderRenderingIntent(src->profile);
  cmsHTRANSFORM transform = cmsCreateTransform(src->profile, TYPE_RGB_16, dst->profile, TYPE_RGB_16, intent, 0);
  if (!transform) return cmMethodError;
  *cw = new OpaqueCMWorldRef{transform};
  return noErr;
}

void CWDisposeColorWorld(CMWorldRef cw) {
  if (!cw) return;
  cmsDeleteTransform(cw->transform);
  delete cw;
}

OSErr CWMatchBitmap(CMWorldRef cw, CMBitmap* bitmap, CMBitmapCallBackUPP, void*, CMBitmap* matchedBitmap) {
  if (!cw || !bitmap || !bitmap->image) return paramErr;
  const int bytesPerPixel = BytesPerPixel(bitmap->pixelSize, bitmap->space);
  if (bytesPerPixel == 0 || bitmap->width < 0 || bitmap->height < 0 ||
      bitmap->rowBytes < bitmap->width * bytesPerPixel)
    return cmRangeOverFlow;
  CMBitmap* out = matchedBitmap ? matchedBitmap : bitmap;
  if (out != bitmap &&
      (!out->image || out->width != bitmap->width || out->height != bitmap->height ||
       BytesPerPixel(out->pixelSize, out->space) != bytesPerPixel || out->rowBytes < bitmap->width * bytesPerPixel))
    return cmRangeOverFlow;
  std::vector<uint16_t> rgb;
  for (long y = 0; y < bitmap->height; ++y) {
    uint8_t* from = reinterpret_cast<uint8_t*>(bitmap->image) + y * bitmap->rowBytes;
    uint8_t* to = reinterpret_cast<uint8_t*>(out->image) + y * out->rowBytes;
    if (to != from) std::memcpy(to, from, static_cast<size_t>(bitmap->width) * bytesPerPixel);
    MatchRow(cw->transform, to, bitmap->width, bytesPerPixel, &rgb);
  }
  return noErr;
}

OSErr CWMatchPixMap(CMWorldRef cw, PixMap* myPixMap, CMBitmapCallBackUPP progressProc, void* refCon) {
  if (!cw || !myPixMap) return paramErr;
  if (myPixMap->pixelSize != 32) return cmRangeOverFlow;
  PixMapPtr pm = myPixMap;
  CMBitmap bitmap{GetPixBaseAddr(&pm),
                  myPixMap->bounds.right - myPixMap->bounds.left,
                  myPixMap->bounds.bottom - myPixMap->bounds.top,
                  GetPixRowBytes(&pm),
                  32,
                  cmRGB32Space,
                  0,
                  0};
  return CWMatchBitmap(cw, &bitmap, progressProc, refCon, nullptr);
}

OSErr NCMBeginMatching(CMProfileRef src, CMProfileRef dst, CMMatchRef* myRef) {
  if (!myRef) return paramErr;
  *myRef = nullptr;
  GrafPtr port = nullptr;
  GetPort(&port);
  PixMapHandle pixels = port ? GetPortPixMap(port) : nullptr;
  if (!pixels || GetPixDepth(pixels) != 32) return cmRangeOverFlow;
  CMWorldRef world = nullptr;
  const OSErr err = NCWNewColorWorld(&world, src, dst);
  if (err != noErr) return err;
  Rect bounds;
  GetPixBounds(pixels, &bounds);
  const size_t size = static_cast<size_t>(GetPixRowBytes(pixels)) * (bounds.bottom - bounds.top);
  const uint8_t* base = reinterpret_cast<const uint8_t*>(GetPixBaseAddr(pixels));
  *myRef = new OpaqueCMMatchRef{world, pixels, std::vector<uint8_t>(base, base + size)};
  return noErr;
}

void CMEndMatching(CMMatchRef myRef) {
  if (!myRef) return;
  Rect bounds;
  GetPixBounds(myRef->pixels, &bounds);
  const long width = bounds.right - bounds.left;
  const long rowBytes = GetPixRowBytes(myRef->pixels);
  uint8_t* base = reinterpret_cast<uint8_t*>(GetPixBaseAddr(myRef->pixels));
  std::vector<uint8_t> row(static_cast<size_t>(width) * 4);
  std::vector<uint16_t> rgb;
  for (long y = 0; y < bounds.bottom - bounds.top; ++y) {
    uint8_t* now = base + y * rowBytes;
    const uint8_t* before = myRef->before.data() + y * rowBytes;
    if (std::memcmp(now, before, row.size()) == 0) continue;
    std::memcpy(row.data(), now, row.size());
    MatchRow(myRef->world->transform, row.data(), width, 4, &rgb);
    for (long x = 0; x < width; ++x)
      if (std::memcmp(now + 4 * x, before + 4 * x, 4) != 0) std::memcpy(now + 4 * x, row.data() + 4 * x, 4);
  }
  CWDisposeColorWorld(myRef->world);
  delete myRef;
}
