// The built program as a user runs it: started on a private X server with nothing set but
// its root folder and the folder printer, driven only from outside (pointer and keys through
// the X test extension, scanner-button pushes through the button tool), its screen read back.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/TestEnv.h"

namespace wxe2e {

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
};

// True once `done` holds, polling until `seconds` have passed.
bool WaitUntil(const std::function<bool()>& done, double seconds);

class UserSession : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the program and waits for its main window.
  void StartProgram();
  // The visible top-level window whose title is exactly `title`, once it shows.
  bool WaitForWindow(const std::string& title, Rect* where, double seconds = 60);
  bool WaitForWindowGone(const std::string& title, double seconds = 120);
  // A visible window whose layout has this size (an alert, a prompt, a sub-dialog), once one
  // shows; `where` takes the whole window, the program's one-pixel frame around the layout with it.
  bool WaitForWindowSized(int width, int height, Rect* where, double seconds = 120);
  // An alert or message box (a window other than the main window and `dialog`), once one shows.
  bool WaitForAlert(const std::string& dialog, Rect* where, double seconds = 120);
  // Until no visible window stands exactly at `window`.
  bool WaitForWindowGone(const Rect& window, double seconds = 60);
  // A press of the first pointer button at a point of the screen, held as a hand holds it.
  void Click(int x, int y);
  // The same at a point of a window, counted from its top left corner.
  void ClickIn(const Rect& window, int x, int y) { Click(window.x + x, window.y + y); }
  void Key(const std::string& keys);
  // Text typed as keys, into whatever has the keyboard focus.
  void Type(const std::string& text);
  // A press at one point of the screen held while the menu it opens shows, released at another.
  void Choose(int x, int y, int toX, int toY);
  // A scan of the SANE test device by scanimage, configured as the program configured it,
  // with `args`, into the TIFF file `to`.
  bool ScanReference(const std::string& args, const std::filesystem::path& to);
  // Waits until two looks at the screen a moment apart see the same: the program has drawn
  // what it was doing and takes input again.
  bool WaitForStillScreen(double seconds = 60);
  // What `wendrix-button ARGS` exits with.
  int PushButton(const std::string& args);
  // How many distinct colours a part of the screen shows: a blank pane shows one or two.
  size_t ColoursIn(const Rect& area);
  // The words a part of the screen shows, read by the text recogniser.
  std::string TextIn(const Rect& area);
  // The screen kept under the test output as "<test>-<step>.png".
  void Screenshot(const std::string& step);
  // The regular files below `folder` (recursively) whose names end with `ending`.
  std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder, const std::string& ending) const;
  // Waits until `count` such files are there, complete (no file of the writer still open
  // beside them, no scanned page waiting to be written, sizes steady between two looks).
  std::vector<std::filesystem::path> WaitForFiles(const std::filesystem::path& folder, const std::string& ending, size_t count,
                                                  double seconds = 180);

  const std::filesystem::path& Root() const { return mRoot.path(); }
  std::filesystem::path PrintFolder() const { return mRoot.path() / "printed"; }
  std::filesystem::path PicturesFolder() const { return mRoot.path() / "Pictures"; }
  std::filesystem::path PreferencesFile() const {
    return mRoot.path() / (std::string(".config/wendrix/DRWX5011") + WX_E2E_LANGUAGE + ".pref");
  }
  // Where the program keeps raw scanned pages until they are written out.
  std::filesystem::path ScanTemporaryFolder() const {
    return mRoot.path() / ".config/wendrix/Dremlo Wendrix 5.0/WX50Temp";
  }
  // The environment every program of the session gets.
  std::vector<std::string> Environment() const;

 private:
  wxtest::ScratchDir mRoot;
  pid_t mProgram = -1;
  Rect mMainWindow;
  int mShots = 0;
};

}  // namespace wxe2e

// Skips when a tool the session drives the screen with is missing.
#define WX_REQUIRE_SESSION_TOOLS() \
  do { \
    WX_REQUIRE_TOOL("xdotool"); \
    WX_REQUIRE_TOOL("import"); \
  } while (0)
