#include "paginor/PageCorrection.h"

#include <tesseract/baseapi.h>

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

tesseract::TessBaseAPI* OrientationDetector() {
  static std::unique_ptr<tesseract::TessBaseAPI> detector;
  if (detector) return detector.get();
  auto api = std::make_unique<tesseract::TessBaseAPI>();
  if (api->Init(nullptr, "osd", tesseract::OEM_TESSERACT_ONLY) != 0) return nullptr;
  api->SetVariable("debug_file", "/dev/null");
  api->SetPageSegMode(tesseract::PSM_OSD_ONLY);
  detector = std::move(api);
  return detector.get();
}

OSErr DetectOrientation(PIX* binary, SInt32* orientation) {
  *orientation = 0;
  tesseract::TessBaseAPI* api = OrientationDetector();
  if (!api) return kPaginorLanguageDataErr;
  api->SetImage(binary);
  int degrees = 0;
  float confidence = 0;
  const char* script = nullptr;
  float scriptConfidence = 0;
  if (api->DetectOrientationScript(&degrees, &confidence, &script, &scriptConfidence) &&
      confidence >= kMinOrientationConfidence)
    *orientation = SInt32((360 - ((degrees % 360) + 360) % 360 / 90 * 90) % 360);
  api->Clear();
  return noErr;
}

OSErr DetectSkew(PIX* binary, double* skew) {
  *skew = 0.0;
  l_float32 angle = 0, confidence = 0;
  if (pixFindSkew(binary, &angle, &confidence) == 0 && confidence >= kMinSkewConfidence) *skew = angle;
  return noErr;
}

OSErr DetectPage(PIX* pix, SInt32* orientation, double* skew) {
  // Both detectors run on one binarised copy.
  PixPtr binary(pixConvertTo1(pix, kBlackBelow));
  if (!binary) return memFullErr;
  SInt32 turn = 0;
  if (orientation) {
    const OSErr err = DetectOrientation(binary.get(), &turn);
    if (err != noErr) return err;
    *orientation = turn;
  }
  if (!skew) return noErr;
  if (turn == 0) return DetectSkew(binary.get(), skew);
  PixPtr upright(pixRotateOrth(binary.get(), turn / 90));
  return upright ? DetectSkew(upright.get(), skew) : OSErr(memFullErr);
}

PixPtr CorrectPix(PIX* pix, SInt32 orientation, double skew) {
  PixPtr turned(pixRotateOrth(pix, ((orientation / 90) % 4 + 4) % 4));
  if (!turned || skew == 0.0) return turned;
  // Bilevel pages keep crisp edges by shearing; Leptonica samples beyond the shear's range.
  const l_int32 method = pixGetDepth(pix) != 1        ? L_ROTATE_AREA_MAP
                         : std::fabs(skew) < kMaxShear ? L_ROTATE_SHEAR
                                                       : L_ROTATE_SAMPLING;
  return PixPtr(pixRotate(turned.get(), float(skew * M_PI / 180.0), method, L_BRING_IN_WHITE, 0, 0));
}
