#include "support/PrinterEnvironment.h"

#include <cstdlib>

namespace wxtest {

namespace {

void Put(const char* name, const std::string& value, bool set) {
  if (set)
    setenv(name, value.c_str(), 1);
  else
    unsetenv(name);
}

std::string Get(const char* name, bool* had) {
  const char* value = getenv(name);
  *had = value != nullptr;
  return value ? value : "";
}

}  // namespace

PrinterEnvironment::PrinterEnvironment(const std::string& folder, const std::string& server)
    : mOldFolder(Get("WX_PRINT_FOLDER", &mHadFolder)), mOldServer(Get("CUPS_SERVER", &mHadServer)) {
  Put("WX_PRINT_FOLDER", folder, !folder.empty());
  Put("CUPS_SERVER", server, true);
}

PrinterEnvironment::~PrinterEnvironment() {
  Put("WX_PRINT_FOLDER", mOldFolder, mHadFolder);
  Put("CUPS_SERVER", mOldServer, mHadServer);
}

}  // namespace wxtest
