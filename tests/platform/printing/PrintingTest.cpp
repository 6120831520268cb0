// The Printing Manager through its calls: printers listed from CUPS and the folder printer,
// page geometry, and jobs drawn through QuickDraw that come out as PDFs (checked with qpdf and
// poppler) in the folder printer's folder or through a private cupsd's file queue.
#include "printing/Printing.h"

#include <gtest/gtest.h>

#include <cmath>

#include "PageFixtures.h"
#include "PrintFixtures.h"
#include "printing/pmGeometry.h"
#include "printing/pmJob.h"
#include "printing/pmPrinters.h"
#include "quickdraw/QDOffscreen.h"
#include "support/TestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/MacErrors.h"

namespace fs = std::filesystem;
using namespace paginortest;
using namespace printtest;

namespace {

std::string Utf8(CFStringRef s) { return CFStringGetCStringPtr(s, kCFStringEncodingUTF8); }

// What PMSessionCreatePrinterList tells: the names, the current one's index and printer.
struct PrinterList {
  std::vector<std::string> names;
  CFIndex index = 7;
  PMPrinter current = reinterpret_cast<PMPrinter>(1);
};

PrinterList ListPrinters(PMPrintSession session) {
  PrinterList list;
  CFArrayRef names = nullptr;
  EXPECT_EQ(PMSessionCreatePrinterList(session, &names, &list.index, &list.current), noErr);
  for (CFIndex i = 0; names && i < CFArrayGetCount(names); ++i)
    list.names.push_back(Utf8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(names, i))));
  if (names) CFRelease(names);
  return list;
}

std::vector<fs::path> FilesIn(const fs::path& dir) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(dir)) files.push_back(entry.path());
  return files;
}

// A 32-bit world, left half red, right half blue.
struct TwoColourImage {
  explicit TwoColourImage(int width, int height) {
    const Rect bounds{0, 0, SInt16(height), SInt16(width)};
    NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0);
    PixMapHandle pixels = GetGWorldPixMap(world);
    auto* base = reinterpret_cast<UInt8*>(GetPixBaseAddr(pixels));
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        UInt8* p = base + y * GetPixRowBytes(pixels) + x * 4;
        p[1] = x < width / 2 ? 255 : 0;
        p[2] = 0;
        p[3] = x < width / 2 ? 0 : 255;
      }
  }
  ~TwoColourImage() { DisposeGWorld(world); }
  void CopyTo(GrafPtr port, const Rect& dst) const {
    Rect src;
    GetPortBounds(world, &src);
    CopyBits(GetPortBitMapForCopyBits(world), GetPortBitMapForCopyBits(port), &src, &dst, srcCopy, nullptr);
  }
  GWorldPtr world = nullptr;
};

class Printing : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(folder);
    pmSetFolderPrinterResolution(300);
    // The documents and temporary folders lie in the scratch folder.
    setenv("WENDRIX_ROOT", (dir / "root").c_str(), 1);
  }
  void TearDown() override { unsetenv("WENDRIX_ROOT"); }
  // No CUPS server answers on this socket.
  std::string NoServer() const { return (dir / "no-cups.sock").string(); }

  wxtest::ScratchDir dir;
  fs::path folder = dir / "prints";
};

// ---- printers -----------------------------------------------------------------------------

TEST_F(Printing, WithoutCupsAndFolderThereIsNoPrinter) {
  PrinterEnvironment env("", NoServer());
  PMPrintSession session;
  ASSERT_EQ(PMCreateSession(&session), noErr);
  const PrinterList list = ListPrinters(session);
  EXPECT_TRUE(list.names.empty());
  EXPECT_EQ(list.index, -1);
  EXPECT_EQ(list.current, nullptr);
  PMPrinter printer;
  EXPECT_EQ(PMSessionGetCurrentPrinter(session, &printer), kPMNoDefaultPrinter);
  PMPageFormat format;
  PMCreatePageFormat(&format);
  EXPECT_EQ(PMSessionDefaultPageFormat(session, format), kPMNoDefaultPrinter);
  PMRelease(format);
  PMRelease(session);
}

