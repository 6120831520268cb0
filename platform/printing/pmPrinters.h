// The printers there are: CUPS's destinations, then the folder printer.
#pragma once

#include <cups/cups.h>

#include <memory>
#include <string>
#include <vector>

#include "printing/pmGeometry.h"

struct pmPrinterInfo {
  std::string name;
  bool folder = false;  // the folder printer, writing into `folderPath`
  std::string folderPath;
  std::vector<pmPaper> papers;  // the default first
  double dpi = 300;
};

struct pmPrinterList {
  std::vector<pmPrinterInfo> printers;
  size_t defaultIndex = 0;
  bool cupsHasPrinters = false;
};

struct pmHttpCloser {
  void operator()(http_t* http) const { httpClose(http); }
};
using pmHttp = std::unique_ptr<http_t, pmHttpCloser>;

// A connection to CUPS's server as the environment names it now; null when none answers.
pmHttp pmConnectCups();
pmPrinterList pmFindPrinters();

// The folder printer's resolution (300 dpi; tests change it).
void pmSetFolderPrinterResolution(double dpi);
