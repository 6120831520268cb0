#include <gtest/gtest.h>

#include <cstdlib>

#include "QDTestSupport.h"
#include "quickdraw/QuickDraw.h"
#include "quickdraw/qdDraw.h"

namespace {

using qdtest::Rows;
using qdtest::World;

Rect R(int l, int t, int r, int b) { return Rect{SInt16(t), SInt16(l), SInt16(b), SInt16(r)}; }

TEST(Draw, PaintFrameEraseInvertRect) {
  World w(6, 5);
  Rect r = R(1, 1, 5, 4);
  PaintRect(&r);
  EXPECT_EQ(w.Picture(), Rows({"......", ".####.", ".####.", ".####.", "......"}));
  Rect inner = R(2, 2, 4, 3);
  EraseRect(&inner);
  EXPECT_EQ(w.Picture(), Rows({"......", ".####.", ".#..#.", ".####.", "......"}));
  Rect all = R(0, 0, 6, 5);
  InvertRect(&all);
  EXPECT_EQ(w.Picture(), Rows({"######", "#....#", "#.##.#", "#....#", "######"}));
  EraseRect(&all);
  PenSize(2, 1);
  FrameRect(&all);
  EXPECT_EQ(w.Picture(), Rows({"######", "##..##", "##..##", "##..##", "######"}));
}

TEST(Draw, PatternsAlignToThePixels) {
  World w(8, 4);
  Rect all = R(0, 0, 8, 4);
  Pattern grey;
  FillRect(&all, GetQDGlobalsGray(&grey));
  EXPECT_EQ(w.Picture(), Rows({"#.#.#.#.", ".#.#.#.#", "#.#.#.#.", ".#.#.#.#"}));
  const Pattern ants = {{0xF8, 0xF1, 0xE3, 0xC7, 0x8F, 0x1F, 0x3E, 0x7C}};
  PenPat(&ants);
  PaintRect(&all);
  EXPECT_EQ(w.Picture(), Rows({"#####...", "####...#", "###...##", "##...###"}));
  PenNormal();
  Pattern light;
  FillRect(&all, GetQDGlobalsLightGray(&light));
  EXPECT_EQ(w.Picture(), Rows({"#...#...", "..#...#.", "#...#...", "..#...#."}));
}

TEST(Draw, ColoursAreExact) {
  World w(2, 1);
  RGBColor selection{0x6666, 0x8787, 0xD6D6};
  RGBForeColor(&selection);
  Rect r = R(0, 0, 1, 1);
  PaintRect(&r);
  RGBColor back{0xFFFF, 0, 0xFFFF};
  RGBBackColor(&back);
  Rect e = R(1, 0, 2, 1);
  EraseRect(&e);
  EXPECT_EQ(w.Pixel(0, 0), 0x6687D6u);
  EXPECT_EQ(w.Pixel(1, 0), 0xFF00FFu);
  RGBColor got;
  GetForeColor(&got);
  EXPECT_EQ(got.green, 0x8787);
  ForeColor(blackColor);
  GetForeColor(&got);
  EXPECT_EQ(got.red, 0);
}

TEST(Draw, OvalsAndRoundRects) {
  World w(7, 7);
  Rect r = R(0, 0, 7, 7);
  PaintOval(&r);
  EXPECT_EQ(w.Picture(), Rows({"..###..", ".#####.", "#######", "#######", "#######", ".#####.", "..###.."}));
  EraseRect(&r);
  FrameRoundRect(&r, 4, 4);
  EXPECT_EQ(w.Picture(), Rows({".#####.", "#.....#", "#.....#", "#.....#", "#.....#", "#.....#", ".#####."}));
  EraseRect(&r);
  PaintRoundRect(&r, 5, 5);
  EXPECT_EQ(w.Picture(), Rows({".#####.", "#######", "#######", "#######", "#######", "#######", ".#####."}));
}

TEST(Draw, LinesWithThePen) {
  World w(5, 5);
  MoveTo(0, 0);
  LineTo(4, 4);
  EXPECT_EQ(w.Picture(), Rows({"#....", ".#...", "..#..", "...#.", "....#"}));
  Rect all = R(0, 0, 5, 5);
  EraseRect(&all);
  PenSize(2, 2);
  MoveTo(0, 1);
  LineTo(2, 1);
  EXPECT_EQ(w.Picture(), Rows({".....", "####.", "####.", ".....", "....."}));
  Point pen;
  GetPen(&pen);
  EXPECT_EQ(pen.h, 2);
  PenState saved;
  GetPenState(&saved);
  PenNormal();
  SetPenState(&saved);
  Point size;
  GetPortPenSize(w.get(), &size);
  EXPECT_EQ(size.h, 2);
}

// The union of the pen rectangles at every pixel of the line, one by one.
qdRegion PenRectsAlong(Point from, Point to, Point pen) {
  qdRegion area;
  int x0 = from.h, y0 = from.v;
  const int x1 = to.h, y1 = to.v;
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0), sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  for (int err = dx + dy;;) {
    area = area.United(qdRegion::FromRect(R(x0, y0, x0 + pen.h, y0 + pen.v)));
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * err;
    if (e2 >= dy) err += dy, x0 += sx;
    if (e2 <= dx) err += dx, y0 += sy;
  }
  return area;
}

