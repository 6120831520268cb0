#include "output/formats/InitMakeTIFF.h"

#include <array>

#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/RecordAccess.h"

namespace {

enum : uint16_t { kShort = 3, kLong = 4, kRational = 5 };
constexpr size_t kEntries = 15;
constexpr size_t kNextIFD = 10 + 12 * kEntries;
constexpr size_t kXRes = kNextIFD + 4;
constexpr size_t kYRes = kXRes + 8;
constexpr size_t kBitsArray = kYRes + 8;
static_assert(kNextIFD == 190 && kXRes == 194 && kYRes == 202 && kBitsArray == 210);

void PutEntry(const RecordBytes& r, size_t index, uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
  const size_t off = 10 + 12 * index;
  r.setU16(off, tag);
  r.setU16(off + 2, type);
  r.setU32(off + 4, count);
  if (type == kShort && count == 1) {
    r.setU16(off + 8, static_cast<uint16_t>(value));
    r.setU16(off + 10, 0);
  } else {
    r.setU32(off + 8, value);
  }
}

}  // namespace

uint32_t InitMakeTIFFHeaderSize(uint32_t kind) { return kind == kTIFFKindColor ? kBitsArray + 6 : kBitsArray; }

OSErr Init_Make_TIFF(short file, const tagIMAGEINFO* info) {
  if (!info || info->Kind > kTIFFKindColor) return paramErr;
  const bool color = info->Kind == kTIFFKindColor;
  const bool gray = info->Kind == kTIFFKindGray;
  const uint32_t size = InitMakeTIFFHeaderSize(info->Kind);
  uint32_t photometric = info->PhotometricInterpretation;
  if (gray && photometric == 3) photometric = 1;

  std::array<uint8_t, kBitsArray + 6> bytes{};
  const RecordBytes r(bytes.data(), size);
  r.setBytes(0, "MM", 2);
  r.setU16(2, 42);
  r.setU32(4, 8);
  r.setU16(8, kEntries);
  PutEntry(r, 0, 254, kLong, 1, 0);
  PutEntry(r, 1, 256, kLong, 1, info->ImageWidth);
  PutEntry(r, 2, 257, kLong, 1, info->ImageLength);
  PutEntry(r, 3, 258, kShort, color ? 3 : 1, color ? kBitsArray : (gray ? 8 : 1));
  PutEntry(r, 4, 259, kShort, 1, 1);
  PutEntry(r, 5, 262, kShort, 1, photometric);
  PutEntry(r, 6, 273, kLong, 1, size);
  PutEntry(r, 7, 277, kShort, 1, color ? 3 : 1);
  PutEntry(r, 8, 278, kLong, 1, info->ImageLength);
  PutEntry(r, 9, 279, kLong, 1, info->StripByteCounts);
  PutEntry(r, 10, 282, kRational, 1, kXRes);
  PutEntry(r, 11, 283, kRational, 1, kYRes);
  PutEntry(r, 12, 284, kShort, 1, 1);
  PutEntry(r, 13, 296, kShort, 1, 2);
  PutEntry(r, 14, 317, kShort, 1, 1);
  r.setU32(kNextIFD, 0);
  r.setU32(kXRes, info->XResolutionNumerator);
  r.setU32(kXRes + 4, info->XResolutionDenominator);
  r.setU32(kYRes, info->YResolutionNumerator);
  r.setU32(kYRes + 4, info->YResolutionDenominator);
  if (color)
    for (size_t i = 0; i < 3; ++i) r.setU16(kBitsArray + 2 * i, 8);

  long count = size;
  OSErr err = FSWrite(file, &count, bytes.data());
  if (err == noErr && count != long(size)) err = ioErr;
  return err;
}
