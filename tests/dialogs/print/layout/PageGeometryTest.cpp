#include "dialogs/print/layout/PageGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "output/hubdialogs/WXFontDialog.h"

using namespace pagegeom;

// Found by argument-dependent lookup, so at the rectangles' own (global) scope.
static bool operator==(const Rect& a, const Rect& b) {
  return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}
static std::ostream& operator<<(std::ostream& os, const Rect& r) {
  return os << "(" << r.top << ", " << r.left << ", " << r.bottom << ", " << r.right << ")";
}

namespace {
Rect R(SInt16 t, SInt16 l, SInt16 b, SInt16 r) { return Rect{t, l, b, r}; }
Point P(SInt16 v, SInt16 h) { return Point{v, h}; }

}  // namespace

TEST(PageGeometryTest, PaperIsScaledToThreeHundredOnItsLongerSide) {
  struct Case {
    PMRect paper, page;
    SInt16 w, h;
    Rect printable;
    double ratio;
  } cases[] = {
      {{-18, -18, 774, 594}, {0, 0, 756, 576}, 232, 300, R(7, 7, 293, 225), 2.64},          // US Letter
      {{0, 0, 841.89, 595.28}, {0, 0, 841.89, 595.28}, 212, 300, R(0, 0, 300, 212), 841 / 300.0},  // A4
      {{0, 0, 595.28, 841.89}, {0, 0, 595.28, 841.89}, 300, 212, R(0, 0, 212, 300), 841 / 300.0},  // landscape
      {{0, 0, 500, 500}, {10, 10, 490, 490}, 300, 300, R(6, 6, 294, 294), 500 / 300.0},    // square
  };
  for (const Case& c : cases) {
    const PaperLayout p = LayOutPaper(c.paper, c.page);
    EXPECT_EQ(p.size.width, c.w);
    EXPECT_EQ(p.size.height, c.h);
    EXPECT_EQ(p.printable, c.printable);
    EXPECT_DOUBLE_EQ(ResizeRatio(c.paper), c.ratio);
  }
  const PaperLayout none = LayOutPaper({0, 0, 0, 612}, {0, 0, 0, 612});
  EXPECT_EQ(none.scale, 0.0) << "a paper with an empty side is no paper, not a division by zero";
  EXPECT_TRUE(EmptyRect(&none.printable));
  EXPECT_EQ(ResizeRatio({0, 0, 792, 0}), 0.0);
}

TEST(PageGeometryTest, HundredPercentAndTheSizeLimitComputeInDoubleAndGuardTheResolution) {
  EXPECT_DOUBLE_EQ(HundredPercentFactor(0.5, 72, 300), 0.5 * 72 / 300) << "72 / 300 is not 0";
  EXPECT_DOUBLE_EQ(HundredPercentFactor(0.5, 300, 300), 0.5);
  EXPECT_DOUBLE_EQ(HundredPercentFactor(0.5, 300, 0), 0.5) << "no resolution counts as the printer's";
  EXPECT_DOUBLE_EQ(HundredPercentFactor(0.5, 0, 0), 0.5);
  EXPECT_EQ(PictureSizeLimit(1000, 500, 300, 0.1), 3000);
  EXPECT_EQ(PictureSizeLimit(60000, 100, 1200, 1.0), 32767) << "clamped, not wrapped";
  EXPECT_EQ(PictureSizeLimit(1, 1, 1, 0.0), 1);
  const SDimension16 s = SameRateSize(1000, 500, 0.25);
  EXPECT_EQ(s.width, 250);
  EXPECT_EQ(s.height, 125);
  EXPECT_EQ(SameRateSize(1, 1, 0.0).width, 1);
}

