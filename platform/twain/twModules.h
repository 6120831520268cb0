// Data source modules: found in the runtime tree's lib/wendrix/twain and in the folders that
// the source-path variable names (for tests), loaded once each with dlopen.
#pragma once

#include <string>
#include <vector>

#include "twain/TwainSource.h"

struct TwModule {
  std::string path;
  void* library;
  TwainSourceListProc list;
  TwainSourceEntryProc entry;
};

// The folders searched, in order.
std::vector<std::string> twModuleFolders();

// Loads every module of the folders not loaded yet and appends it to `modules`. A file that
// is not a loadable module, or lacks either entry, is skipped.
void twLoadModules(std::vector<TwModule>& modules);
