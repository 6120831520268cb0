// The program as a user meets it on a screen of its own (a private Xvfb): real pointer
// input, the windows' stacking order and the pixels read back from the screen. Screenshots
// of what the user saw are kept in the test output ("app").
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "../AppTestEnv.h"
#include "quickdraw/Appearance.h"
#include "quickdraw/QuickDraw.h"
#include "support/XScreen.h"
#include "support/Xvfb.h"

namespace wxapp {
namespace {

namespace fs = std::filesystem;

constexpr int kTop = 100, kLeft = 100;  // the main window's content
constexpr int kButtonRow = 95;          // the function buttons' centres, from the window's top
constexpr uint32_t kTagPaper = 0xFFFFCC, kTagInk = 0x000000;

// Waits (with a generous bound) until `done` is true.
bool WaitUntil(const std::function<bool()>& done, int seconds = 30) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return done();
}

// Where a window is in the stacking order, bottom first; -1 when it is not shown.
int StackIndex(const std::vector<wxtest::XTopWindow>& windows, unsigned long id) {
  for (size_t i = 0; i < windows.size(); ++i)
    if (windows[i].id == id) return int(i);
  return -1;
}

class ProgramOnScreen : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    WX_REQUIRE_TOOL("xdotool");
    WithPrefs([](RecordBytes all) {
      PREF_ALL::kWindowTop.set(all, kTop);
      PREF_ALL::kWindowLeft.set(all, kLeft);
    });
  }
  void TearDown() override {
    if (mChild > 0) {
      kill(mChild, SIGTERM);
      int status = 0;
      if (!WaitUntil([&] { return waitpid(mChild, &status, WNOHANG) == mChild; }, 20)) {
        kill(mChild, SIGKILL);
        waitpid(mChild, &status, 0);
      }
    }
    AppTest::TearDown();
  }

  // Starts the program on `display`, its standard error into `log`; waits for its window.
  void Launch(const std::string& display, const fs::path& log) {
    mDisplay = display;
    mChild = fork();
    if (mChild == 0) {
      setenv("DISPLAY", display.c_str(), 1);
      unsetenv("WX_DISPLAY");
      const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (fd >= 0) dup2(fd, STDERR_FILENO);
      execl(WX_WENDRIX_PATH, "wendrix", nullptr);
      _exit(127);
    }
    ASSERT_GT(mChild, 0);
    // A loaded machine can take long to start a sanitizer build; a program that ended says why.
    int status = 0;
    bool ended = false;
    const bool shown = WaitUntil(
        [&] {
          ended = ended || waitpid(mChild, &status, WNOHANG) == mChild;
          return ended || Named("Wendrix").id != 0;
        },
        90);
    if (ended) mChild = -1;
    if (!shown || ended) {
      const std::vector<uint8_t> output = wxtest::ReadBytes(log);
      FAIL() << "the main window is not shown"
             << (ended ? "; the program ended with status " + std::to_string(status) : std::string())
             << "; its output:\n" << std::string(output.begin(), output.end());
    }
    // Drawn: the title strip is no longer the bare screen's black.
    ASSERT_TRUE(WaitUntil([&] { return wxtest::XGrabScreen(mDisplay).at(kLeft + 200, kTop + 10) != 0; }));
  }

  wxtest::XTopWindow Named(const std::string& name) const {
    for (const wxtest::XTopWindow& w : wxtest::XMappedWindows(mDisplay))
      if (w.name == name) return w;
    return {};
  }

  // A scan takes minutes: the SANE test device waits after each piece of a page, and its
  // feeder holds ten sheets, so a test sees the program in the middle of a scan for as long as
  // it needs.
  void SlowScanner() const {
    const fs::path folder = mRoot.path() / ".config" / "wendrix" / "sane";
    fs::create_directories(folder);
    std::ofstream(folder / "test.conf") << "number_of_devices 1\ntest-picture \"Color pattern\"\n"
                                           "read-delay true\nread-delay-duration 200000\n";
    std::ofstream(folder / "sources.conf") << "test:0=Dremlo Model A\ntest:0 documents=Automatic Document Feeder\n";
  }

  // Scanner button 4 starts a File run; its notice, if one comes, is answered. Gives the
  // run's scan-information window once it is shown.
  wxtest::XTopWindow StartFileRunByButton() {
    const unsigned long mainWindow = Named("Wendrix").id;
    EXPECT_EQ(0, wxtest::Run(std::string("'") + WX_BUTTON_TOOL_PATH + "' --device 'Dremlo Model A' --button 4"));
    wxtest::XTopWindow info;
    unsigned long answered = 0;
    const auto shown = [&] {
      for (const wxtest::XTopWindow& w : wxtest::XMappedWindows(mDisplay)) {
        if (w.id == mainWindow || w.height < 100) continue;
        if (w.name != "Wendrix") {
          info = w;
          return true;
        }
        if (w.id != answered) {
          answered = w.id;
          wxtest::Run("DISPLAY=" + mDisplay + " xdotool key Return");
        }
      }
      return false;
    };
    EXPECT_TRUE(WaitUntil(shown, 60)) << "the scan-information window comes up";
    return info;
  }

  void Keep(const std::string& name) const {
    EXPECT_TRUE(wxtest::XKeepPNG(wxtest::XGrabScreen(mDisplay), wxtest::OutputDir("app") / (name + ".png")));
  }

  pid_t mChild = -1;
  std::string mDisplay;
};

