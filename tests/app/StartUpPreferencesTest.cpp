// The built program started as a user starts it, on preferences that are damaged or that
// another user left, or on what a killed run left: it opens its window, or says what is wrong
// and waits without spinning, and a SIGTERM ends it as the Quit command does.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "AppTestEnv.h"
#include "support/XScreen.h"
#include "support/Xvfb.h"
#include "toolbox/MacErrors.h"

namespace wxapp {
namespace {

namespace fs = std::filesystem;

// CPU ticks (user and system) the process has used so far.
long CpuTicks(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(in, line);
  std::istringstream fields(line.substr(line.rfind(')') + 2));
  std::string skip;
  for (int i = 3; i < 14; ++i) fields >> skip;
  long user = 0, system = 0;
  fields >> user >> system;
  return user + system;
}

// Whether the process ended within `seconds`; its wait status in `status`.
bool EndsWithin(pid_t pid, int seconds, int* status) {
  for (int i = 0; i < seconds * 10; ++i) {
    if (waitpid(pid, status, WNOHANG) == pid) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

// The program's windows on the private screen: its main window and any alert (same title).
std::vector<wxtest::XTopWindow> ProgramWindows() {
  std::vector<wxtest::XTopWindow> windows;
  for (const wxtest::XTopWindow& w : wxtest::XMappedWindows(wxtest::Xvfb::Get().name()))
    if (w.name == "Wendrix") windows.push_back(w);
  return windows;
}

bool IsMainWindow(const wxtest::XTopWindow& w) { return w.width == CMainWindow::kWidth; }

std::vector<unsigned char> Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Stop(pid_t pid) {
  kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
}

class StartUpPreferencesTest : public AppTest {
 protected:
  // The program, run as uid and gid 65534 when `foreign`.
  // Hands the scratch root to uid 65534 but the preferences folder (and file) to root, the
  // folder readable by all and writable by none but root; the temporary folder's parent in it
  // is gone.
  fs::path MakePreferencesFolderReadOnly() {
    fs::remove_all(PrefsFile().parent_path() / "Dremlo Wendrix 5.0");
    for (const auto& entry : fs::recursive_directory_iterator(mRoot.path()))
      EXPECT_EQ(lchown(entry.path().c_str(), 65534, 65534), 0);
    EXPECT_EQ(chown(mRoot.path().c_str(), 65534, 65534), 0);
    const fs::path folder = PrefsFile().parent_path();
    for (const auto& entry : fs::directory_iterator(folder)) EXPECT_EQ(lchown(entry.path().c_str(), 0, 0), 0);
    EXPECT_EQ(chown(folder.c_str(), 0, 0), 0);
    fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    return folder;
  }

  pid_t Launch(bool quitAfterDraw, bool foreign) {
    const pid_t child = fork();
    if (child == 0) {
      if (foreign && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(126);
      if (quitAfterDraw) setenv("WENDRIX_QUIT_AFTER_DRAW", "1", 1);
      execl(WX_WENDRIX_PATH, "wendrix", nullptr);
      _exit(127);
    }
    return child;
  }
};

TEST_F(StartUpPreferencesTest, DamagedPreferencesAreSetAsideOrRepairedAndTheWindowOpens) {
  struct Case {
    const char* what;
    void (*prepare)(const fs::path& file);
    bool setAside;
  } cases[] = {
      {"a folder at the path", [](const fs::path& file) { fs::create_directories(file / "inside"); }, true},
      {"a record of random bytes",
       [](const fs::path& file) {
         fs::copy_file(fs::path(WX_SOURCE_DIR_DEFAULT) / "tests/prefs/fixtures/random-record", file,
                       fs::copy_options::overwrite_existing);
       },
       false},
  };
  for (const Case& c : cases) {
    fs::remove_all(PrefsFile());
    fs::remove_all(PrefsFile().string() + ".damaged");
    c.prepare(PrefsFile());
    const pid_t child = Launch(true, false);
    int status = 0;
    if (!EndsWithin(child, 120, &status)) {
      Stop(child);
      ADD_FAILURE() << c.what << ": the program did not open its window and end";
      continue;
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << c.what;
    EXPECT_EQ(fs::is_directory(PrefsFile().string() + ".damaged"), c.setAside) << c.what;
    ASSERT_TRUE(fs::is_regular_file(PrefsFile())) << c.what;
    // The captions as stored: printable, whatever the damage was.
    std::ifstream in(PrefsFile(), std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), PREF_ALL::kSize) << c.what;
    Str255 caption;
    PREF_COPY::kButtonName.get(PREF_ALL::kCopy.in(RecordBytes(bytes.data(), bytes.size())), caption);
    for (int i = 1; i <= caption[0]; ++i) EXPECT_GE(caption[i], 0x20) << c.what << " at " << i;
  }
}

// A preferences folder the user may not write (where the temporary folder lives too): the
// program says what is wrong, waits for its user without spinning, and a SIGTERM ends it.
TEST_F(StartUpPreferencesTest, AReadOnlyPreferencesFolderIsReportedAndSigtermEndsTheProgram) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to hand the folder to another user";
  WX_REQUIRE_XVFB();
  fs::remove(PrefsFile());
  for (const auto& entry : fs::recursive_directory_iterator(mRoot.path()))
    ASSERT_EQ(lchown(entry.path().c_str(), 65534, 65534), 0);
  ASSERT_EQ(chown(mRoot.path().c_str(), 65534, 65534), 0);
  const fs::path folder = PrefsFile().parent_path();
  ASSERT_EQ(chown(folder.c_str(), 0, 0), 0);
  fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
  unsetenv("WX_DISPLAY");
  const pid_t child = Launch(false, true);
  // Started (a second of processor used), then idle: under a third of the processor over two
  // seconds running, within a generous bound.
  const long tick = sysconf(_SC_CLK_TCK);
  int idleSeconds = 0;
  for (int i = 0; i < 90 && idleSeconds < 2; ++i) {
    const long before = CpuTicks(child);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const long after = CpuTicks(child);
    idleSeconds = after >= tick && after - before < tick / 3 ? idleSeconds + 1 : 0;
  }
  const bool idle = idleSeconds >= 2;
  EXPECT_TRUE(idle) << "the program spins while it waits";
  kill(child, SIGTERM);
  int status = 0;
  const bool ended = EndsWithin(child, 60, &status);
  if (!ended) Stop(child);
  EXPECT_TRUE(ended) << "SIGTERM did not end the program";
  EXPECT_TRUE(WIFEXITED(status)) << "status " << status;
  EXPECT_FALSE(fs::exists(PrefsFile()));
  fs::permissions(folder, fs::perms::owner_all);
}

// A stored place of the main window off the screen (a damaged file, a screen since made
// smaller): the window opens wholly on the screen.
TEST_F(StartUpPreferencesTest, AMainWindowStoredOffTheScreenOpensOnIt) {
  WX_REQUIRE_XVFB();
  unsetenv("WX_DISPLAY");
  const wxtest::XPixels screen = wxtest::XGrabScreen(wxtest::Xvfb::Get().name());
  ASSERT_GT(screen.width, 0);
  const SInt16 places[][2] = {{30000, 30000}, {-30000, -30000}, {-1, 32767}, {32767, -1}};
  for (const auto& place : places) {
    SCOPED_TRACE(std::to_string(place[0]) + ", " + std::to_string(place[1]));
    WithPrefs([&](RecordBytes all) {
      PREF_ALL::kWindowTop.set(all, place[0]);
      PREF_ALL::kWindowLeft.set(all, place[1]);
    });
    const pid_t child = Launch(false, false);
    wxtest::XTopWindow main;
    for (int i = 0; i < 600 && main.id == 0; ++i) {
      for (const wxtest::XTopWindow& w : ProgramWindows())
        if (IsMainWindow(w)) main = w;
      if (main.id == 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_NE(main.id, 0u) << "the main window shows";
    EXPECT_GE(main.left, 0);
    EXPECT_GE(main.top, 0);
    EXPECT_LE(main.left + main.width, screen.width);
    EXPECT_LE(main.top + main.height, screen.height);
    kill(child, SIGTERM);
    int status = 0;
    if (!EndsWithin(child, 60, &status)) Stop(child);
  }
}

// What killed writers left in the program's own folders (its temporary folder and the folder
// of print jobs) goes as the program starts; a running writer's file stays.
TEST_F(StartUpPreferencesTest, TheProgramsOwnFoldersLoseWhatKilledWritersLeft) {
  const pid_t dead = fork();
  if (dead == 0) _exit(0);
  ASSERT_GT(dead, 0);
  waitpid(dead, nullptr, 0);
  std::string tmp;
  ASSERT_EQ(FindFolderPath(kUserDomain, kTemporaryFolderType, kCreateFolder, &tmp), noErr);
  const fs::path scans = PrefsFile().parent_path() / "Dremlo Wendrix 5.0" / "WX50Temp";
  fs::create_directories(scans);
  const std::string killed = ".wx-new-" + std::to_string(dead) + "-";
  const fs::path left[] = {fs::path(tmp) / (killed + "0"), fs::path(tmp) / (killed + "job1"), scans / (killed + "2")};
  const fs::path running = fs::path(tmp) / (".wx-new-" + std::to_string(getpid()) + "-0");
  for (const fs::path& file : left) std::ofstream(file) << "half";
  std::ofstream(running) << "half";
  const pid_t child = Launch(true, false);
  int status = 0;
  if (!EndsWithin(child, 120, &status)) {
    Stop(child);
    FAIL() << "the program did not open its window and end";
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
  for (const fs::path& file : left) EXPECT_FALSE(fs::exists(file)) << file;
  EXPECT_TRUE(fs::exists(running));
}

// A preferences folder the user may not write: the program says once that its settings will
// not be kept, makes its temporary folder in its own temporary folder instead, and goes on
// with its main window; a SIGTERM quits it as the Quit command does.
TEST_F(StartUpPreferencesTest, AReadOnlyPreferencesFolderLeavesTheProgramWorking) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to hand the folder to another user";
  WX_REQUIRE_XVFB();
  WX_REQUIRE_TOOL("xdotool");
  unsetenv("WX_DISPLAY");
  const fs::path fallback = mRoot.path() / "tmp" / "wendrix-65534" / "WX50Temp";
  for (const bool withFile : {true, false}) {
    SCOPED_TRACE(withFile ? "a readable preferences file" : "no preferences file");
    if (!withFile) fs::remove(PrefsFile());
    const std::vector<unsigned char> before = Bytes(PrefsFile());
    const fs::path folder = MakePreferencesFolderReadOnly();
    const pid_t child = Launch(false, true);
    int alerts = 0;
    bool working = false;
    const auto bound = std::chrono::steady_clock::now() + std::chrono::seconds(90);
    // The alert may come up after the main window and the folder: both are awaited.
    while (!(working && alerts > 0) && std::chrono::steady_clock::now() < bound) {
      const std::vector<wxtest::XTopWindow> windows = ProgramWindows();
      bool alert = false, main = false;
      for (const wxtest::XTopWindow& w : windows) (IsMainWindow(w) ? main : alert) = true;
      if (alert) {
        ++alerts;
        wxtest::Run("DISPLAY=" + wxtest::Xvfb::Get().name() + " xdotool key Return");
        // Answered: its window goes before the next look.
        for (int j = 0; j < 100; ++j) {
          bool gone = true;
          for (const wxtest::XTopWindow& w : ProgramWindows()) gone = gone && IsMainWindow(w);
          if (gone) break;
          std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
      }
      working = main && !alert && fs::is_directory(fallback);
      if (!(working && alerts > 0)) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(working) << "the main window and a temporary folder in " << fallback;
    EXPECT_EQ(alerts, 1) << "alerts shown before the program went on";
    kill(child, SIGTERM);
    int status = 0;
    const bool ended = EndsWithin(child, 60, &status);
    if (!ended) Stop(child);
    EXPECT_TRUE(ended && WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_FALSE(fs::exists(fallback)) << "the temporary folder goes at the quit";
    EXPECT_EQ(Bytes(PrefsFile()), before);
    fs::permissions(folder, fs::perms::owner_all);
  }
}

}  // namespace
}  // namespace wxapp
