#include "output/glue/FrameworkJPEGEncoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "jpeg/jpgWCore.h"
#include "toolbox/MacErrors.h"

namespace {

// Strips of whole MCU rows (16 lines with the default sampling), read where they lie: the
// pixels come in the encoder's own order.
constexpr SInt32 kStripLines = 16;

int32_t Encode(void* context, const UInt8* pixels, SInt32 width, SInt32 height, SInt32 rowBytes, SInt32 components,
               SInt32 quality) {
  int32_t status = jpgWriteSetQuantizationFactor(context, quality);
  if (status == 0) status = jpgWriteSetNumberOfChannels(context, components);
  if (status == 0) status = jpgWriteSetImageSize(context, width, height);
  for (SInt32 row = 0; status == 0 && row < height; row += kStripLines) {
    const SInt32 lines = std::min(kStripLines, height - row);
    _complibImageRect rect{width, lines, rowBytes, 8 * components, components, 8,
                           const_cast<UInt8*>(pixels + static_cast<size_t>(row) * rowBytes)};
    status = jpgWriteFromRect(context, &rect, lines);
  }
  return status;
}

}  // namespace

OSErr FrameworkJPEGEncoder(const UInt8* pixels, SInt32 width, SInt32 height, SInt32 rowBytes, SInt32 components,
                           SInt32 quality, UInt8** jpeg, size_t* length) {
  *jpeg = nullptr;
  *length = 0;
  if ((components != 1 && components != 3) || width <= 0 || height <= 0) return paramErr;
  void* context = nullptr;
  if (jpgWritePrologToMemory(0, &context) != 0) return memFullErr;
  const int32_t status = Encode(context, pixels, width, height, rowBytes, components, std::clamp(quality, 1, 100));
  void* data = nullptr;
  int64_t size = 0;
  // The epilog frees the context whatever happened.
  const int32_t finished = jpgWriteEpilogToMemory(context, &data, &size);
  if (status != 0 || finished != 0 || !data) {
    if (data) jpgWriteFreeBitstream(data);
    return ioErr;
  }
  *jpeg = static_cast<UInt8*>(std::malloc(static_cast<size_t>(size)));
  if (*jpeg) std::memcpy(*jpeg, data, static_cast<size_t>(size));
  jpgWriteFreeBitstream(data);
  if (!*jpeg) return memFullErr;
  *length = static_cast<size_t>(size);
  return noErr;
}
