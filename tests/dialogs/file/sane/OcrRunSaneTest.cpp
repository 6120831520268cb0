// OCR runs from the dialog's start button to the OCR application: the SANE test device
// scans, the export pipeline writes PICT or JPEG files, outside tools check them, and a
// recording program standing for the OCR application shows what it was handed.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/CCicnButton.h"
#include "app/CEditText.h"
#include "app/CPopupButton.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "appservices/Processes.h"
#include "dialogs/file/COcrDialogBox.h"
#include "framework/FrameworkDriver.h"
#include "framework/LThread.h"
#include "framework/TRegistrar.h"
#include "framework/URegistrar.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hubdialogs/CFileNameAddDialog.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "framework/LEditText.h"
#include "scanner/CTWAIN.h"
#include "scanner/ScanTestSupport.h"
#include "support/TestEnv.h"
#include "tests/dialogs/file/sane/HandOnRun.h"
#include "tests/platform/twain/sane/SaneTestConfig.h"
#include "tests/support/ProcessLaunched.h"
#include "toolbox/Gestalt.h"
#include "toolbox/TextUtils.h"
#include "windows/MacWindows.h"

namespace {

::testing::Environment* const gSaneEnvironment =
    ::testing::AddGlobalTestEnvironment(new wxsane::SaneTestEnvironment(WX_TWAIN_SOURCE_DIR));

namespace fs = std::filesystem;

class OcrRun : public wxsane::HandOnRun<COcrDialogBox> {
 protected:
  OcrRun() : HandOnRun("apps/Reader", 600) {}

  // A 20 x 15 mm area at 300 dpi from the test device, written as `type` into mOut.
  void Configure(UInt32 type, UInt32 mode = 3) {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes all = prefs.PrefAll();
    RecordBytes setting = PREF_ALL::kSetting.in(all);
    Str255 text;
    PStrFromString("Dremlo Model A", text);
    PREF_SETTING::kModelName.set(setting, text);
    PREF_SETTING::kTWAIN.set(setting, 1);
    RecordBytes ocr = PREF_ALL::kOCR.in(all);
    PREF_OCR::kColourMode.set(ocr, mode);
    PREF_OCR::kSetting4.set(ocr, 1);
    PREF_OCR::kPaperSize.set(ocr, UInt32(IS_J ? 13 : 8));
    PREF_OCR::kCustomSize.set(ocr, 200, 150, PrefDocSize::kCentimetre);
    PREF_OCR::kColourSetting.set(ocr, type);
    PREF_OCR::kFlag16.set(ocr, 0);
    PREF_OCR::kCheckDYIN.set(ocr, 0);
    PStrFromString("Text", text);
    PREF_OCR::kDefaultFileName.set(ocr, text);
    PREF_OCR::kFolder.set(ocr, wxscan::FolderSpec(mOut));
    FSSpec app{};
    FSpMakeFromPOSIXPath((mRoot / "apps" / "Reader").string(), &app);
    PREF_OCR::kOCRApp.set(ocr, app);
  }
  void SetQuitOption(UInt8 quit) {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    PREF_SETTING::kQuitOption.set(PREF_ALL::kSetting.in(prefs.PrefAll()), quit);
  }

  COcrDialogBox* Open() {
    auto* dialog = dynamic_cast<COcrDialogBox*>(LWindow::CreateWindow(3000, mApp));
    if (!dialog) throw std::runtime_error("layout 3000 made no OCR dialog");
    dialog->Show();
    return dialog;
  }
};

struct OutputRow {
  UInt32 type;
  const char* extension;
  const char* check;  // an outside tool, the file's path appended
};

TEST_F(OcrRun, EachFileTypeIsWrittenCheckedAndHandedToTheOCRApplication) {
  const OutputRow rows[] = {
      {1, ".PIC", "identify"},
      {2, ".JPG", "djpeg -fast -outfile /dev/null"},
  };
  for (const OutputRow& row : rows) {
    SCOPED_TRACE(row.extension);
    const std::string check(row.check);
    if (!wxtest::HaveTool(check.substr(0, check.find(' ')))) continue;
    fs::remove_all(mOut);
    fs::create_directories(mOut);
    fs::remove(mRoot / "apps" / "Reader.log");
    Configure(row.type);
    Open()->ListenToMessage(msg_OK, nullptr);
    RunToTheEnd();
    const std::vector<fs::path> written = Written();
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].extension().string(), row.extension);
    EXPECT_EQ(wxtest::Run(check + " '" + written[0].string() + "' >/dev/null 2>&1"), 0);
    if (row.type == 2 && wxtest::HaveTool("exiftool")) {
      std::string out;
      wxtest::Run("exiftool -validate -warning -a '" + written[0].string() + "'", &out);
      EXPECT_EQ(out.find("Error"), std::string::npos) << out;
    }
    fs::copy_file(written[0], wxtest::OutputDir("dialogs/ocr") / written[0].filename(),
                  fs::copy_options::overwrite_existing);
    EXPECT_EQ(Lines("apps/Reader", 1), std::vector<std::string>{written[0].string()});
    EXPECT_EQ(Dialog(), nullptr) << "a run handed on closes the dialog";
  }
}

