// The OCR dialog as the main window opens it: a click opens it idle and linked to the OCR
// button; a scanner-button push opens it and scans at once, and the run ends by handing the
// files to the OCR application and closing.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/CAppButton.h"
#include "app/CAppearanceApp.h"
#include "app/CMainWindow.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "app/wendrix/DialogClasses.h"
#include "appservices/AppleEvents.h"
#include "appservices/Processes.h"
#include "dialogs/file/COcrDialogBox.h"
#include "display/Display.h"
#include "framework/FrameworkDriver.h"
#include "framework/LThread.h"
#include "framework/URegistrar.h"
#include "output/hub/WXDialogFlags.h"
#include "scanner/CTWAIN.h"
#include "scanner/ScanTestSupport.h"
#include "support/TestEnv.h"
#include "tests/dialogs/file/sane/FromMainWindow.h"
#include "tests/platform/twain/sane/SaneTestConfig.h"
#include "toolbox/Resources.h"
#include "toolbox/TextConvert.h"
#include "toolbox/TextUtils.h"
#include "windows/Events.h"
#include "windows/MacWindows.h"

namespace {

namespace fs = std::filesystem;

class OcrFromMainWindow : public wxsane::FromMainWindow<COcrDialogBox> {
 protected:
  OcrFromMainWindow() : FromMainWindow("Reader") {}
  void SetUp() override {
    FromMainWindow::SetUp();
    if (HasFatalFailure()) return;
    Start("Dremlo Model A", [this](RecordBytes all, const FSSpec& app) {
      RecordBytes ocr = PREF_ALL::kOCR.in(all);
      PREF_OCR::kColourMode.set(ocr, 2);
      PREF_OCR::kSetting4.set(ocr, 1);
      PREF_OCR::kPaperSize.set(ocr, UInt32(IS_J ? 13 : 8));
      PREF_OCR::kCustomSize.set(ocr, 200, 150, PrefDocSize::kCentimetre);
      PREF_OCR::kColourSetting.set(ocr, 2);
      PREF_OCR::kCheckDYIN.set(ocr, 0);
      PREF_OCR::kFolder.set(ocr, wxscan::FolderSpec(mOut));
      PREF_OCR::kOCRApp.set(ocr, app);
    });
  }
};

TEST_F(OcrFromMainWindow, AClickOpensTheDialogIdleAndLinkedToItsButton) {
  CAppearanceApp::sMainWindow->ListenToMessage('OCR ', nullptr);
  COcrDialogBox* dialog = Dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->IsVisible());
  EXPECT_EQ(CAppearanceApp::sApplication->mFunctionDialogOpen, 1);
  EXPECT_EQ(CWXUtility::sIsQuellaneOpened, 0);
  // Forgetting the application and applying clears the button's icon: the dialog holds it.
  auto* button = dynamic_cast<CAppButton*>(CAppearanceApp::sMainWindow->FindPaneByID('OCR '));
  ASSERT_NE(button, nullptr);
  wxframework::AnswerNextDialog(msg_OK);
  dialog->ListenToMessage('LKDL', nullptr);
  dialog->ListenToMessage('APLY', nullptr);
  EXPECT_EQ(button->GetIconRef(), nullptr);
  dialog->ListenToMessage(msg_Cancel, nullptr);
  EXPECT_EQ(Dialog(), nullptr);
  EXPECT_EQ(CAppearanceApp::sApplication->mFunctionDialogOpen, 0);
}

TEST_F(OcrFromMainWindow, AScannerButtonScansAtOnceHandsTheFilesOnAndCloses) {
  SInt32 pushed = 1;
  CAppearanceApp::sMainWindow->ListenToMessage('OCR ', &pushed);
  ASSERT_NE(Dialog(), nullptr);
  ExpectTheRunHandsOnItsFileAndCloses();
}

}  // namespace
