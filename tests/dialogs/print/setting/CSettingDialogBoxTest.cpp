#include "dialogs/print/CSettingDialogBox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "SettingDialogTestEnv.h"
#include "prefs/ButtonTags.h"
#include "prefs/WXDefaultDir.h"
#include "navigation/NavigationDriver.h"
#include "toolbox/MacErrors.h"
#include "support/TestEnv.h"
#include "tests/output/DialogTestEnv.h"

namespace wxapp {
namespace {

using namespace wxframework;

// The bridge's SANE set-up for this program: three test devices standing for two
// seven-button models and a four-button one.
class ScannersEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    const std::filesystem::path folder = mConfig.path();
    std::filesystem::create_directories(folder / "dll.d");
    std::ofstream(folder / "dll.d" / "wendrix") << "test\n";
    std::ofstream(folder / "test.conf") << "number_of_devices 3\n";
    std::ofstream(folder / "sources.conf") << "test:0=Dremlo Model A\ntest:1=Dremlo Model D\ntest:2=Dremlo Model B\n";
    setenv("WX_SANE_CONFIG", folder.c_str(), 1);
    setenv("SANE_CONFIG_DIR", folder.c_str(), 1);
    setenv("WX_TWAIN_SOURCES", WX_TWAIN_SOURCE_DIR, 1);
  }

 private:
  wxtest::ScratchDir mConfig;
};

::testing::Environment* const gScanners = ::testing::AddGlobalTestEnvironment(new ScannersEnvironment);

// The language's default name of a function (item 10: the Settings item of the popups).
std::string ButtonName(SInt16 item) { return wxtest::ResourceText(300, item); }

TEST_F(SettingDialogTest, OpensFromTheMainWindowWithTheScannersAndTheSevenButtonSlots) {
  ASSERT_NE(nullptr, Open());
  EXPECT_EQ(1, mApp->mFunctionDialogOpen);
  EXPECT_EQ((std::vector<std::string>{"Dremlo Model A", "Dremlo Model D", "Dremlo Model B"}), Items('DRVR'));
  EXPECT_EQ(1, PaneValue(Dialog(), 'DRVR'));
  EXPECT_EQ((std::vector<std::string>{ButtonName(1), ButtonName(2), ButtonName(3), ButtonName(4), ButtonName(5),
                                      ButtonName(7), ButtonName(8), ButtonName(10)}),
            Items('CPYP'));
  EXPECT_EQ(5u, Items('FILP').size());
  EXPECT_FALSE(FindPane(Dialog(), 'FILP')->IsVisible());
  EXPECT_EQ(1, PaneValue(Dialog(), 'CPYP'));
  EXPECT_EQ(6, PaneValue(Dialog(), 'SCNP'));
  EXPECT_EQ(3, PaneValue(Dialog(), 'MILP'));
  Click(901);
  EXPECT_EQ(nullptr, Dialog());
  EXPECT_EQ(0, mApp->mFunctionDialogOpen);
}

// A user action: a popup item chosen, or a pane clicked (item 0).
struct Action {
  PaneIDT pane;
  SInt16 item;
};

