#include "output/formats/tiffRecognition.h"

#include <cstdint>

#include "toolbox/TIFFDirectory.h"

namespace {

bool ReadRational(const ByteReader& f, uint32_t offset, uint32_t* num, uint32_t* den) {
  if (!f.Has(offset, 8)) return false;
  *num = f.U32At(offset);
  *den = f.U32At(offset + 4);
  return *den != 0;
}

}  // namespace

uint64_t TIFFRowBytes(const tagIMAGEINFO& info) {
  const uint64_t w = info.ImageWidth;
  switch (info.Kind) {
    case kTIFFKindBilevel: return (w + 7) / 8;
    case kTIFFKindGray: return (w * info.BitsPerSample + 7) / 8;
    default: return 3 * w;
  }
}

namespace {

long Recognize(const unsigned char* file, unsigned long length, tagIMAGEINFO* info, bool paddedBilevelRows) {
  TIFFDirectory dir;
  if (!info || !TIFFReadFirstDirectory(file, length, &dir)) return 0;
  const ByteReader& f = dir.file;

  uint32_t stripOffsetsCount = 1, stripByteCountsCount = 1;
  for (const TIFFEntry& e : dir.entries) {
    const uint32_t count = e.count;
    const uint32_t value = e.value;
    const bool integral = e.type == kTIFFTypeShort || e.type == kTIFFTypeLong;
    switch (e.tag) {
      case 256: if (integral) info->ImageWidth = value; break;
      case 257: if (integral) info->ImageLength = value; break;
      case 258: info->BitsPerSample = value; break;
      case 259: info->Compression = value; break;
      case 262: info->PhotometricInterpretation = value; break;
      case 273:
        if (integral) {
          info->StripOffsets = value;
          stripOffsetsCount = count;
        }
        break;
      case 277: info->SamplesPerPixel = value; break;
      case 278: if (integral) info->RowsPerStrip = value; break;
      case 279:
        if (integral) {
          info->StripByteCounts = value;
          stripByteCountsCount = count;
        }
        break;
      case 282:
        if (!ReadRational(f, e.offset, &info->XResolutionNumerator, &info->XResolutionDenominator)) return 0;
        break;
      case 283:
        if (!ReadRational(f, e.offset, &info->YResolutionNumerator, &info->YResolutionDenominator)) return 0;
        break;
      case 284: info->PlanarConfiguration = value; break;
      case 296: info->ResolutionUnit = value; break;
      case 317: info->Predictor = value; break;
      case 320: info->ColorMap = value; break;
      default: break;
    }
  }

  if (info->SamplesPerPixel == 1 && info->BitsPerSample == 1)
    info->Kind = kTIFFKindBilevel;
  else if (info->SamplesPerPixel == 1)
    info->Kind = kTIFFKindGray;
  else
    info->Kind = kTIFFKindColor;

  // The callers take ImageLength rows from the one strip: it must be there, whole.
  if (stripOffsetsCount != 1 || stripByteCountsCount != 1) return 0;
  if (info->ImageWidth == 0 || info->ImageLength == 0) return 0;
  // Below 2^32 bytes a row, the product cannot wrap round to a small strip.
  const uint64_t rowBytes = TIFFRowBytes(*info);
  if (rowBytes > UINT32_MAX) return 0;
  const uint64_t stripRow = paddedBilevelRows ? TIFFStripRowBytes(*info) : rowBytes;
  if (stripRow < rowBytes || info->StripByteCounts != stripRow * info->ImageLength) return 0;
  if (!f.Has(info->StripOffsets, info->StripByteCounts)) return 0;
  return 1;
}

}  // namespace

uint64_t TIFFStripRowBytes(const tagIMAGEINFO& info) {
  if (info.Kind == kTIFFKindBilevel && info.ImageLength != 0) return info.StripByteCounts / info.ImageLength;
  return TIFFRowBytes(info);
}

long Recognition_TIFF(const unsigned char* file, unsigned long length, tagIMAGEINFO* info) {
  return Recognize(file, length, info, false);
}

long Recognition_TIFF_PaddedRows(const unsigned char* file, unsigned long length, tagIMAGEINFO* info) {
  return Recognize(file, length, info, true);
}
