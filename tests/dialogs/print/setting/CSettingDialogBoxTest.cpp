#include "dialogs/print/CSettingDialogBox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "AppTestEnv.h"
#include "app/prefs/ButtonTags.h"
#include "framework/LPopupButton.h"
#include "dialogs/print/SettingRules.h"
#include "support/TestEnv.h"
#include "tests/output/DialogTestEnv.h"

namespace wxapp {
namespace {

using namespace wxframework;

// The bridge's SANE set-up for this program: two test devices, one standing for a
// seven-button model and one for a four-button model.
class TwoScannersEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    const std::filesystem::path folder = mConfig.path();
    std::filesystem::create_directories(folder / "dll.d");
    std::ofstream(folder / "dll.d" / "wendrix") << "test\n";
    std::ofstream(folder / "test.conf") << "number_of_devices 2\n";
    std::ofstream(folder / "sources.conf") << "test:0=Dremlo Model A\ntest:1=Dremlo Model D\n";
    setenv("WX_SANE_CONFIG", folder.c_str(), 1);
    setenv("SANE_CONFIG_DIR", folder.c_str(), 1);
    setenv("WX_TWAIN_SOURCES", WX_TWAIN_SOURCE_DIR, 1);
  }

 private:
  wxtest::ScratchDir mConfig;
};

::testing::Environment* const gScanners = ::testing::AddGlobalTestEnvironment(new TwoScannersEnvironment);

class SettingDialogTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    // A file whose tags are those its slots give, as after any Settings OK.
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes setting = PREF_ALL::kSetting.in(prefs.PrefAll());
    DeriveTags(prefs.PrefAll(), setting, setting);
  }

  // The main window with the real Settings dialog, then its Settings button clicked.
  CSettingDialogBox* Open() {
    static const AppClassList classes = {AppClassEntry<CSettingDialogBox>()};
    mApp = new CAppearanceApp(classes);
    SendEvent(kAEOpenApplication, ae_OpenApp);
    mOpening = wxtest::ReadBytes(PrefsFile());
    Window()->Select();
    ClickPane(Window(), 'SET ');
    PumpEvents();
    if (Dialog()) Dialog()->Select();
    return Dialog();
  }

  void Click(PaneIDT id) {
    ClickPane(Dialog(), id);
    PumpEvents();
  }
  void Choose(PaneIDT id, SInt16 item) {
    ChoosePopupItem(Dialog(), id, item);
    PumpEvents();
  }

  CSettingDialogBox* Dialog() const {
    for (LCommander* sub : Window()->GetSubCommanders())
      if (auto* dialog = dynamic_cast<CSettingDialogBox*>(sub)) return dialog;
    return nullptr;
  }

  std::vector<std::string> Items(PaneIDT popup) {
    auto* pane = FindPaneAs<LPopupButton>(Dialog(), popup);
    std::vector<std::string> items;
    for (SInt16 i = 1; i <= pane->CountMenuItems(); ++i) {
      Str255 text;
      items.push_back(PStrToString(pane->GetMenuItemText(i, text)));
    }
    return items;
  }

  std::vector<uint32_t> Slots(RecordBytes all) {
    std::vector<uint32_t> slots;
    for (uint32_t k = 0; k < PREF_SETTING::kSlots; ++k)
      slots.push_back(PREF_SETTING::ButtonSlot(k).get(PREF_ALL::kSetting.in(all)));
    return slots;
  }

  std::vector<uint8_t> mOpening;
};

TEST_F(SettingDialogTest, OpensFromTheMainWindowWithTheScannersAndTheSevenButtonSlots) {
  ASSERT_NE(nullptr, Open());
  EXPECT_EQ(1, mApp->mFunctionDialogOpen);
  EXPECT_EQ((std::vector<std::string>{"Dremlo Model A", "Dremlo Model D"}), Items('DRVR'));
  EXPECT_EQ(1, PaneValue(Dialog(), 'DRVR'));
  EXPECT_EQ((std::vector<std::string>{"Copy", "Print", "Mail", "OCR", "Save", "Scan-1", "Scan-2", "Scanner"}),
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

TEST_F(SettingDialogTest, CancelAfterEditsLeavesTheFileAsItWasAtOpening) {
  ASSERT_NE(nullptr, Open());
  Choose('SCNP', 2);   // Print, free
  Choose('CPYP', 7);   // Scan-2, free
  Choose('DRVR', 2);   // the four-button model
  EXPECT_TRUE(FindPane(Dialog(), 'FILP')->IsVisible());
  Click('ECCB');
  Click(901);
  EXPECT_EQ(nullptr, Dialog());
  EXPECT_EQ(mOpening, wxtest::ReadBytes(PrefsFile()));
}

TEST_F(SettingDialogTest, OKWithTheFourButtonModelWritesItsSlotsAndTagsAndRebuildsTheMainWindow) {
  ASSERT_NE(nullptr, Open());
  EXPECT_EQ(nullptr, Window()->FindPaneByID('FILM')) << "no File move button on a seven-button model";
  Choose('DRVR', 2);
  EXPECT_TRUE(FindPane(Dialog(), 'FILP')->IsVisible());
  EXPECT_EQ(9u, Items('FILP').size());
  ASSERT_EQ(9u, Items('CPYP').size());
  EXPECT_EQ("File", Items('CPYP')[7]);
  EXPECT_EQ("Scanner", Items('CPYP')[8]);
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

}  // namespace
}  // namespace wxapp
