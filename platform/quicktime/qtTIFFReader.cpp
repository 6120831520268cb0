#include "quicktime/qtImageReader.h"
#include "toolbox/RecordAccess.h"

namespace {

struct TIFFFields {
  uint32_t width = 0, height = 0, bits = 1, samples = 1, compression = 1, photometric = 0;
  uint32_t stripOffset = 0, stripBytes = 0, strips = 0;
};

// Reads the first directory of a TIFF held in memory; false when anything lies outside it.
bool ParseTIFF(const std::vector<uint8_t>& f, TIFFFields* t) {
  if (f.size() < 8) return false;
  const bool little = f[0] == 'I' && f[1] == 'I';
  if (!little && !(f[0] == 'M' && f[1] == 'M')) return false;
  auto u16 = [&](uint64_t at) { return little ? LEGetU16(&f[at]) : BEGetU16(&f[at]); };
  auto u32 = [&](uint64_t at) { return little ? LEGetU32(&f[at]) : BEGetU32(&f[at]); };
  if (u16(2) != 42) return false;
  const uint64_t dir = u32(4);
  if (dir + 2 > f.size()) return false;
  const uint64_t count = u16(dir);
  if (dir + 2 + 12 * count > f.size()) return false;
  for (uint64_t i = 0; i < count; ++i) {
    const uint64_t e = dir + 2 + 12 * i;
    const uint16_t tag = u16(e), type = u16(e + 2);
    const uint32_t n = u32(e + 4);
    const uint32_t value = (type == 3 && n <= 2) ? u16(e + 8) : u32(e + 8);
    switch (tag) {
      case 256: t->width = value; break;
      case 257: t->height = value; break;
      case 258:
        // Three samples list their depths elsewhere; the first one stands for all.
        if (n == 1) t->bits = value;
        else if (type == 3 && uint64_t(value) + 2 <= f.size()) t->bits = u16(value);
        else return false;
        break;
      case 259: t->compression = value; break;
      case 262: t->photometric = value; break;
      case 273: t->stripOffset = value; t->strips = n; break;
      case 277: t->samples = value; break;
      case 279: t->stripBytes = value; break;
      default: break;
    }
  }
  return true;
}

uint64_t RowBytes(const TIFFFields& t) { return (uint64_t(t.width) * t.bits * t.samples + 7) / 8; }

bool Supported(const std::vector<uint8_t>& f, const TIFFFields& t) {
  const bool kind = (t.samples == 1 && (t.bits == 1 || t.bits == 8)) || (t.samples == 3 && t.bits == 8);
  const bool colour = t.samples == 3 ? t.photometric == 2 : t.photometric <= 1;
  const uint64_t bytes = RowBytes(t) * t.height;
  return kind && colour && t.compression == 1 && t.strips == 1 && t.width > 0 && t.height > 0 &&
         t.width <= 0x7FFFFFF && t.height <= 0x7FFFFFF && t.stripBytes >= bytes && t.stripOffset <= f.size() &&
         bytes <= f.size() - t.stripOffset;
}

class TIFFReader : public QTImageReader {
 public:
  TIFFReader(const std::vector<uint8_t>& file, const TIFFFields& t) : mFile(file), mT(t) {
    width = static_cast<int32_t>(t.width);
    height = static_cast<int32_t>(t.height);
  }

  bool NextRow(uint8_t* rgb) override {
    if (mRow >= mT.height) return false;
    const uint8_t* row = mFile.data() + mT.stripOffset + RowBytes(mT) * mRow++;
    // Photometric 0: zero is white.
    const uint8_t flip = mT.photometric == 0 ? 0xFF : 0x00;
    for (uint32_t x = 0; x < mT.width; ++x) {
      if (mT.samples == 3) {
        rgb[3 * x] = row[3 * x];
        rgb[3 * x + 1] = row[3 * x + 1];
        rgb[3 * x + 2] = row[3 * x + 2];
        continue;
      }
      uint8_t v = mT.bits == 8 ? row[x] : ((row[x / 8] >> (7 - x % 8)) & 1 ? 0xFF : 0x00);
      v ^= flip;
      rgb[3 * x] = rgb[3 * x + 1] = rgb[3 * x + 2] = v;
    }
    return true;
  }

 private:
  const std::vector<uint8_t>& mFile;
  TIFFFields mT;
  uint32_t mRow = 0;
};

}  // namespace

bool QTTIFFSize(const std::vector<uint8_t>& file, int32_t* width, int32_t* height) {
  TIFFFields t;
  if (!ParseTIFF(file, &t) || !Supported(file, t)) return false;
  *width = static_cast<int32_t>(t.width);
  *height = static_cast<int32_t>(t.height);
  return true;
}

std::unique_ptr<QTImageReader> QTOpenTIFF(const std::vector<uint8_t>& file) {
  TIFFFields t;
  if (!ParseTIFF(file, &t) || !Supported(file, t)) return nullptr;
  return std::make_unique<TIFFReader>(file, t);
}
