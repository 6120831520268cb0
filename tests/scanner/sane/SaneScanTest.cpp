#include <gtest/gtest.h>

#include <fstream>

#include "display/Display.h"
#include "framework/FrameworkDriver.h"
#include "framework/LApplication.h"
#include "framework/LWindow.h"
#include "platform/twain/sane/SaneTestConfig.h"
#include "scanner/RawScanFile.h"
#include "scanner/ScanTestSupport.h"
#include "support/TestEnv.h"
#include "twain/twSourceWindow.h"
#include "windows/Events.h"

namespace wxscan {
namespace {

::testing::Environment* const gSaneEnvironment =
    ::testing::AddGlobalTestEnvironment(new wxsane::SaneTestEnvironment(WX_TWAIN_SOURCE_DIR));

struct Mode {
  const char* name;
  long imageMode;  // the dialogs' code
  const char* saneMode;
  int saneDepth;
  int bitsPerPixel;
  const char* sampleExtension;
};

// Writes the raw page as a PBM/PGM/PPM a person can open (grey turned back to 0 = black).
void WriteSample(const std::filesystem::path& raw, const TW_IMAGEINFO& info, const Mode& m, const std::string& stem) {
  std::filesystem::path folder = wxtest::OutputDir("scanner");
  std::filesystem::copy_file(raw, folder / (stem + ".dat"), std::filesystem::copy_options::overwrite_existing);
  std::vector<unsigned char> data = wxtest::ReadBytes(raw);
  int64_t rowBytes = RawScanFile_RowBytes(info.ImageWidth, info.BitsPerPixel);
  int64_t stride = RawScanFile_PaddedRowBytes(rowBytes);
  std::ofstream out(folder / (stem + m.sampleExtension), std::ios::binary);
  char kind = m.bitsPerPixel == 1 ? '4' : m.bitsPerPixel == 8 ? '5' : '6';
  out << 'P' << kind << '\n' << info.ImageWidth << ' ' << info.ImageLength << '\n' << (kind == '4' ? "" : "255\n");
  for (int y = 0; y < info.ImageLength; ++y) {
    for (int64_t x = 0; x < rowBytes; ++x) {
      unsigned char b = data[y * stride + x];
      out.put(static_cast<char>(kind == '5' ? ~b : b));
    }
  }
}

class SaneScanTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { CTWAIN::SetApplicationHost(&sApp); }
  static TestApplication sApp;
  wxtest::ScratchDir mTemp;
};
TestApplication SaneScanTest::sApp;

TEST_F(SaneScanTest, PagesFromTheSaneTestDeviceLandAsRawFilesWithTheirPixels) {
  WX_REQUIRE_TOOL("scanimage");
  const Mode modes[] = {
      {"bw", 1, "Gray", 1, 1, ".pbm"},
      {"grey", 2, "Gray", 8, 8, ".pgm"},
      {"colour", 3, "Color", 8, 24, ".ppm"},
  };
  for (int resolution : {50, 100}) {
    for (const Mode& m : modes) {
      SCOPED_TRACE(testing::Message() << m.name << " at " << resolution << " dpi");
      // The same 20 x 15 mm area at either resolution.
      const int width = 20 * resolution / 25, height = 15 * resolution / 25;
      CTWAIN twain;
      twain.SetTempFolder(FolderSpec(mTemp.path()));
      unsigned char product[33];
      PStrFromString("Dremlo Model A", product, sizeof product);
      ASSERT_EQ(1, twain.SetDriverAndOpen(product));
      Rect area{0, 0, static_cast<int16_t>(height), static_cast<int16_t>(width)};
      twain.Setup_Parameter(5, 'JPEG', 0, 1, m.imageMode, resolution, area, 4, 0);
      ASSERT_EQ(1, twain.Scan());
      ASSERT_TRUE(PumpUntilDone(sApp, twain));
      ASSERT_EQ(0, twain.GetResult());
      ASSERT_EQ(1, twain.GetImageCount());
      TW_IMAGEINFO info{};
      FSSpec spec{};
      twain.GetImageInfoArray()->FetchItemAt(1, info);
      twain.GetTempFileArray()->FetchItemAt(1, spec);
      EXPECT_EQ(m.bitsPerPixel, info.BitsPerPixel);
      EXPECT_EQ(resolution, info.XResolution.Whole);

      wxsane::Pnm reference;
      ASSERT_TRUE(wxsane::ScanImage(m.saneMode, m.saneDepth, resolution, width * 25.4 / resolution,
                                    height * 25.4 / resolution, mTemp / "reference.pnm", &reference));
      ASSERT_EQ(reference.width, info.ImageWidth);
      ASSERT_EQ(reference.height, info.ImageLength);
      std::vector<unsigned char> raw = wxtest::ReadBytes(PathOf(spec));
      size_t stride = RawScanFile_PaddedRowBytes(reference.rowBytes);
      ASSERT_EQ(stride * reference.height, raw.size());
      for (int y = 0; y < reference.height; ++y) {
        for (size_t x = 0; x < reference.rowBytes; ++x) {
          unsigned char want = reference.data[y * reference.rowBytes + x];
          if (m.saneDepth == 8 && reference.kind == '5') want = static_cast<unsigned char>(~want);
          ASSERT_EQ(want, raw[y * stride + x]) << "row " << y << " byte " << x;
        }
        if (stride != reference.rowBytes) {
          ASSERT_EQ(0, raw[y * stride + stride - 1]) << "pad of row " << y;
        }
      }
      std::string stem = std::string("sane-") + m.name + "-" + std::to_string(resolution) + "dpi";
      WriteSample(PathOf(spec), info, m, stem);
      if (wxtest::HaveTool("identify")) {
        std::string size;
        wxtest::Run("identify -format '%w %h' " + (wxtest::OutputDir("scanner") / (stem + m.sampleExtension)).string(), &size);
        EXPECT_EQ(std::to_string(info.ImageWidth) + " " + std::to_string(info.ImageLength), size);
      }
      std::filesystem::remove(PathOf(spec));
      twain.DisableDS();
    }
  }
}

int gIdleCalls = 0;
void CountIdle() { ++gIdleCalls; }

TEST_F(SaneScanTest, WithTheSourcesOwnWindowTheUsersChoiceIsScannedThroughTheApplicationsEvents) {
  DpyUseHeadless();
  DpyClearInput();
  FlushEvents(everyEvent, 0);
  struct App : LApplication {};
  App app;
  CTWAIN::SetApplicationHost(&app);
  {
    CTWAIN twain;
    twain.SetTempFolder(FolderSpec(mTemp.path()));
    twain.SetIdleHook(CountIdle);
    unsigned char product[33];
    PStrFromString("Dremlo Model A", product, sizeof product);
    ASSERT_EQ(1, twain.SetDriverAndOpen(product));
    Rect area{0, 0, 30, 40};
    twain.Setup_Parameter(5, 'JPEG', 1, 1, 3, 50, area, 4, 0);
    ASSERT_EQ(1, twain.Scan());
    LWindow* window = LWindow::GetActiveWindow();
    ASSERT_NE(nullptr, window);
    wxframework::ClickPane(window, kTwWindowBW);
    wxframework::ClickPane(window, kTwWindowScan);
    gIdleCalls = 0;
    for (int pass = 0; pass < 50 && !twain.IsDone(); ++pass) {
      app.ProcessNextEvent(0);
      LThread::Yield();
    }
    ASSERT_TRUE(twain.IsDone());
    EXPECT_EQ(0, twain.GetResult());
    ASSERT_EQ(1, twain.GetImageCount());
    TW_IMAGEINFO info{};
    twain.GetImageInfoArray()->FetchItemAt(1, info);
    EXPECT_EQ(1, info.BitsPerPixel);
    EXPECT_GT(gIdleCalls, 0);
    twain.DisableDS();
    EXPECT_EQ(nullptr, LWindow::GetActiveWindow());
  }
  CTWAIN::SetApplicationHost(&sApp);
}

}  // namespace
}  // namespace wxscan
