#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "../AppTestEnv.h"
#include "support/Xvfb.h"
#include "windows/TestDriver.h"

namespace wxapp {
namespace {

namespace fs = std::filesystem;

constexpr int kScreenWidth = 800, kScreenHeight = 600;
constexpr SInt16 kTop = 100, kLeft = 100;

// The screen as RGB bytes, and a PNG of it kept under `name` in the test output.
std::vector<UInt8> Screenshot(const std::string& name) {
  const fs::path png = wxtest::OutputDir("app") / (name + ".png");
  const fs::path raw = fs::temp_directory_path() / ("wx-screen-" + std::to_string(getpid()) + ".rgb");
  const std::string xwd = "xwd -root -silent -display " + wxtest::Xvfb::Get().name();
  EXPECT_EQ(0, wxtest::Run(xwd + " | convert xwd:- '" + png.string() + "'"));
  EXPECT_EQ(0, wxtest::Run("convert '" + png.string() + "' -depth 8 'rgb:" + raw.string() + "'"));
  std::vector<UInt8> bytes = wxtest::ReadBytes(raw);
  fs::remove(raw);
  return bytes;
}

// The window's outline from its own artwork: opaque pixels are inside.
std::vector<bool> Shape(const char* artwork, int* width, int* height) {
  const fs::path png = fs::path(WX_SOURCE_DIR_DEFAULT) / "resources" / "artwork" / artwork;
  const fs::path raw = fs::temp_directory_path() / ("wx-shape-" + std::to_string(getpid()) + ".a");
  EXPECT_EQ(0, wxtest::Run("convert '" + png.string() + "' -alpha extract -depth 8 'gray:" + raw.string() + "'"));
  std::string size;
  wxtest::Run("identify -format '%w %h' '" + png.string() + "'", &size);
  std::sscanf(size.c_str(), "%d %d", width, height);
  std::vector<UInt8> alpha = wxtest::ReadBytes(raw);
  fs::remove(raw);
  std::vector<bool> inside(alpha.size());
  for (size_t i = 0; i < alpha.size(); ++i) inside[i] = alpha[i] >= 128;
  return inside;
}

// Pixels of the window's rectangle outside its shape that differ from the bare screen.
int ChangedOutside(const std::vector<UInt8>& before, const std::vector<UInt8>& after, const char* artwork) {
  int width = 0, height = 0;
  const std::vector<bool> inside = Shape(artwork, &width, &height);
  int changed = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (inside[size_t(y * width + x)]) continue;
      const size_t at = size_t(((kTop + y) * kScreenWidth + kLeft + x) * 3);
      if (before[at] != after[at] || before[at + 1] != after[at + 1] || before[at + 2] != after[at + 2]) ++changed;
    }
  return changed;
}

// Pixels inside the shape that changed: the window is really there.
int ChangedInside(const std::vector<UInt8>& before, const std::vector<UInt8>& after, const char* artwork) {
  int width = 0, height = 0;
  const std::vector<bool> inside = Shape(artwork, &width, &height);
  int changed = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const size_t at = size_t(((kTop + y) * kScreenWidth + kLeft + x) * 3);
      if (inside[size_t(y * width + x)] && before[at] != after[at]) ++changed;
    }
  return changed;
}

class ScreenTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    WithPrefs([](RecordBytes all) {
      PREF_ALL::kWindowTop.set(all, kTop);
      PREF_ALL::kWindowLeft.set(all, kLeft);
    });
  }
  void TearDown() override {
    AppTest::TearDown();
    // The screen is closed before the test program's X server goes.
    DpyUseHeadless();
  }
};

TEST_F(ScreenTest, TheExecutableShowsTheShapedWindow) {
  WX_REQUIRE_XVFB();
  if (!wxtest::HaveTool("xwd")) GTEST_SKIP() << "'xwd' is not installed";
  const std::vector<UInt8> bare = Screenshot("screen-bare");
  ASSERT_EQ(size_t(kScreenWidth * kScreenHeight * 3), bare.size());
  const pid_t child = fork();
  if (child == 0) {
    unsetenv("WX_DISPLAY");
    execl(WX_WENDRIX_PATH, "wendrix", nullptr);
    _exit(127);
  }
  std::vector<UInt8> shown;
  for (int i = 0; i < 600; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    shown = Screenshot("main-window");
    if (ChangedInside(bare, shown, "window-shape.png") > 1000) break;
  }
  kill(child, SIGTERM);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_GT(ChangedInside(bare, shown, "window-shape.png"), 1000) << "the window is drawn";
  EXPECT_EQ(0, ChangedOutside(bare, shown, "window-shape.png")) << "nothing of it lies outside its shape";
}

TEST_F(ScreenTest, TheCollapsedWindowIsItsTitleStrip) {
  WX_REQUIRE_XVFB();
  if (!wxtest::HaveTool("xwd")) GTEST_SKIP() << "'xwd' is not installed";
  const std::vector<UInt8> bare = Screenshot("screen-bare-2");
  ASSERT_TRUE(DpyUseScreen());
  Start();
  Window()->Select();
  CollapseWindow(Window()->GetMacWindow(), true);
  for (int i = 0; i < 5; ++i) mApp->ProcessNextEvent(0);
  Window()->UpdatePort();
  const std::vector<UInt8> collapsed = Screenshot("main-window-collapsed");
  EXPECT_GT(ChangedInside(bare, collapsed, "window-title-shape.png"), 500);
  EXPECT_EQ(0, ChangedOutside(bare, collapsed, "window-title-shape.png"));
  // Below the strip the screen is bare again.
  int below = 0;
  for (int y = kTop + 30; y < kTop + 145; ++y)
    for (int x = kLeft; x < kLeft + 580; ++x)
      if (bare[size_t((y * kScreenWidth + x) * 3)] != collapsed[size_t((y * kScreenWidth + x) * 3)]) ++below;
  EXPECT_EQ(0, below);
}

}  // namespace
}  // namespace wxapp
