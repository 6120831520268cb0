#include <gtest/gtest.h>
#include <sys/resource.h>

#include <filesystem>

#include "display/Display.h"
#include "quickdraw/QDOffscreen.h"
#include "quickdraw/QuickDraw.h"
#include "support/TestEnv.h"
#include "windows/Events.h"
#include "windows/MacWindows.h"
#include "windows/TestDriver.h"

namespace {

Rect R(int l, int t, int r, int b) { return Rect{SInt16(t), SInt16(l), SInt16(b), SInt16(r)}; }
Point P(int h, int v) { return Point{static_cast<SInt16>(v), static_cast<SInt16>(h)}; }

class Windows : public ::testing::Test {
 protected:
  void SetUp() override {
    DpyUseHeadless();
    FlushEvents(everyEvent, 0);
  }
  void TearDown() override {
    for (WindowRef w : mMade) DisposeWindow(w);
    FlushEvents(everyEvent, 0);
    std::vector<EventRecord> rest = wxdriver::DrainEvents();
    (void)rest;
  }
  WindowRef Make(WindowClass cls, WindowAttributes attrs, Rect bounds) {
    WindowRef w = nullptr;
    EXPECT_EQ(CreateNewWindow(cls, attrs, &bounds, &w), 0);
    mMade.push_back(w);
    return w;
  }
  std::vector<WindowRef> mMade;
};

TEST_F(Windows, ShowingAWindowActivatesAndAsksForAnUpdate) {
  WindowRef w = Make(kDocumentWindowClass, kWindowCloseBoxAttribute, R(100, 100, 140, 120));
  EXPECT_FALSE(IsWindowVisible(w));
  ShowWindow(w);
  std::vector<EventRecord> events = wxdriver::DrainEvents();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].what, activateEvt);
  EXPECT_EQ(events[0].message, reinterpret_cast<unsigned long>(w));
  EXPECT_TRUE(events[0].modifiers & activeFlag);
  EventRecord e;
  ASSERT_TRUE(GetNextEvent(everyEvent, &e));
  EXPECT_EQ(e.what, updateEvt);
  EXPECT_EQ(e.message, reinterpret_cast<unsigned long>(w));
  // Draw during the update; afterwards no update is pending.
  SetPortWindowPort(w);
  BeginUpdate(w);
  Rect r = R(0, 0, 10, 5);
  PaintRect(&r);
  EndUpdate(w);
  EXPECT_FALSE(GetNextEvent(updateMask, &e));
  int width = 0, height = 0;
  std::vector<UInt32> pixels = wxdriver::WindowPixels(w, &width, &height);
  ASSERT_EQ(width, 40);
  ASSERT_EQ(height, 20);
  EXPECT_EQ(pixels[0], 0u);
  EXPECT_EQ(pixels[10], 0xFFFFFFu);
  EXPECT_EQ(pixels[5 * 40], 0xFFFFFFu);
  std::filesystem::path png = wxtest::OutputDir("quickdraw") / "window.png";
  ASSERT_TRUE(wxdriver::SaveWindowPNG(w, png));
  if (wxtest::HaveTool("identify")) {
    std::string out;
    EXPECT_EQ(wxtest::Run("identify -format '%w %h' '" + png.string() + "'", &out), 0);
    EXPECT_EQ(out, "40 20");
  }
}

long PeakKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// A window built from a damaged layout can be huge: until it is drawn it holds no pixels, and
// the first drawing finds them white.
TEST_F(Windows, AWindowHoldsNoPixelsUntilItIsDrawn) {
  const long before = PeakKiB();
  Make(kDocumentWindowClass, 0, R(0, 0, 8000, 8000));
  WindowRef drawn = Make(kDocumentWindowClass, 0, R(0, 0, 8000, 8000));
  EXPECT_LT(PeakKiB() - before, 64 * 1024) << "KiB taken by two windows never drawn";
  SetPortWindowPort(drawn);
  Rect r = R(0, 0, 10, 5);
  PaintRect(&r);
  int width = 0, height = 0;
  std::vector<UInt32> pixels = wxdriver::WindowPixels(drawn, &width, &height);
  ASSERT_EQ(width, 8000);
  EXPECT_EQ(pixels[0], 0u);
  EXPECT_EQ(pixels[10], 0xFFFFFFu);
  EXPECT_EQ(pixels.back(), 0xFFFFFFu);
}

