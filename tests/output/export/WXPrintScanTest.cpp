// Printing one scanned image: the sizing table, and TIFF pages printed end to end through the
// folder printer (checked with qpdf and poppler), with the printer's holds and the failures
// that must leave no PDF.
#include "output/export/WXPrintScan.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>

#include "PageFixtures.h"
#include "PrintFixtures.h"
#include "framework/LException.h"
#include "framework/StPrintSession.h"
#include "framework/UEnvironment.h"
#include "output/export/CCopyImagePane.h"
#include "output/formats/mtTIFF.h"
#include "printing/pmPrinters.h"
#include "support/HeadlessApp.h"
#include "support/PrinterEnvironment.h"
#include "support/TestEnv.h"
#include "tests/output/export/Pnm.h"
#include "tests/output/export/RawPages.h"
#include "toolbox/Gestalt.h"

namespace fs = std::filesystem;

namespace {

constexpr Fixed Dpi(double dpi) { return Fixed(dpi * 65536); }

// ---- sizing ------------------------------------------------------------------------------

struct SizingCase {
  const char* name;
  SInt32 width, height;
  double imageDpi, printerDpi;
  Rect page;
  long percent;  // 0: fit
  CopyImagePlacement expected;
};

class CopySizing : public ::testing::TestWithParam<SizingCase> {};

TEST_P(CopySizing, PrintedSizeAndOffset) {
  const SizingCase& c = GetParam();
  const CopyImagePlacement p =
      CCopyImagePane::Place(AcqRecord{c.width, c.height, Dpi(c.imageDpi)}, c.printerDpi, 300, c.page, c.percent);
  EXPECT_EQ(p.width, c.expected.width);
  EXPECT_EQ(p.height, c.expected.height);
  EXPECT_EQ(p.top, c.expected.top);
  EXPECT_EQ(p.left, c.expected.left);
}

const Rect kA4At300{0, 0, 3508, 2480};

INSTANTIATE_TEST_SUITE_P(
    Table, CopySizing,
    ::testing::Values(
        SizingCase{"WiderThanThePageIsCentred", 1275, 1650, 150, 300, kA4At300, 100, {2550, 3300, 104, -35}},
        SizingCase{"SameDpi", 1000, 500, 300, 300, kA4At300, 100, {1000, 500, 0, 0}},
        SizingCase{"NinetyNine", 1000, 500, 300, 300, kA4At300, 99, {990, 495, 0, 0}},
        SizingCase{"HundredOne", 1000, 501, 300, 300, kA4At300, 101, {1010, 506, 0, 0}},
        SizingCase{"Half", 1001, 501, 300, 300, kA4At300, 50, {501, 251, 0, 0}},
        SizingCase{"OneFortyOne", 2000, 1000, 300, 300, kA4At300, 141, {2820, 1410, 1049, -170}},
        SizingCase{"DoubleIsCentredAndCut", 2000, 3000, 300, 300, kA4At300, 200, {4000, 6000, -1246, -760}},
        SizingCase{"FitTallImage", 1000, 2000, 100, 300, kA4At300, 0, {1754, 3508, 0, 363}},
        SizingCase{"FitWideImage", 3000, 1000, 300, 300, kA4At300, 0, {2480, 827, 1340, 0}},
        SizingCase{"FitSmallImageGrows", 100, 100, 100, 300, kA4At300, 0, {2480, 2480, 514, 0}},
        SizingCase{"PrinterBelowOneTakesTheFormats", 300, 300, 150, 0, kA4At300, 100, {600, 600, 0, 0}},
        SizingCase{"PrinterAt600", 300, 300, 150, 600, kA4At300, 100, {1200, 1200, 0, 0}},
        SizingCase{"OddDpiRoundsHalfUp", 3, 3, 200, 300, kA4At300, 100, {5, 5, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- printing ----------------------------------------------------------------------------

void WriteTIFF(const fs::path& file, const wxtest::RawPage& page, long dpi) {
  MTHandle h = MTOpen(file.c_str(), "w");
  ASSERT_NE(h, nullptr);
  const bool colour = page.bits == 32;
  ASSERT_TRUE(MTSetField(h, kMTImageWidth, page.width) && MTSetField(h, kMTImageLength, page.height) &&
              MTSetField(h, kMTBitsPerSample, 8) && MTSetField(h, kMTCompression, 1) &&
              MTSetField(h, kMTPhotometric, colour ? 2 : 0) && MTSetField(h, kMTOrientation, 1) &&
              MTSetField(h, kMTSamplesPerPixel, colour ? 3 : 1) && MTSetField(h, kMTRowsPerStrip, page.height) &&
              MTSetField(h, kMTXResolution, dpi) && MTSetField(h, kMTYResolution, dpi) &&
              MTSetField(h, kMTPlanarConfig, 1) && MTSetField(h, kMTResolutionUnit, 2));
  for (long y = 0; y < page.height; ++y) ASSERT_EQ(MTWriteScanline(h, page.rows.data() + y * page.RowBytes(), y), 1);
  ASSERT_NE(MTClose(h), 0);
}

class PrintScan : public wxtest::HeadlessApp {
 protected:
  void SetUp() override {
    HeadlessApp::SetUp();
    fs::create_directories(folder);
    pmSetFolderPrinterResolution(300);
  }
  // A TIFF page of `bits` (8 grey or 32 colour) at `dpi`, described as the scan left it.
  ScanData Page(long bits, long width, long height, long dpi) {
    const fs::path tiff = dir / ("page-" + std::to_string(bits) + "-" + std::to_string(dpi) + ".tif");
    WriteTIFF(tiff, wxtest::MakePage(bits, width, height), dpi);
    ScanData page;
    page.width = SInt32(width);
    page.height = SInt32(height);
    page.resolution = Dpi(double(dpi));
    page.imageFile = wxtest::SpecOf(tiff);
    return page;
  }
  std::vector<fs::path> Prints() const {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
    return files;
  }
  wxtest::ScratchDir dir;
  fs::path folder = dir / "prints";
  wxtest::PrinterEnvironment env{folder.string(), (dir / "no-cups.sock").string()};
};

struct PrintCase {
  const char* name;
  long bits, width, height, dpi;
  bool fit;
  long percent;
  int printedWidth, printedHeight;  // the image's pixels in the PDF
  int left, top;                    // where its top left lies at 300 dpi (clipped to the page)
};

class PrintScanTable : public PrintScan, public ::testing::WithParamInterface<PrintCase> {};

TEST_P(PrintScanTable, OnePDFWithOneImageOfThePrintedSizeWhereItBelongs) {
  WX_REQUIRE_TOOL("pdfimages");
  const PrintCase& c = GetParam();
  const ScanData page = Page(c.bits, c.width, c.height, c.dpi);
  LPrintSpec spec;
  const unsigned char fit = c.fit;
  CWXUtility::PrintScanImage(page, &spec, fit, c.percent, nullptr);
  const auto prints = Prints();
  ASSERT_EQ(prints.size(), 1u);
  const fs::path pdf = prints[0];
  EXPECT_TRUE(paginortest::QpdfCheck(pdf));
  const auto sizes = paginortest::PageSizes(pdf);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_NEAR(sizes[0][0], 595.28, 0.01);
  EXPECT_NEAR(sizes[0][1], 841.89, 0.01);
  const auto images = paginortest::ListImages(pdf);
  ASSERT_EQ(images.size(), 1u) << "the copy image alone";
  EXPECT_EQ(images[0].width, c.printedWidth);
  EXPECT_EQ(images[0].height, c.printedHeight);
  EXPECT_EQ(images[0].xppi, 300);
  // Drawn row by row from the file, each printed pixel is still the page's pixel that a copy
  // of the whole page scaled to the printed size takes.
  std::string out;
  ASSERT_EQ(wxtest::Run("pdfimages '" + pdf.string() + "' '" + (dir / "printed").string() + "'", &out), 0);
  wxtest::Pnm printed;
  ASSERT_TRUE(wxtest::ReadPnm(dir / "printed-000.ppm", &printed));
  const wxtest::Pnm shown = wxtest::ToPnm(wxtest::MakePage(c.bits, c.width, c.height));
  const CopyImagePlacement placed = CCopyImagePane::Place(AcqRecord{SInt32(c.width), SInt32(c.height), Dpi(double(c.dpi))},
                                                          300, 300, kA4At300, c.fit ? 0 : c.percent);
  const long cutX = std::max(0, -placed.left), cutY = std::max(0, -placed.top), channels = shown.kind == 6 ? 3 : 1;
  long wrong = 0;
  for (long y = 0; y < printed.height; ++y)
    for (long x = 0; x < printed.width; ++x) {
      const long sx = (x + cutX) * c.width / placed.width, sy = (y + cutY) * c.height / placed.height;
      for (long k = 0; k < 3; ++k)
        wrong += printed.rows[size_t(y * printed.RowBytes() + x * 3 + k)] !=
                 shown.rows[size_t(sy * shown.RowBytes() + sx * channels + (channels == 3 ? k : 0))];
    }
  EXPECT_EQ(wrong, 0);
  std::vector<uint8_t> rgb;
  int w, h;
  ASSERT_TRUE(paginortest::RenderPDFPage(pdf, 1, 300, &rgb, &w, &h));
  const auto white = [&](int x, int y) {
    const uint8_t* p = &rgb[(size_t(y) * w + x) * 3];
    return p[0] > 250 && p[1] > 250 && p[2] > 250;
  };
  // The page is white around the image; the image's corner pixel is drawn.
  if (c.left > 0) {
    EXPECT_TRUE(white(c.left - 2, c.top + 2));
  }
  if (c.top > 0) {
    EXPECT_TRUE(white(c.left + 2, c.top - 2));
  }
  EXPECT_FALSE(white(c.left + 1, c.top + 1) && white(c.left + 4, c.top + 4)) << "image at its offset";
  fs::copy_file(pdf, wxtest::OutputDir("printing") / (std::string("copy-") + c.name + ".pdf"),
                fs::copy_options::overwrite_existing);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PrintScanTable,
    ::testing::Values(PrintCase{"Colour150Fit", 32, 300, 200, 150, true, 100, 2480, 1653, 0, 927},
                      PrintCase{"Colour150At100", 32, 300, 200, 150, false, 100, 600, 400, 0, 0},
                      PrintCase{"Grey300At99", 8, 600, 400, 300, false, 99, 594, 396, 0, 0},
                      PrintCase{"Grey300At101", 8, 600, 400, 300, false, 101, 606, 404, 0, 0},
                      PrintCase{"Colour300At50", 32, 600, 400, 300, false, 50, 300, 200, 0, 0},
                      PrintCase{"Grey150At141", 8, 300, 200, 150, false, 141, 846, 564, 0, 0},
                      PrintCase{"Colour300At200", 32, 1400, 400, 300, false, 200, 2480, 800, 0, 1354}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrintScan, HoldsOnThePrinterBalance) {
  const ScanData page = Page(8, 60, 40, 300);
  LPrintSpec spec;
  PMPrinter printer = nullptr;
  {
    StPrintSession session(spec);
    ASSERT_EQ(PMSessionGetCurrentPrinter(spec.GetPrintSession(), &printer), noErr);
    PMRetain(printer);
  }
  const unsigned char fit = 0;
  for (int i = 0; i < 2; ++i) CWXUtility::PrintScanImage(page, &spec, fit, 100, printer);
  EXPECT_EQ(Prints().size(), 2u);
  // Our hold is the last: releasing it frees the printer (ASan reports a leak otherwise, and a
  // use after free had a print released it once too often).
  PMRelease(printer);
}

TEST_F(PrintScan, SetCurrentPrinterTakesEitherBranchAndIgnoresNull) {
  for (SInt32 system : {0x1068, 0x1028}) {
    GestaltSetValue('sysv', system);
    UEnvironment::InitEnvironment();
    PMPrintSession one, two;
    ASSERT_EQ(PMCreateSession(&one), noErr);
    ASSERT_EQ(PMCreateSession(&two), noErr);
    PMPrinter printer = nullptr, current = nullptr;
    ASSERT_EQ(PMSessionGetCurrentPrinter(one, &printer), noErr);
    CWXUtility::SetCurrentPrinter(two, printer);
    ASSERT_EQ(PMSessionGetCurrentPrinter(two, &current), noErr);
    EXPECT_EQ(std::string(CFStringGetCStringPtr(PMPrinterGetID(current), kCFStringEncodingUTF8)), "PDF Folder");
    CWXUtility::SetCurrentPrinter(two, nullptr);
    ASSERT_EQ(PMSessionGetCurrentPrinter(two, &current), noErr);
    EXPECT_NE(current, nullptr) << "a null printer leaves the current one";
    PMRelease(one);
    PMRelease(two);
  }
  GestaltSetValue('sysv', 0x1068);
  UEnvironment::InitEnvironment();
}

TEST_F(PrintScan, BadPagesAndFailuresLeaveNoPDF) {
  LPrintSpec spec;
  const unsigned char fit = 0;
  ScanData page = Page(8, 60, 40, 300);
  ScanData noPixels = page;
  noPixels.width = 0;
  ScanData noDpi = page;
  noDpi.resolution = Dpi(0.5);
  for (const ScanData* bad : {&noPixels, &noDpi}) {
    try {
      CWXUtility::PrintScanImage(*bad, &spec, fit, 100, nullptr);
      ADD_FAILURE() << "printed";
    } catch (const LException& e) {
      EXPECT_EQ(e.GetErrorCode(), paramErr);
    }
  }
  // A damaged TIFF: its header only.
  const fs::path tiff = dir / "page-8-300.tif";
  auto bytes = wxtest::ReadBytes(tiff);
  bytes.resize(16);
  wxtest::WriteBytes(tiff, bytes);
  EXPECT_THROW(CWXUtility::PrintScanImage(page, &spec, fit, 100, nullptr), LException);
  // A full disk under the folder printer.
  page = Page(32, 200, 200, 300);
  FSTestSetWriteLimit(100);
  EXPECT_THROW(CWXUtility::PrintScanImage(page, &spec, fit, 100, nullptr), LException);
  FSTestSetWriteLimit(-1);
  EXPECT_TRUE(Prints().empty());
  EXPECT_FALSE(spec.IsInSession());
}

TEST_F(PrintScan, ThroughACupsQueueWithCopiesAndCollate) {
  WX_REQUIRE_TOOL("qpdf");
  printtest::PrivateCupsd cupsd(dir / "cupsd");
  if (!cupsd.Started()) GTEST_SKIP() << cupsd.Why();
  const fs::path output = dir / "queue-output.pdf";
  ASSERT_TRUE(cupsd.AddFileQueue("raw-file", output));
  wxtest::PrinterEnvironment withCups("", cupsd.Socket());
  const ScanData page = Page(32, 300, 200, 150);
  LPrintSpec spec;
  PMPrinter printer = nullptr;
  {
    StPrintSession session(spec);
    PMPrintSession other;
    ASSERT_EQ(PMCreateSession(&other), noErr);
    ASSERT_EQ(PMSessionSetCurrentPrinter(other, CFSTR("raw-file")), noErr);
    PMSessionGetCurrentPrinter(other, &printer);
    PMRetain(printer);
    PMRelease(other);
    spec.SetPrintJobParams(1, 1, 2);
    PMSetCollate(spec.GetPrintSettings(), false);
  }
  const unsigned char fit = 0;
  CWXUtility::PrintScanImage(page, &spec, fit, 100, printer);
  PMRelease(printer);
  // The queue writes its file once the job has been processed.
  for (int tries = 0; tries < 200 && fs::file_size(output) == 0; ++tries) usleep(50000);
  EXPECT_TRUE(paginortest::QpdfCheck(output));
  const auto images = paginortest::ListImages(output);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].width, 600);
  EXPECT_EQ(images[0].height, 400);
  EXPECT_EQ(images[0].xppi, 300);
  EXPECT_EQ(cupsd.NewestJobAttribute("copies"), "2");
  EXPECT_EQ(cupsd.NewestJobAttribute("multiple-document-handling"), "separate-documents-uncollated-copies");
  fs::copy_file(output, wxtest::OutputDir("printing") / "copy-cups-queue.pdf", fs::copy_options::overwrite_existing);
}

TEST_F(PrintScan, WithoutPrinterNothingIsPrinted) {
  wxtest::PrinterEnvironment none("", (dir / "no-cups.sock").string());
  const ScanData page = Page(8, 60, 40, 300);
  LPrintSpec spec;
  const unsigned char fit = 1;
  EXPECT_THROW(CWXUtility::PrintScanImage(page, &spec, fit, 100, nullptr), LException);
}

}  // namespace
