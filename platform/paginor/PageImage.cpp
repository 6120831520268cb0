#include "paginor/PageImage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "toolbox/MacErrors.h"

namespace {

// Leptonica keeps rows as native 32-bit words with the first pixel in the high byte, so a
// byte copy of a row needs the words swapped on little-endian machines.
void CopyRowsIn(const LeptonicaCalls& lept, const PATIMG& image, PIX* pix) {
  const SInt32 length = PageRowLength(image.type, image.width);
  auto* words = lept.pixGetData(pix);
  const l_int32 wpl = lept.pixGetWpl(pix);
  for (SInt32 y = 0; y < image.height; ++y)
    std::memcpy(words + size_t(y) * wpl, image.data + size_t(y) * image.rowBytes, size_t(length));
  lept.pixEndianByteSwap(pix);
}

// Leptonica's 32-bit pixel: red in the high byte, then green and blue.
l_uint32 ComposedPixel(UInt8 red, UInt8 green, UInt8 blue) {
  return l_uint32(red) << L_RED_SHIFT | l_uint32(green) << L_GREEN_SHIFT | l_uint32(blue) << L_BLUE_SHIFT;
}
UInt8 Channel(l_uint32 pixel, int shift) { return UInt8(pixel >> shift); }

}  // namespace

SInt32 PageRowLength(SInt32 type, SInt32 width) {
  switch (type) {
    case kPATIMGBilevel: return (width + 7) / 8;
    case kPATIMGGrey: return width;
    case kPATIMGColour: return width * 3;
    default: return 0;
  }
}

bool PageIsValid(const PATIMG* image) {
  if (!image || !image->data) return false;
  if (image->width <= 0 || image->height <= 0 || image->xResolution <= 0 || image->yResolution <= 0) return false;
  // Three bytes a pixel must still fit the 32-bit row bytes.
  if (image->width > 0x10000000) return false;
  const SInt32 length = PageRowLength(image->type, image->width);
  return length > 0 && image->rowBytes >= length;
}

PixPtr PageToPix(const PATIMG& image) {
  const l_int32 depth = image.type == kPATIMGBilevel ? 1 : image.type == kPATIMGGrey ? 8 : 32;
  const LeptonicaCalls& lept = Leptonica();
  PixPtr pix(lept.pixCreateNoInit(image.width, image.height, depth));
  if (!pix) return nullptr;
  lept.pixSetResolution(pix.get(), image.xResolution, image.yResolution);
  if (depth != 32) {
    CopyRowsIn(lept, image, pix.get());
    return pix;
  }
  auto* words = lept.pixGetData(pix.get());
  const l_int32 wpl = lept.pixGetWpl(pix.get());
  for (SInt32 y = 0; y < image.height; ++y) {
    const UInt8* in = image.data + size_t(y) * image.rowBytes;
    l_uint32* out = words + size_t(y) * wpl;
    for (SInt32 x = 0; x < image.width; ++x, in += 3) out[x] = ComposedPixel(in[2], in[1], in[0]);
  }
  return pix;
}

PixPtr PageToBinary(const PATIMG& image, l_int32 threshold) {
  constexpr SInt32 kBandRows = 64;
  const LeptonicaCalls& lept = Leptonica();
  PixPtr binary(lept.pixCreateNoInit(image.width, image.height, 1));
  if (!binary) return nullptr;
  lept.pixSetResolution(binary.get(), image.xResolution, image.yResolution);
  auto* words = lept.pixGetData(binary.get());
  const l_int32 wpl = lept.pixGetWpl(binary.get());
  for (SInt32 top = 0; top < image.height; top += kBandRows) {
    PATIMG band = image;
    band.data = image.data + size_t(top) * size_t(image.rowBytes);
    band.height = std::min(kBandRows, image.height - top);
    PixPtr pix = PageToPix(band);
    if (!pix) return nullptr;
    PixPtr bits(lept.pixConvertTo1(pix.get(), threshold));
    if (!bits) return nullptr;
    std::memcpy(words + size_t(top) * wpl, lept.pixGetData(bits.get()), sizeof *words * size_t(wpl) * band.height);
  }
  return binary;
}

OSErr PageFromPix(PIX* pix, SInt32 type, SInt32 xResolution, SInt32 yResolution, PATIMG* out) {
  const LeptonicaCalls& lept = Leptonica();
  const SInt32 width = lept.pixGetWidth(pix), height = lept.pixGetHeight(pix);
  const SInt32 length = PageRowLength(type, width);
  auto* data = static_cast<UInt8*>(std::malloc(size_t(length) * size_t(height)));
  if (!data) return memFullErr;
  const auto* words = lept.pixGetData(pix);
  const l_int32 wpl = lept.pixGetWpl(pix);
  for (SInt32 y = 0; y < height; ++y) {
    const l_uint32* row = words + size_t(y) * wpl;
    UInt8* dst = data + size_t(y) * length;
    if (type == kPATIMGColour) {
      for (SInt32 x = 0; x < width; ++x, dst += 3)
        dst[0] = Channel(row[x], L_BLUE_SHIFT), dst[1] = Channel(row[x], L_GREEN_SHIFT), dst[2] = Channel(row[x], L_RED_SHIFT);
      continue;
    }
    for (SInt32 i = 0; i < length; ++i) dst[i] = UInt8(row[i / 4] >> (24 - 8 * (i % 4)));
    // The bits past the last pixel are white.
    if (type == kPATIMGBilevel && width % 8) dst[length - 1] &= UInt8(0xFF << (8 - width % 8));
  }
  *out = PATIMG{data, length, width, height, xResolution, yResolution, type, 0, 0};
  return noErr;
}
