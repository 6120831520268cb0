#include "output/formats/tiffRecognition.h"

#include <cstdint>

#include "toolbox/RecordAccess.h"

namespace {

enum : uint16_t { kTypeShort = 3, kTypeLong = 4 };
constexpr size_t kEntrySize = 12;

struct TIFFView {
  const unsigned char* data;
  uint64_t length;
  bool little;

  bool has(uint64_t off, uint64_t n) const { return off <= length && n <= length - off; }
  uint16_t u16(uint64_t off) const { return little ? LEGetU16(data + off) : BEGetU16(data + off); }
  uint32_t u32(uint64_t off) const { return little ? LEGetU32(data + off) : BEGetU32(data + off); }
};

// The value field read by its type: a SHORT (one or two) from its first two bytes,
// anything else as the 32-bit field.
uint32_t FieldValue(const TIFFView& f, uint64_t entry, uint16_t type, uint32_t count) {
  if (type == kTypeShort && count <= 2) return f.u16(entry + 8);
  return f.u32(entry + 8);
}

bool ReadRational(const TIFFView& f, uint32_t offset, uint32_t* num, uint32_t* den) {
  if (!f.has(offset, 8)) return false;
  *num = f.u32(offset);
  *den = f.u32(offset + 4);
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

long Recognition_TIFF(const unsigned char* file, unsigned long length, tagIMAGEINFO* info) {
  if (!file || !info || length < 8) return 0;
  TIFFView f{file, length, file[0] == 'I'};
  const bool marked = (file[0] == 'I' && file[1] == 'I') || (file[0] == 'M' && file[1] == 'M');
  if (!marked || f.u16(2) != 42) return 0;

  const uint32_t dir = f.u32(4);
  if (!f.has(dir, 2)) return 0;
  const uint16_t entries = f.u16(dir);
  if (!f.has(uint64_t(dir) + 2, uint64_t(entries) * kEntrySize)) return 0;

  uint32_t stripOffsetsCount = 1, stripByteCountsCount = 1;
  for (uint32_t i = 0; i < entries; ++i) {
    const uint64_t e = uint64_t(dir) + 2 + uint64_t(i) * kEntrySize;
    const uint16_t tag = f.u16(e);
    const uint16_t type = f.u16(e + 2);
    const uint32_t count = f.u32(e + 4);
    const uint32_t value = FieldValue(f, e, type, count);
    const bool integral = type == kTypeShort || type == kTypeLong;
    switch (tag) {
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
        if (!ReadRational(f, f.u32(e + 8), &info->XResolutionNumerator, &info->XResolutionDenominator)) return 0;
        break;
      case 283:
        if (!ReadRational(f, f.u32(e + 8), &info->YResolutionNumerator, &info->YResolutionDenominator)) return 0;
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
  if (rowBytes > UINT32_MAX || info->StripByteCounts != rowBytes * info->ImageLength) return 0;
  if (!f.has(info->StripOffsets, info->StripByteCounts)) return 0;
  return 1;
}
