// A Print scan through a driver plug-in reaches the page layout: its pages, laid out from the
// plug-in's own page records, carry the configured model's name as their source.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "LayoutDialogTestEnv.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"
#include "toolbox/TextConvert.h"
#include "tests/scanner/TestPlugIn.h"

namespace wxapp {
namespace {

class LayoutPlugInTest : public LayoutDialogTest {
 public:
  void SetUp() override {
    LayoutDialogTest::SetUp();
    FolderSetApplicationDir(mApplication.path().string());
    fs::create_directories(mApplication / "Plug-Ins");
    InstallPlugIn(mApplication.path(), "Test Scanner");
    std::ofstream(mApplication / "plugin.txt") << "pages=2\nwidth=120\nheight=90\nmode=3\nbandrows=30\n";
    setenv("WX_TEST_PLUGIN", (mApplication / "plugin.txt").c_str(), 1);
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes setting = PREF_ALL::kSetting.in(prefs.PrefAll());
    Str255 name;
    PStrFromString("Test Scanner", name);
    PREF_SETTING::kModelName.set(setting, name);
    PREF_SETTING::kTWAIN.set(setting, 0);
  }
  void TearDown() override {
    LayoutDialogTest::TearDown();
    unsetenv("WX_TEST_PLUGIN");
    FolderSetApplicationDir("");
  }


  wxtest::ScratchDir mApplication;
};

TEST_F(LayoutPlugInTest, ThePagesCarryTheModelNameAsTheirSource) {
  ASSERT_NE(nullptr, Open());
  std::vector<std::string> sources;
  std::vector<SInt32> widths;
  Run({[&](CPrintLayoutDialog* l) {
    for (SInt32 n = 1; CThumbnailPane* t = l->Strip()->GetThumbnail(n); ++n) {
      sources.push_back(PStrToString(t->GetScanData().sourceName));
      widths.push_back(t->GetScanData().width);
    }
    ClickPane(l, 'BTFN');
  }});
  Scan();
  EXPECT_FALSE(HasDialogActions()) << "the layout never opened";
  EXPECT_EQ((std::vector<std::string>{"Test Scanner", "Test Scanner"}), sources);
  EXPECT_EQ((std::vector<SInt32>{120, 120}), widths);
  EXPECT_EQ(0u, TempCopies());
}

}  // namespace
}  // namespace wxapp
