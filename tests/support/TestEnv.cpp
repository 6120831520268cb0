#include "support/TestEnv.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace wxtest {

ScratchDir::ScratchDir() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string stem = info ? std::string(info->test_suite_name()) + "." + info->name() : "scratch";
  for (char& c : stem)
    if (c == '/') c = '_';
  std::string templ = (fs::temp_directory_path() / ("wx-" + stem + "-XXXXXX")).string();
  if (!mkdtemp(templ.data())) throw std::runtime_error("cannot make a scratch folder");
  mPath = templ;
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  // Make every folder writable again first, in case a test took write permission away.
  for (auto it = fs::recursive_directory_iterator(mPath, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec))
    if (it->is_directory(ec) && !it->is_symlink(ec)) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::permissions(mPath, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(mPath, ec);
}

fs::path OutputDir(const std::string& area) {
  const char* root = std::getenv("WX_TEST_OUTPUT");
  fs::path dir = fs::path(root ? root : fs::temp_directory_path().string()) / area;
  fs::create_directories(dir);
  return dir;
}

fs::path SourceDir() {
  const char* root = std::getenv("WX_SOURCE_DIR");
  return root ? fs::path(root) : fs::current_path();
}

bool HaveTool(const std::string& tool) {
  return Run("command -v '" + tool + "' >/dev/null 2>&1") == 0;
}

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

int Run(const std::string& command, std::string* output) {
  FILE* p = popen((command + " 2>&1").c_str(), "r");
  if (!p) return -1;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0)
    if (output) output->append(buf.data(), n);
  int status = pclose(p);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HoldsForAnUnprivilegedUser(const std::function<bool()>& check) {
  if (geteuid() != 0) return check();
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    _exit(check() ? 0 : 1);
  }
  int status = 0;
  return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace wxtest
