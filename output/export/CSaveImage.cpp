#include "output/export/CSaveImage.h"

#include <cstring>
#include <vector>

#include "framework/LException.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"

namespace {

constexpr OSType kRawCreator = 'QlWX';
constexpr OSType kRawType = '????';

// A block of `bytes`, or null; sizes stay 64-bit all the way.
Handle NewBlock(uint64_t bytes) {
  if (bytes > uint64_t(INT64_MAX)) return nullptr;
  Handle h = NewHandle(static_cast<Size>(bytes));
  if (h) HLock(h);
  return h;
}

// Colour pages give three bits-per-sample values, kept outside the entry.
bool EightBitSamples(const tagIMAGEINFO& info, const unsigned char* file, unsigned long length) {
  if (info.BitsPerSample == 8) return true;
  const uint64_t at = info.BitsPerSample;
  if (at > length || length - at < 6) return false;
  const bool little = file[0] == 'I';
  for (int i = 0; i < 3; ++i) {
    const uint16_t bits = little ? LEGetU16(file + at + 2 * i) : BEGetU16(file + at + 2 * i);
    if (bits != 8) return false;
  }
  return true;
}

}  // namespace

CSaveImage::~CSaveImage() { FreeImage(); }

void CSaveImage::FreeImage() {
  if (mPixels) DisposeHandle(mPixels);
  mPixels = nullptr;
  delete mWorld;
  mWorld = nullptr;
  mWidth = mHeight = mRowBytes = 0;
  mDepth = 0;
}

unsigned char CSaveImage::GetBitNum(unsigned char value, unsigned char bit) {
  return (value >> bit) & 1 ? 0 : 255;
}

bool CSaveImage::CheckImageType(const tagIMAGEINFO& info, const unsigned char* file, unsigned long length) {
  if (info.Compression != 1) return false;
  switch (info.Kind) {
    case kTIFFKindBilevel: return info.BitsPerSample == 1;
    case kTIFFKindGray: return info.BitsPerSample == 8;
    case kTIFFKindColor: return info.SamplesPerPixel == 3 && EightBitSamples(info, file, length);
    default: return false;
  }
}

OSErr CSaveImage::SetImage(const FSSpec* tiff) {
  FreeImage();
  std::vector<uint8_t> file;
  try {
    const OSErr err = FSpReadDataFork(tiff, &file);
    if (err != noErr) return err;
  } catch (const std::bad_alloc&) {
    return memFullErr;
  }
  tagIMAGEINFO info{};
  if (!Recognition_TIFF_PaddedRows(file.data(), file.size(), &info) || !CheckImageType(info, file.data(), file.size()))
    return kNotOurTIFF;

  const long width = info.ImageWidth, height = info.ImageLength;
  const uint64_t rowBytes = 3 * uint64_t(width);
  Handle pixels = NewBlock(rowBytes * uint64_t(height));
  if (!pixels) return memFullErr;
  const uint64_t stripRow = TIFFStripRowBytes(info);
  const uint8_t* strip = file.data() + info.StripOffsets;
  auto* out = reinterpret_cast<uint8_t*>(*pixels);
  const bool invertGrey = info.PhotometricInterpretation != 1;
  for (long y = 0; y < height; ++y) {
    const uint8_t* in = strip + uint64_t(y) * stripRow;
    uint8_t* row = out + uint64_t(y) * rowBytes;
    for (long x = 0; x < width; ++x) {
      uint8_t* p = row + 3 * x;
      switch (info.Kind) {
        case kTIFFKindBilevel: p[0] = p[1] = p[2] = GetBitNum(in[x / 8], uint8_t(7 - x % 8)); break;
        case kTIFFKindGray: p[0] = p[1] = p[2] = invertGrey ? uint8_t(255 - in[x]) : in[x]; break;
        default: std::memcpy(p, in + 3 * x, 3); break;
      }
    }
  }
  mDepth = info.Kind == kTIFFKindBilevel ? 1 : info.Kind == kTIFFKindGray ? 8 : 24;
  mInfo = info;
  mInfo.SamplesPerPixel = 3;
  mInfo.BitsPerSample = 8;
  mInfo.Kind = kTIFFKindColor;
  mInfo.PhotometricInterpretation = 2;
  mInfo.StripByteCounts = uint32_t(rowBytes * uint64_t(height));
  mPixels = pixels;
  mWidth = width;
  mHeight = height;
  mRowBytes = long(rowBytes);
  return noErr;
}

