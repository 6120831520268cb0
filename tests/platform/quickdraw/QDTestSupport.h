// Tiny offscreen worlds for pixel tests, and pictures of their pixels as text.
#pragma once

#include <map>
#include <string>

#include "quickdraw/QDOffscreen.h"
#include "quickdraw/QuickDraw.h"
#include "quickdraw/qdRegion.h"

namespace qdtest {

// A 32-bit world of w x h, made current for the test's lifetime; restores the old port.
class World {
 public:
  World(int w, int h, int depth = 32, CTabHandle table = nullptr);
  ~World();
  World(const World&) = delete;
  World& operator=(const World&) = delete;
  GWorldPtr get() const { return mWorld; }
  const BitMap* bits() const { return GetPortBitMapForCopyBits(mWorld); }
  // Rows of characters, one per pixel, separated by '\n': the legend names colours
  // (0x00RRGGBB); any other colour shows as '?'.
  std::string Picture(const std::map<uint32_t, char>& legend = {{0xFFFFFF, '.'}, {0x000000, '#'}}) const;
  uint32_t Pixel(int x, int y) const;  // 0x00RRGGBB
  void Fill(const std::string& rows, const std::map<char, uint32_t>& colors);

 private:
  GWorldPtr mWorld = nullptr;
  CGrafPtr mOldPort = nullptr;
  GDHandle mOldDevice = nullptr;
};

// Rows of one-pixel spans every four pixels, shifted by two on alternate rows: every row
// moves every span, so the region's stored form grows by about width + 6 bytes a row.
qdRegion Checkerboard(int width, int height);

// Joins rows with '\n' (for readable expectations).
std::string Rows(std::initializer_list<const char*> rows);

}  // namespace qdtest