TEST_F(ProgramOnScreen, AHelpTagStandsFullyVisibleOverTheMainWindow) {
  WX_REQUIRE_XVFB();
  Launch(wxtest::Xvfb::Get().name(), wxtest::OutputDir("app") / "help-tag.log");
  Keep("screen-main-idle");
  const auto tagShown = [&] {
    for (const wxtest::XTopWindow& w : wxtest::XMappedWindows(mDisplay))
      if (w.name.empty()) return true;
    return false;
  };
  // The pointer rests on the Print button until its help tag comes up.
  ASSERT_TRUE(wxtest::XMovePointer(mDisplay, kLeft + 100, kTop + 60));
  ASSERT_TRUE(wxtest::XMovePointer(mDisplay, kLeft + 108, kTop + kButtonRow));
  ASSERT_TRUE(WaitUntil(tagShown)) << "a help tag comes up";
  const std::vector<wxtest::XTopWindow> windows = wxtest::XMappedWindows(mDisplay);
  wxtest::XTopWindow tag;
  for (const wxtest::XTopWindow& w : windows)
    if (w.name.empty()) tag = w;
  const wxtest::XTopWindow main = Named("Wendrix");
  EXPECT_GT(StackIndex(windows, tag.id), StackIndex(windows, main.id)) << "the tag is above the main window";
  ASSERT_LT(tag.top, main.top + main.height) << "the tag stands over the main window";
  // Its outline is ink all round and its paper shows inside, wherever it lies.
  wxtest::XPixels screen;
  const auto drawn = [&] {
    screen = wxtest::XGrabScreen(mDisplay);
    return screen.at(tag.left + 2, tag.top + 2) == kTagPaper;
  };
  WaitUntil(drawn, 10);
  wxtest::XKeepPNG(screen, wxtest::OutputDir("app") / "main-window-help-tag.png");
  int wrong = 0;
  for (int x = tag.left; x < tag.left + tag.width; ++x)
    wrong += (screen.at(x, tag.top) != kTagInk) + (screen.at(x, tag.top + tag.height - 1) != kTagInk);
  for (int y = tag.top; y < tag.top + tag.height; ++y)
    wrong += (screen.at(tag.left, y) != kTagInk) + (screen.at(tag.left + tag.width - 1, y) != kTagInk);
  for (int y = tag.top + 1; y < tag.top + tag.height - 1; ++y)
    wrong += (screen.at(tag.left + 2, y) != kTagPaper) + (screen.at(tag.left + tag.width - 3, y) != kTagPaper);
  EXPECT_EQ(0, wrong) << "pixels of the tag's outline and margins that do not show";
}

struct DialogRow {
  const char* name;  // kept screenshot
  int buttonX;       // the main window's function button, from the window's left
  int closeX, closeY;  // the centre of the dialog's Close button, in the dialog
};

