// Every dialog window of the executable, built from its layout by the classes it registers,
// in English and Japanese on a private Xvfb; a screenshot of each is kept for a person to
// look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <utility>
#include <string>
#include <vector>

#include "app/CAppearanceApp.h"
#include "app/wendrix/DialogClasses.h"
#include "display/Display.h"
#include "framework/FrameworkDriver.h"
#include "framework/LCaption.h"
#include "framework/LCheckBox.h"
#include "framework/LPushButton.h"
#include "framework/LRadioButton.h"
#include "framework/LView.h"
#include "framework/LWindow.h"
#include "framework/TRegistrar.h"
#include "framework/URegistrar.h"
#include "navigation/LNavItemTable.h"
#include "output/hubdialogs/WXAlert.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "support/DialogShot.h"
#include "support/LanguageResources.h"
#include "support/TestEnv.h"
#include "support/Xvfb.h"
#include "toolbox/Resources.h"
#include "toolbox/TextConvert.h"
#include "toolbox/TextUtils.h"
#include "windows/Events.h"
#include "windows/Menus.h"
#include "windows/TestDriver.h"

namespace {

namespace fs = std::filesystem;

// An alert as the program shows it: item of string list 400, its parameter, icon and buttons.
struct SAlert {
  SInt32 item = 0;
  const char* param = "";
  UInt8 icon = 0;
  UInt16 buttons = 0;
};

struct SDialog {
  ResIDT layout;
  const char* name;
  const char* model = "Dremlo Model A";  // a seven-button scanner unless the layout is another's
  SAlert alert = {};                     // item 0: built from its layout alone
};

// Every layout of the resources whose first object is a window.
const SDialog kDialogs[] = {
    {200, "document-size"},
    {300, "pdf-options"},
    {310, "jpeg-options"},
    {320, "tiff-options"},
    {350, "next-page", "Dremlo Model D", {7, "2"}},
    {360, "next-page-button", "Dremlo Model A", {41, "2", 0, 1}},
    {400, "alert", "Dremlo Model A", {31, "Holiday scans.pdf", 1}},
    {500, "preview"},
    {501, "enlarged-preview"},
    {600, "exif"},
    {700, "file-name"},
    {800, "scan-info-tab-1"},
    {801, "scan-info-tab-2"},
    {802, "scan-info-tab-3"},
    {803, "scan-info"},
    {1000, "copy"},
    {1010, "copy-magnification"},
    {1100, "page-layout"},
    {1110, "page-setup"},
    {1111, "print-job"},
    {1120, "chooser"},
    {1200, "font"},
    {2000, "mail"},
    {2100, "mail-application"},
    {3000, "ocr"},
    {4000, "save"},
    {5000, "file", "Dremlo Model D"},
    {5050, "file-tabs"},
    {5100, "favorite-notice"},
    {6000, "scan1"},
    {7000, "scan2"},
    {8000, "settings"},
    {9000, "print"},
    {10000, "button-7-notice"},
    {11000, "stitch"},
};

struct SCase {
  char language;
  SDialog dialog;
};

std::vector<SCase> Cases() {
  std::vector<SCase> out;
  for (char language : {'E', 'J'})
    for (const SDialog& d : kDialogs) out.push_back({language, d});
  return out;
}

std::string CaseName(const testing::TestParamInfo<SCase>& info) {
  std::string name = std::string(1, info.param.language) + "_" + std::to_string(info.param.dialog.layout) + "_" +
                     info.param.dialog.name;
  for (char& c : name)
    if (c == '-') c = '_';
  return name;
}

// The text panes of `view` and below it: the part of each frame its text is drawn in.
void CollectTextAreas(LView* view, std::vector<std::pair<LPane*, Rect>>* out) {
  for (LPane* pane : view->GetSubPanes()) {
    if (auto* sub = dynamic_cast<LView*>(pane)) CollectTextAreas(sub, out);
    if (!pane->IsVisible()) continue;
    Str255 text;
    pane->GetDescriptor(text);
    if (text[0] == 0) continue;
    Rect r;
    pane->CalcPortFrameRect(r);
    if (dynamic_cast<LCheckBox*>(pane) || dynamic_cast<LRadioButton*>(pane)) {
      r.left += 18;  // past the box
    } else if (dynamic_cast<LPushButton*>(pane)) {
      InsetRect(&r, 3, 3);  // inside the frame
    } else if (!dynamic_cast<LCaption*>(pane)) {
      continue;
    }
    out->push_back({pane, r});
  }
}

int Luma(UInt32 p) { return (299 * int((p >> 16) & 0xFF) + 587 * int((p >> 8) & 0xFF) + 114 * int(p & 0xFF)) / 1000; }

// Each text pane whose text area shows no ink, as "pane 'ID' "text"": a text drawn outside
// its area, covered by another pane or missing its glyphs.
std::vector<std::string> UninkedTexts(LWindow* window, const std::vector<UInt32>& pixels, int width, int height) {
  std::vector<std::pair<LPane*, Rect>> areas;
  CollectTextAreas(window, &areas);
  std::vector<std::string> out;
  for (const auto& [pane, r] : areas) {
    const int left = std::max<int>(r.left, 0), right = std::min<int>(r.right, width);
    const int top = std::max<int>(r.top, 0), bottom = std::min<int>(r.bottom, height);
    int lightest = 0, darkest = 255;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) {
        const int l = Luma(pixels[size_t(y) * size_t(width) + size_t(x)]);
        lightest = std::max(lightest, l);
        darkest = std::min(darkest, l);
      }
    if (lightest - darkest >= 48) continue;
    Str255 text;
    pane->GetDescriptor(text);
    std::string utf8;
    ScriptToUTF8(std::string(reinterpret_cast<const char*>(text + 1), text[0]), &utf8, GetSystemScript());
    const PaneIDT id = pane->GetPaneID();
    const char name[5] = {char(id >> 24), char(id >> 16), char(id >> 8), char(id), 0};
    out.push_back(std::string("pane '") + name + "' \"" + utf8 + "\" shows no ink");
  }
  return out;
}

