#include "paginor/PageEncoding.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "paginor/PageImage.h"
#include "toolbox/MacErrors.h"

namespace {

struct FreeDeleter {
  void operator()(UInt8* bytes) const { std::free(bytes); }
};

// The rows without their padding, for Flate; colour turned from B, G, R into R, G, B.
std::vector<UInt8> PackedRows(const PATIMG& image) {
  const size_t length = size_t(PageRowLength(image.type, image.width));
  std::vector<UInt8> rows(length * size_t(image.height));
  for (SInt32 y = 0; y < image.height; ++y) {
    const UInt8* in = image.data + size_t(y) * size_t(image.rowBytes);
    UInt8* out = rows.data() + size_t(y) * length;
    if (image.type != kPATIMGColour) {
      std::memcpy(out, in, length);
      continue;
    }
    for (size_t x = 0; x < length; x += 3) out[x] = in[x + 2], out[x + 1] = in[x + 1], out[x + 2] = in[x];
  }
  if (image.type == kPATIMGBilevel && image.width % 8)
    for (SInt32 y = 0; y < image.height; ++y) rows[(y + 1) * length - 1] &= UInt8(0xFF << (8 - image.width % 8));
  return rows;
}

}  // namespace

SInt32 PageJPEGQuality(SInt32 mode) {
  switch (mode) {
    case kPaginorModeHighCompression: return 40;
    case kPaginorModeSmallPage: return 90;
    default: return 85;
  }
}

OSErr EncodePage(const PATIMG& image, SInt32 mode, PaginorJPEGEncoderProc encoder, PDFImage* out) {
  *out = PDFImage{image.width, image.height, image.type == kPATIMGColour, image.type == kPATIMGBilevel, false, {}, false};
  if (image.type == kPATIMGBilevel || !encoder) {
    const std::vector<UInt8> rows = PackedRows(image);
    out->stream = PDFDeflate(rows.data(), rows.size());
    return noErr;
  }

  // The encoder reads the page's own rows, in the page's order.
  const SInt32 components = image.type == kPATIMGColour ? 3 : 1;
  UInt8* jpeg = nullptr;
  size_t length = 0;
  const OSErr err = encoder(image.data, image.width, image.height, image.rowBytes, components, PageJPEGQuality(mode),
                            &jpeg, &length);
  std::unique_ptr<UInt8, FreeDeleter> owned(jpeg);
  if (err != noErr) return err;
  if (!jpeg || length == 0) return kPaginorEngineErr;
  out->dct = true;
  out->stream.assign(jpeg, jpeg + length);
  return noErr;
}
