#include "sbConfig.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "toolbox/ConfigHome.h"

namespace fs = std::filesystem;

std::string sbConfigFolder() {
  if (const char* env = std::getenv("WX_SANE_CONFIG"); env && *env) return env;
  return ConfigHomeFromEnvironment() + "/wendrix/sane";
}

static void sbWriteIfMissing(const fs::path& path, const char* text) {
  std::error_code ec;
  if (fs::exists(path, ec)) return;
  fs::create_directories(path.parent_path(), ec);
  std::ofstream(path) << text;
}

void sbPrepareProductNames() { sbWriteIfMissing(fs::path(sbConfigFolder()) / "sources.conf", "test:0=Dremlo Model A\n"); }

void sbPrepareSaneConfig() {
  fs::path folder = sbConfigFolder();
  sbWriteIfMissing(folder / "dll.d" / "wendrix", "test\n");
  sbWriteIfMissing(folder / "test.conf", "number_of_devices 1\ntest-picture \"Color pattern\"\n");
  sbPrepareProductNames();
  const char* existing = std::getenv("SANE_CONFIG_DIR");
  std::string dirs = folder.string() + ":" + (existing ? existing : "");
  setenv("SANE_CONFIG_DIR", dirs.c_str(), 1);
}

// The value of the first "<key>=value" line of sources.conf, or `fallback`.
static std::string sbSourcesValue(const std::string& key, const std::string& fallback) {
  std::ifstream in(fs::path(sbConfigFolder()) / "sources.conf");
  std::string line;
  while (std::getline(in, line)) {
    if (line.size() > key.size() && line.compare(0, key.size(), key) == 0 && line[key.size()] == '=')
      return line.substr(key.size() + 1);
  }
  return fallback;
}

std::string sbProductName(const std::string& device, const std::string& fallback) {
  return sbSourcesValue(device, fallback);
}

std::string sbDocumentSource(const std::string& device) { return sbSourcesValue(device + " documents", ""); }