TEST(PageGeometryTest, ThePrintRecordFollowsTheMagnification) {
  const AcqRecord scan{1000, 500, 300 << 16};
  const double k = 0.2;  // 100 % is 200 pixels wide
  struct Case {
    SInt16 frameWidth;
    AcqRecord expect;
  } cases[] = {
      {200, {1000, 500, 300 << 16}},  // 100 %: the scan's own values
      {400, {2000, 1000, 150 << 16}},
      {100, {500, 250, 600 << 16}},
      {70, {350, 175, 857 << 16}},  // 857.14 to the nearest
      {10, {50, 25, 6000 << 16}},
  };
  for (const Case& c : cases) {
    const AcqRecord r = PrintRecord(c.frameWidth, scan, k);
    EXPECT_EQ(r.width, c.expect.width) << c.frameWidth;
    EXPECT_EQ(r.height, c.expect.height) << c.frameWidth;
    EXPECT_EQ(r.resolution, c.expect.resolution) << c.frameWidth;
  }
  const AcqRecord none = PrintRecord(50, scan, 0.0);
  EXPECT_EQ(none.width, 1000) << "no division by a zero width";
}

TEST(PageGeometryTest, ZonesOfThePictureAndOfATextBox) {
  const Rect r = R(10, 10, 50, 70);  // centre (30, 40)
  struct Case {
    Point p;
    SInt16 picture, box;
  } cases[] = {
      {P(10, 10), 1, 1},  {P(50, 10), 2, 2},  {P(5, 75), 3, 3},   {P(50, 70), 4, 4},  {P(30, 10), 5, 12},
      {P(20, 10), 5, 5},  {P(30, 70), 6, 13}, {P(40, 80), 6, 6},  {P(10, 40), 7, 10}, {P(10, 41), 7, 10},
      {P(10, 42), 7, 7},  {P(50, 39), 8, 11}, {P(50, 20), 8, 8},  {P(11, 11), 9, 9},  {P(49, 69), 9, 9},
      {P(31, 10), 5, 12}, {P(32, 10), 5, 5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PictureZone(c.p, r), c.picture) << c.p.v << "," << c.p.h;
    EXPECT_EQ(TextBoxZone(c.p, r), c.box) << c.p.v << "," << c.p.h;
  }
  EXPECT_FALSE(IsHandle(9));
  EXPECT_FALSE(IsHandle(5));
  EXPECT_TRUE(IsHandle(4));
  EXPECT_TRUE(IsHandle(10));
}

TEST(PageGeometryTest, ResizingThePictureKeepsItsAspectAndTheOppositeSide) {
  // A 200 x 100 picture at (100, 100) on a wide printable area.
  const Rect frame = R(100, 100, 200, 300);
  const Rect range = R(0, 0, 1000, 1000);
  struct Case {
    SInt16 zone, dx, dy;
    SInt16 limit;
    Rect expect;
  } cases[] = {
      {4, 0, 30, 3000, R(100, 100, 200, 300)},   // straight down: unchanged
      {4, 0, -20, 3000, R(100, 100, 180, 260)},  // straight up: shrinks
      {4, 40, 40, 3000, R(100, 100, 220, 340)},  // grows by the smaller relative change
      {4, 100, 10, 3000, R(100, 100, 210, 320)},
      {4, -40, -10, 3000, R(100, 100, 180, 260)},  // shrinks by the larger
      {4, 30, -10, 3000, R(100, 100, 190, 280)},
      {6, 50, 0, 3000, R(100, 100, 225, 350)},   // right edge
      {5, 50, 0, 3000, R(100, 150, 175, 300)},   // left edge: the right side stays
      {7, 0, -20, 3000, R(80, 100, 200, 340)},   // top edge: the bottom stays
      {1, -20, -20, 3000, R(90, 80, 200, 300)},  // top-left corner: the bottom-right stays
      {2, 20, 0, 3000, R(100, 120, 190, 300)},   // bottom-left, inwards: shrinks, top-right stays
      {6, 1000, 0, 300, R(100, 100, 250, 400)},  // stops at the limit
      {6, -500, 0, 3000, R(100, 100, 110, 120)},  // 10 wide, then 10 high from the aspect
      {8, 0, -500, 3000, R(100, 100, 110, 120)},  // stops at 10 high
  };
  for (const Case& c : cases) {
    PictureDrag d;
    d.zone = c.zone;
    d.start = {200, 100};
    d.dx = c.dx;
    d.dy = c.dy;
    d.hw = 0.5;
    d.wh = 2.0;
    d.limit = c.limit;
    d.frame = frame;
    d.range = range;
    EXPECT_EQ(PictureResized(d), c.expect) << "zone " << c.zone << " by " << c.dx << "," << c.dy;
  }
}