TEST_F(Printing, TheFolderPrinterAloneIsCurrentAndPrintsToItsFolder) {
  PrinterEnvironment env(folder.string(), NoServer());
  PMPrintSession session;
  ASSERT_EQ(PMCreateSession(&session), noErr);
  const PrinterList list = ListPrinters(session);
  ASSERT_EQ(list.names.size(), 1u);
  EXPECT_EQ(list.index, 0);
  PMPrinter current = list.current;
  EXPECT_TRUE(PMPrinterIsFolderPrinter(current));
  EXPECT_EQ(list.names[0], Utf8(PMPrinterGetID(current)));
  PMDestinationType type;
  ASSERT_EQ(PMSessionGetDestinationType(session, nullptr, &type), noErr);
  EXPECT_EQ(type, kPMDestinationPrinter);
  PMResolution res;
  ASSERT_EQ(PMPrinterGetPrinterResolution(current, kPMCurrentValue, &res), noErr);
  EXPECT_EQ(res.hRes, 300);
  EXPECT_EQ(PMSessionSetCurrentPrinter(session, CFSTR("no such printer")), kPMInvalidPrinter);
  PMRelease(session);
}

TEST_F(Printing, AFolderThatIsNotThereGivesNoPrinter) {
  PrinterEnvironment env((dir / "missing").string(), NoServer());
  PMPrintSession session;
  ASSERT_EQ(PMCreateSession(&session), noErr);
  PMPrinter printer;
  EXPECT_EQ(PMSessionGetCurrentPrinter(session, &printer), kPMNoDefaultPrinter);
  PMRelease(session);
}

TEST_F(Printing, TheCurrentPrinterOutlivesItsSessionWhileHeld) {
  PrinterEnvironment env(folder.string(), NoServer());
  const int before = PMTestLivePrinters();
  PMPrintSession session;
  ASSERT_EQ(PMCreateSession(&session), noErr);
  PMPrinter printer;
  ASSERT_EQ(PMSessionGetCurrentPrinter(session, &printer), noErr);
  const int held = PMTestRetainCount(printer);
  PMRetain(printer);
  EXPECT_EQ(PMTestRetainCount(printer), held + 1);
  PMRelease(session);
  EXPECT_EQ(PMTestRetainCount(printer), 1) << "only the hold is left";
  EXPECT_EQ(PMTestLivePrinters(), before + 1);
  EXPECT_EQ(Utf8(PMPrinterGetID(printer)), "PDF Folder");
  PMPrintSession next;
  ASSERT_EQ(PMCreateSession(&next), noErr);
  EXPECT_EQ(PMSessionSetCurrentPMPrinter(next, printer), noErr);
  PMRelease(printer);
  PMRelease(next);
  EXPECT_EQ(PMTestLivePrinters(), before);
}

// ---- geometry -----------------------------------------------------------------------------

struct GeometryCase {
  const char* name;
  pmPaper paper;
  bool landscape;
  double dpi;
  PMRect page, paperRect;
};

class PageGeometry : public ::testing::TestWithParam<GeometryCase> {};

TEST_P(PageGeometry, PageStartsAtZeroAndPaperReachesOutByTheMargins) {
  const GeometryCase& c = GetParam();
  const pmGeometry g{c.paper, c.landscape, c.dpi};
  const PMRect page = pmPageRect(g), paper = pmPaperRect(g);
  EXPECT_EQ(page.top, c.page.top);
  EXPECT_EQ(page.left, c.page.left);
  EXPECT_EQ(page.bottom, c.page.bottom);
  EXPECT_EQ(page.right, c.page.right);
  EXPECT_EQ(paper.top, c.paperRect.top);
  EXPECT_EQ(paper.left, c.paperRect.left);
  EXPECT_EQ(paper.bottom, c.paperRect.bottom);
  EXPECT_EQ(paper.right, c.paperRect.right);
}

const pmPaper kA4{"iso_a4_210x297mm", 595.2756, 841.8898};
const pmPaper kLetterMargins{"na_letter_8.5x11in", 612, 792, 18, 36, 18, 36};