TEST_F(OcrRun, AnApplicationRemovedAfterTheStartKeepsTheFilesAndTheDialog) {
  Configure(2);
  ExpectTheRunOutlivesItsApplication(Open());
}

TEST_F(OcrRun, AScanThatDoesNotStartGivesTheDialogBack) {
  Configure(2);
  SetModel("No Such Model");
  COcrDialogBox* dialog = Open();
  ExpectTheStartRefusedWithTheDialogBack(dialog);
  bool enabled = false, usesMark = false;
  UInt16 mark = 0;
  Str255 name{};
  dialog->FindCommandStatus(10, enabled, usesMark, mark, name);
  EXPECT_TRUE(enabled);
  EXPECT_TRUE(Written().empty());
}

TEST_F(OcrRun, AButtonRunClosesOrQuitsByTheQuitSetting) {
  for (UInt8 quit : {0, 1}) {
    SCOPED_TRACE(int(quit));
    Configure(2);
    SetQuitOption(quit);
    COcrDialogBox* dialog = Open();
    dialog->SetStartFlag(1);
    dialog->ListenToMessage(msg_OK, nullptr);
    RunToTheEnd();
    EXPECT_EQ(mApp->GetState() == programState_Quitting, quit == 1);
    if (quit == 0) {
      EXPECT_EQ(Dialog(), nullptr);
    }
  }
}

TEST_F(OcrRun, AButtonRunWithTheNameQuestionWritesUnderTheEnteredName) {
  Configure(2);
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes ocr = PREF_ALL::kOCR.in(prefs.PrefAll());
    PREF_OCR::kCheckEZFN.set(ocr, 1);
    PREF_OCR::kFlag3413.set(ocr, 1);
  }
  COcrDialogBox* dialog = Open();
  dialog->SetStartFlag(1);
  wxframework::QueueDialogAction([](LWindow* d) {
    Str255 text;
    PStrFromString("Minutes", text);
    wxframework::FindPaneAs<LEditText>(d, 'EtFN')->SetDescriptor(text);
  });
  wxframework::AnswerNextDialog(msg_OK);
  dialog->ListenToMessage(msg_OK, nullptr);
  EXPECT_FALSE(wxframework::HasDialogActions());
  RunToTheEnd();
  const std::vector<fs::path> written = Written();
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0].filename().string().rfind("Minutes", 0), 0u) << written[0];
  CPreferences prefs(PREFS_FILE_NAME, 0);
  RecordBytes ocr = PREF_ALL::kOCR.in(prefs.PrefAll());
  Str255 name;
  PREF_OCR::kHistory.entry(ocr, PREF_OCR::kHistory.count(ocr) - 1, name);
  EXPECT_EQ(PStrToString(name), "Minutes");
}

TEST_F(OcrRun, OldSystemsCoverTheScanOrLaunchTheApplicationFirst) {
  Configure(2);
  GestaltSetValue(gestaltSystemVersion, 0x1020);
  COcrDialogBox* dialog = Open();
  dialog->ListenToMessage(msg_OK, nullptr);
  EXPECT_FALSE(dialog->IsVisible()) << "hidden while the scan runs";
  RunToTheEnd();
  EXPECT_EQ(Dialog(), nullptr);

  fs::remove_all(mOut);
  fs::create_directories(mOut);
  Configure(2);
  GestaltSetValue(gestaltSystemVersion, 0x1015);
  dialog = Open();
  dialog->ListenToMessage(msg_OK, nullptr);
  // The application is known as a process before the scan has ended.
  EXPECT_TRUE(wxtest::ProcessLaunched("Reader"));
  RunToTheEnd();
}

}  // namespace
