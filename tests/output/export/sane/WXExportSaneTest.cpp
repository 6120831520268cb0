// Pages of the SANE test device, scanned through the scan entry and watched by the scan
// watcher, into files, and one of them printed.
#include <gtest/gtest.h>

#include "PageFixtures.h"

#include "app/prefs/LanguageTables.h"
#include "framework/LThread.h"
#include "output/export/WXExport.h"
#include "output/export/WXPrintScan.h"
#include "output/hub/WXFolders.h"
#include "output/hubdialogs/WXScan.h"
#include "platform/twain/sane/SaneTestConfig.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/ScanTestSupport.h"
#include "support/PrinterEnvironment.h"
#include "support/TestEnv.h"
#include "tests/app/prefs/PrefsTestEnv.h"
#include "tests/output/DialogTestEnv.h"
#include "tests/output/export/RawPages.h"
#include "toolbox/TextUtils.h"

namespace fs = std::filesystem;

namespace {

::testing::Environment* const gSaneEnvironment =
    ::testing::AddGlobalTestEnvironment(new wxsane::SaneTestEnvironment(WX_TWAIN_SOURCE_DIR));

class SaneExport : public wxtest::DialogTest {
 protected:
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
      Str255 model;
      PStrFromString("Dremlo Model A", model);
      ASSERT_EQ(1, CWXUtility::ImportFromDevice(5, 1, &checker, model, SDimension16{200, 150}, format, 1, mode, 0,
                                                Paper_Size_custom, 50, mApp, 4, 0));
      for (int i = 0; i < 200 && !twain.IsDone(); ++i) {
        mApp->ProcessNextEvent();
        LThread::Yield();
      }
      ASSERT_TRUE(twain.IsDone());
      ASSERT_EQ(1, twain.GetImageCount());
      const std::vector<uint8_t> raw = wxtest::ReadBytes(wxscan::PathOf((*twain.GetTempFileArray())[1]));
      const TW_IMAGEINFO info = (*twain.GetImageInfoArray())[1];
      StPDFDialog pdf;
      StJPEGDialog jpeg;
      StOtherDialog pict, tiff;
      Str255 base;
      PStrFromString("Base", base);
      std::unique_ptr<TArray<FSSpec>> list(CWXUtility::ExportToFile(
          1, &checker, format, base, wxscan::FolderSpec(out), 0, pdf, jpeg, pict, tiff, 0, 'QlWX', 0, 0, 0));
      ASSERT_NE(list, nullptr) << mode;
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

TEST_F(SaneExport, AScannedPageWrittenAsTIFFPrintsAsOnePDFWithItsImage) {
  WX_REQUIRE_TOOL("pdfimages");
  WX_REQUIRE_TOOL("qpdf");
  SelectLanguage(reinterpret_cast<ConstStr255Param>("\x01" "E"));
  CTWAIN::SetApplicationHost(mApp);
  const FSSpec temp = wxtest::TemporaryFolder();
  const fs::path out = env.root() / "Scans", prints = env.root() / "Prints";
  fs::create_directories(out);
  fs::create_directories(prints);
  wxtest::PrinterEnvironment printer{prints.string(), (env.root() / "no-cups.sock").string()};
  CTWAIN twain;
  twain.SetTempFolder(temp);
  CThreadChecker checker(nullptr, &twain);
  Str255 model;
  PStrFromString("Dremlo Model A", model);
  ASSERT_EQ(1, CWXUtility::ImportFromDevice(5, 1, &checker, model, SDimension16{200, 150}, 'TIFF', 1, 0, 0,
                                            Paper_Size_custom, 50, mApp, 4, 0));
  for (int i = 0; i < 200 && !twain.IsDone(); ++i) {
    mApp->ProcessNextEvent();
    LThread::Yield();
  }
  ASSERT_TRUE(twain.IsDone());
  ASSERT_EQ(1, twain.GetImageCount());
  const TW_IMAGEINFO info = (*twain.GetImageInfoArray())[1];
  ASSERT_EQ(info.BitsPerPixel, 24);
  StPDFDialog pdf;
  StJPEGDialog jpeg;
  StOtherDialog pict, tiff;
  Str255 base;
  PStrFromString("Base", base);
  std::unique_ptr<TArray<FSSpec>> list(CWXUtility::ExportToFile(
      1, &checker, 'TIFF', base, wxscan::FolderSpec(out), 0, pdf, jpeg, pict, tiff, 0, 'QlWX', 0, 0, 0));
  ASSERT_NE(list, nullptr);

  ScanData page;
  page.width = info.ImageWidth;
  page.height = info.ImageLength;
  page.resolution = Fixed(info.XResolution.Whole) << 16;
  page.imageFile = wxtest::SpecOf(out / "Base.TIF");
  LPrintSpec spec;
  const unsigned char fit = 0;
  CWXUtility::PrintScanImage(page, &spec, fit, 100, nullptr);

  std::vector<fs::path> pdfs;
  for (const auto& entry : fs::directory_iterator(prints)) pdfs.push_back(entry.path());
  ASSERT_EQ(pdfs.size(), 1u);
  EXPECT_TRUE(paginortest::QpdfCheck(pdfs[0]));
  const auto images = paginortest::ListImages(pdfs[0]);
  ASSERT_EQ(images.size(), 1u);
  // At 100 % on the 300 dpi folder printer: the scan's pixels times 300 over its resolution.
  const auto printed = [&](long pixels) { return int((pixels * 300 * 2 / info.XResolution.Whole + 1) / 2); };
  EXPECT_EQ(images[0].width, printed(info.ImageWidth));
  EXPECT_EQ(images[0].height, printed(info.ImageLength));
  EXPECT_EQ(images[0].xppi, 300);
  fs::copy_file(pdfs[0], wxtest::OutputDir("printing") / "sane-scan.pdf", fs::copy_options::overwrite_existing);
}

}  // namespace
