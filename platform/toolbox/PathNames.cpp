#include "toolbox/PathNames.h"

#include <cstdlib>

std::string FpJoin(const std::string& folder, const std::string& leaf) {
  if (leaf.empty()) return folder;
  return folder == "/" ? "/" + leaf : folder + "/" + leaf;
}

std::string FpParent(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return "/";
  return path.substr(0, slash);
}

std::string FpLastElement(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FpCanonical(const std::string& path) {
  char* real = realpath(path.c_str(), nullptr);
  if (!real) return path;
  std::string out(real);
  free(real);
  return out;
}
