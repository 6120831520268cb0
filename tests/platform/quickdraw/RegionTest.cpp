#include <gtest/gtest.h>

#include <vector>

#include "QDTestSupport.h"
#include "quickdraw/QuickDraw.h"
#include "quickdraw/qdRegion.h"
#include "toolbox/MacMemory.h"

namespace {

struct Rgn {
  RgnHandle h = NewRgn();
  Rgn() = default;
  explicit Rgn(Rect r) { RectRgn(h, &r); }
  ~Rgn() { DisposeRgn(h); }
  Rgn(const Rgn&) = delete;
  Rgn& operator=(const Rgn&) = delete;
};

// The region as a picture over 0..w x 0..h.
std::string Draw(RgnHandle rgn, int w, int h) {
  std::string out;
  for (int y = 0; y < h; ++y) {
    if (y) out += '\n';
    for (int x = 0; x < w; ++x) out += PtInRgn(Point{static_cast<SInt16>(y), static_cast<SInt16>(x)}, rgn) ? '#' : '.';
  }
  return out;
}

Rect R(int l, int t, int r, int b) { return Rect{SInt16(t), SInt16(l), SInt16(b), SInt16(r)}; }

TEST(Region, BooleanOperationsOfTwoOverlappingSquares) {
  Rgn a(R(0, 0, 4, 4)), b(R(2, 2, 6, 6)), out;
  struct Case {
    void (*op)(RgnHandle, RgnHandle, RgnHandle);
    std::string expected;
  } cases[] = {
      {UnionRgn, qdtest::Rows({"####..", "####..", "######", "######", "..####", "..####"})},
      {SectRgn, qdtest::Rows({"......", "......", "..##..", "..##..", "......", "......"})},
      {DiffRgn, qdtest::Rows({"####..", "####..", "##....", "##....", "......", "......"})},
      {XorRgn, qdtest::Rows({"####..", "####..", "##..##", "##..##", "..####", "..####"})},
  };
  for (const auto& c : cases) {
    c.op(a.h, b.h, out.h);
    EXPECT_EQ(Draw(out.h, 6, 6), c.expected);
  }
}

TEST(Region, EmptinessBoundsAndOffset) {
  Rgn a(R(1, 1, 3, 3)), b(R(5, 5, 7, 7)), out;
  SectRgn(a.h, b.h, out.h);
  EXPECT_TRUE(EmptyRgn(out.h));
  UnionRgn(a.h, b.h, out.h);
  EXPECT_FALSE(EmptyRgn(out.h));
  EXPECT_FALSE(IsRegionRectangular(out.h));
  Rect bounds;
  GetRegionBounds(out.h, &bounds);
  EXPECT_EQ(bounds.left, 1);
  EXPECT_EQ(bounds.bottom, 7);
  EXPECT_EQ((**out.h).rgnBBox.right, 7);
  OffsetRgn(out.h, -1, -1);
  EXPECT_TRUE(PtInRgn(Point{0, 0}, out.h));
  EXPECT_FALSE(PtInRgn(Point{2, 2}, out.h));
  SetEmptyRgn(out.h);
  EXPECT_TRUE(EmptyRgn(out.h));
  // Subtracting a region from itself leaves nothing, and the same shape built two ways is equal.
  Rgn c(R(0, 0, 4, 2)), d(R(0, 2, 4, 4)), e(R(0, 0, 4, 4));
  UnionRgn(c.h, d.h, out.h);
  EXPECT_TRUE(EqualRgn(out.h, e.h));
  EXPECT_TRUE(IsRegionRectangular(out.h));
}

TEST(Region, StoredFormRoundTripsARing) {
  Rgn outer(R(0, 0, 6, 5)), inner(R(2, 1, 4, 3)), ring;
  DiffRgn(outer.h, inner.h, ring.h);
  Handle stored = QDRegionToStoredBytes(ring.h);
  ASSERT_NE(stored, nullptr);
  Rgn back;
  ASSERT_EQ(QDRegionFromStoredBytes(*stored, GetHandleSize(stored), back.h), 0);
  EXPECT_TRUE(EqualRgn(ring.h, back.h));
  EXPECT_EQ(Draw(back.h, 6, 5), qdtest::Rows({"######", "##..##", "##..##", "######", "######"}));
  DisposeHandle(stored);
}

TEST(Region, StoredRectangleIsTenBytes) {
  const uint8_t rect[] = {0, 10, 0, 1, 0, 2, 0, 4, 0, 5};  // top 1, left 2, bottom 4, right 5
  Rgn r;
  ASSERT_EQ(QDRegionFromStoredBytes(rect, sizeof rect, r.h), 0);
  EXPECT_EQ(Draw(r.h, 6, 5), qdtest::Rows({"......", "..###.", "..###.", "..###.", "......"}));
}

TEST(Region, DamagedStoredRegionsAreRefused) {
  // A 2x2 square at (0,0): rows 0 and 2 with inversion points 0 and 2.
  std::vector<uint8_t> good = {0, 28, 0, 0, 0, 0, 0, 2, 0, 2, 0, 0, 0, 0, 0, 2, 0x7F, 0xFF,
                               0, 2, 0, 0, 0, 2, 0x7F, 0xFF, 0x7F, 0xFF};
  Rgn r;
  ASSERT_EQ(QDRegionFromStoredBytes(good.data(), static_cast<Size>(good.size()), r.h), 0);
  EXPECT_EQ(Draw(r.h, 3, 3), qdtest::Rows({"##.", "##.", "..."}));
  struct Damage {
    const char* what;
    size_t at;
    uint16_t word;
  } damages[] = {
      {"size beyond the data", 0, 40},
      {"size below the header", 0, 4},
      {"odd inversion count", 14, 0x7FFF},
      {"rows not increasing", 18, 0},
      {"bounding box disagrees", 8, 3},
  };
  for (const auto& d : damages) {
    std::vector<uint8_t> bad = good;
    bad[d.at] = static_cast<uint8_t>(d.word >> 8);
    bad[d.at + 1] = static_cast<uint8_t>(d.word);
    EXPECT_NE(QDRegionFromStoredBytes(bad.data(), static_cast<Size>(bad.size()), r.h), 0) << d.what;
  }
  EXPECT_NE(QDRegionFromStoredBytes(good.data(), 20, r.h), 0) << "truncated";
}

}  // namespace