TEST(PageGeometryTest, AResizedPictureKeepsAPixelInsideThePrintableArea) {
  // The picture sticks out right of the printable area; shrinking it from its left edge
  // (the right side stays) stops with one column inside.
  PictureDrag d;
  d.zone = 5;
  d.start = {100, 100};
  d.dx = 90;
  d.hw = d.wh = 1.0;
  d.frame = R(0, 95, 100, 195);
  d.range = R(0, 0, 100, 100);
  const Rect out = PictureResized(d);
  EXPECT_EQ(out.left, 99);
  EXPECT_EQ(out.right, 195);
}

TEST(PageGeometryTest, AMovedPictureOrBoxComesBackInside) {
  const Rect range = R(10, 10, 110, 110);
  struct Case {
    Rect moved;
    Point picture, box;
  } cases[] = {
      {R(20, 20, 40, 40), P(0, 0), P(0, 0)},
      {R(120, 200, 140, 220), P(-11, -91), P(-30, -110)},
      {R(-50, -50, -30, -30), P(41, 41), P(60, 60)},
      {R(100, 0, 120, 30), P(0, 0), P(-10, 10)},
  };
  for (const Case& c : cases) {
    const Point p = PictureMoveBack(c.moved, range);
    EXPECT_EQ(p.v, c.picture.v);
    EXPECT_EQ(p.h, c.picture.h);
    const Point b = TextBoxMoveBack(c.moved, range);
    EXPECT_EQ(b.v, c.box.v);
    EXPECT_EQ(b.h, c.box.h);
  }
}

TEST(PageGeometryTest, FitFillAndCentre) {
  struct Case {
    SDimension16 picture, range;
    bool fill;
    SInt16 limit;
    SInt16 w, h;
  } cases[] = {
      {{100, 50}, {200, 100}, false, 3000, 200, 100},  // same aspect: the width
      {{100, 50}, {200, 100}, true, 3000, 200, 100},
      {{200, 100}, {150, 150}, false, 3000, 150, 75},
      {{200, 100}, {150, 150}, true, 3000, 300, 150},
      {{200, 100}, {150, 150}, true, 200, 200, 100},  // limited
      {{0, 100}, {150, 150}, false, 3000, 0, 100},    // no division by an empty side
      {{100, 50}, {150, 0}, false, 3000, 150, 75},
  };
  for (const Case& c : cases) {
    const SDimension16 s = FitSize(c.picture, c.range, c.fill, c.limit);
    EXPECT_EQ(s.width, c.w);
    EXPECT_EQ(s.height, c.h);
  }
  const Point o = CentringOffset(R(0, 0, 50, 101), R(10, 10, 110, 210));
  EXPECT_EQ(o.h, (210 - 100) - (101 - 50));
  EXPECT_EQ(o.v, (110 - 50) - (50 - 25));
}

TEST(PageGeometryTest, ASavedFrameFollowsThePaperScale) {
  EXPECT_EQ(RescaledFrame(R(10, 20, 30, 41), 0.5, 0.5), R(10, 20, 30, 41));
  EXPECT_EQ(RescaledFrame(R(10, 20, 30, 41), 0.5, 0.25), R(5, 10, 15, 20));
  EXPECT_EQ(RescaledFrame(R(10, 20, 30, 41), 0.0, 0.25), R(10, 20, 30, 41)) << "no division by 0";
  EXPECT_EQ(ToPaper(100, 2.64), 264);
  EXPECT_EQ(ToPaper(3, 2.64), 8);
}

