#include "QDTestSupport.h"

#include <gtest/gtest.h>

namespace qdtest {

World::World(int w, int h, int depth, CTabHandle table) {
  GetGWorld(&mOldPort, &mOldDevice);
  Rect r{0, 0, static_cast<SInt16>(h), static_cast<SInt16>(w)};
  EXPECT_EQ(NewGWorld(&mWorld, static_cast<SInt16>(depth), &r, table, nullptr, 0), 0);
  SetGWorld(mWorld, nullptr);
}

World::~World() {
  SetGWorld(mOldPort, mOldDevice);
  DisposeGWorld(mWorld);
}

uint32_t World::Pixel(int x, int y) const {
  CGrafPtr old;
  GDHandle dev;
  GetGWorld(&old, &dev);
  SetGWorld(mWorld, nullptr);
  RGBColor c;
  GetCPixel(static_cast<SInt16>(x), static_cast<SInt16>(y), &c);
  SetGWorld(old, dev);
  return (uint32_t(c.red >> 8) << 16) | (uint32_t(c.green >> 8) << 8) | (c.blue >> 8);
}

std::string World::Picture(const std::map<uint32_t, char>& legend) const {
  Rect r;
  GetPortBounds(mWorld, &r);
  std::string out;
  for (int y = r.top; y < r.bottom; ++y) {
    if (y > r.top) out += '\n';
    for (int x = r.left; x < r.right; ++x) {
      auto it = legend.find(Pixel(x, y));
      out += it == legend.end() ? '?' : it->second;
    }
  }
  return out;
}

void World::Fill(const std::string& rows, const std::map<char, uint32_t>& colors) {
  CGrafPtr old;
  GDHandle dev;
  GetGWorld(&old, &dev);
  SetGWorld(mWorld, nullptr);
  int x = 0, y = 0;
  for (char ch : rows) {
    if (ch == '\n') {
      ++y;
      x = 0;
      continue;
    }
    uint32_t c = colors.at(ch);
    RGBColor rgb{static_cast<UInt16>(((c >> 16) & 0xFF) * 257), static_cast<UInt16>(((c >> 8) & 0xFF) * 257),
                 static_cast<UInt16>((c & 0xFF) * 257)};
    SetCPixel(static_cast<SInt16>(x), static_cast<SInt16>(y), &rgb);
    ++x;
  }
  SetGWorld(old, dev);
}

std::string Rows(std::initializer_list<const char*> rows) {
  std::string out;
  for (const char* r : rows) {
    if (!out.empty()) out += '\n';
    out += r;
  }
  return out;
}

qdRegion Checkerboard(int width, int height) {
  std::vector<qdBand> bands;
  for (int y = 0; y < height; ++y) {
    qdBand b{y, y + 1, {}};
    for (int x = (y % 2) * 2; x + 1 <= width; x += 4) b.xs.insert(b.xs.end(), {x, x + 1});
    bands.push_back(std::move(b));
  }
  return qdRegion::FromBands(std::move(bands));
}

}  // namespace qdtest