INSTANTIATE_TEST_SUITE_P(
    Table, PageGeometry,
    ::testing::Values(GeometryCase{"A4At300", kA4, false, 300, {0, 0, 3508, 2480}, {0, 0, 3508, 2480}},
                      GeometryCase{"A4At600", kA4, false, 600, {0, 0, 7016, 4961}, {0, 0, 7016, 4961}},
                      GeometryCase{"A4Landscape", kA4, true, 300, {0, 0, 2480, 3508}, {0, 0, 2480, 3508}},
                      GeometryCase{"LetterMargins", kLetterMargins, false, 300, {0, 0, 3000, 2400},
                                   {-150, -75, 3150, 2475}},
                      GeometryCase{"LetterMarginsLandscape", kLetterMargins, true, 300, {0, 0, 2400, 3000},
                                   {-75, -150, 2475, 3150}},
                      GeometryCase{"LetterAt72", kLetterMargins, false, 72, {0, 0, 720, 576}, {-36, -18, 756, 594}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PrintingPapers, TheFolderPrinterListsA4OrLetterFirst) {
  const auto metric = pmStandardPapers(true), us = pmStandardPapers(false);
  ASSERT_EQ(metric.size(), 6u);
  EXPECT_EQ(pmPaperDisplayName(metric[0].name), "A4");
  EXPECT_EQ(pmPaperDisplayName(us[0].name), "Letter");
  std::vector<std::string> names;
  for (const pmPaper& p : metric) names.push_back(pmPaperDisplayName(p.name));
  EXPECT_EQ(names, (std::vector<std::string>{"A4", "Letter", "A3", "A5", "B5", "Legal"}));
  EXPECT_NEAR(metric[0].width, 595.28, 0.01);
  EXPECT_NEAR(metric[0].height, 841.89, 0.01);
}

// ---- jobs to the folder printer -----------------------------------------------------------

struct FolderJobCase {
  const char* name;
  const char* paper;
  double dpi;
  double width, height;  // points
  Rect dst;              // where the 300 x 200 image is copied
  int imageWidth, imageHeight;
  int probeX, probeY;  // a pixel of the image's red half, at the job's resolution
};

class FolderJob : public Printing, public ::testing::WithParamInterface<FolderJobCase> {};

TEST_P(FolderJob, OnePageWithOneImageOfItsPrintedSizeWhereItWasDrawn) {
  WX_REQUIRE_TOOL("qpdf");
  WX_REQUIRE_TOOL("pdfimages");
  const FolderJobCase& c = GetParam();
  PrinterEnvironment env(folder.string(), NoServer());
  PMPrintSession session;
  ASSERT_EQ(PMCreateSession(&session), noErr);
  const TwoColourImage image(300, 200);
  const OSStatus err = PrintOnePage(
      session,
      [&](PMPageFormat format) {
        CFStringRef paper = CFStringCreateWithCString(nullptr, c.paper, kCFStringEncodingUTF8);
        EXPECT_EQ(PMSessionSetPaper(session, format, paper), noErr);
        CFRelease(paper);
        const PMResolution res{c.dpi, c.dpi};
        PMSetResolution(format, &res);
      },
      [&](GrafPtr port) { image.CopyTo(port, c.dst); });
  PMRelease(session);
  ASSERT_EQ(err, noErr);
  const auto files = FilesIn(folder);
  ASSERT_EQ(files.size(), 1u);
  const fs::path pdf = files[0];
  EXPECT_EQ(pdf.filename(), "Print 1.pdf");
  EXPECT_TRUE(QpdfCheck(pdf));
  const auto sizes = PageSizes(pdf);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_NEAR(sizes[0][0], c.width, 0.01);
  EXPECT_NEAR(sizes[0][1], c.height, 0.01);
  const auto images = ListImages(pdf);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].width, c.imageWidth);
  EXPECT_EQ(images[0].height, c.imageHeight);
  EXPECT_EQ(images[0].colour, "rgb");
  EXPECT_EQ(images[0].xppi, int(c.dpi));
  std::vector<uint8_t> rgb;
  int w, h;
  ASSERT_TRUE(RenderPDFPage(pdf, 1, int(c.dpi), &rgb, &w, &h));
  const auto at = [&](int x, int y) { return &rgb[(size_t(y) * w + x) * 3]; };
  EXPECT_GT(at(c.probeX, c.probeY)[0], 200);
  EXPECT_LT(at(c.probeX, c.probeY)[2], 60);
  if (c.dst.left >= 3) {
    EXPECT_GT(at(c.dst.left - 3, c.probeY)[1], 200) << "white left of the image";
  }
  fs::copy_file(pdf, wxtest::OutputDir("printing") / (std::string("folder-") + c.name + ".pdf"),
                fs::copy_options::overwrite_existing);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FolderJob,
    ::testing::Values(
        FolderJobCase{"A4Natural", "iso_a4_210x297mm", 300, 595.28, 841.89, {150, 100, 350, 400}, 300, 200, 110, 160},
        FolderJobCase{"LetterDoubled", "na_letter_8.5x11in", 300, 612, 792, {0, 0, 400, 600}, 600, 400, 10, 10},
        FolderJobCase{"A4Overhanging", "iso_a4_210x297mm", 300, 595.28, 841.89, {3400, 2300, 3600, 2600}, 180, 108,
                      2310, 3450},
        FolderJobCase{"A5At600", "iso_a5_148x210mm", 600, 419.53, 595.28, {10, 20, 210, 320}, 300, 200, 30, 20}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Printing, DrawingBesideTheImageGoesOverItAsItsOwnLayer) {
  WX_REQUIRE_TOOL("pdftoppm");
  PrinterEnvironment env(folder.string(), NoServer());
  PMPrintSession session;
  ASSERT_EQ(PMCreateSession(&session), noErr);
  const TwoColourImage image(300, 200);
  ASSERT_EQ(PrintOnePage(
                session, [](PMPageFormat) {},
                [&](GrafPtr port) {
                  image.CopyTo(port, Rect{100, 100, 300, 400});
                  const Rect bar{150, 50, 170, 600};
                  PaintRect(&bar);
                }),
            noErr);
  PMRelease(session);
  const fs::path pdf = folder / "Print 1.pdf";
  const auto images = ListImages(pdf);
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[1].width, 550);
  EXPECT_EQ(images[1].height, 20);
  std::vector<uint8_t> rgb;
  int w, h;
  ASSERT_TRUE(RenderPDFPage(pdf, 1, 300, &rgb, &w, &h));
  const auto at = [&](int x, int y) { return &rgb[(size_t(y) * w + x) * 3]; };
  EXPECT_LT(at(200, 160)[0], 60) << "the black bar over the image";
  EXPECT_GT(at(200, 120)[0], 200) << "the image's red beside the bar";
  EXPECT_GT(at(500, 120)[0], 200) << "white beside the image";
  fs::copy_file(pdf, wxtest::OutputDir("printing") / "folder-layer.pdf", fs::copy_options::overwrite_existing);
}

