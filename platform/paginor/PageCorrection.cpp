#include "paginor/PageCorrection.h"

#include <cmath>
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

OSErr DetectPage(PIX* pix, SInt32* orientation, double* skew) {
  // Both detectors run on one binarised copy.
  const LeptonicaCalls& lept = Leptonica();
  PixPtr binary(lept.pixConvertTo1(pix, kBlackBelow));
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