void CSaveImage::RotateImage(long degrees) {
  if (!mPixels || (degrees != 90 && degrees != 180 && degrees != 270)) return;
  const uint64_t size = uint64_t(mRowBytes) * uint64_t(mHeight);
  Handle copy = NewBlock(size);
  if (!copy) Throw_(memFullErr);
  auto* src = reinterpret_cast<const uint8_t*>(*copy);
  auto* dst = reinterpret_cast<uint8_t*>(*mPixels);
  std::memcpy(*copy, dst, size);
  const bool quarter = degrees != 180;
  const long w = mWidth, h = mHeight;
  const long newWidth = quarter ? h : w, newHeight = quarter ? w : h;
  const uint64_t newRowBytes = 3 * uint64_t(newWidth);
  for (long y = 0; y < h; ++y) {
    for (long x = 0; x < w; ++x) {
      long column, row;
      switch (degrees) {
        case 90: column = h - 1 - y, row = x; break;
        case 270: column = y, row = w - 1 - x; break;
        default: column = w - 1 - x, row = h - 1 - y; break;
      }
      std::memcpy(dst + uint64_t(row) * newRowBytes + 3 * uint64_t(column), src + uint64_t(y) * mRowBytes + 3 * x, 3);
    }
  }
  DisposeHandle(copy);
  mWidth = newWidth;
  mHeight = newHeight;
  mRowBytes = long(newRowBytes);
  mInfo.ImageWidth = uint32_t(newWidth);
  mInfo.ImageLength = uint32_t(newHeight);
  mInfo.RowsPerStrip = uint32_t(newHeight);
}

OSErr CSaveImage::SaveImage(const FSSpec* raw) {
  if (!mPixels) return paramErr;
  return SaveRawFile(raw, reinterpret_cast<const uint8_t*>(*mPixels), mWidth, mHeight, mDepth);
}

OSErr CSaveImage::SaveRawFile(const FSSpec* raw, const uint8_t* pixels, long width, long height, short depth) {
  OSErr err = FSpCreate(raw, kRawCreator, kRawType, smSystemScript);
  if (err == dupFNErr) {
    err = FSpDelete(raw);
    if (err == noErr) err = FSpCreate(raw, kRawCreator, kRawType, smSystemScript);
  }
  if (err != noErr) return err;
  SInt16 ref = 0;
  err = FSpOpenDF(raw, fsWrPerm, &ref);
  if (err != noErr) return err;

  const long w = width;
  const long length = depth == 1 ? (w + 7) / 8 : depth == 8 ? w : 3 * w;
  const uint64_t rowBytes = 3 * uint64_t(w);
  std::vector<uint8_t> row(size_t(length + (length & 1)));
  for (long y = 0; y < height && err == noErr; ++y) {
    const uint8_t* in = pixels + uint64_t(y) * rowBytes;
    std::fill(row.begin(), row.end(), 0);
    for (long x = 0; x < w; ++x) {
      const uint8_t first = in[3 * x];
      if (depth == 1) {
        if (first == 0) row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
      } else if (depth == 8) {
        row[size_t(x)] = uint8_t(255 - first);
      }
    }
    if (depth == 24) std::memcpy(row.data(), in, size_t(length));
    long count = long(row.size());
    err = FSWrite(ref, &count, row.data());
  }
  const OSErr closeErr = FSClose(ref);
  return err != noErr ? err : closeErr;
}

void CSaveImage::GetImageRect(Rect* rect) const { *rect = Rect{0, 0, SInt16(mHeight), SInt16(mWidth)}; }

OSErr CSaveImage::CreateOffscreenImage() {
  if (!mPixels) return paramErr;
  delete mWorld;
  mWorld = nullptr;
  Rect bounds;
  GetImageRect(&bounds);
  try {
    mWorld = new LGWorld(bounds, 32);
  } catch (const LException&) {
    return memFullErr;
  }
  PixMapHandle pm = GetGWorldPixMap(mWorld->GetMacGWorld());
  LockPixels(pm);
  auto* base = reinterpret_cast<uint8_t*>(GetPixBaseAddr(pm));
  const long rowBytes = GetPixRowBytes(pm);
  const auto* pixels = reinterpret_cast<const uint8_t*>(*mPixels);
  for (long y = 0; y < mHeight; ++y) {
    uint8_t* out = base + uint64_t(y) * rowBytes;
    const uint8_t* in = pixels + uint64_t(y) * mRowBytes;
    for (long x = 0; x < mWidth; ++x) {
      out[4 * x] = 0;
      std::memcpy(out + 4 * x + 1, in + 3 * x, 3);
    }
  }
  UnlockPixels(pm);
  return noErr;
}
