#include "tests/fuzz/FuzzRoot.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>

namespace {

std::map<std::string, std::string>& Made() {
  static auto* made = new std::map<std::string, std::string>;  // still there for the exit handler
  return *made;
}

void RemoveMade() {
  std::error_code ignored;
  for (const auto& [name, folder] : Made()) std::filesystem::remove_all(folder, ignored);
}

}  // namespace

const std::string& FuzzScratch(const char* name) {
  auto found = Made().find(name);
  if (found != Made().end()) return found->second;
  std::string inMemory = std::string("/dev/shm/wx-fuzz-") + name + "-XXXXXX";
  std::string onDisk = std::string("/tmp/wx-fuzz-") + name + "-XXXXXX";
  const char* made = mkdtemp(inMemory.data());
  if (!made) made = mkdtemp(onDisk.data());
  if (!made) std::abort();
  if (Made().empty()) std::atexit(RemoveMade);
  return Made().emplace(name, made).first->second;
}

const std::string& FuzzRoot(const char* name) {
  static const std::string root = [name] {
    const std::string& made = FuzzScratch(name);
    setenv("WENDRIX_ROOT", made.c_str(), 1);
    return made;
  }();
  return root;
}
