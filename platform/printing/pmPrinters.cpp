#include "printing/pmPrinters.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

#include "toolbox/FolderLocations.h"
#include "toolbox/TextUtils.h"

namespace {

constexpr char kFolderPrinterName[] = "PDF Folder";
constexpr double kDefaultDpi = 300;
constexpr double kMaxDpi = 600;

double gFolderDpi = kDefaultDpi;

double Points(int hundredthsOfMm) { return hundredthsOfMm * 72.0 / 2540.0; }

pmPaper PaperOf(const cups_size_t& size) {
  return pmPaper{size.media,        Points(size.width), Points(size.length), Points(size.left),
                 Points(size.top), Points(size.right), Points(size.bottom)};
}

std::vector<pmPaper> CupsPapers(http_t* http, cups_dest_t* dest, cups_dinfo_t* info) {
  std::vector<pmPaper> papers;
  cups_size_t size;
  if (cupsGetDestMediaDefault(http, dest, info, 0, &size)) papers.push_back(PaperOf(size));
  const int count = cupsGetDestMediaCount(http, dest, info, 0);
  for (int i = 0; i < count; ++i) {
    if (!cupsGetDestMediaByIndex(http, dest, info, i, 0, &size)) continue;
    const bool listed = std::any_of(papers.begin(), papers.end(), [&](const pmPaper& p) { return p.name == size.media; });
    if (!listed) papers.push_back(PaperOf(size));
  }
  return papers.empty() ? pmStandardPapers(IsMetric()) : papers;
}

double CupsResolution(http_t* http, cups_dest_t* dest, cups_dinfo_t* info) {
  ipp_attribute_t* attr = cupsFindDestDefault(http, dest, info, "printer-resolution");
  if (!attr) return kDefaultDpi;
  int yres = 0;
  ipp_res_t units = IPP_RES_PER_INCH;
  double dpi = ippGetResolution(attr, 0, &yres, &units);
  if (units == IPP_RES_PER_CM) dpi *= 2.54;
  return dpi < 1 ? kDefaultDpi : std::min(dpi, kMaxDpi);
}

bool IsFolder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

void pmSetFolderPrinterResolution(double dpi) { gFolderDpi = std::clamp(dpi, 1.0, kMaxDpi); }

pmHttp pmConnectCups() {
  // Forget the server of an earlier call, so CUPS_SERVER is read as it is now.
  cupsSetServer(nullptr);
  return pmHttp(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 5000, nullptr));
}

pmPrinterList pmFindPrinters() {
  pmPrinterList list;
  if (pmHttp http = pmConnectCups()) {
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(http.get(), &dests);
    for (int i = 0; i < count; ++i) {
      cups_dest_t* dest = &dests[i];
      if (dest->instance) continue;
      pmPrinterInfo printer;
      printer.name = dest->name;
      cups_dinfo_t* info = cupsCopyDestInfo(http.get(), dest);
      printer.papers = CupsPapers(http.get(), dest, info);
      printer.dpi = info ? CupsResolution(http.get(), dest, info) : kDefaultDpi;
      cupsFreeDestInfo(info);
      if (dest->is_default) list.defaultIndex = list.printers.size();
      list.printers.push_back(std::move(printer));
    }
    cupsFreeDests(count, dests);
  }
  list.cupsHasPrinters = !list.printers.empty();

  const char* named = getenv("WX_PRINT_FOLDER");
  std::string folder = named && *named ? std::string(named) : std::string();
  if (folder.empty() && list.cupsHasPrinters) FindFolderPath(kUserDomain, kDocumentsFolderType, kCreateFolder, &folder);
  if (!folder.empty() && IsFolder(folder))
    list.printers.push_back(pmPrinterInfo{kFolderPrinterName, true, folder, pmStandardPapers(IsMetric()), gFolderDpi});
  return list;
}