namespace {

TEST(Region, InsetShrinksAndGrowsByWholeSteps) {
  struct Case {
    int dh, dv;
    Rect expected;
  } cases[] = {{3, 2, Rect{2, 3, 8, 7}}, {-2, -5, Rect{-5, -2, 15, 12}}, {5, 0, Rect{0, 0, 0, 0}}, {0, 1, Rect{1, 0, 9, 10}}};
  for (const auto& c : cases) {
    RgnHandle r = NewRgn();
    SetRectRgn(r, 0, 0, 10, 10);
    InsetRgn(r, SInt16(c.dh), SInt16(c.dv));
    Rect b;
    GetRegionBounds(r, &b);
    EXPECT_TRUE(EqualRect(&b, &c.expected)) << c.dh << "," << c.dv << " gave " << b.left << " " << b.top << " " << b.right << " " << b.bottom;
    DisposeRgn(r);
  }
  // An L keeps its notch when grown by one.
  RgnHandle l = NewRgn(), part = NewRgn();
  SetRectRgn(l, 0, 0, 10, 2);
  SetRectRgn(part, 0, 0, 2, 10);
  UnionRgn(l, part, l);
  InsetRgn(l, -1, -1);
  EXPECT_TRUE(PtInRgn(Point{2, 2}, l));
  EXPECT_FALSE(PtInRgn(Point{3, 3}, l));
  EXPECT_TRUE(PtInRgn(Point{10, 2}, l));
  DisposeRgn(l);
  DisposeRgn(part);
}

}  // namespace

namespace {

TEST(Region, StoringRefusesRegionsThatDoNotFitTheStoredForm) {
  struct Case {
    const char* what;
    qdRegion region;
    bool fits;
  };
  qdRegion notch = qdRegion::FromRect(R(0, 0, 6, 6)).Subtracted(qdRegion::FromRect(R(0, 0, 2, 2)));
  const Case cases[] = {
      {"small checkerboard", qdtest::Checkerboard(40, 40), true},
      {"checkerboard over the size limit", qdtest::Checkerboard(400, 90), false},
      {"shape moved past 16 bits", notch.Translated(40000, 0), false},
      {"shape moved below 16 bits", notch.Translated(0, -40000), false},
      {"shape whose bottom row is the end marker", notch.Translated(0, 32767 - 6), false},
      {"shape just inside", notch.Translated(32766 - 6, 32766 - 6), true},
      {"rectangle reaching 32767", qdRegion::FromRect(R(32760, 32760, 32767, 32767)), true},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> stored = {1, 2, 3};
    ASSERT_EQ(qdRegionToStored(c.region, &stored), c.fits) << c.what;
    if (!c.fits) {
      EXPECT_EQ(stored, (std::vector<uint8_t>{1, 2, 3})) << c.what;
      continue;
    }
    EXPECT_LE(stored.size(), kMaxStoredRegion) << c.what;
    qdRegion back;
    ASSERT_TRUE(qdRegionFromStored(stored.data(), stored.size(), &back)) << c.what;
    EXPECT_TRUE(back == c.region) << c.what;
  }
}

TEST(Region, StoredBytesOfATooBigRegionAreRefusedWithAnError) {
  Rgn big;
  qdStoreRegion(big.h, qdtest::Checkerboard(400, 90));
  EXPECT_EQ(QDRegionToStoredBytes(big.h), nullptr);
  EXPECT_EQ(QDError(), rgnTooBigErr);
}

}  // namespace
