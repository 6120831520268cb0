// Reading PNG files (libpng) into 0xAARRGGBB pixels: icons from the icon theme, and the
// artwork the resource compiler turns into pictures, icons, cursors and regions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct qdImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;  // rows top to bottom
  uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y) * width + x]; }
};

// False for a missing, damaged or oversized (more than 16384 pixels a side) file.
bool qdReadPNG(const std::string& path, qdImage* out);
