// Windows on a real X screen (a private Xvfb): what the screen shows is the port's pixels,
// and SDL's input becomes Event Manager events.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "display/Display.h"
#include "quickdraw/QuickDraw.h"
#include "quickdraw/QuickDrawText.h"
#include "support/TestEnv.h"
#include "support/Xvfb.h"
#include "windows/Events.h"
#include "windows/MacWindows.h"
#include "windows/TestDriver.h"

namespace {

Rect R(int l, int t, int r, int b) { return Rect{SInt16(t), SInt16(l), SInt16(b), SInt16(r)}; }

class Screen : public ::testing::Test {
 protected:
  void SetUp() override {
    WX_REQUIRE_XVFB();
    ASSERT_TRUE(DpyUseScreen()) << SDL_GetError();
    FlushEvents(everyEvent, 0);
  }
  void TearDown() override {
    for (WindowRef w : mMade) DisposeWindow(w);
    DpyUseHeadless();
  }

  // The X screen's pixels (0x00RRGGBB) through xwd and ImageMagick.
  std::vector<uint32_t> Screenshot(int* width, int* height, const std::string& keepAs) {
    wxtest::ScratchDir dir;
    std::string png = (dir / "screen.png").string();
    std::string cmd = "xwd -root -silent -display " + wxtest::Xvfb::Get().name() + " | convert xwd:- '" + png + "'";
    EXPECT_EQ(wxtest::Run(cmd), 0);
    if (!keepAs.empty()) wxtest::Run("cp '" + png + "' '" + (wxtest::OutputDir("quickdraw") / keepAs).string() + "'");
    std::string size, raw;
    wxtest::Run("identify -format '%w %h' '" + png + "'", &size);
    std::sscanf(size.c_str(), "%d %d", width, height);
    wxtest::Run("convert '" + png + "' -depth 8 rgb:-", &raw);
    std::vector<uint32_t> out;
    for (size_t i = 0; i + 2 < raw.size(); i += 3)
      out.push_back((uint32_t(uint8_t(raw[i])) << 16) | (uint32_t(uint8_t(raw[i + 1])) << 8) | uint8_t(raw[i + 2]));
    return out;
  }

  void Pump() {
    for (int i = 0; i < 20; ++i) {
      SDL_PumpEvents();
      DpyCurrent().Poll();
    }
    XSync();
  }
  void XSync() { wxtest::Run("xdpyinfo -display " + wxtest::Xvfb::Get().name() + " >/dev/null 2>&1"); }