TEST_F(Windows, InvalidationLimitsDrawingDuringUpdate) {
  WindowRef w = Make(kDocumentWindowClass, 0, R(10, 30, 20, 40));
  ShowWindow(w);
  SetPortWindowPort(w);
  BeginUpdate(w);
  EndUpdate(w);
  Rect part = R(2, 2, 4, 4);
  InvalWindowRect(w, &part);
  EventRecord e;
  while (GetNextEvent(everyEvent, &e) && e.what != updateEvt) {
  }
  ASSERT_EQ(e.what, updateEvt);
  BeginUpdate(w);
  Rect all = R(0, 0, 10, 10);
  PaintRect(&all);
  EndUpdate(w);
  int width, height;
  std::vector<UInt32> px = wxdriver::WindowPixels(w, &width, &height);
  EXPECT_EQ(px[2 * 10 + 2], 0u);
  EXPECT_EQ(px[1 * 10 + 1], 0xFFFFFFu);
  EXPECT_EQ(px[4 * 10 + 4], 0xFFFFFFu);
}

// A help tag stays above every window, even one opened or selected after it, and takes
// neither the activation nor the clicks of the window under it; a dialog stays above a
// document window selected after it.
TEST_F(Windows, HelpTagsFloatAboveEveryWindow) {
  WindowRef main = Make(kDocumentWindowClass, 0, R(100, 100, 300, 200));
  ShowWindow(main);
  WindowRef tag = Make(kHelpWindowClass, 0, R(120, 150, 220, 170));
  ShowWindow(tag);
  EXPECT_EQ(FrontWindow(), main);
  EXPECT_TRUE(IsWindowHilited(main));
  WindowRef dialog = Make(kMovableModalWindowClass, 0, R(110, 140, 250, 190));
  ShowWindow(dialog);
  SelectWindow(main);
  EXPECT_EQ(GetWindowList(), tag);
  EXPECT_EQ(GetNextWindow(tag), dialog);
  EXPECT_EQ(GetNextWindow(dialog), main);
  WindowRef hit = nullptr;
  EXPECT_EQ(FindWindow(P(160, 160), &hit), inContent);
  EXPECT_EQ(hit, dialog);
  EXPECT_EQ(FindWindow(P(280, 180), &hit), inContent);
  EXPECT_EQ(hit, main);
}

TEST_F(Windows, FindWindowPartsAndLayering) {
  WindowRef back = Make(kDocumentWindowClass, kWindowCloseBoxAttribute | kWindowCollapseBoxAttribute | kWindowResizableAttribute,
                        R(100, 100, 300, 200));
  WindowRef front = Make(kDocumentWindowClass, 0, R(250, 150, 350, 250));
  ShowWindow(back);
  ShowWindow(front);
  EXPECT_EQ(FrontWindow(), front) << "the newer window opens in front";
  EXPECT_TRUE(IsWindowHilited(front));
  EXPECT_FALSE(IsWindowHilited(back));
  SelectWindow(back);
  EXPECT_EQ(FrontWindow(), back);
  SelectWindow(front);
  EXPECT_EQ(FrontWindow(), front);
  WindowRef hit = nullptr;
  EXPECT_EQ(FindWindow(P(260, 160), &hit), inContent);
  EXPECT_EQ(hit, front);
  EXPECT_EQ(FindWindow(P(120, 120), &hit), inContent);
  EXPECT_EQ(hit, back);
  EXPECT_EQ(FindWindow(P(150, 90), &hit), inDrag);
  EXPECT_EQ(FindWindow(P(110, 90), &hit), inGoAway);
  EXPECT_EQ(FindWindow(P(285, 90), &hit), inCollapseBox);
  EXPECT_EQ(FindWindow(P(295, 195), &hit), inContent) << "the front window covers the size box";
  EXPECT_EQ(hit, front);
  EXPECT_EQ(FindWindow(P(5, 5), &hit), inDesk);
  EXPECT_EQ(hit, nullptr);
  HideWindow(front);
  EXPECT_EQ(FindWindow(P(260, 160), &hit), inContent);
  EXPECT_EQ(hit, back);
  EXPECT_EQ(FindWindow(P(295, 195), &hit), inGrow);
  EXPECT_EQ(FrontWindow(), back);
  Rect bounds;
  GetWindowBounds(back, kWindowStructureRgn, &bounds);
  EXPECT_EQ(bounds.top, 100 - 22 - 1);
  GetWindowBounds(back, kWindowContentRgn, &bounds);
  EXPECT_EQ(bounds.left, 100);
}

TEST_F(Windows, DraggingTheTitleBarMovesTheWindow) {
  WindowRef w = Make(kDocumentWindowClass, 0, R(100, 100, 200, 150));
  ShowWindow(w);
  wxdriver::DrainEvents();
  wxdriver::Drag(P(150, 90), P(180, 120), 3);
  EventRecord e;
  ASSERT_TRUE(GetNextEvent(everyEvent, &e));
  ASSERT_EQ(e.what, mouseDown);
  WindowRef hit;
  ASSERT_EQ(FindWindow(e.where, &hit), inDrag);
  DragWindow(hit, e.where, nullptr);
  Rect bounds;
  GetWindowBounds(w, kWindowContentRgn, &bounds);
  EXPECT_EQ(bounds.left, 130);
  EXPECT_EQ(bounds.top, 130);
  ASSERT_TRUE(GetNextEvent(everyEvent, &e));
  EXPECT_EQ(e.what, mouseUp);
  // Local and global coordinates follow the window.
  SetPortWindowPort(w);
  Point p{0, 0};
  LocalToGlobal(&p);
  EXPECT_EQ(p.h, 130);
  EXPECT_EQ(p.v, 130);
}

