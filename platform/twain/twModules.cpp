#include "twain/twModules.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "toolbox/FolderLocations.h"

namespace fs = std::filesystem;

std::vector<std::string> twModuleFolders() {
  std::vector<std::string> folders{FolderRuntimePath(kRuntimeTwainDir)};
  if (const char* env = std::getenv(TWAIN_SOURCE_PATH_ENV)) {
    std::string list = env;
    size_t start = 0;
    while (start <= list.size()) {
      size_t end = list.find(':', start);
      if (end == std::string::npos) end = list.size();
      if (end > start) folders.push_back(list.substr(start, end - start));
      start = end + 1;
    }
  }
  return folders;
}

static std::vector<std::string> twModuleFiles(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->path().extension() == ".so" && it->is_regular_file(ec)) files.push_back(it->path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

void twLoadModules(std::vector<TwModule>& modules) {
  for (const std::string& folder : twModuleFolders()) {
    for (const std::string& file : twModuleFiles(folder)) {
      std::error_code ec;
      std::string path = fs::weakly_canonical(file, ec).string();
      if (ec) continue;
      bool known = std::any_of(modules.begin(), modules.end(), [&](const TwModule& m) { return m.path == path; });
      if (known) continue;
      void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
      if (!library) continue;
      auto list = reinterpret_cast<TwainSourceListProc>(dlsym(library, TWAIN_SOURCE_LIST_SYMBOL));
      auto entry = reinterpret_cast<TwainSourceEntryProc>(dlsym(library, TWAIN_SOURCE_ENTRY_SYMBOL));
      if (!list || !entry) {
        dlclose(library);
        continue;
      }
      modules.push_back(TwModule{path, library, list, entry});
    }
  }
}
