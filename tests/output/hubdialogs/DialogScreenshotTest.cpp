// The hub's dialogs as real windows on an X screen (a private Xvfb): what the screen shows
// is what the dialog drew, and a screenshot of each is kept for a person to look at.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "display/Display.h"
#include "framework/LWindow.h"
#include "output/hubdialogs/CFileNameAddDialog.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "output/hubdialogs/WXAddFileName.h"
#include "output/hubdialogs/WXAlert.h"
#include "output/hubdialogs/WXCheckBoxPrompt.h"
#include "output/hubdialogs/WXFormatDialogs.h"
#include "support/TestEnv.h"
#include "support/DialogShot.h"
#include "support/Xvfb.h"
#include "tests/output/DialogTestEnv.h"
#include "toolbox/TextUtils.h"
#include "windows/TestDriver.h"

namespace {

using namespace wxframework;

class DialogOnScreen : public wxtest::DialogTest {
 protected:
  void SetUp() override {
    WX_REQUIRE_TOOL("xdpyinfo");
    WX_REQUIRE_TOOL("xwd");
    WX_REQUIRE_TOOL("convert");
    WX_REQUIRE_XVFB();
    wxtest::DialogTest::SetUp();
    // Texts are in the script of the build's language and are drawn in it.
    const char language = wxtest::BuildLanguage();
    ASSERT_NE(language, 0) << "string list 128 names no language";
    SetSystemScriptForLanguage(language);
    ASSERT_TRUE(DpyUseScreen()) << SDL_GetError();
  }
  void TearDown() override {
    wxtest::DialogTest::TearDown();
    SetSystemScriptForLanguage('E');
    DpyUseHeadless();
  }
};

TEST_F(DialogOnScreen, PDFOptions) {
  StPDFDialog record;
  StPDFDialog::kLanguageOption.set(record.view(), 1);
  StPDFDialog::kLanguage.set(record.view(), 1);
  StPDFDialog::kCompression.set(record.view(), 1);
  StPDFDialog::kOptionCBCR.set(record.view(), 1);
  int differ = -2;
  QueueDialogAction([&differ](LWindow* dialog) { differ = wxtest::ShootDialog(dialog, "dialogs", "pdf-options.png"); });
  AnswerNextDialog(901);
  EXPECT_EQ(CWXUtility::PDFSetting(300, mApp, record, 1, 0, 0, 0), 901);
  EXPECT_EQ(differ, 0) << "the screen does not show what the dialog drew";
}

TEST_F(DialogOnScreen, Alert) {
  Str255 name;
  PStrFromString("Holiday scans.pdf", name);
  int differ = -2;
  QueueDialogAction([&differ](LWindow* dialog) { differ = wxtest::ShootDialog(dialog, "dialogs", "alert.png"); });
  AnswerNextDialog(900);
  EXPECT_EQ(CWXUtility::Show_Error(400, mApp, 400, 31, 1, 1, name, 0), 900);
  EXPECT_EQ(differ, 0) << "the screen does not show what the alert drew";
}

TEST_F(DialogOnScreen, FavoriteScanNotice) {
  int differ = -2;
  QueueDialogAction([&differ](LWindow* dialog) { differ = wxtest::ShootDialog(dialog, "dialogs", "favorite-scan-notice.png"); });
  AnswerNextDialog(900);
  EXPECT_EQ(CWXUtility::SkipFavoriteScanCheckMsg(mApp), 0);
  EXPECT_EQ(differ, 0) << "the screen does not show what the notice drew";
}

TEST_F(DialogOnScreen, FileName) {
  RegisterClass_(CFileNameAddDialog);
  RegisterClass_(CFileNameAddPopup);
  Str255 name, history[3];
  PStrFromString("Holiday", name);
  PStrFromString("Receipts", history[0]);
  PStrFromString("Letters", history[1]);
  PStrFromString("Holiday", history[2]);
  int differ = -2;
  QueueDialogAction([&differ](LWindow* dialog) { differ = wxtest::ShootDialog(dialog, "dialogs", "file-name.png"); });
  AnswerNextDialog(901);
  EXPECT_EQ(CWXUtility::AddFileName(mApp, name, 3, history), 0);
  EXPECT_EQ(differ, 0) << "the screen does not show what the dialog drew";
}

}  // namespace
