// Known images scanned through a real TWAIN connection to the fake source, then exported.
#include <gtest/gtest.h>

#include "output/export/WXExport.h"
#include "output/hub/WXFolders.h"
#include "platform/twain/fake/FakeScript.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/ScanTestSupport.h"
#include "support/TestEnv.h"
#include "tests/prefs/PrefsTestEnv.h"
#include "tests/output/DialogTestEnv.h"
#include "tests/output/export/RawPages.h"
#include "toolbox/Files.h"
#include "toolbox/TextUtils.h"

namespace fs = std::filesystem;
using wxtest::RawPage;

namespace {

class FakeSourceExport : public wxtest::DialogTest {
 protected:
  static void SetUpTestSuite() {
    wxfake::UseFakeSource();
    CTWAIN::SetApplicationHost(&sHost);
  }
  void SetUp() override {
    wxtest::DialogTest::SetUp();
    fs::create_directories(Out());
    temp = wxtest::TemporaryFolder();
  }
  void TearDown() override {
    checker.reset();
    twain.reset();
    wxtest::DialogTest::TearDown();
  }

  fs::path Out() const { return env.root() / "Out"; }

  // Scans `pages` (one image each) at `depth` bits from the fake source.
  void Scan(const std::vector<RawPage>& pages, int depth) {
    std::string script = "depth=" + std::to_string(depth) + "\nres=100\npages=" + std::to_string(pages.size()) + "\n";
    for (size_t i = 0; i < pages.size(); ++i) {
      const fs::path image = scripts.path() / ("page" + std::to_string(i) + (depth == 24 ? ".ppm" : depth == 8 ? ".pgm" : ".pbm"));
      wxtest::WritePnm(image, wxtest::ToPnm(pages[i]));
      script += "image=" + image.string() + "\n";
    }
    wxfake::WriteFakeScript(scripts.path(), script);
    twain = std::make_unique<CTWAIN>();
    twain->SetTempFolder(temp);
    Str255 name;
    PStrFromString("Fake Scanner", name);
    ASSERT_EQ(1, twain->SetDriverAndOpen(name));
    Rect area{0, 0, 100, 100};
    twain->Setup_Parameter(5, 'TIFF', 0, 1, depth == 24 ? 2 : depth == 8 ? 1 : 0, 100, area, 4, 0);
    ASSERT_EQ(1, twain->Scan());
    ASSERT_TRUE(wxscan::PumpUntilDone(sHost, *twain));
    checker = std::make_unique<CThreadChecker>(nullptr, twain.get());
  }

  static wxscan::TestApplication sHost;
  wxtest::PrefsEnv env;
  wxtest::ScratchDir scripts;
  FSSpec temp{};
  std::unique_ptr<CTWAIN> twain;
  std::unique_ptr<CThreadChecker> checker;
  StPDFDialog pdf;
  StJPEGDialog jpeg;
  StOtherDialog pict, tiff;
};

wxscan::TestApplication FakeSourceExport::sHost;

TEST_F(FakeSourceExport, ScannedImagesComeOutAsTheyWentIn) {
  for (int depth : {1, 8, 24}) {
    fs::remove_all(Out());
    fs::create_directories(Out());
    const long bits = depth == 24 ? 32 : depth;
    const std::vector<RawPage> pages = {wxtest::MakePage(bits, 37, 20), wxtest::MakePage(bits, 24, 11)};
    Scan(pages, depth);
    ASSERT_EQ(twain->GetImageCount(), 2) << depth;
    Str255 base;
    PStrFromString("Scan", base);
    const FSSpec folder = wxtest::SpecOf(Out());
    std::unique_ptr<TArray<FSSpec>> list(
        CWXUtility::ExportToFile(1, checker.get(), 'TIFF', base, folder, 0, pdf, jpeg, pict, tiff, 0, 'QlWX', 1, 0, 0));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->GetCount(), 2);
    for (ArrayIndexT i = 1; i <= 2; ++i) {
      const RawPage& page = pages[size_t(i - 1)];
      const auto bytes = wxtest::ReadBytes(Out() / ("Scan000" + std::to_string(i) + ".TIF"));
      const long rowBytes = bits == 1 ? (page.width + 7) / 8 : bits == 8 ? page.width : 3 * page.width;
      ASSERT_EQ(long(bytes.size()), 204 + rowBytes * page.height) << depth;
      for (long y = 0; y < page.height; ++y)
        EXPECT_TRUE(std::equal(bytes.begin() + 204 + y * rowBytes, bytes.begin() + 204 + (y + 1) * rowBytes,
                               page.rows.begin() + y * page.RowBytes()))
            << depth << " page " << i << " row " << y;
    }
    twain.reset();
    checker.reset();
  }
}

}  // namespace