// A dialog opened by a click comes up in front of the main window and its first click acts:
// one click on Close closes it.
TEST_F(ProgramOnScreen, ADialogOpensInFrontAndTakesTheFirstClick) {
  WX_REQUIRE_XVFB();
  Launch(wxtest::Xvfb::Get().name(), wxtest::OutputDir("app") / "dialogs.log");
  const DialogRow rows[] = {{"print", 108, 302, 230}, {"ocr", 228, 302, 350}, {"save", 288, 302, 380},
                            {"settings", 537, 304, 320}};
  for (const DialogRow& row : rows) {
    SCOPED_TRACE(row.name);
    wxtest::XTopWindow dialog;
    const auto opened = [&] {
      for (const wxtest::XTopWindow& w : wxtest::XMappedWindows(mDisplay))
        if (!w.name.empty() && w.name != "Wendrix") dialog = w;
      return dialog.id != 0;
    };
    ASSERT_TRUE(wxtest::XClick(mDisplay, kLeft + row.buttonX, kTop + kButtonRow));
    ASSERT_TRUE(WaitUntil(opened)) << "the dialog opens";
    const int closeX = dialog.left + row.closeX, closeY = dialog.top + row.closeY;
    WaitUntil([&] { return wxtest::XGrabScreen(mDisplay).at(closeX, closeY) != 0; }, 10);
    if (std::string(row.name) == "settings") {
      // Drawn before it lists the scanners: its scanner popup names one once the listing is done.
      const auto listed = [&] {
        const wxtest::XPixels screen = wxtest::XGrabScreen(mDisplay);
        for (int x = dialog.left + 160; x < dialog.left + 300; ++x)
          if ((screen.at(x, dialog.top + 30) & 0xFF) < 100) return true;
        return false;
      };
      WaitUntil(listed, 90);
    }
    Keep(std::string("dialog-") + row.name);
    const std::vector<wxtest::XTopWindow> windows = wxtest::XMappedWindows(mDisplay);
    EXPECT_GT(StackIndex(windows, dialog.id), StackIndex(windows, Named("Wendrix").id)) << "in front of the main window";
    ASSERT_TRUE(wxtest::XClick(mDisplay, closeX, closeY));
    const auto closed = [&] { return StackIndex(wxtest::XMappedWindows(mDisplay), dialog.id) < 0; };
    EXPECT_TRUE(WaitUntil(closed, 15)) << "one click on Close closes the dialog";
    if (!closed()) return;
  }
}

// A dialog a scanner button opens comes up in front of the main window too, and its first
// click acts.
TEST_F(ProgramOnScreen, ADialogAScannerButtonOpensIsInFront) {
  WX_REQUIRE_XVFB();
  Launch(wxtest::Xvfb::Get().name(), wxtest::OutputDir("app") / "scanner-button.log");
  const unsigned long mainWindow = Named("Wendrix").id;
  ASSERT_EQ(0, wxtest::Run(std::string("'") + WX_BUTTON_TOOL_PATH + "' --device 'Dremlo Model A' --button 1"));
  wxtest::XTopWindow dialog;
  const auto opened = [&] {
    for (const wxtest::XTopWindow& w : wxtest::XMappedWindows(mDisplay))
      if (!w.name.empty() && w.id != mainWindow && w.height > 200) dialog = w;
    return dialog.id != 0;
  };
  ASSERT_TRUE(WaitUntil(opened)) << "the button's dialog opens";
  WaitUntil([&] { return wxtest::XGrabScreen(mDisplay).at(dialog.left + 20, dialog.top + 20) != 0; }, 10);
  Keep("dialog-scanner-button-1");
  const std::vector<wxtest::XTopWindow> windows = wxtest::XMappedWindows(mDisplay);
  EXPECT_GT(StackIndex(windows, dialog.id), StackIndex(windows, mainWindow)) << "in front of the main window";
  wxtest::Run("DISPLAY=" + mDisplay + " xdotool key Return");  // an alert of the run, if one came up
}

// The Print dialog's Scan button starts the run: a window of it (the scan, or the alert that
// says why it cannot) comes up.
TEST_F(ProgramOnScreen, ThePrintDialogsScanButtonStartsTheRun) {
  WX_REQUIRE_XVFB();
  Launch(wxtest::Xvfb::Get().name(), wxtest::OutputDir("app") / "print-scan.log");
  ASSERT_TRUE(wxtest::XClick(mDisplay, kLeft + 108, kTop + kButtonRow));
  ASSERT_TRUE(WaitUntil([&] { return Named("Print").id != 0; }));
  const wxtest::XTopWindow print = Named("Print");
  const size_t before = wxtest::XMappedWindows(mDisplay).size();
  // Scan: the dialog's default button, bottom right (80 by 20 at 352, 220).
  ASSERT_TRUE(wxtest::XClick(mDisplay, print.left + 1 + 392, print.top + 1 + 230));
  EXPECT_TRUE(WaitUntil([&] { return wxtest::XMappedWindows(mDisplay).size() > before; })) << "Scan does something";
  Keep("dialog-print-scan");
  wxtest::Run("DISPLAY=" + mDisplay + " xdotool key Return");  // an alert's OK, so the program ends on request
}

