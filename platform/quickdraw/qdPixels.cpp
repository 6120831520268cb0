#include <algorithm>
#include <atomic>

#include "quickdraw/qdPort.h"
#include "quickdraw/qdResources.h"
#include "toolbox/MacMemory.h"

namespace {

std::atomic<SInt32> sSeed{1024};

ColorSpec* Entries(CTabHandle t) { return (*t)->ctTable; }

}  // namespace

qdPixels qdPixelsOf(const BitMap* bits) {
  qdPixels p;
  if (!bits) return p;
  p.base = reinterpret_cast<uint8_t*>(bits->baseAddr);
  p.rowBytes = bits->rowBytes & kRowBytesMask;
  p.bounds = bits->bounds;
  if (bits->rowBytes & kPixMapFlag) {
    const auto* pm = reinterpret_cast<const PixMap*>(bits);
    if (!p.base && pm->pmExt && qdMakePixels(static_cast<GrafPort*>(pm->pmExt)))
      p.base = reinterpret_cast<uint8_t*>(pm->baseAddr);
    p.depth = pm->pixelSize;
    p.table = pm->pmTable;
    if (p.rowBytes == kWideRowBytesMarker && pm->pmExt) p.rowBytes = static_cast<const GrafPort*>(pm->pmExt)->rowBytes;
  }
  return p;
}

qdPixels qdPixelsOfPort(GrafPtr port) { return qdPixelsOf(reinterpret_cast<const BitMap*>(*port->pixMap)); }

uint32_t qdGetPixel(const qdPixels& p, int x, int y) {
  const uint8_t* row = p.base + static_cast<long>(y - p.bounds.top) * p.rowBytes;
  int px = x - p.bounds.left;
  switch (p.depth) {
    case 1: return (row[px >> 3] >> (7 - (px & 7))) & 1;
    case 8: return row[px];
    case 32: {
      const uint8_t* q = row + px * 4;
      return (uint32_t(q[1]) << 16) | (uint32_t(q[2]) << 8) | q[3];
    }
    default: return 0;
  }
}

void qdSetPixel(const qdPixels& p, int x, int y, uint32_t value) {
  uint8_t* row = p.base + static_cast<long>(y - p.bounds.top) * p.rowBytes;
  int px = x - p.bounds.left;
  switch (p.depth) {
    case 1: {
      uint8_t bit = uint8_t(0x80 >> (px & 7));
      if (value & 1) row[px >> 3] |= bit;
      else row[px >> 3] &= uint8_t(~bit);
      break;
    }
    case 8: row[px] = static_cast<uint8_t>(value); break;
    case 32: {
      uint8_t* q = row + px * 4;
      q[0] = 0;
      q[1] = uint8_t(value >> 16);
      q[2] = uint8_t(value >> 8);
      q[3] = uint8_t(value);
      break;
    }
    default: break;
  }
}

uint32_t qdPixelToRGB24(const qdPixels& p, uint32_t value) {
  if (p.depth == 32) return value & 0xFFFFFF;
  if (p.table && *p.table) {
    const ColorTable& t = **p.table;
    // Tables list their entries in index order; a damaged one falls back to the position.
    for (int i = 0; i <= t.ctSize; ++i)
      if (static_cast<uint32_t>(t.ctTable[i].value) == value || (i == static_cast<int>(value) && t.ctTable[i].value == i))
        return qdRGB24(t.ctTable[i].rgb);
  }
  if (p.depth == 1) return value ? 0x000000 : 0xFFFFFF;
  uint32_t g = 255 - (value & 0xFF);
  return (g << 16) | (g << 8) | g;
}

