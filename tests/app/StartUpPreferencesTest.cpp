// The built program started as a user starts it, on preferences that are damaged or that
// another user left: it opens its window, or says what is wrong and waits without spinning,
// and a SIGTERM ends it as the Quit command does.
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

#include "AppTestEnv.h"
#include "support/Xvfb.h"

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

void Stop(pid_t pid) {
  kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
}

class StartUpPreferencesTest : public AppTest {
 protected:
  // The program, run as uid and gid 65534 when `foreign`.
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

}  // namespace
}  // namespace wxapp