// An alert over a dialog stands out by its edge, all round.
TEST_F(ProgramOnScreen, AnAlertOverADialogShowsItsEdge) {
  WX_REQUIRE_XVFB();
  Launch(wxtest::Xvfb::Get().name(), wxtest::OutputDir("app") / "alert.log");
  const unsigned long mainWindow = Named("Wendrix").id;
  ASSERT_TRUE(wxtest::XClick(mDisplay, kLeft + 288, kTop + kButtonRow));
  ASSERT_TRUE(WaitUntil([&] { return Named("Save").id != 0; }));
  const wxtest::XTopWindow save = Named("Save");
  // The name emptied, then Scan: the alert asks for a name.
  ASSERT_TRUE(wxtest::XClick(mDisplay, save.left + 1 + 270, save.top + 1 + 301));
  std::string keys = " xdotool key End";
  for (int i = 0; i < 40; ++i) keys += " BackSpace";
  ASSERT_EQ(0, wxtest::Run("DISPLAY=" + mDisplay + keys));
  ASSERT_TRUE(wxtest::XClick(mDisplay, save.left + 1 + 392, save.top + 1 + 380));
  wxtest::XTopWindow alert;
  const auto shown = [&] {
    for (const wxtest::XTopWindow& w : wxtest::XMappedWindows(mDisplay))
      if (w.name == "Wendrix" && w.id != mainWindow) alert = w;
    return alert.id != 0;
  };
  ASSERT_TRUE(WaitUntil(shown)) << "the alert comes up";
  wxtest::XPixels screen;
  int plain = 0;
  const auto edged = [&] {
    screen = wxtest::XGrabScreen(mDisplay);
    plain = 0;
    for (int x = alert.left + 2; x < alert.left + alert.width - 2; ++x)
      plain += (screen.at(x, alert.top) == screen.at(x, alert.top + 2)) +
               (screen.at(x, alert.top + alert.height - 1) == screen.at(x, alert.top + alert.height - 3));
    for (int y = alert.top + 2; y < alert.top + alert.height - 2; ++y)
      plain += (screen.at(alert.left, y) == screen.at(alert.left + 2, y)) +
               (screen.at(alert.left + alert.width - 1, y) == screen.at(alert.left + alert.width - 3, y));
    return plain == 0;
  };
  WaitUntil(edged, 10);
  wxtest::XKeepPNG(screen, wxtest::OutputDir("app") / "dialog-save-alert.png");
  EXPECT_EQ(0, plain) << "pixels of the alert's outline that look like its inside";
  wxtest::Run("DISPLAY=" + mDisplay + " xdotool key Return");
}

// When the X server ends under the program, the program ends promptly and says why.
TEST_F(ProgramOnScreen, TheProgramEndsWhenItsDisplayGoesAway) {
  WX_REQUIRE_XVFB();
  wxtest::Xvfb own;
  ASSERT_TRUE(own.ok());
  const fs::path log = wxtest::OutputDir("app") / "display-gone.log";
  Launch(own.name(), log);
  own.Stop();
  int status = 0;
  const bool ended = WaitUntil([&] { return waitpid(mChild, &status, WNOHANG) == mChild; }, 20);
  EXPECT_TRUE(ended) << "the program ends";
  if (ended) {
    mChild = -1;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0);
  }
  std::string said;
  wxtest::Run("cat '" + log.string() + "'", &said);
  EXPECT_NE(std::string::npos, said.find("went away")) << said;
}

// Rows of the scan-information window: each value, right of its label, has ink.
bool ValuesHaveInk(const wxtest::XPixels& screen, const wxtest::XTopWindow& info) {
  constexpr int kRows = 6, kFirstRow = 14, kRowStep = 24, kRowHeight = 16, kValueLeft = 150, kValueRight = 380;
  for (int row = 0; row < kRows; ++row) {
    bool ink = false, paper = false;
    for (int y = info.top + kFirstRow + row * kRowStep; y < info.top + kFirstRow + row * kRowStep + kRowHeight; ++y)
      for (int x = info.left + kValueLeft; x < info.left + kValueRight; ++x) {
        ink = ink || (screen.at(x, y) & 0xFF) < 100;
        paper = paper || (screen.at(x, y) & 0xFF) > 200;
      }
    if (!ink || !paper) return false;
  }
  return true;
}

