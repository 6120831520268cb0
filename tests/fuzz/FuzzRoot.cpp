#include "tests/fuzz/FuzzRoot.h"

#include <unistd.h>

#include <cstdlib>

const std::string& FuzzRoot(const char* name) {
  static const std::string root = [name] {
    std::string inMemory = std::string("/dev/shm/wx-fuzz-") + name + "-XXXXXX";
    std::string onDisk = std::string("/tmp/wx-fuzz-") + name + "-XXXXXX";
    const char* made = mkdtemp(inMemory.data());
    if (!made) made = mkdtemp(onDisk.data());
    if (!made) std::abort();
    setenv("WENDRIX_ROOT", made, 1);
    return std::string(made);
  }();
  return root;
}
