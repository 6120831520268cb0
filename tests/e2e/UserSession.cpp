#include "e2e/UserSession.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "support/Xvfb.h"

namespace wxe2e {

namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::string Xdotool(const std::string& args) {
  std::string out;
  wxtest::Run("DISPLAY=" + wxtest::Xvfb::Get().name() + " xdotool " + args + " 2>/dev/null", &out);
  return out;
}

std::string TestName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  std::replace(name.begin(), name.end(), '/', '-');
  return name;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& done, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return true;
}

void UserSession::SetUp() {
  WX_REQUIRE_XVFB();
  WX_REQUIRE_SESSION_TOOLS();
  fs::create_directories(PrintFolder());
}

void UserSession::TearDown() {
  if (mProgram > 0) {
    Screenshot("last");
    kill(mProgram, SIGTERM);
    int status = 0;
    // A program in the middle of a function may not end on request; the row has its result.
    if (!WaitUntil([&] { return waitpid(mProgram, &status, WNOHANG) == mProgram; }, 20)) {
      kill(mProgram, SIGKILL);
      waitpid(mProgram, &status, 0);
    }
    std::ifstream log(mRoot.path() / "wendrix.log");
    std::stringstream text;
    text << log.rdbuf();
    // Leaks reported at the end are the scanner libraries' own; errors are the program's.
    EXPECT_EQ(text.str().find("ERROR: AddressSanitizer"), std::string::npos) << text.str();
    EXPECT_EQ(text.str().find("runtime error"), std::string::npos) << text.str();
  }
}

std::vector<std::string> UserSession::Environment() const {
  std::vector<std::string> env = {
      std::string("PATH=") + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin"),
      "DISPLAY=" + wxtest::Xvfb::Get().name(),
      "WENDRIX_ROOT=" + mRoot.path().string(),
      // The folder printer, and a print server that never answers in place of the machine's.
      "WX_PRINT_FOLDER=" + PrintFolder().string(),
      "CUPS_SERVER=" + (mRoot.path() / "no-cups.sock").string(),
  };
  return env;
}

void UserSession::StartProgram() {
  std::vector<std::string> env = Environment();
  const std::string log = (mRoot.path() / "wendrix.log").string();
  mProgram = fork();
  if (mProgram == 0) {
    std::vector<char*> envp;
    for (std::string& s : env) envp.push_back(s.data());
    envp.push_back(nullptr);
    freopen(log.c_str(), "w", stdout);
    dup2(fileno(stdout), 2);
    execle(WX_E2E_WENDRIX, "wendrix", nullptr, envp.data());
    _exit(127);
  }
  ASSERT_TRUE(WaitForWindow("Wendrix", &mMainWindow)) << "the main window shows";
}

namespace {

// The visible windows whose title matches `pattern`, where they are.
std::vector<Rect> WindowsMatching(const std::string& pattern) {
  std::vector<Rect> windows;
  std::istringstream ids(Xdotool("search --onlyvisible --name " + Quoted(pattern)));
  for (std::string id; ids >> id;) {
    std::map<std::string, int> values;
    std::istringstream lines(Xdotool("getwindowgeometry --shell " + id));
    std::string line;
    while (std::getline(lines, line))
      if (const size_t eq = line.find('='); eq != std::string::npos) values[line.substr(0, eq)] = std::atoi(line.c_str() + eq + 1);
    if (values.count("WIDTH")) windows.push_back({values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]});
  }
  return windows;
}

std::vector<Rect> WindowsTitled(const std::string& title) { return WindowsMatching("^" + title + "$"); }

}  // namespace

bool UserSession::WaitForWindow(const std::string& title, Rect* where, double seconds) {
  return WaitUntil(
      [&] {
        const std::vector<Rect> windows = WindowsTitled(title);
        if (windows.empty()) return false;
        *where = windows.front();
        return true;
      },
      seconds);
}

bool UserSession::WaitForWindowSized(int width, int height, Rect* where, double seconds) {
  return WaitUntil(
      [&] {
        for (const Rect& window : WindowsMatching(".*"))
          if (window.width == width + 2 && window.height == height + 2) {
            *where = window;
            return true;
          }
        return false;
      },
      seconds);
}

bool UserSession::WaitForAlert(const std::string& dialog, Rect* where, double seconds) {
  return WaitUntil(
      [&] {
        // Alerts take the program's name as title, as the main window does: that is told by where it is.
        std::vector<Rect> known = WindowsTitled(dialog);
        known.push_back(mMainWindow);
        for (const Rect& window : WindowsMatching(".*")) {
          const auto same = [&](const Rect& r) {
            return r.x == window.x && r.y == window.y && r.width == window.width && r.height == window.height;
          };
          // The screen's own window is at the corner; the main window and the dialog are known.
          if ((window.x > 0 || window.y > 0) && std::none_of(known.begin(), known.end(), same)) {
            *where = window;
            return true;
          }
        }
        return false;
      },
      seconds);
}

