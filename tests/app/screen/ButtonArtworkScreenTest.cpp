// The main window's buttons as the user sees them on a private X screen: the real executable,
// the pointer moved and pressed through XTest (xdotool), a scanner-button push through the
// program's own button tool, the screen read back and compared with the artwork.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "../AppTestEnv.h"
#include "support/Xvfb.h"

namespace wxapp {
namespace {

namespace fs = std::filesystem;

constexpr SInt16 kTop = 100, kLeft = 100;

// A button's artwork and where the window draws it, relative to the window.
struct SArtwork {
  const char* file;
  int left, top;
  bool aroundIcon = false;  // compared around the 32 x 32 icon square at +10, +10
};

fs::path Artwork(const char* file) { return fs::path(WX_SOURCE_DIR_DEFAULT) / "resources" / "artwork" / file; }

// The screen as a PNG kept under `name` in the test output.
fs::path Shoot(const std::string& name) {
  const fs::path png = wxtest::OutputDir("app") / (name + ".png");
  EXPECT_EQ(0, wxtest::Run("xwd -root -silent -display " + wxtest::Xvfb::Get().name() + " | convert xwd:- '" +
                           png.string() + "'"));
  return png;
}

// Pixels of the shot that differ from the artwork laid over the window's background (a
// rounding's worth of tolerance); -1 when the comparison could not be made.
long Differing(const fs::path& shot, const SArtwork& art) {
  std::string size;
  wxtest::Run("identify -format '%w %h' '" + Artwork(art.file).string() + "'", &size);
  int width = 0, height = 0;
  if (std::sscanf(size.c_str(), "%d %d", &width, &height) != 2) return -1;
  const std::string geometry = std::to_string(width) + "x" + std::to_string(height);
  const std::string at = "+" + std::to_string(art.left) + "+" + std::to_string(art.top);
  const std::string screenAt = "+" + std::to_string(kLeft + art.left) + "+" + std::to_string(kTop + art.top);
  const std::string hole = art.aroundIcon ? " -fill black -draw 'rectangle 10,10 41,41'" : "";
  const std::string command = "convert \\( '" + Artwork("main-window.png").string() + "' '" +
                              Artwork(art.file).string() + "' -geometry " + at + " -composite -crop " + geometry +
                              at + " +repage" + hole + " \\) \\( '" + shot.string() + "' -crop " + geometry + screenAt +
                              " +repage" + hole + " \\) -fuzz 2% -metric AE -compare -format '%[distortion]' info:";
  std::string out;
  wxtest::Run(command, &out);
  char* end = nullptr;
  const long differing = std::strtol(out.c_str(), &end, 10);
  return end == out.c_str() ? -1 : differing;
}

// The dark pixels of the 32 x 32 icon square of the button at `left`: the icon's strokes.
int IconInk(const fs::path& shot, int left) {
  const std::string at = "+" + std::to_string(kLeft + left + 10) + "+" + std::to_string(kTop + 65 + 10);
  std::string out;
  wxtest::Run("convert '" + shot.string() + "' -crop 32x32" + at +
                  " +repage -colorspace gray -threshold 50% -format '%[fx:int(w*h*(1-mean)+0.5)]' info:",
              &out);
  return std::atoi(out.c_str());
}

// Waits up to 15 s for the screen to show every piece of artwork; the last shot is kept as `name`.
bool Shows(const std::string& name, std::initializer_list<SArtwork> arts) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < deadline) {
    const fs::path shot = Shoot(name);
    bool all = true;
    for (const SArtwork& art : arts) all = all && Differing(shot, art) == 0;
    if (all) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

// Waits up to 20 s for the screen to differ from `before`.
void WaitChanged(const fs::path& before) {
  std::string old;
  wxtest::Run("md5sum < '" + before.string() + "'", &old);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline) {
    std::string sum;
    wxtest::Run("md5sum < '" + Shoot("screen-changing").string() + "'", &sum);
    if (sum != old) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  ADD_FAILURE() << "the screen did not change";
}

void Pointer(const std::string& action) {
  ASSERT_EQ(0, wxtest::Run("xdotool " + action));
}

void MoveTo(int x, int y) { Pointer("mousemove " + std::to_string(kLeft + x) + " " + std::to_string(kTop + y)); }

// The move-button badges of the default assignment: 1 on Copy, 3/4 on Mail, 2 on Scan-1.
const SArtwork kBadges[] = {{"mark-1.png", 21, 34}, {"mark-last.png", 141, 34}, {"mark-2.png", 321, 34}};

class ButtonArtworkTest : public AppTest {
 protected:
  void SetUp() override {
    WX_REQUIRE_TOOL("xwd");
    WX_REQUIRE_TOOL("convert");
    WX_REQUIRE_TOOL("xdotool");
    WX_REQUIRE_XVFB();
    AppTest::SetUp();
    WithPrefs([](RecordBytes all) {
      PREF_ALL::kWindowTop.set(all, kTop);
      PREF_ALL::kWindowLeft.set(all, kLeft);
    });
    // Out of the way of the window, so no button starts hovered.
    Pointer("mousemove 790 590");
    mBare = Shoot("screen-bare-buttons");
    mChild = fork();
    if (mChild == 0) {
      unsetenv("WX_DISPLAY");
      // What the desktop's libraries keep until exit is theirs.
      setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
      execl(WX_WENDRIX_PATH, "wendrix", nullptr);
      _exit(127);
    }
    ASSERT_TRUE(Shows("main-window-idle", {{"copy-normal.png", 21, 65}, kBadges[0], kBadges[1], kBadges[2]}));
  }
  void TearDown() override {
    if (mChild > 0) {
      kill(mChild, SIGKILL);
      int status = 0;
      waitpid(mChild, &status, 0);
    }
    Pointer("mousemove 790 590");
    AppTest::TearDown();
  }
  fs::path mBare;
  pid_t mChild = -1;
};

TEST_F(ButtonArtworkTest, HoveredAndPressedButtonsShowTheirArtwork) {
  struct SCase {
    const char* name;
    int left;
    const char* hover;
    const char* pressed;  // null where an icon is drawn over it
  };
  // The icon of an application button stands on its hover artwork as it does when idle.
  const int mailInk = IconInk(Shoot("main-window-idle"), 141);
  ASSERT_GT(mailInk, 50);
  const SCase cases[] = {
      {"copy", 21, "copy-hover.png", "copy-pressed.png"},
      {"print", 81, "print-hover.png", "print-pressed.png"},
      {"mail", 141, "hover.png", nullptr},
      {"save", 261, "save-hover.png", "save-pressed.png"},
      {"settings", 510, "settings-hover.png", "settings-pressed.png"},
  };
  for (const SCase& c : cases) {
    SCOPED_TRACE(c.name);
    MoveTo(c.left + 26, 65 + 26);
    const std::string hovered = std::string("main-window-hovered-") + c.name;
    EXPECT_TRUE(Shows(hovered, {{c.hover, c.left, 65, c.pressed == nullptr}}));
    if (!c.pressed) {
      EXPECT_EQ(IconInk(wxtest::OutputDir("app") / (hovered + ".png"), c.left), mailInk) << "the icon is not drawn";
    }
    Pointer("mousedown 1");
    if (c.pressed) {
      EXPECT_TRUE(Shows(std::string("main-window-pressed-") + c.name, {{c.pressed, c.left, 65}}));
    }
    // Let go outside, so nothing starts.
    MoveTo(290, 140);
    Pointer("mouseup 1");
  }
  EXPECT_TRUE(Shows("main-window-left", {{"copy-normal.png", 21, 65}, kBadges[0], kBadges[1], kBadges[2]}));
}

TEST_F(ButtonArtworkTest, BadgesKeepTheirArtworkAfterARun) {
  // Scanner button 2 runs Scan-1, which asks for its missing target application; the alert is
  // answered, the chooser cancelled and the dialog (in front of the badges) closed.
  ASSERT_EQ(0, wxtest::Run(std::string("timeout 60 '") + WX_BUTTON_TOOL_PATH + "' --device 'Dremlo Model A' --button 2"));
  WaitChanged(mBare);
  Shoot("main-window-during-run");
  const fs::path asking = Shoot("scan1-asking");
  Pointer("key Return");
  WaitChanged(asking);
  const fs::path choosing = Shoot("scan1-choosing");
  Pointer("key Escape");
  WaitChanged(choosing);
  Pointer("mousemove 471 499 click 1");
  EXPECT_TRUE(Shows("main-window-after-run", {kBadges[0], kBadges[1], kBadges[2]}));
}

}  // namespace
}  // namespace wxapp