// An importer draws a page into the port row by row: rows copied straight below each other
// are one image, the same document to the byte as the image copied whole, and a page of
// images alone never makes the pixels of a drawn layer. Rows that do not continue the image
// (moved, narrower) start an image of their own.
TEST_F(Printing, RowsCopiedOneByOneAreOneImageAsTheImageCopiedWhole) {
  WX_REQUIRE_TOOL("pdfimages");
  PrinterEnvironment env(folder.string(), NoServer());
  const TwoColourImage image(300, 200);
  const Rect dst{100, 100, 300, 400};
  struct Way {
    const char* name;
    bool rows;
    int shiftAfter;  // rows from here are moved right by one pixel (0: none)
    size_t images;
  } ways[] = {{"whole", false, 0, 1}, {"rows", true, 0, 1}, {"rows-moved", true, 120, 2}};
  std::vector<std::vector<UInt8>> documents;
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    PMPrintSession session;
    ASSERT_EQ(PMCreateSession(&session), noErr);
    bool blank = false;
    ASSERT_EQ(PrintOnePage(
                  session, [](PMPageFormat) {},
                  [&](GrafPtr port) {
                    if (!way.rows) {
                      image.CopyTo(port, dst);
                    } else {
                      for (SInt16 y = 0; y < 200; ++y) {
                        const SInt16 shift = way.shiftAfter && y >= way.shiftAfter ? 1 : 0;
                        const Rect src{y, 0, SInt16(y + 1), 300};
                        const Rect row{SInt16(dst.top + y), SInt16(dst.left + shift), SInt16(dst.top + y + 1),
                                       SInt16(dst.right + shift)};
                        CopyBits(GetPortBitMapForCopyBits(image.world), GetPortBitMapForCopyBits(port), &src, &row,
                                 srcCopy, nullptr);
                      }
                    }
                    blank = (*GetPortPixMap(port))->baseAddr == nullptr;
                  }),
              noErr);
    PMRelease(session);
    const fs::path pdf = folder / "Print 1.pdf";
    EXPECT_TRUE(blank) << "no pixels made for the drawn layer";
    EXPECT_EQ(ListImages(pdf).size(), way.images);
    documents.push_back(wxtest::ReadBytes(pdf));
    fs::remove(pdf);
  }
  EXPECT_EQ(documents[0], documents[1]);
}