bool UserSession::WaitForWindowGone(const Rect& gone, double seconds) {
  int absent = 0;
  return WaitUntil(
      [&] {
        const std::vector<Rect> windows = WindowsMatching(".*");
        // A window vanishing under a look can cut the list short: two looks must miss it.
        const bool missing = !windows.empty() && std::none_of(windows.begin(), windows.end(), [&](const Rect& r) {
          return r.x == gone.x && r.y == gone.y && r.width == gone.width && r.height == gone.height;
        });
        absent = missing ? absent + 1 : 0;
        return absent >= 2;
      },
      seconds);
}

bool UserSession::WaitForWindowGone(const std::string& title, double seconds) {
  return WaitUntil([&] { return Xdotool("search --onlyvisible --name " + Quoted("^" + title + "$")).empty(); }, seconds);
}

void UserSession::Click(int x, int y) {
  Xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " sleep 0.1 mousedown 1 sleep 0.15 mouseup 1 sleep 0.1");
}

void UserSession::Choose(int x, int y, int toX, int toY) {
  Xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " sleep 0.1 mousedown 1");
  EXPECT_TRUE(WaitForStillScreen());
  Xdotool("mousemove " + std::to_string(toX) + " " + std::to_string(toY) + " sleep 0.3 mouseup 1 sleep 0.1");
}

bool UserSession::ScanReference(const std::string& args, const fs::path& to) {
  const std::vector<fs::path> configs = FilesIn(mRoot.path(), "test.conf");
  if (configs.size() != 1) return false;
  return wxtest::Run("SANE_CONFIG_DIR=" + Quoted(configs[0].parent_path().string()) + " scanimage -d test:0 " + args +
                     " --format=tiff > " + Quoted(to.string())) == 0;
}

void UserSession::Key(const std::string& keys) { Xdotool("key --delay 100 " + keys); }

void UserSession::Type(const std::string& text) { Xdotool("type --delay 60 " + Quoted(text)); }

namespace {

// The `import` command that takes a part of the screen.
std::string ImportArea(const Rect& area) {
  return "import -display " + wxtest::Xvfb::Get().name() + " -window root -crop " + std::to_string(area.width) + "x" +
         std::to_string(area.height) + "+" + std::to_string(area.x) + "+" + std::to_string(area.y) + " +repage";
}

}  // namespace

size_t UserSession::ColoursIn(const Rect& area) {
  std::string out;
  wxtest::Run(ImportArea(area) + " -format %k info:", &out);
  return std::strtoul(out.c_str(), nullptr, 10);
}

std::string UserSession::TextIn(const Rect& area) {
  std::string out;
  // Screen text is small for the recogniser: twice the size reads reliably.
  wxtest::Run(ImportArea(area) + " -resize 200% png:- | tesseract stdin stdout --dpi 144 2>/dev/null", &out);
  return out;
}

bool UserSession::WaitForStillScreen(double seconds) {
  std::string before;
  return WaitUntil(
      [&] {
        std::string now;
        wxtest::Run("xwd -root -silent -display " + wxtest::Xvfb::Get().name() + " | md5sum", &now);
        const bool still = now == before;
        before = now;
        return still;
      },
      seconds);
}

int UserSession::PushButton(const std::string& args) {
  std::string command = "env -i";
  for (const std::string& var : Environment()) command += " " + Quoted(var);
  return wxtest::Run(command + " " + Quoted(WX_E2E_BUTTON_TOOL) + " " + args);
}

void UserSession::Screenshot(const std::string& step) {
  char number[8];
  std::snprintf(number, sizeof number, "%02d", ++mShots);
  const fs::path png = wxtest::OutputDir("e2e") / (TestName() + "-" + number + "-" + step + ".png");
  wxtest::Run("import -display " + wxtest::Xvfb::Get().name() + " -window root " + Quoted(png.string()));
}

std::vector<fs::path> UserSession::FilesIn(const fs::path& folder, const std::string& ending) const {
  std::vector<fs::path> files;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (it->is_regular_file() && name.size() >= ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0)
      files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<fs::path> UserSession::WaitForFiles(const fs::path& folder, const std::string& ending, size_t count, double seconds) {
  std::vector<fs::path> files;
  std::vector<uintmax_t> sizes;
  WaitUntil(
      [&] {
        std::vector<fs::path> now = FilesIn(folder, ending);
        std::vector<uintmax_t> nowSizes;
        for (const fs::path& file : now) nowSizes.push_back(fs::file_size(file));
        // Temporary files of a writer still at work: ".new" and ".part", and the scanned pages
        // the program has not yet written out.
        const bool busy = !FilesIn(folder, ".new").empty() || !FilesIn(folder, ".part").empty() ||
                          !FilesIn(ScanTemporaryFolder(), "").empty();
        const bool steady = now.size() == count && now == files && nowSizes == sizes && !busy;
        files = now;
        sizes = nowSizes;
        return steady;
      },
      seconds);
  return files;
}

}  // namespace wxe2e
