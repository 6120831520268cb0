// Test side of the fake data source: points the manager at it and writes its script.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace wxfake {

// Adds the fake's folder (and any extra folders) to the manager's source path. Call before
// the manager is first opened.
inline void UseFakeSource(const std::string& extraFolders = "") {
  std::string path = WX_FAKE_SOURCE_DIR;
  if (!extraFolders.empty()) path = extraFolders + ":" + path;
  setenv("WX_TWAIN_SOURCES", path.c_str(), 1);
}

// Writes the script (key=value lines) that the fake reads when a source opens, with its
// message log beside it; returns the log's path.
inline std::filesystem::path WriteFakeScript(const std::filesystem::path& folder, const std::string& lines) {
  std::filesystem::path script = folder / "fake.txt", log = folder / "fake.log";
  std::ofstream(script) << lines << "\nlog=" << log.string() << "\n";
  std::filesystem::remove(log);
  setenv("WX_FAKE_TWAIN", script.c_str(), 1);
  return log;
}

inline std::string ReadLog(const std::filesystem::path& log) {
  std::ifstream in(log);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace wxfake