TEST_F(SettingDialogTest, CancelAfterAnyEditsLeavesTheFileAsItWasAtOpening) {
  const struct {
    const char* what;
    std::vector<Action> actions;
  } cases[] = {
      {"slots, the model and the quit option",
       {{'SCNP', 2}, {'CPYP', 7}, {'DRVR', 2}, {'ECCB', 0}}},
      {"two functions swapped through a third", {{'CPYP', 2}, {'MILP', 1}, {'CPYP', 3}}},
      {"defaults", {{'SCNP', 2}, {'DFLT', 0}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_NE(nullptr, Open());
    for (const Action& a : c.actions) a.item ? Choose(a.pane, a.item) : Click(a.pane);
    Click(901);
    EXPECT_EQ(nullptr, Dialog());
    EXPECT_EQ(mOpening, wxtest::ReadBytes(PrefsFile()));
    delete mApp;
    mApp = nullptr;
  }
}

TEST_F(SettingDialogTest, OKWritesTheSlotsAndTagsTheModelSwitchesGive) {
  const struct {
    const char* what;
    const char* model;  // stored before opening
    std::vector<Action> actions;
    const char* modelOut;
    std::vector<uint32_t> slots;
    std::vector<uint32_t> tags;  // of items 1 to 9 under the new model's numbering
  } cases[] = {  // each case starts from the file the one before wrote
      {"four to seven buttons", "Dremlo Model D", {{'DRVR', 1}}, "Dremlo Model A", {1, 6, 0, 3},
       {2000, 0, 2003, 0, 0, 2001, 0, 0, 0}},
      {"swap through a third", "Dremlo Model A", {{'CPYP', 2}, {'MILP', 1}, {'CPYP', 3}}, "Dremlo Model A",
       {3, 6, 0, 1}, {2003, 0, 2000, 0, 0, 2001, 0, 0, 0}},
      {"same kind keeps the slots", "Dremlo Model A", {{'SCNP', 7}, {'DRVR', 3}}, "Dremlo Model B", {3, 7, 0, 1},
       {2003, 0, 2000, 0, 0, 0, 2001, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Configure(c.model);
    SetUpConsistentTags();
    ASSERT_NE(nullptr, Open());
    for (const Action& a : c.actions) a.item ? Choose(a.pane, a.item) : Click(a.pane);
    Click(900);
    EXPECT_EQ(nullptr, Dialog());
    WithPrefs([&](RecordBytes all) {
      RecordBytes setting = PREF_ALL::kSetting.in(all);
      Str255 model;
      PREF_SETTING::kModelName.get(setting, model);
      EXPECT_EQ(c.modelOut, PStrToString(model));
      EXPECT_EQ(c.slots, Slots(all));
      const bool four = ButtonCountOf(model) == 4;
      std::vector<uint32_t> tags;
      for (uint32_t item = 1; item <= 9; ++item) tags.push_back(GetFunctionTag(all, setting, item, four));
      EXPECT_EQ(c.tags, tags);
    });
    delete mApp;
    mApp = nullptr;
  }
}

TEST_F(SettingDialogTest, BadStoredValuesOpenWithinTheirMenusAndWriteAValidRecord) {
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes setting = PREF_ALL::kSetting.in(prefs.PrefAll());
    PREF_SETTING::kModelName.set(setting, reinterpret_cast<ConstStr255Param>("\x07" "Unknown"));
    PREF_SETTING::kButtonSlot0.set(setting, 40);
    Str255 empty = {0};
    PREF_SCANX::kButtonName.set(PREF_ALL::kScan1.in(prefs.PrefAll()), empty);
  }
  ASSERT_NE(nullptr, Open());
  EXPECT_EQ(3, PaneValue(Dialog(), 'DRVR')) << "a model not listed becomes the last scanner";
  EXPECT_EQ(8, PaneValue(Dialog(), 'CPYP'));
  EXPECT_EQ(" ", Items('CPYP')[5]) << "an empty Scan-1 name";
  Click(900);
  WithPrefs([&](RecordBytes all) {
    Str255 model;
    PREF_SETTING::kModelName.get(PREF_ALL::kSetting.in(all), model);
    EXPECT_EQ("Dremlo Model B", PStrToString(model));
    EXPECT_EQ((std::vector<uint32_t>{8, 6, 0, 3}), Slots(all));
    EXPECT_EQ(2000u, PREF_SETTING::kTag.get(PREF_ALL::kSetting.in(all)));
  });
}

TEST_F(SettingDialogTest, OKWithTheFourButtonModelWritesItsSlotsAndTagsAndRebuildsTheMainWindow) {
  ASSERT_NE(nullptr, Open());
  EXPECT_EQ(nullptr, Window()->FindPaneByID('FILM')) << "no File move button on a seven-button model";
  Choose('DRVR', 2);
  EXPECT_TRUE(FindPane(Dialog(), 'FILP')->IsVisible());
  EXPECT_EQ(9u, Items('FILP').size());
  ASSERT_EQ(9u, Items('CPYP').size());
  EXPECT_EQ(ButtonName(6), Items('CPYP')[7]);
  EXPECT_EQ(ButtonName(10), Items('CPYP')[8]);
  EXPECT_EQ(8, PaneValue(Dialog(), 'FILP'));
  Click('ECCB');
  Click(900);
  EXPECT_EQ(nullptr, Dialog()) << "the scanner opened, so OK closes";
  WithPrefs([&](RecordBytes all) {
    RecordBytes setting = PREF_ALL::kSetting.in(all);
    Str255 model;
    PREF_SETTING::kModelName.get(setting, model);
    EXPECT_EQ("Dremlo Model D", PStrToString(model));
    EXPECT_EQ((std::vector<uint32_t>{1, 6, 8, 3}), Slots(all));
    EXPECT_EQ(1, PREF_SETTING::kQuitOption.get(setting));
    EXPECT_EQ(0, PREF_SETTING::kFilmAdapter.get(setting)) << "the test device has no film source";
    EXPECT_EQ(0u, PREF_SETTING::kTag.get(setting));
    for (uint32_t item = 1; item <= 9; ++item) {
      const uint32_t expected = item == 1 ? 2000 : item == 6 ? 2001 : item == 8 ? 2002 : item == 3 ? 2003 : 0;
      EXPECT_EQ(expected, GetFunctionTag(all, setting, item, true)) << "item " << item;
    }
    for (uint32_t k = 0; k < 5; ++k) EXPECT_EQ(2002u, PREF_FILE::kTag.get(PREF_ALL::File(k).in(all)));
  });
  EXPECT_NE(nullptr, Window()->FindPaneByID('FILM')) << "the main window shows the four-button model";
}

TEST_F(SettingDialogTest, AFunctionThatHoldsATagIsRefusedAndAFreeOneTakesTheSlotsTag) {
  ASSERT_NE(nullptr, Open());
  std::string alert;
  QueueDialogAction([&](LWindow* dialog) { alert = PaneText(dialog, 'TXMS'); });
  AnswerNextDialog(900);
  Choose('CPYP', 3);  // Mail, held by the last slot
  EXPECT_EQ(wxtest::ResourceText(400, 25), alert);
  EXPECT_EQ(1, PaneValue(Dialog(), 'CPYP'));
  EXPECT_FALSE(HasDialogActions());
  Choose('CPYP', 2);  // Print
  Click(900);
  WithPrefs([&](RecordBytes all) {
    RecordBytes setting = PREF_ALL::kSetting.in(all);
    EXPECT_EQ((std::vector<uint32_t>{2, 6, 0, 3}), Slots(all));
    EXPECT_EQ(0u, GetFunctionTag(all, setting, 1, false));
    EXPECT_EQ(2000u, GetFunctionTag(all, setting, 2, false));
    EXPECT_EQ(2003u, GetFunctionTag(all, setting, 3, false));
  });
}

TEST_F(SettingDialogTest, CancelAfterDefaultsRestoresTheSavedTemporaryFolder) {
  const std::filesystem::path base = mRoot.path() / "Scans", saved = base / "WX50Temp";
  std::filesystem::create_directories(saved);
  FSSpec defaultTemp{}, defaultBase{};
  ASSERT_TRUE(CWXUtility::Get_Default_TempDir(&defaultTemp, &defaultBase));
  std::string defaultPath;
  ASSERT_EQ(noErr, FSpGetPOSIXPath(&defaultTemp, &defaultPath));
  std::filesystem::remove_all(defaultPath);
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes setting = PREF_ALL::kSetting.in(prefs.PrefAll());
    FSSpec spec{};
    ASSERT_EQ(noErr, FSpMakeFromPOSIXPath(base.string(), &spec));
    PREF_SETTING::kTempBase.set(setting, spec);
    ASSERT_EQ(noErr, FSpMakeFromPOSIXPath(saved.string(), &spec));
    PREF_SETTING::kTempFolder.set(setting, spec);
  }
  ASSERT_NE(nullptr, Open());
  Click('DFLT');
  EXPECT_TRUE(std::filesystem::is_directory(defaultPath)) << "the defaults' folder is made";
  Click(901);
  EXPECT_FALSE(std::filesystem::exists(defaultPath));
  EXPECT_TRUE(std::filesystem::is_directory(saved));
  EXPECT_EQ(mOpening, wxtest::ReadBytes(PrefsFile()));

  ASSERT_NE(nullptr, Open());
  Click('DFLT');
  Click(900);
  EXPECT_FALSE(std::filesystem::exists(saved)) << "the last OK's folder goes with the next OK";
  EXPECT_TRUE(std::filesystem::is_directory(defaultPath));
  WithPrefs([&](RecordBytes all) {
    std::string path;
    const FSSpec temp = PREF_SETTING::kTempFolder.get(PREF_ALL::kSetting.in(all));
    EXPECT_EQ(noErr, FSpGetPOSIXPath(&temp, &path));
    EXPECT_EQ(defaultPath, path);
  });
}

// A new file gives every File record 2002 whatever the model. On a seven-button model no
// scanner button reaches them (a push runs the slots, and the File function has no move
// button there), and the first OK derives the tags from the slots.
TEST_F(SettingDialogTest, TheFactoryFileTagsOfASevenButtonModelGiveWayToItsSlotsAtOK) {
  std::filesystem::remove(PrefsFile());
  Configure("Dremlo Model A");
  WithPrefs([](RecordBytes all) {
    for (uint32_t k = 0; k < PREF_ALL::kFileRecords; ++k)
      EXPECT_EQ(2002u, PREF_FILE::kTag.get(PREF_ALL::File(k).in(all)));
  });
  ASSERT_NE(nullptr, Open());
  EXPECT_EQ(nullptr, Window()->FindPaneByID('FILM'));
  Click(900);
  WithPrefs([](RecordBytes all) {
    for (uint32_t k = 0; k < PREF_ALL::kFileRecords; ++k)
      EXPECT_EQ(0u, PREF_FILE::kTag.get(PREF_ALL::File(k).in(all)));
    EXPECT_EQ(2000u, PREF_COPY::kTag.get(PREF_ALL::kCopy.in(all)));
    EXPECT_EQ(2001u, PREF_SCANX::kTag.get(PREF_ALL::kScan1.in(all)));
    EXPECT_EQ(2003u, PREF_MAIL::kTag.get(PREF_ALL::kMail.in(all)));
  });
}

TEST_F(SettingDialogTest, AModelChangePutsEachShownGroupBackAtItsPlace) {
  ASSERT_NE(nullptr, Open());
  for (PaneIDT id : {PaneIDT('CPYP'), PaneIDT('CPYB'), PaneIDT('CPPC')}) FindPane(Dialog(), id)->MoveBy(30, 5, false);
  Choose('DRVR', 2);
  const struct {
    PaneIDT id;
    SInt32 h, v;  // as layout 8000 places it
  } places[] = {{'CPYP', 170, 84}, {'CPYB', 40, 86}, {'CPPC', 390, 78}, {'FILP', 170, 164}};
  for (const auto& p : places) {
    LPane* pane = FindPane(Dialog(), p.id);
    SPoint32 at;
    pane->GetFrameLocation(at);
    EXPECT_EQ(p.h, at.h);
    EXPECT_EQ(p.v, at.v);
    EXPECT_TRUE(pane->IsVisible());
  }
  Click(901);
}

std::string PathOf(const FSSpec& spec) {
  std::string path;
  EXPECT_EQ(noErr, FSpGetPOSIXPath(&spec, &path));
  return path;
}

TEST_F(SettingDialogTest, ANewBaseFolderIsWrittenAtOnceAndCancelPutsTheOldOneBack) {
  FSSpec oldTemp{}, oldBase{};
  ASSERT_TRUE(CWXUtility::Get_Default_TempDir(&oldTemp, &oldBase));
  const std::filesystem::path oldTempPath = PathOf(oldTemp),
                              newBase = std::filesystem::path(PathOf(oldBase)) / "Elsewhere";
  std::filesystem::create_directories(newBase);
  ASSERT_NE(nullptr, Open());
  const std::string shownBefore = PaneText(Dialog(), 'TPTX');
  QueueDialogAction([](LWindow* d) { wxnavigation::SelectItem(d, "Elsewhere"); });
  AnswerNextDialog(msg_OK);
  Click('TPBT');
  EXPECT_NE(shownBefore, PaneText(Dialog(), 'TPTX'));
  EXPECT_TRUE(std::filesystem::is_directory(newBase / "WX50Temp"));
  EXPECT_FALSE(std::filesystem::exists(oldTempPath));
  WithPrefs([&](RecordBytes all) {
    EXPECT_EQ(newBase.string(), PathOf(PREF_SETTING::kTempBase.get(PREF_ALL::kSetting.in(all))));
  });
  Click(901);
  EXPECT_EQ(mOpening, wxtest::ReadBytes(PrefsFile()));
  EXPECT_FALSE(std::filesystem::exists(newBase / "WX50Temp"));
  EXPECT_TRUE(std::filesystem::is_directory(oldTempPath));
}

}  // namespace
}  // namespace wxapp
