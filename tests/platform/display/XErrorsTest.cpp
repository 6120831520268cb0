// X errors that name a window the program has already destroyed (a request that crossed the
// destruction) are written down and survived, on a real X screen (a private Xvfb).
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "display/Display.h"
#include "support/TestEnv.h"
#include "support/XScreen.h"
#include "support/Xvfb.h"
#include "windows/MacWindows.h"

namespace {

TEST(XErrors, SendingToAClosedHelpTagIsLoggedNotFatal) {
  WX_REQUIRE_XVFB();
  ASSERT_TRUE(DpyUseScreen()) << SDL_GetError();
  const std::string display = wxtest::Xvfb::Get().name();
  Rect bounds = {200, 120, 220, 320};
  WindowRef tag = nullptr;
  ASSERT_EQ(0, CreateNewWindow(kHelpWindowClass, kWindowNoAttributes, &bounds, &tag));
  ShowWindow(tag);
  unsigned long id = 0;
  for (int i = 0; i < 200 && !id; ++i) {
    DpyCurrent().Poll();
    for (const wxtest::XTopWindow& w : wxtest::XMappedWindows(display))
      if (w.left == 120 && w.top == 200 && w.width == 200) id = w.id;
  }
  ASSERT_NE(0u, id) << "the help tag is on the screen";
  DisposeWindow(tag);
  DpyCurrent().Poll();

  testing::internal::CaptureStderr();
  EXPECT_TRUE(wxtest::XSendToWindow(display, id));
  const std::string log = testing::internal::GetCapturedStderr();
  char hex[32];
  std::snprintf(hex, sizeof hex, "0x%lx", id);
  EXPECT_NE(std::string::npos, log.find("already closed")) << log;
  EXPECT_NE(std::string::npos, log.find(hex)) << log;
  DpyUseHeadless();
}

}  // namespace
