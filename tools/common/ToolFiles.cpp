#include "tools/common/ToolFiles.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

bool ToolReadFile(const std::string& path, std::string* bytes, std::string* reason) {
  bytes->clear();
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    *reason = std::strerror(errno);
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    *reason = "is a folder, not a file";
    return false;
  }
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) {
    *reason = std::strerror(errno);
    return false;
  }
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes->append(buffer, n);
  const int error = std::ferror(in) ? errno : 0;
  std::fclose(in);
  if (error != 0) *reason = std::strerror(error);
  return error == 0;
}

bool ToolWriteStandardOutput(const void* bytes, size_t size, std::string* reason) {
  errno = 0;
  if (std::fwrite(bytes, 1, size, stdout) == size && std::fflush(stdout) == 0) return true;
  *reason = errno ? std::strerror(errno) : "the output was cut short";
  return false;
}
