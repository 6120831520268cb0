// Scan-1 and Scan-2 runs from the dialog's start button to files handed on: the SANE test
// device scans, the export pipeline writes, outside tools check what was written, and the
// target application (a recorder here) is started with the files.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/CCicnButton.h"
#include "app/CEditText.h"
#include "app/CPopupButton.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "appservices/Processes.h"
#include "dialogs/file/CScan1DialogBox.h"
#include "dialogs/file/CScan2DialogBox.h"
#include "framework/FrameworkDriver.h"
#include "framework/LThread.h"
#include "framework/TRegistrar.h"
#include "framework/URegistrar.h"
#include "navigation/NavigationDriver.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "output/hub/WXDialogFlags.h"
#include "scanner/CTWAIN.h"
#include "scanner/ScanTestSupport.h"
#include "support/TestEnv.h"
#include "tests/platform/twain/sane/SaneTestConfig.h"
#include "tests/support/HeadlessApp.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/TextUtils.h"

namespace {

::testing::Environment* const gSaneEnvironment =
    ::testing::AddGlobalTestEnvironment(new wxsane::SaneTestEnvironment(WX_TWAIN_SOURCE_DIR));

namespace fs = std::filesystem;
using R = PREF_SCANX;

class ScanRun : public wxtest::HeadlessApp {
 protected:
  void SetUp() override {
    setenv("WENDRIX_ROOT", mRoot.path().c_str(), 1);
    ProcessResetTable();
    fs::create_directories(mOut);
    fs::create_directories(mRoot / "apps");
    Recorder(mRecorder, mRoot / "app.log");
    wxtest::HeadlessApp::SetUp();
    SelectLanguageFromResources();
    CTWAIN::SetApplicationHost(mApp);
  }
  void TearDown() override {
    delete mDialog;
    wxframework::ClearDialogActions();
    CTWAIN::SetApplicationHost(nullptr);
    CWXUtility::sIsQuellaneOpened = 0;
    wxtest::HeadlessApp::TearDown();
    ProcessResetTable();
    unsetenv("WENDRIX_ROOT");
  }
  void RegisterClasses() override {
    RegisterClass_(CScan1DialogBox);
    RegisterClass_(CScan2DialogBox);
    RegisterClass_(CPopupButton);
    RegisterClass_(CFileNameAddPopup);
    RegisterClass_(CEditText);
    RegisterClass_(CCicnButton);
  }