// A wide pen's line is built row by row: exactly what the pen rectangles cover, in work
// that grows with the line's length, however wide the pen.
TEST(Draw, WidePenLinesCoverThePenRectanglesInOneSpanPerRow) {
  const Rect everything = R(-32768, -32768, 32767, 32767);
  const struct {
    Point from, to, pen;
  } lines[] = {
      {{0, 0}, {9, 25}, {3, 5}},   {{9, 25}, {0, 0}, {3, 5}},  {{2, 30}, {17, 1}, {6, 1}}, {{17, 1}, {2, 30}, {1, 6}},
      {{5, 5}, {5, 20}, {4, 4}},   {{5, 5}, {20, 5}, {4, 4}},  {{3, 3}, {3, 3}, {2, 7}},   {{0, 0}, {40, 3}, {9, 2}},
      {{40, 3}, {0, 0}, {2, 9}},   {{0, 0}, {1, 1}, {1, 1}},
  };
  for (const auto& l : lines)
    EXPECT_TRUE(qdLineRegion(l.from, l.to, l.pen, everything) == PenRectsAlong(l.from, l.to, l.pen))
        << l.from.h << "," << l.from.v << " to " << l.to.h << "," << l.to.v << " pen " << l.pen.h << "x" << l.pen.v;
  // The line of the picture that took half a minute to play: one span per row it reaches.
  const qdRegion huge = qdLineRegion({-30000, -30000}, {30000, 30000}, {32767, 32767}, everything);
  EXPECT_LE(huge.Bands().size(), size_t(60001 + 32767));
  for (const qdBand& b : huge.Bands()) ASSERT_EQ(b.xs.size(), 2u);
  // Only the rows asked for are built.
  EXPECT_EQ(qdLineRegion({-30000, -30000}, {30000, 30000}, {32767, 32767}, R(0, 0, 64, 64)).Bands().size(), 64u);
}

TEST(Draw, ClipAndRegionsLimitDrawing) {
  World w(6, 4);
  Rect clip = R(2, 1, 6, 3);
  ClipRect(&clip);
  Rect all = R(0, 0, 6, 4);
  PaintRect(&all);
  EXPECT_EQ(w.Picture(), Rows({"......", "..####", "..####", "......"}));
  ClipRect(&all);
  EraseRect(&all);
  RgnHandle a = NewRgn(), b = NewRgn();
  Rect ra = R(0, 0, 4, 4), rb = R(1, 1, 3, 3);
  RectRgn(a, &ra);
  RectRgn(b, &rb);
  DiffRgn(a, b, a);
  PaintRgn(a);
  EXPECT_EQ(w.Picture(), Rows({"####..", "#..#..", "#..#..", "####.."}));
  EraseRgn(a);
  FrameRgn(b);
  EXPECT_EQ(w.Picture(), Rows({"......", ".##...", ".##...", "......"}));
  DisposeRgn(a);
  DisposeRgn(b);
}

TEST(Draw, SetOriginMovesLocalCoordinates) {
  World w(4, 3);
  SetOrigin(10, 20);
  Rect r = R(11, 21, 13, 22);
  PaintRect(&r);
  SetOrigin(0, 0);
  EXPECT_EQ(w.Picture(), Rows({"....", ".##.", "...."}));
  Rect bounds;
  GetPortBounds(w.get(), &bounds);
  EXPECT_EQ(bounds.left, 0);
}

TEST(Draw, OneBitWorldMapsColoursToBlackAndWhite) {
  World w(3, 1, 1);
  RGBColor dark{0x2000, 0x2000, 0x2000};
  RGBForeColor(&dark);
  Rect r = R(0, 0, 2, 1);
  PaintRect(&r);
  EXPECT_EQ(w.Picture(), "##.");
  auto* p = reinterpret_cast<uint8_t*>(GetPixBaseAddr(GetGWorldPixMap(w.get())));
  EXPECT_EQ(p[0], 0xC0);
}

TEST(Geometry, RectArithmetic) {
  Rect r;
  SetRect(&r, 1, 2, 11, 12);
  OffsetRect(&r, 5, -2);
  EXPECT_EQ(r.left, 6);
  EXPECT_EQ(r.top, 0);
  InsetRect(&r, 2, 3);
  EXPECT_EQ(r.right, 14);
  EXPECT_EQ(r.bottom, 7);
  EXPECT_TRUE(PtInRect(Point{3, 8}, &r));
  EXPECT_FALSE(PtInRect(Point{7, 8}, &r));  // bottom lies outside
  Rect other = R(100, 100, 110, 110), out;
  EXPECT_FALSE(SectRect(&r, &other, &out));
  EXPECT_TRUE(EmptyRect(&out));
  InsetRect(&r, 10, 10);
  EXPECT_TRUE(EmptyRect(&r));
}

}  // namespace
