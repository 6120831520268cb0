// Time and peak memory of printing one scanned page: an A4 colour page at 600 dpi (a TIFF
// made here, 4960 x 7016) printed at 100 % and fitted, to the folder printer at 600 dpi.
// Run from the release build folder: bench/printbench (it uses the folder it makes in /tmp).
//
//   printbench PAGE.tif [OUT.pdf]   prints that page (an uncompressed TIFF, taken at 600 dpi)
//                                   once at 100 %, and keeps the printed document as OUT.pdf
//                                   (bench/print_vs_img2pdf.sh)
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "display/Display.h"
#include "framework/FrameworkClasses.h"
#include "framework/LApplication.h"
#include "framework/LException.h"
#include "output/export/WXPrintScan.h"
#include "output/formats/mtTIFF.h"
#include "printing/pmPrinters.h"
#include "quicktime/QuickTime.h"
#include "toolbox/Files.h"
#include "toolbox/Resources.h"

namespace fs = std::filesystem;

namespace {

constexpr long kWidth = 4960, kHeight = 7016, kDpi = 600;

bool WriteA4(const fs::path& file) {
  MTHandle h = MTOpen(file.c_str(), "w");
  if (!h) return false;
  MTSetField(h, kMTImageWidth, kWidth);
  MTSetField(h, kMTImageLength, kHeight);
  MTSetField(h, kMTBitsPerSample, 8);
  MTSetField(h, kMTCompression, 1);
  MTSetField(h, kMTPhotometric, 2);
  MTSetField(h, kMTOrientation, 1);
  MTSetField(h, kMTSamplesPerPixel, 3);
  MTSetField(h, kMTRowsPerStrip, kHeight);
  MTSetField(h, kMTXResolution, kDpi);
  MTSetField(h, kMTYResolution, kDpi);
  MTSetField(h, kMTPlanarConfig, 1);
  MTSetField(h, kMTResolutionUnit, 2);
  std::vector<unsigned char> row(size_t(kWidth) * 3);
  for (long y = 0; y < kHeight; ++y) {
    for (long x = 0; x < kWidth; ++x) {
      row[size_t(x) * 3] = static_cast<unsigned char>(x / 20);
      row[size_t(x) * 3 + 1] = static_cast<unsigned char>(y / 28);
      row[size_t(x) * 3 + 2] = static_cast<unsigned char>((x + y) / 48);
    }
    if (MTWriteScanline(h, row.data(), y) != 1) return false;
  }
  return MTClose(h) != 0;
}

long PeakKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path dir = fs::temp_directory_path() / ("printbench-" + std::to_string(getpid()));
  fs::create_directories(dir / "prints");
  setenv("WX_PRINT_FOLDER", (dir / "prints").c_str(), 1);
  setenv("CUPS_SERVER", (dir / "no-cups.sock").c_str(), 1);
  pmSetFolderPrinterResolution(kDpi);
  DpyUseHeadless();
  if (OpenApplicationResFile(FindApplicationResourceFile()) == -1) {
    std::fprintf(stderr, "printbench: the application's resources are not built\n");
    return 1;
  }
  RegisterFrameworkClasses();
  LApplication app;

  const fs::path tiff = argc > 1 ? fs::path(argv[1]) : dir / "a4-600.tif";
  long width = kWidth, height = kHeight;
  if (argc == 1 && !WriteA4(tiff)) return 1;
  FSSpec spec;
  FSpMakeFromPOSIXPath(tiff.string(), &spec);
  if (argc > 1) {
    GraphicsImportComponent importer = nullptr;
    Rect natural{};
    if (GetGraphicsImporterForFile(&spec, &importer) != noErr ||
        GraphicsImportGetNaturalBounds(importer, &natural) != noErr)
      return 1;
    CloseComponent(importer);
    width = natural.right, height = natural.bottom;
  }
  ScanData page;
  page.width = width;
  page.height = height;
  page.resolution = kDpi << 16;
  page.imageFile = spec;
  std::printf("A4 colour page %ldx%ld at %ld dpi, folder printer at %ld dpi; peak before printing %ld MiB\n", width,
              height, kDpi, kDpi, PeakKiB() / 1024);

  int status = 0;
  LPrintSpec printSpec;
  const std::vector<unsigned char> fits = argc > 1 ? std::vector<unsigned char>{0} : std::vector<unsigned char>{0, 1};
  for (const unsigned char fit : fits) {
    const auto start = std::chrono::steady_clock::now();
    try {
      CWXUtility::PrintScanImage(page, &printSpec, fit, 100, nullptr);
    } catch (const LException& e) {
      std::fprintf(stderr, "printbench: print failed (%d)\n", int(e.GetErrorCode()));
      status = 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-7s %.2f s, peak %ld MiB\n", fit ? "fitted" : "100 %", seconds, PeakKiB() / 1024);
  }
  for (const auto& entry : fs::directory_iterator(dir / "prints")) {
    std::printf("  %s: %ju bytes\n", entry.path().filename().c_str(), std::uintmax_t(fs::file_size(entry.path())));
    if (argc > 2) fs::copy_file(entry.path(), argv[2], fs::copy_options::overwrite_existing);
  }
  fs::remove_all(dir);
  return status;
}