TEST(PageGeometryTest, TheSizeTexts) {
  const std::array<std::string, 3> units = {" in", " cm", " pixels"};
  EXPECT_EQ(SideTexts(1000, 300, 1000, units), (std::array<std::string, 3>{"3.3 in", "8.4 cm", "1000 pixels"}));
  EXPECT_EQ(SideTexts(1000, 300, 2000, units), (std::array<std::string, 3>{"6.6 in", "16.9 cm", "1000 pixels"}));
  EXPECT_EQ(SideTexts(600, 0, 600, units)[0], "0.0 in") << "no resolution divides nothing";
  EXPECT_EQ(LengthText(12.96, "x"), "12.9x");
}

TEST(PageGeometryTest, ResizingATextBoxByItsHandles) {
  const Rect start = R(100, 100, 140, 200);
  const Rect range = R(50, 50, 400, 400);
  struct Case {
    SInt16 zone;
    Point mouse;
    Rect expect;
  } cases[] = {
      {4, P(15, 20), R(100, 100, 155, 220)},    // +20, +15: top-left unchanged
      {1, P(300, 300), R(130, 190, 140, 200)},  // past the bottom-right: 10 x 10, bottom-right kept
      {10, P(-10, 0), R(90, 100, 140, 200)},     // top middle: only the height
      {13, P(0, 10), R(100, 100, 140, 210)},    // right middle: only the width
      {12, P(0, -80), R(100, 50, 140, 200)},    // left middle, past the range: cut
      {11, P(400, 0), R(100, 100, 400, 200)},   // bottom middle, past the range: cut
      {9, P(10, 10), R(100, 100, 140, 200)},    // no handle: unchanged
  };
  for (const Case& c : cases)
    EXPECT_EQ(TextBoxResized(c.zone, start, start, P(0, 0), c.mouse, range), c.expect) << "zone " << c.zone;
}

TEST(PageGeometryTest, ABoxIsFittedIntoThePrintableArea) {
  const Rect range = R(10, 10, 110, 110);
  EXPECT_EQ(FittedTextBox(R(20, 100, 40, 130), range), R(20, 80, 40, 110));
  EXPECT_EQ(FittedTextBox(R(100, 5, 130, 50), range), R(80, 10, 110, 55));
  EXPECT_EQ(FittedTextBox(R(0, 0, 300, 300), range), range) << "larger: top-left on the area's, cut to its size";
}

TEST(PageGeometryTest, HandlesStyleBitsAndThumbnails) {
  const std::array<Point, 8> h = HandleCorners(R(10, 20, 40, 81));
  const SInt16 expect[8][2] = {{10, 20}, {10, 49}, {10, 78}, {23, 78}, {37, 78}, {37, 49}, {37, 20}, {23, 20}};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(h[i].v, expect[i][0]) << i;
    EXPECT_EQ(h[i].h, expect[i][1]) << i;
  }
  StFontDialog font;
  font.bold = 1;
  font.underline = 1;
  EXPECT_EQ(StyleBits(font), 5);
  font.shadow = 1;
  font.italic = 0x10001;  // only the low 16 bits count
  EXPECT_EQ(StyleBits(font), 0x17);

  EXPECT_EQ(ThumbnailFrame(1), R(5, 10, 120, 90));
  EXPECT_EQ(ThumbnailFrame(12), R(5, 1110, 120, 1190));
  EXPECT_EQ(StripWidth(12), 1200);
  EXPECT_EQ(StripWidth(400), 40000) << "beyond 16 bits";
  const Rect frame = ThumbnailFrame(1);
  EXPECT_EQ(ThumbnailImageRect(1000, 1000, frame), R(13, 13, 87, 87));
  EXPECT_EQ(ThumbnailImageRect(1200, 600, frame), R(31, 13, 68, 87));
  EXPECT_EQ(ThumbnailImageRect(600, 1200, frame), R(13, 31, 87, 68));
  const Rect none = ThumbnailImageRect(0, 10, frame);
  EXPECT_TRUE(EmptyRect(&none));
}