TEST_F(Printing, TheFolderPrinterNeverReplacesADocument) {
  PrinterEnvironment env(folder.string(), NoServer());
  wxtest::WriteBytes(folder / "Print 1.pdf", {'k', 'e', 'e', 'p'});
  PMPrintSession session;
  ASSERT_EQ(PMCreateSession(&session), noErr);
  const TwoColourImage image(30, 20);
  for (int i = 0; i < 2; ++i)
    ASSERT_EQ(PrintOnePage(
                  session, [](PMPageFormat) {}, [&](GrafPtr port) { image.CopyTo(port, Rect{0, 0, 20, 30}); }),
              noErr);
  PMRelease(session);
  EXPECT_EQ(wxtest::ReadBytes(folder / "Print 1.pdf"), (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));
  EXPECT_TRUE(fs::exists(folder / "Print 2.pdf"));
  EXPECT_TRUE(fs::exists(folder / "Print 3.pdf"));
  EXPECT_EQ(FilesIn(folder).size(), 3u);
}

TEST_F(Printing, AFullDiskFailsTheJobAndLeavesNothing) {
  PrinterEnvironment env(folder.string(), NoServer());
  PMPrintSession session;
  ASSERT_EQ(PMCreateSession(&session), noErr);
  const TwoColourImage image(300, 200);
  FSTestSetWriteLimit(100);
  const OSStatus err = PrintOnePage(
      session, [](PMPageFormat) {}, [&](GrafPtr port) { image.CopyTo(port, Rect{0, 0, 200, 300}); });
  FSTestSetWriteLimit(-1);
  EXPECT_EQ(err, dskFulErr);
  EXPECT_EQ(PMSessionError(session), dskFulErr);
  EXPECT_TRUE(FilesIn(folder).empty());
  PMRelease(session);
}

TEST_F(Printing, ACancelledJobLeavesNothing) {
  PrinterEnvironment env(folder.string(), NoServer());
  PMPrintSession session;
  ASSERT_EQ(PMCreateSession(&session), noErr);
  const TwoColourImage image(30, 20);
  const OSStatus err = PrintOnePage(
      session, [](PMPageFormat) {},
      [&](GrafPtr port) {
        image.CopyTo(port, Rect{0, 0, 20, 30});
        PMSessionSetError(session, kPMCancel);
      });
  EXPECT_EQ(err, kPMCancel);
  EXPECT_TRUE(FilesIn(folder).empty());
  PMRelease(session);
}

// Tests of a failed print ask for it: jobs after the first fail until asked no more.
TEST_F(Printing, JobsMadeToFailLeaveNothingAndLaterJobsPrintAgain) {
  PrinterEnvironment env(folder.string(), NoServer());
  PMPrintSession session;
  ASSERT_EQ(PMCreateSession(&session), noErr);
  const TwoColourImage image(30, 20);
  const auto print = [&] {
    return PrintOnePage(session, [](PMPageFormat) {}, [&](GrafPtr port) { image.CopyTo(port, Rect{0, 0, 20, 30}); });
  };
  pmFailJobsAfter(1, kPMGeneralError);
  EXPECT_EQ(print(), noErr);
  EXPECT_EQ(print(), kPMGeneralError);
  EXPECT_EQ(print(), kPMGeneralError);
  EXPECT_EQ(FilesIn(folder).size(), 1u) << "a failed job leaves no file";
  pmFailJobsAfter(0, noErr);
  EXPECT_EQ(print(), noErr);
  EXPECT_EQ(FilesIn(folder).size(), 2u);
  PMRelease(session);
}

TEST_F(Printing, AFolderGoneBeforeTheJobFailsIt) {
  PrinterEnvironment env(folder.string(), NoServer());
  PMPrintSession session;
  ASSERT_EQ(PMCreateSession(&session), noErr);
  fs::remove(folder);
  EXPECT_EQ(PrintOnePage(session, [](PMPageFormat) {}, [](GrafPtr) {}), dirNFErr);
  PMRelease(session);
}

