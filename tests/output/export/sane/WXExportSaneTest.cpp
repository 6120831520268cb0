// Pages of the SANE test device, scanned through the scan entry and watched by the scan
// watcher, into files, and printed at each size.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <tuple>

#include "PageFixtures.h"

#include "prefs/LanguageTables.h"
#include "framework/LThread.h"
#include "output/export/WXExport.h"
#include "output/export/WXPrintScan.h"
#include "output/hub/WXFolders.h"
#include "output/hubdialogs/WXScan.h"
#include "platform/twain/sane/SaneTestConfig.h"
#include "printing/pmPrinters.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/ScanTestSupport.h"
#include "support/PrinterEnvironment.h"
#include "support/TestEnv.h"
#include "tests/prefs/PrefsTestEnv.h"
#include "tests/output/DialogTestEnv.h"
#include "tests/output/export/RawPages.h"
#include "toolbox/TextUtils.h"

namespace fs = std::filesystem;

namespace {

::testing::Environment* const gSaneEnvironment =
    ::testing::AddGlobalTestEnvironment(new wxsane::SaneTestEnvironment(WX_TWAIN_SOURCE_DIR));

class SaneExport : public wxtest::DialogTest {
 protected:
  // One page of 20 by 15 mm from the test device, waited for; false when it does not come.
  bool Scan(CThreadChecker& checker, CTWAIN& twain, OSType format, long mode, long dpi) {
    Str255 model;
    PStrFromString("Dremlo Model A", model);
    if (CWXUtility::ImportFromDevice(5, 1, &checker, model, SDimension16{200, 150}, format, 1, mode, 0,
                                     Paper_Size_custom, dpi, mApp, 4, 0) != 1)
      return false;
    for (int i = 0; i < 200 && !twain.IsDone(); ++i) {
      mApp->ProcessNextEvent();
      LThread::Yield();
    }
    return twain.IsDone();
  }
  std::unique_ptr<TArray<FSSpec>> Export(CThreadChecker& checker, OSType format, const fs::path& out) {
    StPDFDialog pdf;
    StJPEGDialog jpeg;
    StOtherDialog pict, tiff;
    Str255 base;
    PStrFromString("Base", base);
    return std::unique_ptr<TArray<FSSpec>>(CWXUtility::ExportToFile(
        1, &checker, format, base, wxscan::FolderSpec(out), 0, pdf, jpeg, pict, tiff, 0, 'QlWX', 0, 0, 0));
  }
  wxtest::PrefsEnv env;
};

TEST_F(SaneExport, EachImageModeBecomesFilesAndTheRawFilesGo) {
  WX_REQUIRE_TOOL("djpeg");
  WX_REQUIRE_TOOL("tiffinfo");
  SelectLanguage(reinterpret_cast<ConstStr255Param>("\x01" "E"));
  CTWAIN::SetApplicationHost(mApp);
  const FSSpec temp = wxtest::TemporaryFolder();
  const fs::path tempDir = wxtest::PathOf(temp);
  for (long mode : {0L, 1L, 2L}) {
    for (OSType format : {'JPEG', 'TIFF'}) {
      const fs::path out = env.root() / ("Out" + std::to_string(mode) + (format == 'JPEG' ? "j" : "t"));
      fs::create_directories(out);
      CTWAIN twain;
      twain.SetTempFolder(temp);
      CThreadChecker checker(nullptr, &twain);
      ASSERT_TRUE(Scan(checker, twain, format, mode, 50));
      ASSERT_EQ(1, twain.GetImageCount());
      const std::vector<uint8_t> raw = wxtest::ReadBytes(wxscan::PathOf((*twain.GetTempFileArray())[1]));
      const TW_IMAGEINFO info = (*twain.GetImageInfoArray())[1];
      ASSERT_NE(Export(checker, format, out), nullptr) << mode;
      const fs::path file = out / (format == 'JPEG' ? "Base.JPG" : "Base.TIF");
      std::string said;
      if (format == 'JPEG') {
        EXPECT_EQ(wxtest::Run("djpeg -pnm '" + file.string() + "' >/dev/null 2>&1"), 0) << mode;
      } else {
        EXPECT_EQ(wxtest::Run("tiffinfo -D '" + file.string() + "' 2>&1", &said), 0) << said;
        const auto bytes = wxtest::ReadBytes(file);
        const long rowBytes = (long(info.ImageWidth) * (info.BitsPerPixel == 24 ? 24 : info.BitsPerPixel) + 7) / 8;
        const long padded = rowBytes + (rowBytes & 1);
        ASSERT_EQ(long(bytes.size()), 204 + rowBytes * info.ImageLength) << mode;
        for (long y = 0; y < info.ImageLength; ++y)
          EXPECT_TRUE(std::equal(bytes.begin() + 204 + y * rowBytes, bytes.begin() + 204 + (y + 1) * rowBytes,
                                 raw.begin() + y * padded))
              << mode << " row " << y;
      }
      EXPECT_EQ(0u, wxscan::FilesIn(tempDir)) << "the raw file is gone";
    }
  }
}

// A page of the test device at `dpi` in `mode` (0 colour, 2 grey), written as TIFF by the
// TIFF writer; scanned once for the whole program so each printing row costs a print only.
struct ScannedTIFF {
  TW_IMAGEINFO info{};
  fs::path file;
};

class SanePrint : public SaneExport, public ::testing::WithParamInterface<std::tuple<long, long, long>> {
 protected:
  const ScannedTIFF& Scanned(long dpi, long mode) {
    static wxtest::ScratchDir kept;
    static std::map<std::pair<long, long>, ScannedTIFF> pages;
    static const ScannedTIFF none;
    const auto found = pages.find({dpi, mode});
    if (found != pages.end()) return found->second;
    CTWAIN::SetApplicationHost(mApp);
    const FSSpec temp = wxtest::TemporaryFolder();
    const fs::path out = env.root() / "Scans";
    fs::create_directories(out);
    CTWAIN twain;
    twain.SetTempFolder(temp);
    CThreadChecker checker(nullptr, &twain);
    if (!Scan(checker, twain, 'TIFF', mode, dpi) || twain.GetImageCount() != 1) return none;
    ScannedTIFF page;
    page.info = (*twain.GetImageInfoArray())[1];
    if (Export(checker, 'TIFF', out) == nullptr) return none;
    page.file = kept / ("scan-" + std::to_string(dpi) + "-" + std::to_string(mode) + ".tif");
    fs::copy_file(out / "Base.TIF", page.file);
    return pages[{dpi, mode}] = page;
  }
};

// Pixels printed on the 300 dpi folder printer's A4 page (2480 by 3508): fitted to it keeping the
// proportions, or scaled by `percent` from the image's resolution, rounding halves up.
std::array<int, 2> PrintedSize(long width, long height, long dpi, long percent) {
  if (percent == 0) {
    if (width * 3508 > height * 2480) return {2480, int((height * 2480 * 2 / width + 1) / 2)};
    return {int((width * 3508 * 2 / height + 1) / 2), 3508};
  }
  const auto scaled = [&](long pixels) { return int((pixels * 300 * percent * 2 / (dpi * 100) + 1) / 2); };
  return {scaled(width), scaled(height)};
}

TEST_P(SanePrint, AScannedPageWrittenAsTIFFPrintsAsOnePDFWithItsImage) {
  WX_REQUIRE_TOOL("pdfimages");
  WX_REQUIRE_TOOL("qpdf");
  const auto [dpi, mode, percent] = GetParam();
  SelectLanguage(reinterpret_cast<ConstStr255Param>("\x01" "E"));
  const ScannedTIFF& scan = Scanned(dpi, mode);
  ASSERT_FALSE(scan.file.empty()) << "scanned and written";
  ASSERT_EQ(scan.info.BitsPerPixel, mode == 0 ? 24 : 8);
  ASSERT_EQ(scan.info.XResolution.Whole, dpi);
  const fs::path prints = env.root() / "Prints";
  fs::create_directories(prints);
  wxtest::PrinterEnvironment printer{prints.string(), (env.root() / "no-cups.sock").string()};
  pmSetFolderPrinterResolution(300);

  ScanData page;
  page.width = scan.info.ImageWidth;
  page.height = scan.info.ImageLength;
  page.resolution = Fixed(dpi) << 16;
  page.imageFile = wxtest::SpecOf(scan.file);
  LPrintSpec spec;
  const unsigned char fit = percent == 0;
  CWXUtility::PrintScanImage(page, &spec, fit, percent == 0 ? 100 : percent, nullptr);

  std::vector<fs::path> pdfs;
  for (const auto& entry : fs::directory_iterator(prints)) pdfs.push_back(entry.path());
  ASSERT_EQ(pdfs.size(), 1u);
  EXPECT_TRUE(paginortest::QpdfCheck(pdfs[0]));
  const auto sizes = paginortest::PageSizes(pdfs[0]);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_NEAR(sizes[0][0], 595.28, 0.01);
  EXPECT_NEAR(sizes[0][1], 841.89, 0.01);
  const auto images = paginortest::ListImages(pdfs[0]);
  ASSERT_EQ(images.size(), 1u);
  const auto expected = PrintedSize(page.width, page.height, dpi, percent);
  EXPECT_EQ(images[0].width, expected[0]);
  EXPECT_EQ(images[0].height, expected[1]);
  EXPECT_EQ(images[0].xppi, 300);
  EXPECT_EQ(images[0].yppi, 300);
  fs::copy_file(pdfs[0], wxtest::OutputDir("printing") / ("sane-scan-" + std::to_string(dpi) + "-" +
                                                         std::to_string(mode) + "-" + std::to_string(percent) + ".pdf"),
                fs::copy_options::overwrite_existing);
}

INSTANTIATE_TEST_SUITE_P(Table, SanePrint,
                         ::testing::Combine(::testing::Values(150L, 300L), ::testing::Values(0L, 2L),
                                            ::testing::Values(0L, 100L, 50L, 200L)),
                         [](const auto& info) {
                           const long percent = std::get<2>(info.param);
                           return std::string(std::get<1>(info.param) == 0 ? "Colour" : "Grey") +
                                  std::to_string(std::get<0>(info.param)) +
                                  (percent == 0 ? std::string("Fit") : "At" + std::to_string(percent));
                         });

}  // namespace
