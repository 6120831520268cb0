#include <gtest/gtest.h>

#include <string>

#include "preview/StitchPaneGeometry.h"
#include "quickdraw/QuickDraw.h"

using namespace StitchPaneGeometry;

namespace {

std::string Str(const Rect& r) {
  return "{" + std::to_string(r.top) + "," + std::to_string(r.left) + "," + std::to_string(r.bottom) + "," +
         std::to_string(r.right) + "}";
}

TEST(StitchPaneGeometry, HalvesMeetOnTheCentreLineAtOneScale) {
  struct Case {
    const char* what;
    SInt16 viewWidth;
    SInt32 leftW, leftH, rightW, rightH;
    const char *left, *right;
  };
  // A view of w x 300 whose picture 'AbcP' is 200 high.
  const Case cases[] = {
      {"scale 1", 400, 150, 200, 150, 200, "{50,50,250,200}", "{50,200,250,350}"},
      {"reduced", 400, 300, 400, 300, 400, "{50,50,250,200}", "{50,200,250,350}"},
      {"enlarged", 400, 75, 100, 75, 100, "{50,50,250,200}", "{50,200,250,350}"},
      {"odd view width", 401, 150, 200, 150, 200, "{50,50,250,200}", "{50,200,250,350}"},
      {"different heights share the taller one's scale", 400, 300, 400, 300, 200, "{50,50,250,200}",
       "{100,200,200,350}"},
  };
  for (const auto& c : cases) {
    const double scale = DisplayScale(200, c.leftH, c.rightH);
    const SDimension16 view{c.viewWidth, 300};
    EXPECT_EQ(Str(HalfFrame(view, scale, c.leftW, c.leftH, 1)), c.left) << c.what;
    EXPECT_EQ(Str(HalfFrame(view, scale, c.rightW, c.rightH, 2)), c.right) << c.what;
  }
  EXPECT_EQ(DisplayScale(200, 400, 0), 0.5) << "the left half alone";
}

TEST(StitchPaneGeometry, RightHalfStaysWithinItsLimits) {
  const Rect left{50, 50, 250, 200};
  const Rect limits = MoveLimits(left, SDimension16{150, 200});
  EXPECT_EQ(Str(limits), "{25,51,275,350}") << "an eighth of 200 up and down; one column; one width";
  EXPECT_EQ(Str(MoveLimits(left, SDimension16{100, 100})), "{25,51,275,350}") << "a smaller right half";
  EXPECT_EQ(Str(MoveLimits(left, SDimension16{230, 260})), "{-35,51,335,430}") << "a larger one: its excess more";
  struct Case {
    const char* what;
    Rect frame;
    const char* kept;
  };
  const Case cases[] = {
      {"far up", {-100, 200, 100, 350}, "{25,200,225,350}"},  {"far down", {400, 200, 600, 350}, "{75,200,275,350}"},
      {"far left", {50, -500, 250, -350}, "{50,51,250,201}"}, {"far right", {50, 1000, 250, 1150}, "{50,200,250,350}"},
      {"inside", {60, 100, 260, 250}, "{60,100,260,250}"},
  };
  for (const auto& c : cases) {
    const Point back = Clamp(c.frame, limits);
    Rect kept = c.frame;
    OffsetRect(&kept, back.h, back.v);
    EXPECT_EQ(Str(kept), c.kept) << c.what;
  }
}

TEST(StitchPaneGeometry, CropStartsOverTheRowsBothHalvesCover) {
  EXPECT_EQ(Str(CropFrame({50, 50, 250, 200}, {70, 180, 270, 330})), "{70,50,250,330}");
  EXPECT_EQ(Str(CropFrame({50, 50, 250, 200}, {30, 180, 230, 330})), "{50,50,230,330}");
  EXPECT_EQ(Str(CropFrame({50, 50, 250, 200}, {100, 200, 200, 300})), "{100,50,200,300}") << "a shorter right half";
  EXPECT_EQ(Str(BoundingBox({50, 50, 250, 200}, {100, 200, 200, 300})), "{50,50,250,300}");
}

TEST(StitchPaneGeometry, HandlesAreFourPixelsWideForClicks) {
  const Rect crop{100, 100, 200, 300};
  struct Case {
    Point pt;
    SInt16 click, cursor;
  };
  const Case cases[] = {
      {{100, 100}, hit_TopLeft, hit_TopLeft},
      {{103, 103}, hit_TopLeft, hit_TopLeft},
      {{104, 104}, hit_Inside, hit_Inside},
      {{103, 150}, hit_Top, hit_Top},
      {{150, 100}, hit_Left, hit_Left},
      {{196, 150}, hit_Bottom, hit_Inside},  // the fourth row from the bottom
      {{150, 296}, hit_Right, hit_Inside},   // the fourth column from the right
      {{197, 150}, hit_Bottom, hit_Bottom},
      {{199, 299}, hit_BottomRight, hit_BottomRight},
      {{199, 100}, hit_BottomLeft, hit_BottomLeft},
      {{100, 299}, hit_TopRight, hit_TopRight},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WhereClicked(c.pt, ClickBand(crop)), c.click) << c.pt.v << "," << c.pt.h;
    EXPECT_EQ(WhereClicked(c.pt, CursorBand(crop)), c.cursor) << c.pt.v << "," << c.pt.h;
  }
}