// ---- jobs through a private cupsd ---------------------------------------------------------

class CupsJob : public Printing {
 protected:
  void SetUp() override {
    Printing::SetUp();
    cupsd = std::make_unique<PrivateCupsd>(dir / "cupsd");
    if (!cupsd->Started()) GTEST_SKIP() << cupsd->Why();
    ASSERT_TRUE(cupsd->AddFileQueue("raw-file", output));
  }
  std::unique_ptr<PrivateCupsd> cupsd;
  fs::path output = dir / "queue-output.pdf";
};

TEST_F(CupsJob, ItsPrintersComeFirstAndTheFolderPrinterIsTheFileDestination) {
  PrinterEnvironment env("", cupsd->Socket());
  PMPrintSession session;
  ASSERT_EQ(PMCreateSession(&session), noErr);
  EXPECT_EQ(ListPrinters(session).names, (std::vector<std::string>{"raw-file", "PDF Folder"}));
  PMDestinationType type;
  ASSERT_EQ(PMSessionSetCurrentPrinter(session, CFSTR("PDF Folder")), noErr);
  ASSERT_EQ(PMSessionGetDestinationType(session, nullptr, &type), noErr);
  EXPECT_EQ(type, kPMDestinationFile);
  ASSERT_EQ(PMSessionSetCurrentPrinter(session, CFSTR("raw-file")), noErr);
  ASSERT_EQ(PMSessionGetDestinationType(session, nullptr, &type), noErr);
  EXPECT_EQ(type, kPMDestinationPrinter);
  PMRelease(session);
}

TEST_F(CupsJob, TheQueueWritesThePDFWithCopiesAndCollate) {
  WX_REQUIRE_TOOL("qpdf");
  PrinterEnvironment env("", cupsd->Socket());
  PMPrintSession session;
  ASSERT_EQ(PMCreateSession(&session), noErr);
  ASSERT_EQ(PMSessionSetCurrentPrinter(session, CFSTR("raw-file")), noErr);
  const TwoColourImage image(300, 200);
  ASSERT_EQ(PrintOnePage(
                session, [](PMPageFormat) {}, [&](GrafPtr port) { image.CopyTo(port, Rect{100, 100, 300, 400}); }, 3,
                false),
            noErr);
  PMRelease(session);
  // The queue writes its file when the job has been processed.
  for (int tries = 0; tries < 200 && (!fs::exists(output) || fs::file_size(output) == 0); ++tries) usleep(50000);
  ASSERT_TRUE(fs::exists(output));
  EXPECT_TRUE(QpdfCheck(output));
  const auto images = ListImages(output);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].width, 300);
  EXPECT_EQ(cupsd->NewestJobAttribute("copies"), "3");
  EXPECT_EQ(cupsd->NewestJobAttribute("multiple-document-handling"), "separate-documents-uncollated-copies");
  fs::copy_file(output, wxtest::OutputDir("printing") / "cups-queue.pdf", fs::copy_options::overwrite_existing);
}

TEST_F(CupsJob, APrinterRemovedBeforeTheJobFailsItAndLeavesNoFile) {
  PrinterEnvironment env("", cupsd->Socket());
  PMPrintSession session;
  ASSERT_EQ(PMCreateSession(&session), noErr);
  ASSERT_EQ(PMSessionSetCurrentPrinter(session, CFSTR("raw-file")), noErr);
  ASSERT_TRUE(cupsd->RemoveQueue("raw-file"));
  const TwoColourImage image(30, 20);
  EXPECT_EQ(PrintOnePage(
                session, [](PMPageFormat) {}, [&](GrafPtr port) { image.CopyTo(port, Rect{0, 0, 20, 30}); }),
            kPMInvalidPrinter);
  PMRelease(session);
  EXPECT_EQ(fs::file_size(output), 0u);
  std::string temp;
  FindFolderPath(kUserDomain, kTemporaryFolderType, kCreateFolder, &temp);
  for (const auto& f : FilesIn(temp)) EXPECT_EQ(f.filename().string().find(".wx-new-"), std::string::npos) << f;
}

}  // namespace
