#include <cstring>

#include "quicktime/qtImageReader.h"
#include "toolbox/TIFFDirectory.h"

namespace {

struct TIFFFields {
  uint32_t width = 0, height = 0, bits = 1, samples = 1, compression = 1, photometric = 0;
  uint32_t stripOffset = 0, stripBytes = 0, strips = 0;
};

// Reads the first directory of a TIFF held in memory; false when anything lies outside it.
bool ParseTIFF(const QTMappedFile& f, TIFFFields* t) {
  TIFFDirectory dir;
  if (!TIFFReadFirstDirectory(f.data(), f.size(), &dir)) return false;
  for (const TIFFEntry& e : dir.entries) {
    switch (e.tag) {
      case 256: t->width = e.value; break;
      case 257: t->height = e.value; break;
      case 258:
        // Three samples list their depths elsewhere; the first one stands for all.
        if (e.count == 1) t->bits = e.value;
        else if (e.type == kTIFFTypeShort && dir.file.Has(e.offset, 2)) t->bits = dir.file.U16At(e.offset);
        else return false;
        break;
      case 259: t->compression = e.value; break;
      case 262: t->photometric = e.value; break;
      case 273: t->stripOffset = e.value; t->strips = e.count; break;
      case 277: t->samples = e.value; break;
      case 279: t->stripBytes = e.value; break;
      default: break;
    }
  }
  return true;
}

uint64_t RowBytes(const TIFFFields& t) { return (uint64_t(t.width) * t.bits * t.samples + 7) / 8; }

bool Supported(const QTMappedFile& f, const TIFFFields& t) {
  const bool kind = (t.samples == 1 && (t.bits == 1 || t.bits == 8)) || (t.samples == 3 && t.bits == 8);
  const bool colour = t.samples == 3 ? t.photometric == 2 : t.photometric <= 1;
  const uint64_t bytes = RowBytes(t) * t.height;
  return kind && colour && t.compression == 1 && t.strips == 1 && t.width > 0 && t.height > 0 &&
         t.width <= 0x7FFFFFF && t.height <= 0x7FFFFFF && t.stripBytes >= bytes && t.stripOffset <= f.size() &&
         bytes <= f.size() - t.stripOffset;
}

class TIFFReader : public QTImageReader {
 public:
  TIFFReader(const QTMappedFile& file, const TIFFFields& t) : mFile(file), mT(t) {
    width = static_cast<int32_t>(t.width);
    height = static_cast<int32_t>(t.height);
  }

  bool NextRow(uint8_t* rgb) override {
    if (mRow >= mT.height) return false;
    const uint64_t start = mT.stripOffset + RowBytes(mT) * mRow++;
    const uint8_t* row = mFile.data() + start;
    if (mT.samples == 3) {
      std::memcpy(rgb, row, size_t(mT.width) * 3);
      mFile.Release(start);
      return true;
    }
    // Photometric 0: zero is white.
    const uint8_t flip = mT.photometric == 0 ? 0xFF : 0x00;
    for (uint32_t x = 0; x < mT.width; ++x) {
      uint8_t v = mT.bits == 8 ? row[x] : ((row[x / 8] >> (7 - x % 8)) & 1 ? 0xFF : 0x00);
      v ^= flip;
      rgb[3 * x] = rgb[3 * x + 1] = rgb[3 * x + 2] = v;
    }
    mFile.Release(start);
    return true;
  }

  // The rows lie in the file as they are: a row passed over is not touched.
  bool SkipRow() override {
    if (mRow >= mT.height) return false;
    ++mRow;
    return true;
  }

 private:
  const QTMappedFile& mFile;
  TIFFFields mT;
  uint32_t mRow = 0;
};

}  // namespace

bool QTTIFFSize(const QTMappedFile& file, int32_t* width, int32_t* height) {
  TIFFFields t;
  if (!ParseTIFF(file, &t) || !Supported(file, t)) return false;
  *width = static_cast<int32_t>(t.width);
  *height = static_cast<int32_t>(t.height);
  return true;
}

std::unique_ptr<QTImageReader> QTOpenTIFF(const QTMappedFile& file) {
  TIFFFields t;
  if (!ParseTIFF(file, &t) || !Supported(file, t)) return nullptr;
  return std::make_unique<TIFFReader>(file, t);
}
