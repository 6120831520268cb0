// Theme cursors reach the display with their own images.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "display/Display.h"
#include "quickdraw/Appearance.h"
#include "quickdraw/QuickDraw.h"
#include "toolbox/MacErrors.h"

namespace {

// 'X' black, 'o' white, '.' clear, as the display draws it.
char Cell(const Cursor& c, int v, int h) {
  UInt16 bit = UInt16(0x8000 >> h);
  return (c.data[v] & bit) ? 'X' : (c.mask[v] & bit) ? 'o' : '.';
}

bool Same(const Cursor& a, const Cursor& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class ThemeCursors : public ::testing::Test {
 protected:
  void SetUp() override {
    DpyUseHeadless();
    DpyCurrent();
    InitCursor();
  }
  void TearDown() override { InitCursor(); }
};

TEST_F(ThemeCursors, CopyArrowIsTheArrowWithAPlusBadge) {
  Cursor arrow;
  GetQDGlobalsArrow(&arrow);
  ASSERT_EQ(SetThemeCursor(kThemeCopyArrowCursor), noErr);
  Cursor shown;
  ASSERT_TRUE(DpyShownCursor(&shown));
  EXPECT_TRUE(Same(shown, *QDCurrentCursor()));
  EXPECT_EQ(shown.hotSpot.v, arrow.hotSpot.v);
  EXPECT_EQ(shown.hotSpot.h, arrow.hotSpot.h);
  // The badge: a boxed plus in rows and columns 9 to 15.
  const char* badge[7] = {"XXXXXXX", "XoooooX", "XooXooX", "XoXXXoX", "XooXooX", "XoooooX", "XXXXXXX"};
  for (int v = 0; v < 7; ++v)
    for (int h = 0; h < 7; ++h) {
      EXPECT_EQ(Cell(shown, 9 + v, 9 + h), badge[v][h]) << v << "," << h;
    }
  // Above and left of the badge it is the arrow.
  for (int v = 0; v < 16; ++v)
    for (int h = 0; h < 16; ++h) {
      if (v < 9 || h < 9) {
        EXPECT_EQ(Cell(shown, v, h), Cell(arrow, v, h)) << v << "," << h;
      }
    }

  ASSERT_EQ(SetThemeCursor(kThemeArrowCursor), noErr);
  ASSERT_TRUE(DpyShownCursor(&shown));
  EXPECT_TRUE(Same(shown, arrow));
}

TEST_F(ThemeCursors, EachDrawnThemeCursorHasItsOwnImage) {
  const ThemeCursor drawn[] = {kThemeArrowCursor,  kThemeCopyArrowCursor,  kThemeIBeamCursor,
                               kThemeCrossCursor,  kThemePlusCursor,       kThemeWatchCursor,
                               kThemeClosedHandCursor, kThemeOpenHandCursor, kThemePointingHandCursor};
  std::vector<Cursor> images;
  for (ThemeCursor t : drawn) {
    ASSERT_EQ(SetThemeCursor(t), noErr);
    EXPECT_EQ(GetCurrentThemeCursorForTest(), t);
    Cursor shown;
    ASSERT_TRUE(DpyShownCursor(&shown)) << t;
    for (int v = 0; v < 16; ++v) EXPECT_EQ(shown.data[v] & ~shown.mask[v], 0) << "ink outside the mask, cursor " << t;
    for (size_t i = 0; i < images.size(); ++i) EXPECT_FALSE(Same(shown, images[i])) << t << " repeats " << drawn[i];
    images.push_back(shown);
  }
}

TEST_F(ThemeCursors, IBeamHotSpotIsOnItsStem) {
  ASSERT_EQ(SetThemeCursor(kThemeIBeamCursor), noErr);
  Cursor shown;
  ASSERT_TRUE(DpyShownCursor(&shown));
  EXPECT_EQ(Cell(shown, shown.hotSpot.v, shown.hotSpot.h), 'X');
}

TEST_F(ThemeCursors, UnknownThemeCursorIsRefusedAndChangesNothing) {
  ASSERT_EQ(SetThemeCursor(kThemeWatchCursor), noErr);
  Cursor before;
  ASSERT_TRUE(DpyShownCursor(&before));
  EXPECT_EQ(SetThemeCursor(kThemePointingHandCursor + 1), paramErr);
  EXPECT_EQ(GetCurrentThemeCursorForTest(), kThemeWatchCursor);
  Cursor after;
  ASSERT_TRUE(DpyShownCursor(&after));
  EXPECT_TRUE(Same(before, after));
}

TEST_F(ThemeCursors, HiddenCursorShowsNothingUntilShownAgain) {
  SetThemeCursor(kThemeClosedHandCursor);
  HideCursor();
  Cursor shown;
  EXPECT_FALSE(DpyShownCursor(&shown));
  ShowCursor();
  ASSERT_TRUE(DpyShownCursor(&shown));
  EXPECT_TRUE(Same(shown, *QDCurrentCursor()));
}

}  // namespace
