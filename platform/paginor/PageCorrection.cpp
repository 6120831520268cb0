#include "paginor/PageCorrection.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "toolbox/MacErrors.h"

namespace {

// Threshold of the binarised copy the detectors run on.
constexpr l_int32 kBlackBelow = 128;
// Below this confidence Tesseract's orientation is a guess (a photograph, a few words).
constexpr float kMinOrientationConfidence = 2.0f;
// Below this score Leptonica's skew is noise rather than lines of text.
constexpr l_float32 kMinSkewConfidence = 3.0f;
// Leptonica shears bilevel pages only up to about this angle in degrees.
constexpr double kMaxShear = 3.4;
// Leptonica leaves a page as it is below this turn in radians.
constexpr float kMinRotation = 0.001f;

// One channel of Leptonica's area mapping: the four neighbours weighted in sixteenths;
// `step` bytes from a pixel to the next.
UInt8 Blend(const UInt8* top, const UInt8* bottom, int step, l_int32 xf, l_int32 yf) {
  return UInt8(((16 - xf) * (16 - yf) * top[0] + xf * (16 - yf) * top[step] + (16 - xf) * yf * bottom[0] +
                xf * yf * bottom[step] + 128) /
               256);
}

}  // namespace

TessBaseAPI* OrientationDetector() {
  // The engine's table first, so that it outlives the detector at exit.
  const TesseractCalls& tess = Tesseract();
  static TessPtr detector;
  if (detector) return detector.get();
  TessPtr api(tess.TessBaseAPICreate());
  if (tess.TessBaseAPIInit2(api.get(), nullptr, "osd", tesseract::OEM_TESSERACT_ONLY) != 0) return nullptr;
  tess.TessBaseAPISetVariable(api.get(), "debug_file", "/dev/null");
  tess.TessBaseAPISetPageSegMode(api.get(), tesseract::PSM_OSD_ONLY);
  detector = std::move(api);
  return detector.get();
}

OSErr DetectOrientation(PIX* binary, SInt32* orientation) {
  *orientation = 0;
  TessBaseAPI* api = OrientationDetector();
  if (!api) return kPaginorLanguageDataErr;
  const TesseractCalls& tess = Tesseract();
  tess.TessBaseAPISetImage2(api, binary);
  int degrees = 0;
  float confidence = 0;
  const char* script = nullptr;
  float scriptConfidence = 0;
  if (tess.TessBaseAPIDetectOrientationScript(api, &degrees, &confidence, &script, &scriptConfidence) &&
      confidence >= kMinOrientationConfidence)
    *orientation = SInt32((360 - ((degrees % 360) + 360) % 360 / 90 * 90) % 360);
  tess.TessBaseAPIClear(api);
  return noErr;
}

OSErr DetectSkew(PIX* binary, double* skew) {
  *skew = 0.0;
  l_float32 angle = 0, confidence = 0;
  if (Leptonica().pixFindSkew(binary, &angle, &confidence) == 0 && confidence >= kMinSkewConfidence) *skew = angle;
  return noErr;
}

OSErr DetectPage(const PATIMG& page, SInt32* orientation, double* skew) {
  // Both detectors run on one binarised copy.
  const LeptonicaCalls& lept = Leptonica();
  PixPtr binary = PageToBinary(page, kBlackBelow);
  if (!binary) return memFullErr;
  SInt32 turn = 0;
  if (orientation) {
    const OSErr err = DetectOrientation(binary.get(), &turn);
    if (err != noErr) return err;
    *orientation = turn;
  }
  if (!skew) return noErr;
  if (turn == 0) return DetectSkew(binary.get(), skew);
  PixPtr upright(lept.pixRotateOrth(binary.get(), turn / 90));
  return upright ? DetectSkew(upright.get(), skew) : OSErr(memFullErr);
}

PixPtr CorrectPix(PIX* pix, SInt32 orientation, double skew) {
  const LeptonicaCalls& lept = Leptonica();
  PixPtr turned(lept.pixRotateOrth(pix, ((orientation / 90) % 4 + 4) % 4));
  if (!turned || skew == 0.0) return turned;
  // Bilevel pages keep crisp edges by shearing; Leptonica samples beyond the shear's range.
  const l_int32 method = lept.pixGetDepth(pix) != 1        ? L_ROTATE_AREA_MAP
                         : std::fabs(skew) < kMaxShear ? L_ROTATE_SHEAR
                                                       : L_ROTATE_SAMPLING;
  return PixPtr(lept.pixRotate(turned.get(), float(skew * M_PI / 180.0), method, L_BRING_IN_WHITE, 0, 0));
}

OSErr SkewPage(const PATIMG& page, double skew, PATIMG* out) {
  const SInt32 width = page.width, height = page.height, length = PageRowLength(page.type, width);
  const int channels = page.type == kPATIMGColour ? 3 : 1;
  auto* data = static_cast<UInt8*>(std::malloc(size_t(length) * size_t(height)));
  if (!data) return memFullErr;
  *out = PATIMG{data, length, width, height, page.xResolution, page.yResolution, page.type, 0, 0};
  const float angle = float(skew * M_PI / 180.0);
  if (std::fabs(angle) < kMinRotation) {
    for (SInt32 y = 0; y < height; ++y)
      std::memcpy(data + size_t(y) * length, page.data + size_t(y) * page.rowBytes, size_t(length));
    return noErr;
  }
  // Leptonica's arithmetic to the bit: single-precision products of sixteenths, truncated.
  const float sine = float(16.0 * std::sin(double(angle))), cosine = float(16.0 * std::cos(double(angle)));
  const l_int32 xcen = width / 2, ycen = height / 2;
  for (l_int32 i = 0; i < height; ++i) {
    const l_int32 ydif = ycen - i;
    UInt8* dst = data + size_t(i) * length;
    for (l_int32 j = 0; j < width; ++j, dst += channels) {
      const l_int32 xdif = xcen - j;
      const auto xpm = l_int32(float(-xdif) * cosine - float(ydif) * sine);
      const auto ypm = l_int32(float(-ydif) * cosine + float(xdif) * sine);
      const l_int32 xp = xcen + (xpm >> 4), yp = ycen + (ypm >> 4);
      if (xp < 0 || yp < 0 || xp > width - 2 || yp > height - 2) {
        std::memset(dst, 255, size_t(channels));
        continue;
      }
      const UInt8* top = page.data + size_t(yp) * page.rowBytes + size_t(xp) * channels;
      const UInt8* bottom = top + page.rowBytes;
      for (int c = 0; c < channels; ++c) dst[c] = Blend(top + c, bottom + c, channels, xpm & 15, ypm & 15);
    }
  }
  return noErr;
}
