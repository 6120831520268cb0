#include "output/formats/jpgFileSetup.h"

#include <cstdio>
#include <cstring>

#include "jpeg/jpgWCore.h"
#include "jpeg/jpgWMac.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/RecordAccess.h"

namespace {

// JFIF APP0 body.
constexpr size_t kJfifIdentifier = 0;  // "JFIF" and a zero byte
constexpr size_t kJfifVersion = 5;     // major, minor
constexpr size_t kJfifUnits = 7;       // 1: dots per inch
constexpr size_t kJfifXDensity = 8;
constexpr size_t kJfifYDensity = 10;
constexpr size_t kJfifThumbWidth = 12;
constexpr size_t kJfifThumbHeight = 13;
static_assert(kJfifThumbHeight + 1 == kJfifBodySize);

constexpr long kDefaultQuality = 90;
constexpr long kDefaultSampling = 0x221111;
constexpr int32_t kOutputNotCreated = static_cast<int32_t>(0xC0000301);

// The remaining settings and the image size on an open encoder; closes it on failure.
long configure(void* ctx, const _complibImageRect* image, int channels, int quality, long subsampling,
               unsigned int restartInterval) {
  int32_t status = 0;
  if (quality != kDefaultQuality) status = jpgWriteSetQuantizationFactor(ctx, quality);
  if (!status && subsampling != kDefaultSampling)
    status = jpgWriteSetSubsamplingFactor(ctx, static_cast<uint32_t>(subsampling));
  if (!status && channels != 0) status = jpgWriteSetNumberOfChannels(ctx, channels);
  if (!status && restartInterval != 0) {
    status = jpgWriteSetRestartInterval(ctx, restartInterval);
    if (status) std::printf("ERROR: jpgWriteSetRestartInterval () failed. [%08X]\n", static_cast<unsigned>(status));
  }
  if (status) {
    jpgWriteEpilogToFile(ctx);
    return status;
  }
  if (jpgWriteSetImageSize(ctx, image->width, image->height) != 0) {
    jpgWriteEpilogToFile(ctx);
    return 1;
  }
  return 0;
}

int32_t writeComment(void* ctx, const char* comment) {
  if (!comment || !comment[0]) return 0;
  return jpgWriteWriteMarkerSegment(ctx, 0xFFFE, comment, static_cast<int32_t>(std::strlen(comment)));
}

}  // namespace

void MakeJfifBody(long resolution, uint8_t body[kJfifBodySize]) {
  RecordBytes r(body, kJfifBodySize);
  r.setBytes(kJfifIdentifier, "JFIF", 5);
  r.setU8(kJfifVersion, 1);
  r.setU8(kJfifVersion + 1, 1);
  r.setU8(kJfifUnits, 1);
  // Only the high byte is clamped: 70,000 dpi records as 255 and the low byte of the value.
  long high = resolution / 256;
  auto densityHigh = static_cast<uint8_t>(high > 255 ? 255 : high);
  auto densityLow = static_cast<uint8_t>(resolution % 256);
  for (size_t off : {kJfifXDensity, kJfifYDensity}) {
    r.setU8(off, densityHigh);
    r.setU8(off + 1, densityLow);
  }
  r.setU8(kJfifThumbWidth, 0);
  r.setU8(kJfifThumbHeight, 0);
}

long SettingForEncodeJpeg(_complibImageRect* image, FSSpec* file, int channels, int quality, long subsampling,
                          unsigned int restartInterval, char* comment, void** context, long resolution) {
  if (!image || !file || !context) return kJpgBadContext;
  *context = nullptr;
  uint8_t app0[kJfifBodySize];
  MakeJfifBody(resolution, app0);

  // The file's folder and real name, learnt from the file itself.
  OSErr err = FSpCreate(file, 'QlWX', 'prvw', smSystemScript);
  FSRef fileRef, parentRef;
  HFSUniStr255 name;
  if ((err != noErr && err != dupFNErr) || FSpMakeFSRef(file, &fileRef) != noErr ||
      FSGetCatalogInfo(&fileRef, kFSCatInfoNone, nullptr, &name, nullptr, &parentRef) != noErr) {
    if (err == noErr) FSpDelete(file);
    return kOutputNotCreated;
  }
  FSpDelete(file);

  void* ctx = nullptr;
  int32_t status = jpgWritePrologToMacOSFile(&parentRef, &name, 'prvw', 'JPEG', 0, &ctx);
  if (status) return status;
  status = writeComment(ctx, comment);
  if (!status) status = jpgWriteWriteMarkerSegment(ctx, 0xFFE0, app0, kJfifBodySize);
  if (status) {
    jpgWriteEpilogToFile(ctx);
    return status;
  }
  if (long result = configure(ctx, image, channels, quality, subsampling, restartInterval)) return result;
  *context = ctx;
  return 0;
}

long EncodeJpegFromComplibImageRect(_complibImageRect* image, FSSpec* file, int channels, int quality,
                                    long subsampling, unsigned int restartInterval, char* comment) {
  if (!image || !file || !image->data) return kJpgBadContext;
  void* ctx = nullptr;
  int32_t status = jpgWritePrologToFile(file, '8BIM', 'JPEG', 0, &ctx);
  if (status) return status;
  status = writeComment(ctx, comment);
  if (status) {
    jpgWriteEpilogToFile(ctx);
    return status;
  }
  if (long result = configure(ctx, image, channels, quality, subsampling, restartInterval)) return result;
  constexpr int32_t kStripLines = 256;
  _complibImageRect strip = *image;
  for (int32_t y = 0; y < image->height; y += kStripLines) {
    int32_t lines = image->height - y < kStripLines ? image->height - y : kStripLines;
    strip.data = image->data + static_cast<int64_t>(y) * image->rowBytes;
    if (jpgWriteFromRect(ctx, &strip, lines) != 0) {
      jpgWriteEpilogToFile(ctx);
      return 1;
    }
  }
  return jpgWriteEpilogToFile(ctx);
}