class EveryDialog : public testing::TestWithParam<SCase> {
 protected:
  static void SetUpTestSuite() { sDir = new wxtest::ScratchDir; }
  static void TearDownTestSuite() {
    delete sDir;
    sDir = nullptr;
    sErrors.clear();
  }
  static fs::path ResourceFile(char letter) { return sDir->path() / (std::string(1, letter) + ".rsrc"); }
  // The language's resources, compiled at its first row: "" or what the compiler said.
  static const std::string& Compiled(char letter) {
    if (!sErrors.count(letter))
      sErrors[letter] = wxtest::CompileLanguageResources(WX_RESCOMP_PATH, letter, ResourceFile(letter));
    return sErrors[letter];
  }

  void SetUp() override {
    WX_REQUIRE_TOOL("xdpyinfo");
    WX_REQUIRE_TOOL("xwd");
    WX_REQUIRE_TOOL("convert");
    WX_REQUIRE_XVFB();
    const char letter = GetParam().language;
    ASSERT_EQ(Compiled(letter), "") << letter;
    setenv("WENDRIX_ROOT", mRoot.path().c_str(), 1);
    DpyUseHeadless();
    DpyClearInput();
    FlushEvents(everyEvent, 0);
    // Texts are in the script of the language and are drawn in it.
    SetSystemScriptForLanguage(letter);
    mResFile = OpenApplicationResFile(ResourceFile(letter).string());
    ASSERT_NE(mResFile, -1);
    SelectLanguageFromResources();
    {
      CPreferences prefs(PREFS_FILE_NAME, 0);
      RecordBytes setting = PREF_ALL::kSetting.in(prefs.PrefAll());
      Str255 model;
      PStrFromString(GetParam().dialog.model, model);
      PREF_SETTING::kModelName.set(setting, model);
      PREF_SETTING::kTWAIN.set(setting, 1);
      PREF_SETTING::kCheckDone.set(setting, 1);
    }
    mApp = new CAppearanceApp(DialogClasses());
    // A chooser registers its item list when it is made.
    RegisterClass_(LNavItemTable);
    ASSERT_TRUE(DpyUseScreen());
  }
  void TearDown() override {
    wxframework::ClearDialogActions();
    delete mApp;
    URegistrar::UnregisterAll();
    if (mResFile != -1) {
      // Menus are kept by ID for the life of the program; the next language loads its own.
      for (SInt16 i = 1; i <= Count1Resources('MENU'); ++i) {
        SInt16 id = 0;
        ResType type = 0;
        Str255 name;
        GetResInfo(Get1IndResource('MENU', i), &id, &type, name);
        DisposeMenu(GetMenu(id));
      }
      CloseResFile(mResFile);
    }
    DpyUseHeadless();
    DpyClearInput();
    FlushEvents(everyEvent, 0);
    SetSystemScriptForLanguage('E');
    unsetenv("WENDRIX_ROOT");
  }

  static wxtest::ScratchDir* sDir;
  static std::map<char, std::string> sErrors;
  wxtest::ScratchDir mRoot;
  CAppearanceApp* mApp = nullptr;
  SInt16 mResFile = -1;
};

wxtest::ScratchDir* EveryDialog::sDir = nullptr;
std::map<char, std::string> EveryDialog::sErrors;

TEST_P(EveryDialog, ShowsOnTheScreenAsItDrewItselfWithEveryTextInked) {
  const SCase& c = GetParam();
  const std::string area = std::string("every-dialog/") + c.language;
  const std::string shot = std::to_string(c.dialog.layout) + "-" + c.dialog.name + ".png";
  bool checked = false;
  auto check = [&](LWindow* dialog) {
    checked = true;
    EXPECT_EQ(0, wxtest::ShootDialog(dialog, area, shot)) << "the screen does not show what the dialog drew";
    int width = 0, height = 0;
    const std::vector<UInt32> pixels = wxdriver::WindowPixels(dialog->GetMacWindow(), &width, &height);
    for (const std::string& blank : UninkedTexts(dialog, pixels, width, height)) ADD_FAILURE() << blank;
  };
  const SAlert& alert = c.dialog.alert;
  if (alert.item != 0) {
    Str255 param;
    PStrFromString(alert.param, param);
    wxframework::QueueDialogAction(check);
    wxframework::AnswerNextDialog(msg_OK);
    CWXUtility::Show_Error(c.dialog.layout, mApp, 400, alert.item, 1, alert.icon, param, alert.buttons);
  } else {
    LWindow* dialog = LWindow::CreateWindow(c.dialog.layout, mApp);
    ASSERT_NE(dialog, nullptr);
    dialog->Show();
    check(dialog);
    delete dialog;
  }
  EXPECT_TRUE(checked) << "the dialog did not open";
}

INSTANTIATE_TEST_SUITE_P(Table, EveryDialog, testing::ValuesIn(Cases()), CaseName);

}  // namespace
