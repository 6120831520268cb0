// The main window of the application with the real Settings dialog, opened by its
// Settings button, over a preferences file whose tags agree with its slots.
#pragma once

#include <string>
#include <vector>

#include "AppTestEnv.h"
#include "dialogs/print/CSettingDialogBox.h"
#include "dialogs/print/SettingRules.h"
#include "framework/LPopupButton.h"
#include "support/TestEnv.h"

namespace wxapp {

using namespace wxframework;

class SettingDialogTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    SetUpConsistentTags();
  }

  // A file whose tags are those its slots give, as after any Settings OK.
  void SetUpConsistentTags() {
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

}  // namespace wxapp
