// Pictures, colour icons, cursors and regions compiled from PNG artwork, read back through
// QuickDraw's own loaders.
#include <gtest/gtest.h>

#include <string>

#include "quickdraw/Icons.h"
#include "quickdraw/QDOffscreen.h"
#include "quickdraw/qdResources.h"
#include "support/TestEnv.h"
#include "toolbox/MacMemory.h"
#include "tools/rescomp/rcCompile.h"

namespace {

// Compiles one statement; the resource's bytes, or fails the test.
std::vector<uint8_t> Compile(const std::string& source, std::string* diagnostic = nullptr) {
  ResFileImage image;
  std::string diag;
  bool ok = rcCompile({{"art.r", source}}, RcOptions{}, &image, &diag);
  if (diagnostic) *diagnostic = diag;
  if (!ok || image.records.size() != 1) return {};
  return image.records[0].data;
}

// The pixels of a 32-bit world as 0x00RRGGBB.
uint32_t PixelAt(GWorldPtr world, int x, int y) {
  CGrafPtr old;
  GDHandle dev;
  GetGWorld(&old, &dev);
  SetGWorld(world, nullptr);
  RGBColor c;
  GetCPixel(SInt16(x), SInt16(y), &c);
  SetGWorld(old, dev);
  return (uint32_t(c.red >> 8) << 16) | (uint32_t(c.green >> 8) << 8) | (c.blue >> 8);
}

// A new 32-bit world of `bounds` with `draw` run in it; null when the world cannot be made.
template <typename Draw>
GWorldPtr DrawInWorld(const Rect& bounds, Draw draw) {
  GWorldPtr world = nullptr;
  if (NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0) != 0) return nullptr;
  CGrafPtr old;
  GDHandle dev;
  GetGWorld(&old, &dev);
  SetGWorld(world, nullptr);
  draw();
  SetGWorld(old, dev);
  return world;
}

class Artwork : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!wxtest::HaveTool("convert")) GTEST_SKIP() << "'convert' is not installed (scripts/setup installs it)";
    // Two rows: red green blue / transparent white black.
    png = (dir / "art.png").string();
    ASSERT_EQ(wxtest::Run("convert -size 3x2 xc:none -fill '#ff0000' -draw 'point 0,0' -fill '#00ff00' -draw 'point 1,0'"
                          " -fill '#0000ff' -draw 'point 2,0' -fill '#ffffff' -draw 'point 1,1' -fill '#000000'"
                          " -draw 'point 2,1' 'PNG32:" + png + "'"),
              0);
  }
  wxtest::ScratchDir dir;
  std::string png;
};

TEST_F(Artwork, PictureDrawsTheArtworkOverWhite) {
  std::vector<uint8_t> bytes = Compile("picture 128 { png \"" + png + "\" }");
  ASSERT_GT(bytes.size(), 10u);
  Handle h = nullptr;
  ASSERT_EQ(PtrToHand(bytes.data(), &h, Size(bytes.size())), 0);
  Rect r{0, 0, 2, 3};
  GWorldPtr world = DrawInWorld(r, [&] { DrawPicture(reinterpret_cast<PicHandle>(h), &r); });
  ASSERT_NE(world, nullptr);
  const uint32_t expected[2][3] = {{0xFF0000, 0x00FF00, 0x0000FF}, {0xFFFFFF, 0xFFFFFF, 0x000000}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelAt(world, x, y), expected[y][x]) << x << "," << y;
  DisposeGWorld(world);
  DisposeHandle(h);
}

TEST_F(Artwork, ColourIconKeepsColoursAndMask) {
  std::vector<uint8_t> bytes = Compile("cicn 128 { png \"" + png + "\" }");
  CIconHandle icon = QDColorIconFromStoredBytes(bytes.data(), Size(bytes.size()));
  ASSERT_NE(icon, nullptr);
  Rect r{0, 0, 2, 3};
  GWorldPtr world = DrawInWorld(r, [&] {
    RGBColor grey{0x8080, 0x8080, 0x8080};
    RGBForeColor(&grey);
    PaintRect(&r);
    ForeColor(blackColor);
    PlotCIcon(&r, icon);
  });
  ASSERT_NE(world, nullptr);
  EXPECT_EQ(PixelAt(world, 0, 0), 0xFF0000u);
  EXPECT_EQ(PixelAt(world, 2, 0), 0x0000FFu);
  EXPECT_EQ(PixelAt(world, 0, 1), 0x808080u) << "the transparent pixel leaves what was there";
  EXPECT_EQ(PixelAt(world, 1, 1), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(world, 2, 1), 0x000000u);
  DisposeCIcon(icon);
  DisposeGWorld(world);
}

TEST_F(Artwork, RegionIsTheOpaquePixels) {
  std::vector<uint8_t> bytes = Compile("region 10000 { png \"" + png + "\" }");
  RgnHandle rgn = NewRgn();
  ASSERT_EQ(QDRegionFromStoredBytes(bytes.data(), Size(bytes.size()), rgn), 0);
  EXPECT_TRUE(PtInRgn(Point{0, 0}, rgn));
  EXPECT_FALSE(PtInRgn(Point{1, 0}, rgn)) << "row 1, column 0 is transparent";
  EXPECT_TRUE(PtInRgn(Point{1, 2}, rgn));
  DisposeRgn(rgn);
}

TEST_F(Artwork, CursorAndItsChecks) {
  std::string cur = (dir / "cursor.png").string();
  ASSERT_EQ(wxtest::Run("convert -size 16x16 xc:none -fill black -draw 'point 0,0' -fill white -draw 'point 1,0' 'PNG32:" + cur + "'"), 0);
  std::vector<uint8_t> bytes = Compile("cursor 130 { png \"" + cur + "\" hotspot 3 4 }");
  Cursor c;
  ASSERT_TRUE(qdCursorFromStored(bytes.data(), bytes.size(), &c));
  EXPECT_EQ(c.data[0], 0x8000);
  EXPECT_EQ(c.mask[0], 0xC000);
  EXPECT_EQ(c.hotSpot.h, 3);
  EXPECT_EQ(c.hotSpot.v, 4);
  std::string diag;
  EXPECT_TRUE(Compile("cursor 131 { png \"" + png + "\" }", &diag).empty());
  EXPECT_NE(diag.find("a cursor is 16 x 16 pixels"), std::string::npos) << diag;
  EXPECT_TRUE(Compile("picture 1 { png \"/no/such/file.png\" }", &diag).empty());
  EXPECT_NE(diag.find("cannot read the PNG file"), std::string::npos) << diag;
}

}  // namespace