// While a scanner-button File run scans, its windows are drawn and drawn again when
// something passes over them.
TEST_F(ProgramOnScreen, AFileRunsWindowsAreDrawnWhileItScans) {
  WX_REQUIRE_XVFB();
  SlowScanner();
  Launch(wxtest::Xvfb::Get().name(), wxtest::OutputDir("app") / "file-run-drawn.log");
  const wxtest::XTopWindow info = StartFileRunByButton();
  ASSERT_NE(0u, info.id);
  wxtest::XPixels screen;
  const auto drawn = [&] {
    screen = wxtest::XGrabScreen(mDisplay);
    return ValuesHaveInk(screen, info) && screen.at(kLeft + 200, kTop + 10) != 0;
  };
  EXPECT_TRUE(WaitUntil(drawn)) << "the scan-information window shows its values";
  const wxtest::XTopWindow main = Named("Wendrix");
  ASSERT_TRUE(wxtest::XCoverBriefly(mDisplay, main.left, main.top, info.left + info.width - main.left,
                                    info.top + info.height - main.top));
  EXPECT_TRUE(WaitUntil(drawn)) << "the main window and the scan-information window are drawn again";
  wxtest::XKeepPNG(screen, wxtest::OutputDir("app") / "file-run-scanning.png");
  EXPECT_GE(StackIndex(wxtest::XMappedWindows(mDisplay), info.id), 0) << "still scanning";
}

// A wait of more than half a second shows the watch: the scan of a File run.
TEST_F(ProgramOnScreen, ALongScanShowsTheWatch) {
  WX_REQUIRE_XVFB();
  SlowScanner();
  Launch(wxtest::Xvfb::Get().name(), wxtest::OutputDir("app") / "file-run-watch.log");
  const wxtest::XTopWindow info = StartFileRunByButton();
  ASSERT_NE(0u, info.id);
  ASSERT_TRUE(wxtest::XMovePointer(mDisplay, info.left + info.width / 2, info.top + info.height / 2));
  SetThemeCursor(kThemeWatchCursor);
  const Cursor watch = *QDCurrentCursor();
  InitCursor();
  // Black where the watch has ink, white where only its mask covers, clear elsewhere.
  const auto isWatch = [&] {
    const wxtest::XCursorImage shown = wxtest::XShownCursor(mDisplay);
    if (shown.width != 16 || shown.height != 16 || shown.hotX != watch.hotSpot.h || shown.hotY != watch.hotSpot.v)
      return false;
    for (int v = 0; v < 16; ++v)
      for (int h = 0; h < 16; ++h) {
        const UInt16 bit = UInt16(0x8000 >> h);
        const uint32_t want = (watch.data[v] & bit) ? 0xFF000000u : (watch.mask[v] & bit) ? 0xFFFFFFFFu : 0u;
        if (shown.pixels[size_t(v * 16 + h)] != want) return false;
      }
    return true;
  };
  EXPECT_TRUE(WaitUntil(isWatch)) << "the watch shows while the scan goes on";
  EXPECT_GE(StackIndex(wxtest::XMappedWindows(mDisplay), info.id), 0) << "still scanning";
}

// A click on the Settings dialog's Close while it lists the scanners is kept, and acts once
// the list is there.
TEST_F(ProgramOnScreen, AClickWhileSettingsListsItsScannersActs) {
  WX_REQUIRE_XVFB();
  Launch(wxtest::Xvfb::Get().name(), wxtest::OutputDir("app") / "settings-early-click.log");
  ASSERT_TRUE(wxtest::XClick(mDisplay, kLeft + 537, kTop + kButtonRow));
  wxtest::XTopWindow dialog;
  const auto opened = [&] {
    for (const wxtest::XTopWindow& w : wxtest::XMappedWindows(mDisplay))
      if (!w.name.empty() && w.name != "Wendrix") dialog = w;
    return dialog.id != 0;
  };
  ASSERT_TRUE(WaitUntil(opened)) << "Settings opens";
  ASSERT_TRUE(wxtest::XClick(mDisplay, dialog.left + 304, dialog.top + 320));
  const auto closed = [&] { return StackIndex(wxtest::XMappedWindows(mDisplay), dialog.id) < 0; };
  EXPECT_TRUE(WaitUntil(closed, 90)) << "the click on Close closes Settings";
}

}  // namespace
}  // namespace wxapp
