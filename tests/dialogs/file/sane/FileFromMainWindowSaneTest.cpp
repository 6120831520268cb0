// The File dialog as the main window opens it: a click opens the tabbed layout on a
// seven-button model and the plain one on a four-button model; a scanner-button push scans
// at once with the dialog hidden, or, when the button's record asks for the dialog, shows
// it and gives the notices instead.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/CAppearanceApp.h"
#include "app/CMainWindow.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "app/wendrix/DialogClasses.h"
#include "appservices/AppleEvents.h"
#include "appservices/Processes.h"
#include "dialogs/file/CFileDialogBox.h"
#include "display/Display.h"
#include "framework/FrameworkDriver.h"
#include "framework/LThread.h"
#include "framework/URegistrar.h"
#include "output/hub/WXDialogFlags.h"
#include "scanner/CTWAIN.h"
#include "scanner/ScanTestSupport.h"
#include "support/TestEnv.h"
#include "tests/dialogs/file/sane/FromMainWindow.h"
#include "toolbox/Resources.h"
#include "toolbox/TextConvert.h"
#include "toolbox/TextUtils.h"
#include "windows/Events.h"
#include "windows/MacWindows.h"

namespace {

namespace fs = std::filesystem;
using F = PREF_FILE;

class FileFromMainWindow : public wxsane::FromMainWindow<CFileDialogBox> {
 protected:
  FileFromMainWindow() : FromMainWindow("Viewer") {}
  // The program started with `model` configured and the File records set for a small scan.
  void Start(const char* model, UInt8 showDialog = 0) {
    FromMainWindow::Start(model, [this, showDialog](RecordBytes all, const FSSpec& app) {
      for (UInt32 k = 0; k < CFileDialogBox::kRecords; ++k) {
        RecordBytes r = PREF_ALL::File(k).in(all);
        F::kSetting4.set(r, 3);
        F::kSetting8.set(r, 1);
        F::kPaperSize.set(r, UInt32(Paper_Size_custom));
        F::kCustomSize.set(r, 200, 150, PrefDocSize::kCentimetre);
        F::kSetting16.set(r, 1);
        StPDFDialog::kUnused4.set(F::kPDF.in(r), 0);
        StPDFDialog::kOptionCBCR.set(F::kPDF.in(r), 0);
        StPDFDialog::kOptionCBXT.set(F::kPDF.in(r), 0);
        F::kFlag21.set(r, 0);
        F::kFlag3672.set(r, 0);
        F::kFlag3673.set(r, showDialog);
        F::kFolder.set(r, wxscan::FolderSpec(mOut));
        F::kTargetApp.set(r, app);
      }
    });
  }
  void PushButton(UInt16 button) {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    PREF_ALL::kLastButton.set(prefs.PrefAll(), button);
  }
};

TEST_F(FileFromMainWindow, AClickOpensTheTabbedLayoutOnSevenButtonModels) {
  Start("Dremlo Model A");
  CAppearanceApp::sMainWindow->ListenToMessage('FILE', nullptr);
  CFileDialogBox* dialog = Dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->Tabbed());
  EXPECT_NE(dialog->FindPaneByID('TABS'), nullptr);
  EXPECT_TRUE(dialog->IsVisible());
  EXPECT_EQ(CAppearanceApp::sApplication->mFunctionDialogOpen, 1);
  EXPECT_EQ(CWXUtility::sIsQuellaneOpened, 0);
  dialog->ListenToMessage(msg_Cancel, nullptr);
  EXPECT_EQ(Dialog(), nullptr);
  EXPECT_EQ(CAppearanceApp::sApplication->mFunctionDialogOpen, 0);
}

TEST_F(FileFromMainWindow, AClickOpensThePlainLayoutOnFourButtonModels) {
  Start("Dremlo Model D");
  CAppearanceApp::sMainWindow->ListenToMessage('FILE', nullptr);
  CFileDialogBox* dialog = Dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(dialog->Tabbed());
  EXPECT_EQ(dialog->FindPaneByID('TABS'), nullptr);
  EXPECT_EQ(dialog->Working().u32(F::kCurrentTab.off), 0u);
}

TEST_F(FileFromMainWindow, AScannerButtonScansAtOnceHiddenHandsTheFileOnAndCloses) {
  Start("Dremlo Model A");
  PushButton(5);
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    for (UInt32 k = 0; k < CFileDialogBox::kRecords; ++k)
      F::kButtonPending.set(PREF_ALL::File(k).in(prefs.PrefAll()), 0);
  }
  SInt32 pushed = 1;
  CAppearanceApp::sMainWindow->ListenToMessage('FILE', &pushed);
  CFileDialogBox* dialog = Dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(dialog->IsVisible());
  EXPECT_EQ(dialog->Working().u32(F::kCurrentTab.off), 2u) << "button 5 is tab 2";
  ExpectTheRunHandsOnItsFileAndCloses();
}

TEST_F(FileFromMainWindow, AButtonWhoseRecordAsksShowsTheDialogAndItsNotices) {
  Start("Dremlo Model A", 1);
  PushButton(6);
  int notices = 0;
  for (int i = 0; i < 2; ++i) {
    wxframework::QueueDialogAction([&notices](LWindow*) { ++notices; });
    wxframework::AnswerNextDialog(msg_OK);
  }
  SInt32 pushed = 1;
  CAppearanceApp::sMainWindow->ListenToMessage('FILE', &pushed);
  CFileDialogBox* dialog = Dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->IsVisible());
  EXPECT_EQ(notices, 2) << "the PDF-button notice and the favourite-scan notice";
  EXPECT_EQ(CWXUtility::sIsQuellaneOpened, 0) << "nothing is scanned";
  EXPECT_EQ(dialog->Working().u32(F::kCurrentTab.off), 3u);
}

}  // namespace
