// What every test may need of its surroundings: a private scratch folder, the folder
// where samples of checked output are kept, and whether an outside checking tool exists.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace wxtest {

// A fresh, empty folder for this test case, removed when the object goes.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return mPath; }
  std::filesystem::path operator/(const std::string& name) const { return mPath / name; }

 private:
  std::filesystem::path mPath;
};

// <build>/test-output/<area>, created on demand: keep one sample of each checked file here.
std::filesystem::path OutputDir(const std::string& area);

// The source tree (for fixtures kept with the tests).
std::filesystem::path SourceDir();

// True when `tool` is on PATH.
bool HaveTool(const std::string& tool);

// A whole file's bytes (empty when it cannot be read), and a file made of `bytes`.
std::vector<uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// Runs a shell command, returns its exit status and (optionally) what it printed.
int Run(const std::string& command, std::string* output = nullptr);

// Root may write anywhere: as root `check` runs in a child that has become the unprivileged
// user 65534 (what it needs must be open to that user); otherwise here. Whether it held.
bool HoldsForAnUnprivilegedUser(const std::function<bool()>& check);

}  // namespace wxtest

// Skips the current test with a clear message when an outside tool is missing.
#define WX_REQUIRE_TOOL(tool) \
  do { \
    if (!::wxtest::HaveTool(tool)) GTEST_SKIP() << "'" << tool << "' is not installed (scripts/setup installs it)"; \
  } while (0)
