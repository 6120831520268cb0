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

namespace wxapp {
namespace {

class LayoutPlugInTest : public LayoutDialogTest {
 public:
  void SetUp() override {
    LayoutDialogTest::SetUp();
    FolderSetApplicationDir(mApplication.path().string());
    fs::create_directories(mApplication / "Plug-Ins");
    Install("Test Scanner");
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

  // The test plug-in in the plug-in folder as `name`, with its type, creator and version.
  void Install(const std::string& name) {
    const fs::path file = mApplication / "Plug-Ins" / name;
    fs::copy_file(WX_TEST_PLUGIN_PATH, file, fs::copy_options::overwrite_existing);
    FSSpec spec{};
    ASSERT_EQ(noErr, FSpMakeFromPOSIXPath(file.string(), &spec));
    FInfo info{};
    info.fdType = '8BAM';
    info.fdCreator = '8BIM';
    ASSERT_EQ(noErr, FSpSetFInfo(&spec, &info));
    FSpCreateResFile(&spec, '8BIM', '8BAM', smSystemScript);
    const SInt16 ref = FSpOpenResFile(&spec, fsRdWrPerm);
    ASSERT_NE(-1, ref);
    Str255 text;
    PStrFromString("Dispatchable Plug-in", text);
    Handle dispatch = nullptr, version = nullptr;
    ASSERT_EQ(noErr, PtrToHand(text, &dispatch, text[0] + 1));
    AddResource(dispatch, 'DiSp', 16000, reinterpret_cast<const unsigned char*>(""));
    const unsigned char vers[] = {0x08, 0x20};
    ASSERT_EQ(noErr, PtrToHand(vers, &version, sizeof vers));
    AddResource(version, 'vers', 1, reinterpret_cast<const unsigned char*>(""));
    CloseResFile(ref);
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
