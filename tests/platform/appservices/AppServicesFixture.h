// A scratch root for the application-services tests, and programs that write down how they
// were started.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "support/TestEnv.h"

namespace wxtest {

class AppServicesRoot {
 public:
  AppServicesRoot() { setenv("WENDRIX_ROOT", mDir.path().c_str(), 1); }
  ~AppServicesRoot() { unsetenv("WENDRIX_ROOT"); }
  const std::filesystem::path& path() const { return mDir.path(); }
  std::filesystem::path operator/(const std::string& name) const { return mDir / name; }

 private:
  ScratchDir mDir;
};

inline void WriteFile(const std::filesystem::path& path, const std::string& text, mode_t mode = 0644) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path) << text;
  chmod(path.c_str(), mode);
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A script that appends one line per run to `record`: its arguments separated by '|', then
// the launcher signature it found in the environment after a '#'.
inline void WriteRecorder(const std::filesystem::path& script, const std::filesystem::path& record) {
  WriteFile(script,
            "#!/bin/sh\nout=\"\"\nfor a in \"$@\"; do out=\"$out|$a\"; done\n"
            "printf '%s#%s\\n' \"$out\" \"$WX_LAUNCHER_SIGNATURE\" >> '" + record.string() + "'\n",
            0755);
}

// Waits for a detached program to write `lines` lines to `record` (at most a few seconds).
inline std::string WaitForLines(const std::filesystem::path& record, size_t lines) {
  for (int i = 0; i < 500; ++i) {
    std::string text = ReadFile(record);
    size_t count = 0;
    for (char c : text) count += c == '\n';
    if (count >= lines) return text;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return ReadFile(record);
}

}  // namespace wxtest