uint32_t qdRGB24ToPixel(const qdPixels& p, uint32_t rgb) {
  if (p.depth == 32) return rgb & 0xFFFFFF;
  int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  if (!p.table || !*p.table) {
    if (p.depth == 1) return (r * 30 + g * 59 + b * 11) < 128 * 100 ? 1 : 0;
    return 255 - static_cast<uint32_t>((r * 30 + g * 59 + b * 11) / 100);
  }
  // Nearest entry; the last match is remembered because runs of one colour are common.
  static thread_local struct { SInt32 seed = 0; CTabHandle table = nullptr; uint32_t rgb = 0, index = 0; } memo;
  const ColorTable& t = **p.table;
  if (memo.table == p.table && memo.seed == t.ctSeed && memo.rgb == rgb) return memo.index;
  long best = -1;
  uint32_t index = 0;
  for (int i = 0; i <= t.ctSize; ++i) {
    const RGBColor& c = t.ctTable[i].rgb;
    long dr = r - (c.red >> 8), dg = g - (c.green >> 8), db = b - (c.blue >> 8);
    long d = dr * dr + dg * dg + db * db;
    if (best < 0 || d < best) {
      best = d;
      index = static_cast<uint32_t>(i);
      if (d == 0) break;
    }
  }
  memo = {t.ctSeed, p.table, rgb, index};
  return index;
}

uint32_t qdRGBToPixel(const qdPixels& p, const RGBColor& c) { return qdRGB24ToPixel(p, qdRGB24(c)); }

CTabHandle qdNewColorTable(int entries) {
  Size size = static_cast<Size>(offsetof(ColorTable, ctTable) + sizeof(ColorSpec) * std::max(entries, 1));
  auto t = reinterpret_cast<CTabHandle>(NewHandleClear(size));
  if (!t) return nullptr;
  (*t)->ctSeed = ++sSeed;
  (*t)->ctSize = static_cast<SInt16>(entries - 1);
  for (int i = 0; i < entries; ++i) Entries(t)[i].value = static_cast<SInt16>(i);
  return t;
}

CTabHandle qdStandardTable(int depth) {
  int n = 1 << depth;
  CTabHandle t = qdNewColorTable(n);
  if (!t) return nullptr;
  ColorSpec* e = Entries(t);
  if (depth == 8) {
    // The 6x6x6 cube from white down, then ramps of red, green, blue and grey, then black.
    static const uint8_t kCube[6] = {0xFF, 0xCC, 0x99, 0x66, 0x33, 0x00};
    static const uint8_t kRamp[10] = {0xEE, 0xDD, 0xBB, 0xAA, 0x88, 0x77, 0x55, 0x44, 0x22, 0x11};
    int i = 0;
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6 && i < 215; ++b, ++i) e[i].rgb = qdRGBColor((uint32_t(kCube[r]) << 16) | (kCube[g] << 8) | kCube[b]);
    for (int k = 0; k < 4; ++k)
      for (int j = 0; j < 10; ++j, ++i) {
        uint32_t v = kRamp[j];
        uint32_t rgb = k == 0 ? v << 16 : k == 1 ? v << 8 : k == 2 ? v : (v << 16) | (v << 8) | v;
        e[i].rgb = qdRGBColor(rgb);
      }
    e[255].rgb = RGBColor{0, 0, 0};
  } else {
    // Depths 1, 2 and 4: white to black in even steps.
    for (int i = 0; i < n; ++i) {
      UInt16 v = static_cast<UInt16>(65535 - i * 65535 / (n - 1));
      e[i].rgb = RGBColor{v, v, v};
    }
  }
  return t;
}

CTabHandle GetCTable(SInt16 id) {
  if (id == 1 || id == 2 || id == 4 || id == 8) return qdStandardTable(id);
  if (id == 33 || id == 34 || id == 36 || id == 40) {
    int n = 1 << (id - 32);
    CTabHandle t = qdNewColorTable(n);
    if (!t) return nullptr;
    for (int i = 0; i < n; ++i) {
      UInt16 v = static_cast<UInt16>(65535 - i * 65535 / (n - 1));
      (*t)->ctTable[i].rgb = RGBColor{v, v, v};
    }
    return t;
  }
  return qdColorTableResource(id);
}

void DisposeCTable(CTabHandle table) {
  if (table) DisposeHandle(reinterpret_cast<Handle>(table));
}

SInt32 GetCTSeed() { return ++sSeed; }
