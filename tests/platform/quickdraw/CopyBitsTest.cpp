#include <gtest/gtest.h>

#include "QDTestSupport.h"
#include "quickdraw/QuickDraw.h"

namespace {

using qdtest::Rows;
using qdtest::World;

Rect R(int l, int t, int r, int b) { return Rect{SInt16(t), SInt16(l), SInt16(b), SInt16(r)}; }

const std::map<char, uint32_t> kColors = {{'.', 0xFFFFFF}, {'#', 0x000000}, {'r', 0xFF0000}, {'g', 0x00FF00},
                                          {'b', 0x0000FF}, {'m', 0xFF00FF}, {'h', 0x808080}};
const std::map<uint32_t, char> kLegend = {{0xFFFFFF, '.'}, {0x000000, '#'}, {0xFF0000, 'r'}, {0x00FF00, 'g'},
                                          {0x0000FF, 'b'}, {0xFF00FF, 'm'}, {0x808080, 'h'}, {0x7F807F, 'x'},
                                          {0x800080, 'p'}};

TEST(CopyBits, ScalingUpAndDown) {
  World src(2, 2);
  src.Fill(Rows({"r#", "gb"}), kColors);
  World dst(4, 4);
  Rect s = R(0, 0, 2, 2), d = R(0, 0, 4, 4);
  CopyBits(src.bits(), dst.bits(), &s, &d, srcCopy, nullptr);
  EXPECT_EQ(dst.Picture(kLegend), Rows({"rr##", "rr##", "ggbb", "ggbb"}));
  World small(2, 2);
  CopyBits(dst.bits(), small.bits(), &d, &s, srcCopy, nullptr);
  EXPECT_EQ(small.Picture(kLegend), Rows({"r#", "gb"}));
  // Stretched to 3 wide: columns 0, 0, 1 of the source.
  World wide(3, 1);
  Rect row = R(0, 0, 2, 1), out = R(0, 0, 3, 1);
  CopyBits(src.bits(), wide.bits(), &row, &out, srcCopy, nullptr);
  EXPECT_EQ(wide.Picture(kLegend), "rr#");
}

TEST(CopyBits, OffsetRectsAndClippingToTheDestination) {
  World src(3, 1);
  src.Fill("rgb", kColors);
  World dst(4, 2);
  Rect s = R(1, 0, 3, 1), d = R(3, 1, 5, 2);  // half outside
  CopyBits(src.bits(), dst.bits(), &s, &d, srcCopy, nullptr);
  EXPECT_EQ(dst.Picture(kLegend), Rows({"....", "...g"}));
}

TEST(CopyBits, PortClipAppliesWhenCopyingIntoTheCurrentPort) {
  World src(4, 1);
  src.Fill("####", kColors);
  World dst(4, 1);
  Rect clip = R(1, 0, 3, 1);
  ClipRect(&clip);
  Rect r = R(0, 0, 4, 1);
  CopyBits(src.bits(), dst.bits(), &r, &r, srcCopy, nullptr);
  EXPECT_EQ(dst.Picture(kLegend), ".##.");
}

TEST(CopyBits, MaskRegion) {
  World src(4, 4);
  src.Fill(Rows({"rrrr", "rrrr", "rrrr", "rrrr"}), kColors);
  World dst(4, 4);
  RgnHandle mask = NewRgn(), hole = NewRgn();
  Rect all = R(0, 0, 4, 4), in = R(1, 1, 3, 3);
  RectRgn(mask, &all);
  RectRgn(hole, &in);
  DiffRgn(mask, hole, mask);
  CopyBits(src.bits(), dst.bits(), &all, &all, srcCopy, mask);
  EXPECT_EQ(dst.Picture(kLegend), Rows({"rrrr", "r..r", "r..r", "rrrr"}));
  DisposeRgn(mask);
  DisposeRgn(hole);
}

TEST(CopyBits, SourceOrDarkensAndTintsWithTheForeground) {
  World src(3, 1);
  src.Fill("#.r", kColors);
  World dst(3, 2);
  dst.Fill(Rows({"ggg", "..."}), kColors);
  Rect s = R(0, 0, 3, 1), top = R(0, 0, 3, 1), bottom = R(0, 1, 3, 2);
  CopyBits(src.bits(), dst.bits(), &s, &top, srcOr, nullptr);
  RGBColor grey{0x8080, 0x8080, 0x8080};
  RGBForeColor(&grey);
  CopyBits(src.bits(), dst.bits(), &s, &bottom, srcOr, nullptr);
  // Black stays black over green; white leaves green; red over green is black (R&G = 0).
  // With a grey foreground black becomes grey and white stays white.
  EXPECT_EQ(dst.Picture(kLegend), Rows({"#g#", "h.?"}));
  EXPECT_EQ(dst.Pixel(2, 1), 0xFF8080u);  // red tinted: the dark channels take the grey
}

TEST(CopyBits, BlendWeighsByTheOpColour) {
  World src(2, 1);
  src.Fill("#m", kColors);
  World dst(2, 1);
  dst.Fill("..", kColors);
  RGBColor half{0x8000, 0x8000, 0x8000};
  OpColor(&half);
  Rect r = R(0, 0, 2, 1);
  CopyBits(src.bits(), dst.bits(), &r, &r, blend, nullptr);
  EXPECT_EQ(dst.Pixel(0, 0), 0x808080u);
  EXPECT_EQ(dst.Pixel(1, 0), 0xFF80FFu);
  RGBColor none{0, 0, 0};
  OpColor(&none);
  CopyBits(src.bits(), dst.bits(), &r, &r, blend, nullptr);
  EXPECT_EQ(dst.Pixel(0, 0), 0x808080u) << "weight 0 leaves the destination";
}

TEST(CopyBits, TransparentSkipsTheBackgroundColour) {
  World src(3, 1);
  src.Fill("m#m", kColors);
  World dst(3, 1);
  dst.Fill("ggg", kColors);
  RGBColor magenta{0xFFFF, 0, 0xFFFF};
  RGBBackColor(&magenta);
  Rect r = R(0, 0, 3, 1);
  CopyBits(src.bits(), dst.bits(), &r, &r, transparent, nullptr);
  EXPECT_EQ(dst.Picture(kLegend), "g#g");
}

TEST(CopyBits, BetweenDepths) {
  World one(4, 1, 1);
  one.Fill("#..#", kColors);
  World rgb(4, 1);
  Rect r = R(0, 0, 4, 1);
  CopyBits(one.bits(), rgb.bits(), &r, &r, srcCopy, nullptr);
  EXPECT_EQ(rgb.Picture(kLegend), "#..#");
  CTabHandle grey = GetCTable(40);
  World eight(4, 1, 8, grey);
  rgb.Fill("#h.h", kColors);
  CopyBits(rgb.bits(), eight.bits(), &r, &r, srcCopy, nullptr);
  auto* p = reinterpret_cast<uint8_t*>(GetPixBaseAddr(GetGWorldPixMap(eight.get())));
  EXPECT_EQ(p[0], 255);
  EXPECT_EQ(p[1], 127);
  EXPECT_EQ(p[2], 0);
  DisposeCTable(grey);
  // A plain 1-bit BitMap (no PixMap flag): set bits are black.
  uint8_t bits[2] = {0xA0, 0};
  BitMap bm{reinterpret_cast<Ptr>(bits), 2, R(0, 0, 4, 1)};
  CopyBits(&bm, rgb.bits(), &r, &r, srcCopy, nullptr);
  EXPECT_EQ(rgb.Picture(kLegend), "#.#.");
}

TEST(CopyBits, OverlappingCopyWithinOneWorld) {
  World w(4, 1);
  w.Fill("rgb.", kColors);
  Rect s = R(0, 0, 3, 1), d = R(1, 0, 4, 1);
  CopyBits(w.bits(), w.bits(), &s, &d, srcCopy, nullptr);
  EXPECT_EQ(w.Picture(kLegend), "rrgb");
}

}  // namespace
