// The Settings dialog of a four-button model (no scanner listed, so the stored model stays)
// on a private Xvfb, kept for a person to look at.
#include <gtest/gtest.h>

#include "SettingDialogTestEnv.h"
#include "support/DialogShot.h"
#include "tests/output/DialogTestEnv.h"

namespace wxapp {
namespace {

class SettingDialogOnScreen : public wxtest::OnScreen<SettingDialogTest> {
 protected:
  void SetUp() override {
    wxtest::OnScreen<SettingDialogTest>::SetUp();
    // Texts are in the script of the build's language and are drawn in it.
    SetSystemScriptForLanguage(wxtest::BuildLanguage());
  }
};

TEST_F(SettingDialogOnScreen, FourButtonModel) {
  Configure("Dremlo Model D");
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    PREF_SETTING::kButtonSlot2.set(PREF_ALL::kSetting.in(prefs.PrefAll()), 8);  // File, as a four-button file has
  }
  ASSERT_NE(nullptr, Open());
  EXPECT_EQ(0, wxtest::ShootDialog(Dialog(), "dialogs", "settings-four-buttons.png"))
      << "the screen does not show what the dialog drew";
  Click(901);
}

// Before the event loop has had a turn, so before any update event: the screen under the
// dialog, which lists the scanners (seconds while their drivers load) while it is created.
TEST_F(SettingDialogOnScreen, TheDialogIsOnTheScreenBeforeTheScannersAreListed) {
  static const AppClassList classes = {AppClassEntry<CSettingDialogBox>()};
  mApp = new CAppearanceApp(classes);
  SendEvent(kAEOpenApplication, ae_OpenApp);
  PumpEvents();
  Window()->Select();
  ClickPane(Window(), 'SET ');
  // Up to the event that opens it, and no further.
  for (int i = 0; i < 50 && !Dialog(); ++i) mApp->ProcessNextEvent(0);
  ASSERT_NE(nullptr, Dialog());
  for (int i = 0; i < 20; ++i) {
    SDL_PumpEvents();
    DpyCurrent().Poll();
  }
  Rect bounds;
  Dialog()->GetGlobalBounds(bounds);
  const std::string crop = std::to_string(bounds.right - bounds.left) + "x" + std::to_string(bounds.bottom - bounds.top) +
                           "+" + std::to_string(bounds.left) + "+" + std::to_string(bounds.top);
  const std::string png = (wxtest::OutputDir("dialogs") / "settings-while-listing.png").string();
  ASSERT_EQ(0, wxtest::Run("xwd -root -silent -display " + wxtest::Xvfb::Get().name() + " | convert xwd:- -crop " +
                           crop + " +repage '" + png + "'"));
  std::string drawn;  // the share of pixels that are not black
  wxtest::Run("convert '" + png + "' -fill white +opaque black -fill black -opaque black -format '%[fx:mean]' info:",
              &drawn);
  EXPECT_GT(std::atof(drawn.c_str()), 0.5) << "most of the dialog is still black";
  PumpEvents();
  Click(901);
}

}  // namespace
}  // namespace wxapp
