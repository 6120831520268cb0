#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "support/TestEnv.h"
#include "support/Xvfb.h"

namespace {

namespace fs = std::filesystem;

const fs::path kWendrix = WX_WENDRIX_PATH;
const fs::path kPrefsDump = WX_PREFS_DUMP_PATH;
const fs::path kBuildTree = kWendrix.parent_path().parent_path();

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

std::string ReadText(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class RuntimeTree : public ::testing::Test {
 protected:
  void SetUp() override {
    // The SANE backends the test device comes with keep blocks they never free; not ours.
    std::ofstream(mScratch / "leaks.supp") << "leak:libsane\nleak:libfontconfig\nleak:libdbus-1.so\n";
  }
  // A user's environment: a home, the root every folder of the program lies below, the
  // search path. Nothing names the program's own parts.
  std::string UserEnvironment() const {
    return "env -i HOME=" + Quoted(mHome.path()) + " WENDRIX_ROOT=" + Quoted(mRoot.path()) +
           " PATH=/usr/local/bin:/usr/bin:/bin LSAN_OPTIONS=suppressions=" + Quoted(mScratch / "leaks.supp") + " ";
  }
  // Starts `wendrix` headless until its main window is first drawn, as the start-up
  // benchmark does; 0 when it ran.
  int FirstStart(const fs::path& wendrix) const {
    return wxtest::Run(UserEnvironment() + "WX_DISPLAY=headless WENDRIX_QUIT_AFTER_DRAW=1 timeout 120 " + Quoted(wendrix) +
                       " 2>&1");
  }
  // The preferences file's model name as the dump tool shows it.
  std::string StoredModel(const fs::path& prefsDump) const {
    std::string dump;
    EXPECT_EQ(0, wxtest::Run(UserEnvironment() + Quoted(prefsDump) + " " +
                                 Quoted(mRoot / ".config/wendrix/DRWX5011" WX_LANGUAGE_LETTER ".pref") + " 2>&1",
                             &dump));
    const std::string key = "PREF_SETTING.kModelName = ";
    const size_t at = dump.find(key);
    return at == std::string::npos ? "" : dump.substr(at + key.size(), dump.find('\n', at) - at - key.size());
  }
  // A first start stores the test device's model and keeps every file below the root.
  void ExpectFirstStartFindsTheScanner(const fs::path& tree) {
    ASSERT_EQ(0, FirstStart(tree / "bin/wendrix"));
    EXPECT_EQ("\"Dremlo Model A\"", StoredModel(tree / "bin/prefs-dump"));
    EXPECT_TRUE(fs::exists(mRoot / ".config/wendrix/sane/sources.conf"));
    EXPECT_TRUE(fs::is_empty(mHome.path())) << "nothing is written outside WENDRIX_ROOT";
  }
  // The factory file of language E for Model A, written to `out`: the tool's exit status.
  int Factory(const fs::path& prefsDump, const fs::path& out, std::string* messages) const {
    return wxtest::Run(UserEnvironment() + Quoted(prefsDump) + " --factory E 'Dremlo Model A' > " + Quoted(out) + " 2>" +
                           Quoted(mScratch / "stderr") + "; s=$?; cat " + Quoted(mScratch / "stderr") + "; exit $s",
                       messages);
  }
  void ExpectFactoryHistoryNames(const fs::path& prefsDump) {
    std::string messages, dump;
    ASSERT_EQ(0, Factory(prefsDump, mScratch / "factory.pref", &messages)) << messages;
    ASSERT_EQ(0, wxtest::Run(UserEnvironment() + Quoted(prefsDump) + " " + Quoted(mScratch / "factory.pref"), &dump));
    for (const char* line : {"PREF_MAIL.kHistory[0] = \"Mail\"", "PREF_SAVE.kHistory[0] = \"Scan\""})
      EXPECT_NE(std::string::npos, dump.find(line)) << line;
  }

  wxtest::ScratchDir mRoot, mHome, mScratch;
};

TEST_F(RuntimeTree, TheBuildTreeHoldsEveryPartWhereTheProgramsLook) {
  for (const char* part : {"bin/wendrix", "bin/wendrix-button", "bin/prefs-dump", "lib/wendrix/twain/wx_sane_twain.so",
                           "lib/wendrix/Plug-Ins", "share/wendrix/Wendrix.rsrc", "share/wendrix/help/E/index.html",
                           "share/wendrix/help/F/index.html", "share/wendrix/help/G/index.html",
                           "share/wendrix/help/J/index.html"})
    EXPECT_TRUE(fs::exists(kBuildTree / part)) << part;
}

TEST_F(RuntimeTree, AFirstStartFromTheBuildTreeStoresTheTestDevicesModel) {
  ExpectFirstStartFindsTheScanner(kBuildTree);
}

// A screen that cannot be opened ends the program with the reason, instead of a program
// running with no window anyone sees.
TEST_F(RuntimeTree, AScreenThatCannotBeOpenedEndsTheProgramWithItsName) {
  std::string said;
  EXPECT_EQ(1, wxtest::Run(UserEnvironment() + "DISPLAY=:4093 timeout 120 " + Quoted(kWendrix), &said)) << said;
  EXPECT_NE(said.find("cannot open the screen :4093"), std::string::npos) << said;
  EXPECT_FALSE(fs::exists(mRoot / ".config/wendrix/DRWX5011" WX_LANGUAGE_LETTER ".pref")) << "nothing was started";
}

TEST_F(RuntimeTree, TheDumpToolWritesFactoryHistoryNamesFromTheApplicationsResources) {
  ExpectFactoryHistoryNames(kPrefsDump);
}

TEST_F(RuntimeTree, WithoutTheResourcesTheDumpToolFailsAndSaysWhereItLooked) {
  fs::create_directories(mScratch / "tree/bin");
  fs::copy_file(kPrefsDump, mScratch / "tree/bin/prefs-dump");
  std::string messages;
  EXPECT_NE(0, Factory(mScratch / "tree/bin/prefs-dump", mScratch / "factory.pref", &messages));
  EXPECT_NE(std::string::npos, messages.find((mScratch / "tree/share/wendrix/Wendrix.rsrc").string())) << messages;
  EXPECT_EQ(0u, fs::file_size(mScratch / "factory.pref")) << "no file with empty names";
}

TEST_F(RuntimeTree, AnInstalledTreeRunsWithNothingSet) {
  const fs::path prefix = mScratch / "installed";
  std::string log;
  ASSERT_EQ(0, wxtest::Run(std::string(WX_CMAKE_COMMAND) + " --install " + Quoted(kBuildTree) + " --prefix " +
                               Quoted(prefix) + " 2>&1",
                           &log))
      << log;
  ExpectFirstStartFindsTheScanner(prefix);
  ExpectFactoryHistoryNames(prefix / "bin/prefs-dump");
  const std::string entry = ReadText(prefix / "share/applications/wendrix.desktop");
  EXPECT_NE(std::string::npos, entry.find("Exec=" + (prefix / "bin/wendrix").string() + "\n")) << entry;
  EXPECT_NE(std::string::npos, entry.find("Icon=wendrix\n")) << entry;
  EXPECT_TRUE(fs::exists(prefix / "share/icons/hicolor/64x64/apps/wendrix.png"));
  EXPECT_TRUE(fs::is_directory(prefix / "lib/wendrix/Plug-Ins"));
}

// The "?" of the main window, clicked on a screen, hands the language's help page to the
// desktop's opener (a stand-in that notes what it was given).
TEST_F(RuntimeTree, TheHelpButtonOpensTheHelpPageThroughTheDesktopsOpener) {
  WX_REQUIRE_XVFB();
  WX_REQUIRE_TOOL("xdotool");
  const fs::path opener = mScratch / "opener", opened = mScratch / "opened.txt";
  std::ofstream(opener) << "#!/bin/sh\necho \"$1\" >> " << Quoted(opened) << "\n";
  fs::permissions(opener, fs::perms::owner_all);
  const std::string display = "DISPLAY=" + wxtest::Xvfb::Get().name() + " ";
  const pid_t child = fork();
  if (child == 0) {
    const std::string command = "exec " + UserEnvironment() + display + "WX_OPENER=" + Quoted(opener) + " " + Quoted(kWendrix);
    execl("/bin/sh", "sh", "-c", command.c_str(), nullptr);
    _exit(127);
  }
  // The help button lies 549 + 8, 7 + 8 from the window's top left.
  std::string geometry;
  const int found = wxtest::Run("DISPLAY=" + wxtest::Xvfb::Get().name() +
                                    " timeout 60 xdotool search --sync --onlyvisible --name '^Wendrix$' getwindowgeometry --shell 2>/dev/null | head -3",
                                &geometry);
  int x = -1, y = -1;
  std::sscanf(geometry.c_str(), "WINDOW=%*d\nX=%d\nY=%d", &x, &y);
  std::string line;
  for (int i = 0; found == 0 && x >= 0 && i < 300 && line.empty(); ++i) {
    if (i % 20 == 0)
      wxtest::Run("DISPLAY=" + wxtest::Xvfb::Get().name() + " xdotool mousemove " + std::to_string(x + 557) + " " +
                  std::to_string(y + 15) + " click 1");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::ifstream in(opened);
    std::getline(in, line);
  }
  kill(child, SIGTERM);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_EQ(0, found) << "the main window appeared";
  EXPECT_EQ("file://" + (kBuildTree / "share/wendrix/help" / WX_LANGUAGE_LETTER / "index.html").string(), line);
}

}  // namespace