  std::vector<WindowRef> mMade;
};

void DrawScene(WindowRef w) {
  SetPortWindowPort(w);
  Rect all;
  GetWindowPortBounds(w, &all);
  RGBColor sky{0x2222, 0x6666, 0xCCCC};
  RGBForeColor(&sky);
  PaintRect(&all);
  RGBColor sun{0xFFFF, 0xCCCC, 0x0000};
  RGBForeColor(&sun);
  Rect o = R(20, 10, 60, 50);
  PaintOval(&o);
  ForeColor(blackColor);
  MoveTo(10, 70);
  DrawString(reinterpret_cast<ConstStr255Param>("\x07" "Wendrix"));
}

TEST_F(Screen, AWindowShowsItsPortPixels) {
  WX_REQUIRE_TOOL("xwd");
  WX_REQUIRE_TOOL("convert");
  WindowRef w = nullptr;
  Rect bounds = R(50, 40, 170, 120);
  ASSERT_EQ(CreateNewWindow(kDocumentWindowClass, 0, &bounds, &w), 0);
  mMade.push_back(w);
  ShowWindow(w);
  DrawScene(w);
  QDFlushPortBuffer(GetWindowPort(w), nullptr);
  Pump();
  QDFlushPortBuffer(GetWindowPort(w), nullptr);
  XSync();
  int sw = 0, sh = 0;
  std::vector<uint32_t> screen = Screenshot(&sw, &sh, "screen-window.png");
  ASSERT_EQ(sw, 800);
  ASSERT_EQ(sh, 600);
  int pw = 0, ph = 0;
  std::vector<UInt32> port = wxdriver::WindowPixels(w, &pw, &ph);
  int mismatches = 0;
  for (int y = 0; y < ph; ++y)
    for (int x = 0; x < pw; ++x)
      if (screen[size_t(40 + y) * sw + 50 + x] != port[size_t(y) * pw + x]) ++mismatches;
  EXPECT_EQ(mismatches, 0);
}

// A frameless window shaped like an L: the screen shows it only inside the shape.
long LShapeDef(short, WindowRef window, short message, long param) {
  if (message == kWindowMsgHitTest) return wInContent;
  if (message != kWindowMsgGetRegion) return 0;
  auto* rec = reinterpret_cast<GetWindowRegionRec*>(param);
  Rect b;
  GetWindowBounds(window, kWindowGlobalPortRgn, &b);
  RgnHandle a = NewRgn(), c = NewRgn();
  Rect top = R(0, 0, 120, 30), side = R(0, 30, 40, 80);
  RectRgn(a, &top);
  RectRgn(c, &side);
  UnionRgn(a, c, a);
  OffsetRgn(a, b.left, b.top);
  CopyRgn(a, rec->winRgn);
  DisposeRgn(a);
  DisposeRgn(c);
  return 0;
}

TEST_F(Screen, FramelessWindowIsShapedByItsRegion) {
  WX_REQUIRE_TOOL("xwd");
  WX_REQUIRE_TOOL("convert");
  WindowDefSpec def;
  def.defType = kWindowDefProcPtr;
  def.u.defProc = LShapeDef;
  Rect bounds = R(300, 200, 420, 280);
  WindowRef w = nullptr;
  ASSERT_EQ(CreateCustomWindow(&def, kDocumentWindowClass, 9, &bounds, &w), 0);
  mMade.push_back(w);
  ShowWindow(w);
  DrawScene(w);
  QDFlushPortBuffer(GetWindowPort(w), nullptr);
  Pump();
  QDFlushPortBuffer(GetWindowPort(w), nullptr);
  XSync();
  int sw = 0, sh = 0;
  std::vector<uint32_t> screen = Screenshot(&sw, &sh, "screen-shaped.png");
  ASSERT_EQ(sw, 800);
  int pw = 0, ph = 0;
  std::vector<UInt32> port = wxdriver::WindowPixels(w, &pw, &ph);
  uint32_t desktop = screen[0];
  int inside = 0, outside = 0;
  for (int y = 0; y < ph; ++y)
    for (int x = 0; x < pw; ++x) {
      bool inShape = y < 30 || x < 40;
      uint32_t s = screen[size_t(200 + y) * sw + 300 + x];
      if (inShape && s != port[size_t(y) * pw + x]) ++inside;
      if (!inShape && s != desktop) ++outside;
    }
  EXPECT_EQ(inside, 0);
  EXPECT_EQ(outside, 0);
}

TEST_F(Screen, ScreenInputBecomesEvents) {
  WindowRef w = nullptr;
  Rect bounds = R(100, 100, 200, 160);
  ASSERT_EQ(CreateNewWindow(kDocumentWindowClass, 0, &bounds, &w), 0);
  mMade.push_back(w);
  ShowWindow(w);
  Pump();
  FlushEvents(everyEvent, 0);
  wxdriver::DrainEvents();
  Uint32 id = 0;
  for (Uint32 candidate = 1; candidate < 64 && !id; ++candidate)
    if (SDL_Window* s = SDL_GetWindowFromID(candidate); s && SDL_GetWindowFlags(s) & SDL_WINDOW_SHOWN) id = candidate;
  ASSERT_NE(id, 0u);
  SDL_Event e{};
  e.type = SDL_MOUSEBUTTONDOWN;
  e.button.windowID = id;
  e.button.button = SDL_BUTTON_LEFT;
  // The screen's window holds a 1-pixel edge around the content.
  e.button.x = 11;
  e.button.y = 21;
  SDL_PushEvent(&e);
  e.type = SDL_MOUSEBUTTONUP;
  SDL_PushEvent(&e);
  SDL_Event t{};
  t.type = SDL_TEXTINPUT;
  std::snprintf(t.text.text, sizeof t.text.text, "ok");
  SDL_PushEvent(&t);
  SDL_Event k{};
  k.type = SDL_KEYDOWN;
  k.key.keysym.sym = SDLK_LEFT;
  SDL_PushEvent(&k);
  SDL_Event drop{};
  drop.type = SDL_DROPBEGIN;
  SDL_PushEvent(&drop);
  drop.type = SDL_DROPFILE;
  drop.drop.file = SDL_strdup("/tmp/scan.jpg");
  SDL_PushEvent(&drop);
  drop.type = SDL_DROPCOMPLETE;
  drop.drop.file = nullptr;
  SDL_PushEvent(&drop);
  static std::vector<std::string> dropped;
  dropped.clear();
  SetFileDropHandler([](Point, const std::vector<std::string>& paths) { dropped = paths; });
  std::vector<EventRecord> events = wxdriver::DrainEvents();
  SetFileDropHandler(nullptr);
  std::vector<EventRecord> kept;
  for (const EventRecord& ev : events)
    if (ev.what != activateEvt) kept.push_back(ev);
  ASSERT_EQ(kept.size(), 5u);
  EXPECT_EQ(kept[0].what, mouseDown);
  EXPECT_EQ(kept[0].where.h, 110);
  EXPECT_EQ(kept[0].where.v, 120);
  EXPECT_EQ(kept[1].what, mouseUp);
  EXPECT_EQ(kept[2].message & charCodeMask, 'o');
  EXPECT_EQ(kept[3].message & charCodeMask, 'k');
  EXPECT_EQ(kept[4].message & charCodeMask, kLeftArrowCharCode);
  ASSERT_EQ(dropped.size(), 1u);
  EXPECT_EQ(dropped[0], "/tmp/scan.jpg");
}

}  // namespace
