// The printers a test sees: the folder printer's folder (WX_PRINT_FOLDER, unset for "") and
// the CUPS server (CUPS_SERVER, a socket where nothing need answer); both put back afterwards.
#pragma once

#include <string>

namespace wxtest {

class PrinterEnvironment {
 public:
  PrinterEnvironment(const std::string& folder, const std::string& server);
  ~PrinterEnvironment();
  PrinterEnvironment(const PrinterEnvironment&) = delete;
  PrinterEnvironment& operator=(const PrinterEnvironment&) = delete;

 private:
  std::string mOldFolder, mOldServer;
  bool mHadFolder = false, mHadServer = false;
};

}  // namespace wxtest