  // A program that appends one line per run: its arguments separated by '|'.
  static void Recorder(const fs::path& file, const fs::path& log) {
    std::ofstream(file) << "#!/bin/sh\n(IFS='|'; echo \"$*\") >> '" << log.string() << "'\n";
    fs::permissions(file, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
  }

  // A 20 x 15 mm colour area at 75 dpi from the test device, written as `type` into mOut
  // and handed to the recorder.
  void Configure(const PrefSub<PREF_SCANX>& record, UInt32 type, bool withApp = true) {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes all = prefs.PrefAll();
    RecordBytes setting = PREF_ALL::kSetting.in(all);
    Str255 text;
    PStrFromString("Dremlo Model A", text);
    PREF_SETTING::kModelName.set(setting, text);
    PREF_SETTING::kTWAIN.set(setting, 1);
    RecordBytes scan = record.in(all);
    R::kSource.set(scan, 1);
    R::kImageMode.set(scan, 3);
    R::kResolution.set(scan, 1);
    R::kPaperSize.set(scan, UInt32(Paper_Size_custom));
    R::kCustomSize.set(scan, 200, 150, PrefDocSize::kCentimetre);
    R::kFileType.set(scan, type);
    R::kCheckFIRE.set(scan, 0);
    R::kCheckUION.set(scan, 0);
    R::kCheckDYIN.set(scan, 0);
    PStrFromString("Page", text);
    R::kDefaultFileName.set(scan, text);
    R::kFolder.set(scan, wxscan::FolderSpec(mOut));
    R::kTargetApp.set(scan, withApp ? wxscan::FolderSpec(mRecorder) : FSSpec{});
    PREF_ALL::kLastButton.set(all, 6);
  }

  CCustomScanDialogBox* Open(SInt16 layout) {
    mDialog = dynamic_cast<CCustomScanDialogBox*>(LWindow::CreateWindow(layout, mApp));
    EXPECT_NE(mDialog, nullptr);
    mWindow = mDialog->GetMacWindow();
    mDialog->Show();
    return mDialog;
  }
  // Presses the start button and runs the main loop until the scan has ended.
  void RunToTheEnd() {
    mDialog->ListenToMessage(msg_OK, nullptr);
    ASSERT_EQ(CWXUtility::sIsQuellaneOpened, 1) << "the scan did not start";
    for (int i = 0; i < 400 && CWXUtility::sIsQuellaneOpened == 1; ++i) {
      mApp->ProcessNextEvent();
      LThread::Yield();
    }
    ASSERT_EQ(CWXUtility::sIsQuellaneOpened, 0) << "the scan never ended";
    if (!LWindow::FetchWindowObject(mWindow)) mDialog = nullptr;
  }
  // The recorder's lines once `lines` have arrived (it runs detached).
  std::vector<std::string> Handed(size_t lines) {
    std::vector<std::string> out;
    for (int i = 0; i < 300; ++i) {
      ProcessRunPendingLaunches();
      out.clear();
      std::ifstream in(mRoot / "app.log");
      std::string line;
      while (std::getline(in, line)) out.push_back(line);
      if (out.size() >= lines) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return out;
  }

  wxtest::ScratchDir mRoot;
  fs::path mOut = mRoot / "out";
  fs::path mRecorder = mRoot / "apps" / "Recorder";
  CCustomScanDialogBox* mDialog = nullptr;
  WindowRef mWindow = nullptr;
};

struct OutputRow {
  UInt32 type;
  const char* file;
  const char* check;  // an outside tool's command, the file's path appended
};

TEST_F(ScanRun, ScanOneWritesEachFormatHandsItToTheApplicationAndCloses) {
  const OutputRow rows[] = {
      {2, "Page.JPG", "djpeg -fast -outfile /dev/null"},
      {3, "Page.TIF", "tiffinfo"},
      {1, "Page.PIC", "identify"},
  };
  size_t runs = 0;
  for (const OutputRow& row : rows) {
    SCOPED_TRACE(row.file);
    const std::string check(row.check);
    if (!wxtest::HaveTool(check.substr(0, check.find(' ')))) continue;
    fs::remove_all(mOut);
    fs::create_directories(mOut);
    Configure(PREF_ALL::kScan1, row.type);
    Open(6000);
    RunToTheEnd();
    EXPECT_EQ(mDialog, nullptr) << "the dialog closes once the files were handed on";
    ASSERT_EQ(wxscan::FilesIn(mOut), 1u);
    const fs::path written = fs::directory_iterator(mOut)->path();
    EXPECT_EQ(written.filename().string(), row.file);
    EXPECT_EQ(wxtest::Run(check + " '" + written.string() + "' >/dev/null 2>&1"), 0);
    if (row.type != 1 && wxtest::HaveTool("exiftool")) {
      std::string out;
      wxtest::Run("exiftool -validate -warning -a '" + written.string() + "'", &out);
      EXPECT_EQ(out.find("Error"), std::string::npos) << out;
    }
    fs::copy_file(written, wxtest::OutputDir("dialogs/scan1") / written.filename(),
                  fs::copy_options::overwrite_existing);
    ++runs;
    const std::vector<std::string> lines = Handed(runs);
    ASSERT_EQ(lines.size(), runs);
    EXPECT_EQ(lines.back(), written.string());
  }
  // Scan-1 forgets the last pushed scanner button once its scan starts.
  CPreferences prefs(PREFS_FILE_NAME, 0);
  EXPECT_EQ(PREF_ALL::kLastButton.get(prefs.PrefAll()), 0);
}

TEST_F(ScanRun, ScanTwoWritesJPEGFromItsOwnRecord) {
  WX_REQUIRE_TOOL("djpeg");
  Configure(PREF_ALL::kScan2, 2);
  Open(7000);
  RunToTheEnd();
  EXPECT_EQ(mDialog, nullptr);
  ASSERT_EQ(wxscan::FilesIn(mOut), 1u);
  const fs::path written = mOut / "Page.JPG";
  ASSERT_TRUE(fs::exists(written));
  EXPECT_EQ(wxtest::Run("djpeg -fast -outfile /dev/null '" + written.string() + "'"), 0);
  fs::copy_file(written, wxtest::OutputDir("dialogs/scan2") / written.filename(),
                fs::copy_options::overwrite_existing);
  EXPECT_EQ(Handed(1), std::vector<std::string>{written.string()});
  CPreferences prefs(PREFS_FILE_NAME, 0);
  EXPECT_EQ(PREF_ALL::kLastButton.get(prefs.PrefAll()), 6) << "only Scan-1 forgets the button";
}

TEST_F(ScanRun, WithoutAnApplicationTheChooserAsksAndTheChoiceIsStoredAndUsed) {
  Configure(PREF_ALL::kScan1, 3, false);
  std::string folder;
  ASSERT_EQ(noErr, FindFolderPath(kLocalDomain, kApplicationsFolderType, true, &folder));
  Recorder(fs::path(folder) / "Viewer", mRoot / "app.log");
  Open(6000);
  wxframework::AnswerNextDialog(msg_OK);  // no application yet
  wxframework::QueueDialogAction([](LWindow* d) { wxnavigation::SelectItem(d, "Viewer"); });
  wxframework::AnswerNextDialog(msg_OK);
  RunToTheEnd();
  EXPECT_FALSE(wxframework::HasDialogActions());
  EXPECT_EQ(Handed(1), std::vector<std::string>{(mOut / "Page.TIF").string()});
  CPreferences prefs(PREFS_FILE_NAME, 0);
  EXPECT_EQ(PStrToString(R::kTargetApp.get(PREF_ALL::kScan1.in(prefs.PrefAll())).name), "Viewer");
}

TEST_F(ScanRun, AChooserCancelledScansNothing) {
  Configure(PREF_ALL::kScan2, 2, false);
  Open(7000);
  wxframework::AnswerNextDialog(msg_OK);
  wxframework::AnswerNextDialog(msg_Cancel);
  mDialog->ListenToMessage(msg_OK, nullptr);
  EXPECT_FALSE(wxframework::HasDialogActions());
  EXPECT_EQ(CWXUtility::sIsQuellaneOpened, 0);
  EXPECT_EQ(wxscan::FilesIn(mOut), 0u);
}

TEST_F(ScanRun, AnApplicationRemovedAfterTheStartGetsNothingAndTheDialogStays) {
  Configure(PREF_ALL::kScan1, 2);
  Open(6000);
  mDialog->ListenToMessage(msg_OK, nullptr);
  ASSERT_EQ(CWXUtility::sIsQuellaneOpened, 1);
  fs::remove(mRecorder);
  for (int i = 0; i < 400 && CWXUtility::sIsQuellaneOpened == 1; ++i) {
    mApp->ProcessNextEvent();
    LThread::Yield();
  }
  ASSERT_EQ(CWXUtility::sIsQuellaneOpened, 0);
  ASSERT_NE(LWindow::FetchWindowObject(mWindow), nullptr) << "the dialog stays open";
  EXPECT_TRUE(mDialog->IsEnabled());
  EXPECT_TRUE(fs::exists(mOut / "Page.JPG"));
  EXPECT_TRUE(Handed(1).empty());
}

TEST_F(ScanRun, AButtonStartScansAtOnceAndEndsByClosing) {
  Configure(PREF_ALL::kScan2, 2);
  Open(7000);
  mDialog->SetStartFlag(1);
  RunToTheEnd();
  EXPECT_EQ(mDialog, nullptr) << "a button run ends by closing";
  EXPECT_TRUE(fs::exists(mOut / "Page.JPG"));
  EXPECT_EQ(Handed(1).size(), 1u);
}

TEST_F(ScanRun, APlugInThatDoesNotOpenGivesTheDialogAndTheMenusBack) {
  Configure(PREF_ALL::kScan1, 2);
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    PREF_SETTING::kTWAIN.set(PREF_ALL::kSetting.in(prefs.PrefAll()), 0);
  }
  Open(6000);
  wxframework::AnswerNextDialog(msg_OK);  // the scan entry's alert
  mDialog->ListenToMessage(msg_OK, nullptr);
  EXPECT_FALSE(wxframework::HasDialogActions());
  EXPECT_EQ(CWXUtility::sIsQuellaneOpened, 0);
  EXPECT_TRUE(mDialog->IsEnabled());
  EXPECT_TRUE(mDialog->IsVisible());
  bool enabled = false, usesMark = false;
  UInt16 mark = 0;
  Str255 name{};
  mDialog->FindCommandStatus(10, enabled, usesMark, mark, name);
  EXPECT_TRUE(enabled);
  EXPECT_EQ(wxscan::FilesIn(mOut), 0u);
}

TEST_F(ScanRun, CloseWithoutARunKeepsTheLastCommittedSettings) {
  Configure(PREF_ALL::kScan2, 2);
  Open(7000);
  dynamic_cast<LControl*>(mDialog->FindPaneByID('FTYP'))->SetValue(3);
  mDialog->ListenToMessage(msg_Cancel, nullptr);
  mDialog = nullptr;
  CPreferences prefs(PREFS_FILE_NAME, 0);
  EXPECT_EQ(R::kFileType.get(PREF_ALL::kScan2.in(prefs.PrefAll())), 2u);
}

}  // namespace
