// The dialog on a real X screen (a private Xvfb): what the screen shows is what the
// framework drew.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "FrameworkFixture.h"
#include "display/Display.h"
#include "framework/LWindow.h"
#include "support/TestEnv.h"
#include "support/Xvfb.h"
#include "windows/TestDriver.h"

namespace {

class ScreenTest : public FrameworkFixture {
 protected:
  void SetUp() override {
    WX_REQUIRE_TOOL("xwd");
    WX_REQUIRE_TOOL("convert");
    WX_REQUIRE_XVFB();
    FrameworkFixture::SetUp();
  }
};

// What the child process found.
enum ScreenResult { kSame = 0, kNoScreen = 2, kNoScreenshot = 3, kSizeDiffers = 4, kPixelsDiffer = 5 };

// Shows the dialog on the X screen, takes a screenshot of its place and compares it with
// the port's pixels.
ScreenResult ShowAndCompare(LApplication* app, const std::string& display, const std::string& png) {
  setenv("DISPLAY", display.c_str(), 1);
  if (!DpyUseScreen()) return kNoScreen;
  LWindow* dialog = LWindow::CreateWindow(300, app);
  dialog->Show();
  dialog->Select();
  dialog->UpdatePort();
  Rect bounds;
  dialog->GetGlobalBounds(bounds);
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  char crop[64];
  std::snprintf(crop, sizeof crop, "%dx%d+%d+%d", width, height, bounds.left, bounds.top);
  int portWidth = 0, portHeight = 0;
  std::vector<UInt32> port = wxdriver::WindowPixels(dialog->GetMacWindow(), &portWidth, &portHeight);
  if (portWidth != width || portHeight != height) return kSizeDiffers;
  // A loaded X server may show the window a moment late: look again a few times.
  ScreenResult result = kNoScreenshot;
  for (int attempt = 0; attempt < 10 && result != kSame; ++attempt) {
    for (int i = 0; i < 20; ++i) DpyCurrent().Poll();
    QDFlushPortBuffer(GetWindowPort(dialog->GetMacWindow()), nullptr);
    wxtest::Run("xdpyinfo -display " + display + " >/dev/null 2>&1");
    if (wxtest::Run("xwd -root -silent -display " + display + " | convert xwd:- -crop " + crop + " +repage '" + png +
                    "'") != 0)
      continue;
    std::string raw;
    wxtest::Run("convert '" + png + "' -depth 8 rgb:-", &raw);
    if (raw.size() != port.size() * 3) {
      result = kSizeDiffers;
      continue;
    }
    result = kSame;
    for (size_t i = 0; i < port.size() && result == kSame; ++i) {
      UInt32 shown = (UInt32(UInt8(raw[3 * i])) << 16) | (UInt32(UInt8(raw[3 * i + 1])) << 8) | UInt8(raw[3 * i + 2]);
      if (shown != (port[i] & 0xFFFFFF)) result = kPixelsDiffer;
    }
  }
  return result;
}

}  // namespace

// The screen runs in a child process, so that what the screen libraries keep for the life
// of a process stays out of this one.
TEST_F(ScreenTest, TheDialogOnScreenShowsWhatWasDrawn) {
  const std::string png = (wxtest::OutputDir("framework") / "dialog-screen.png").string();
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(ShowAndCompare(mApp, wxtest::Xvfb::Get().name(), png));
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), kSame) << "2 no screen, 3 no screenshot, 4 size, 5 pixels";
  std::string size;
  ASSERT_EQ(wxtest::Run("identify -format '%w %h' '" + png + "'", &size), 0);
  EXPECT_EQ(size, "320 200");
}
