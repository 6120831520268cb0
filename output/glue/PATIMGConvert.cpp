#include "output/glue/PATIMGConvert.h"

#include <cstring>
#include <utility>

#include "toolbox/MacMemory.h"

namespace {

// R, G, B <-> B, G, R: the same swap both ways.
void SwapRedAndBlue(uint8_t* pixels, size_t count) {
  for (size_t i = 0; i < count; ++i) std::swap(pixels[3 * i], pixels[3 * i + 2]);
}

// A page whose TIFF names no resolution counts as 72 dpi, the format's own convention.
uint32_t Resolution(uint32_t numerator, uint32_t denominator) { return denominator ? numerator / denominator : 72; }

}  // namespace

long PATIMGRowLength(SInt32 type, SInt32 width) {
  switch (type) {
    case kPATIMGBilevel: return (static_cast<long>(width) + 7) / 8;
    case kPATIMGGrey: return width;
    case kPATIMGColour: return 3L * width;
    default: return 0;
  }
}

long FromTIFFToPATIMG(unsigned char* file, tagIMAGEINFO* info, PATIMG* out) {
  const size_t size = info->StripByteCounts;
  uint8_t* copy = reinterpret_cast<uint8_t*>(NewPtr(static_cast<Size>(size)));
  if (!copy) return 0;
  std::memcpy(copy, file + info->StripOffsets, size);
  SInt32 type = kPATIMGBilevel;
  if (info->Kind == kTIFFKindGray) {
    type = kPATIMGGrey;
    if (info->PhotometricInterpretation == 0) {
      for (size_t i = 0; i < size; ++i) copy[i] = static_cast<uint8_t>(~copy[i]);
      info->PhotometricInterpretation = 1;
    }
  } else if (info->Kind == kTIFFKindColor) {
    type = kPATIMGColour;
    SwapRedAndBlue(copy, size / 3);
  }
  const SInt32 width = static_cast<SInt32>(info->ImageWidth);
  *out = PATIMG{copy,
                static_cast<SInt32>(PATIMGRowLength(type, width)),
                width,
                static_cast<SInt32>(info->ImageLength),
                static_cast<SInt32>(Resolution(info->XResolutionNumerator, info->XResolutionDenominator)),
                static_cast<SInt32>(Resolution(info->YResolutionNumerator, info->YResolutionDenominator)),
                type,
                0,
                0};
  return 1;
}

long FromPATIMGToTIFF(PATIMG* img, unsigned char** outData, tagIMAGEINFO* info) {
  const long rowLength = PATIMGRowLength(img->type, img->width);
  const size_t size = static_cast<size_t>(rowLength) * img->height;
  uint8_t* copy = reinterpret_cast<uint8_t*>(NewPtr(static_cast<Size>(size)));
  if (!copy) return 0;
  for (SInt32 y = 0; y < img->height; ++y)
    std::memcpy(copy + static_cast<size_t>(y) * rowLength, img->data + static_cast<size_t>(y) * img->rowBytes,
                static_cast<size_t>(rowLength));
  if (img->type == kPATIMGColour) {
    SwapRedAndBlue(copy, size / 3);
    info->BitsPerSample = 8, info->SamplesPerPixel = 3, info->Kind = kTIFFKindColor;
  } else if (img->type == kPATIMGGrey) {
    info->BitsPerSample = 8, info->SamplesPerPixel = 1, info->Kind = kTIFFKindGray;
  } else {
    info->BitsPerSample = 1, info->SamplesPerPixel = 1, info->Kind = kTIFFKindBilevel;
  }
  info->ImageWidth = static_cast<uint32_t>(img->width);
  info->ImageLength = static_cast<uint32_t>(img->height);
  info->RowsPerStrip = info->ImageLength;
  info->StripByteCounts = static_cast<uint32_t>(size);
  // A quarter turn swaps the resolutions; an unchanged one keeps its exact fraction, one
  // that named none gets the one it was counted at.
  if (info->XResolutionDenominator == 0 || info->YResolutionDenominator == 0 ||
      Resolution(info->XResolutionNumerator, info->XResolutionDenominator) != static_cast<uint32_t>(img->xResolution) ||
      Resolution(info->YResolutionNumerator, info->YResolutionDenominator) != static_cast<uint32_t>(img->yResolution)) {
    info->XResolutionNumerator = static_cast<uint32_t>(img->xResolution), info->XResolutionDenominator = 1;
    info->YResolutionNumerator = static_cast<uint32_t>(img->yResolution), info->YResolutionDenominator = 1;
  }
  *outData = copy;
  return 1;
}

void FreePATIMGBuffer(PATIMG* img) {
  if (img->data) DisposePtr(reinterpret_cast<Ptr>(img->data));
  img->data = nullptr;
}

void FreeTiffBuffer(unsigned char* data) {
  if (data) DisposePtr(reinterpret_cast<Ptr>(data));
}