// Halves side by side: left {0,0,100,100}, right {0,100,100,200}; the crop at
// {20,20,80,180} when the button went down.
const Rect kLeft{0, 0, 100, 100}, kRight{0, 100, 100, 200}, kStart{20, 20, 80, 180};

TEST(StitchPaneGeometry, ResizingFollowsTheDraggedHandle) {
  struct Case {
    const char* what;
    SInt16 code;
    Point click, mouse;
    const char* frame;
  };
  const Case cases[] = {
      {"top-left", hit_TopLeft, {20, 20}, {30, 40}, "{30,40,80,180}"},
      {"bottom-left", hit_BottomLeft, {80, 20}, {90, 10}, "{20,10,90,180}"},
      {"top-right", hit_TopRight, {20, 180}, {10, 190}, "{10,20,80,190}"},
      {"bottom-right", hit_BottomRight, {80, 180}, {95, 195}, "{20,20,95,195}"},
      {"left", hit_Left, {50, 20}, {50, 0}, "{20,0,80,180}"},
      {"right", hit_Right, {50, 180}, {50, 150}, "{20,20,80,150}"},
      {"top", hit_Top, {20, 100}, {0, 100}, "{0,20,80,180}"},
      {"bottom", hit_Bottom, {80, 100}, {99, 100}, "{20,20,99,180}"},
      {"bottom past the top: 10 high", hit_Bottom, {80, 100}, {0, 100}, "{20,20,30,180}"},
      {"top past the bottom: 10 high at the bottom", hit_Top, {20, 100}, {95, 100}, "{70,20,80,180}"},
      {"left past the right: 10 wide, then over the seam", hit_Left, {50, 20}, {50, 195}, "{20,99,80,180}"},
      {"right left of the seam", hit_Right, {50, 180}, {50, 90}, "{20,20,80,101}"},
      {"out of the box", hit_TopLeft, {20, 20}, {-50, -50}, "{0,0,80,180}"},
      {"out of the box, bottom-right", hit_BottomRight, {80, 180}, {150, 300}, "{20,20,100,200}"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Str(ResizeCrop(c.code, kStart, kStart, c.click, c.mouse, kLeft, kRight)), c.frame) << c.what;
  // A later step of the same drag: the left edge follows the mouse from where it was at the click.
  EXPECT_EQ(Str(ResizeCrop(hit_Left, kStart, {20, 40, 80, 180}, {50, 20}, {50, 30}, kLeft, kRight)), "{20,30,80,180}");
}

TEST(StitchPaneGeometry, MovingKeepsTheFrameInTheBoxAndOverTheSeam) {
  struct Case {
    const char* what;
    Rect start;
    Point mouse;
    const char* frame;
  };
  const Point click{50, 100};
  const Case cases[] = {
      {"no move", kStart, click, "{20,20,80,180}"},
      {"right to the box", kStart, {50, 130}, "{20,40,80,200}"},
      {"up to the box", kStart, {-50, 100}, "{0,20,60,180}"},
      {"into the left half", {40, 90, 60, 110}, {50, 70}, "{40,81,60,101}"},
      {"into the right half", {40, 90, 60, 110}, {50, 130}, "{40,99,60,119}"},
  };
  for (const auto& c : cases) EXPECT_EQ(Str(MoveCrop(c.start, click, c.mouse, kLeft, kRight)), c.frame) << c.what;
}

}  // namespace
