// A scan through a driver plug-in reaches the preview, and its pages are written from there.
#include <gtest/gtest.h>

#include <fstream>

#include "scanner/Scanner.h"
#include "tests/preview/dialog/PreviewFixture.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/Resources.h"
#include "tests/scanner/TestPlugIn.h"

namespace fs = std::filesystem;

namespace {

class PreviewPlugIn : public wxtest::PreviewTest {
 protected:
  void SetUp() override {
    PreviewTest::SetUp();
    FolderSetApplicationDir(mApp.path().string());
    fs::create_directories(mApp / "Plug-Ins");
    setenv("WX_TEST_PLUGIN", (mApp / "plugin.txt").c_str(), 1);
    InstallPlugIn(mApp.path(), "Test", {0x08, 0x25});
  }
  void TearDown() override {
    checker.reset();
    mScanner.reset();
    FolderSetApplicationDir("");
    unsetenv("WX_TEST_PLUGIN");
    PreviewTest::TearDown();
  }

  void ScanWithPlugIn(int pages) {
    std::ofstream(mApp / "plugin.txt") << "width=40\nheight=30\nmode=3\nbandrows=8\npages=" << pages << "\n";
    mScanner = std::make_unique<Scanner>();
    mScanner->SetTempFolder(wxtest::TemporaryFolder());
    Str255 name;
    PStrFromString("Test", name);
    ASSERT_EQ(1, mScanner->SetDriverAndOpen(name));
    Rect area{0, 0, 100, 100};
    mScanner->Setup_Parameter(5, 0, 1, 2, 150, area, 4);
    ASSERT_EQ(1, mScanner->Scan());
    checker = std::make_unique<CThreadChecker>(nullptr, mScanner.get());
  }

  wxtest::ScratchDir mApp;
  std::unique_ptr<Scanner> mScanner;
};

TEST_F(PreviewPlugIn, ItsPagesArePreviewedAndWritten) {
  ScanWithPlugIn(2);
  Do([](CPreviewDialog* d) {
    ASSERT_EQ(2, d->GetView()->GetThumbnails().GetCount());
    EXPECT_EQ(40, Cell(d, 1)->Page().width);
  });
  wxframework::AnswerNextDialog('SEND');
  ASSERT_EQ(MessageT('SEND'), Show({.type = 7, .popup = 3, .isTWAIN = 0}));
  const std::vector<std::string> names = WrittenNames();
  ASSERT_EQ(2u, names.size());
  for (const std::string& name : names) EXPECT_TRUE(fs::exists(Out() / name)) << name;
  EXPECT_EQ(0, pages.GetCount());
}

}  // namespace