// A frameless window shaped like an L when tall, a strip when short.
long LWindowDef(short, WindowRef window, short message, long param) {
  switch (message) {
    case kWindowMsgHitTest: return wInContent;
    case kWindowMsgGetFeatures: *reinterpret_cast<UInt32*>(param) = 0x40000012; return 1;
    case kWindowMsgGetRegion: {
      auto* rec = reinterpret_cast<GetWindowRegionRec*>(param);
      Rect b;
      GetWindowBounds(window, kWindowGlobalPortRgn, &b);
      RgnHandle a = NewRgn(), c = NewRgn();
      Rect top = R(0, 0, 60, 30), side = R(0, 30, 20, 120);
      RectRgn(a, &top);
      if (b.bottom - b.top > 100) {
        RectRgn(c, &side);
        UnionRgn(a, c, a);
      }
      OffsetRgn(a, b.left, b.top);
      CopyRgn(a, rec->winRgn);
      DisposeRgn(a);
      DisposeRgn(c);
      return 0;
    }
    default: return 0;
  }
}

TEST_F(Windows, CustomWindowTakesItsShapeFromItsDefinition) {
  WindowDefSpec def;
  def.defType = kWindowDefProcPtr;
  def.u.defProc = NewWindowDefUPP(LWindowDef);
  Rect bounds = R(200, 200, 260, 320);
  WindowRef w = nullptr;
  ASSERT_EQ(CreateCustomWindow(&def, kDocumentWindowClass, 9, &bounds, &w), 0);
  mMade.push_back(w);
  ShowWindow(w);
  WindowRef hit;
  EXPECT_EQ(FindWindow(P(250, 210), &hit), inContent);
  EXPECT_EQ(FindWindow(P(210, 300), &hit), inContent);
  EXPECT_EQ(FindWindow(P(250, 300), &hit), inDesk) << "outside the L";
  RgnHandle shape = NewRgn();
  GetWindowRegion(w, kWindowStructureRgn, shape);
  EXPECT_FALSE(IsRegionRectangular(shape));
  ASSERT_EQ(CollapseWindow(w, true), 0);
  EXPECT_TRUE(IsWindowCollapsed(w));
  EXPECT_EQ(FindWindow(P(210, 300), &hit), inDesk) << "collapsed to the title strip";
  EXPECT_EQ(FindWindow(P(250, 210), &hit), inContent);
  CollapseWindow(w, false);
  EXPECT_EQ(FindWindow(P(210, 300), &hit), inContent);
  // The custom window drags from anywhere its definition says.
  wxdriver::Drag(P(230, 210), P(240, 230), 2);
  EventRecord e;
  while (GetNextEvent(everyEvent, &e) && e.what != mouseDown) {
  }
  DragWindow(w, e.where, nullptr);
  GetWindowBounds(w, kWindowGlobalPortRgn, &bounds);
  EXPECT_EQ(bounds.left, 210);
  EXPECT_EQ(bounds.top, 220);
  GetWindowRegion(w, kWindowStructureRgn, shape);
  EXPECT_TRUE(PtInRgn(P(215, 335), shape));
  DisposeRgn(shape);
}

TEST_F(Windows, ScreenGeometry) {
  Rect screen;
  GetDeviceBounds(GetMainDevice(), &screen);
  EXPECT_GT(screen.right - screen.left, 600);
  EXPECT_EQ(GetMBarHeight(), 0);
  Rect gray;
  GetRegionBounds(GetGrayRgn(), &gray);
  EXPECT_TRUE(EqualRect(&gray, &screen));
}

}  // namespace

namespace {

TEST_F(Windows, CloseBoxCountsOnlyWhenReleasedOverIt) {
  WindowRef w = Make(kDocumentWindowClass, kWindowCloseBoxAttribute, R(100, 100, 300, 200));
  ShowWindow(w);
  wxdriver::DrainEvents();
  struct Case {
    Point release;
    bool chosen;
  } cases[] = {{P(112, 90), true}, {P(200, 150), false}};
  for (const auto& c : cases) {
    wxdriver::Drag(P(110, 90), c.release, 1);
    EventRecord e;
    ASSERT_TRUE(GetNextEvent(everyEvent, &e));
    WindowRef hit;
    ASSERT_EQ(FindWindow(e.where, &hit), inGoAway);
    EXPECT_EQ(static_cast<bool>(TrackGoAway(hit, e.where)), c.chosen);
    wxdriver::DrainEvents();
  }
}

}  // namespace
