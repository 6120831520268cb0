// Save, Scan-1 and Scan-2 runs against the scriptable fake source: what the source refuses is
// shown once it is down, a PICT too wide for the format and a full disk write nothing, the
// stitch wizard is a scripted stand-in that records what it was handed, and the preview is
// answered by the test driver.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "FakeScript.h"
#include "StandInWizard.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "tests/scanner/TestPlugIn.h"
#include "app/CCicnButton.h"
#include "app/CEditText.h"
#include "app/CFunctionDialog.h"
#include "app/CPopupButton.h"
#include "app/CTextTable.h"
#include "preview/CExifDialog.h"
#include "preview/CPrevPrevView.h"
#include "preview/CPrevPrevWindow.h"
#include "preview/CPreviewDialog.h"
#include "preview/CPreviewView.h"
#include "prefs/CPreferences.h"
#include "appservices/Processes.h"
#include "prefs/LanguageTables.h"
#include "dialogs/file/CSaveDialogBox.h"
#include "dialogs/file/CScan1DialogBox.h"
#include "dialogs/file/CScan2DialogBox.h"
#include "framework/FrameworkDriver.h"
#include "framework/LPopupButton.h"
#include "framework/LThread.h"
#include "framework/TRegistrar.h"
#include "framework/URegistrar.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hubdialogs/WXScan.h"
#include "preview/CStitchDialog.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/ScanTestSupport.h"
#include "tests/output/DialogTestEnv.h"
#include "support/TestEnv.h"
#include "support/ColorProfiles.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/ProcessLaunched.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/Files.h"
#include "toolbox/Folders.h"
#include "toolbox/Gestalt.h"
#include "toolbox/TextUtils.h"

namespace fs = std::filesystem;

using wxstandin::gStitchCalls;
using wxstandin::StitchCall;

namespace {

using R = PREF_SCANX;

enum : UInt32 { kPICT = 1, kJPEG = 2, kTIFF = 3, kPDF = 4, kMultiPDF = 5, kAddToPDF = 6 };

struct DialogKind {
  const char* name;
  SInt16 layout;
  long caller;  // to the scan entry, the wizard and the preview
};
const DialogKind kSave{"Save", 4000, 5}, kScan1{"Scan-1", 6000, 7}, kScan2{"Scan-2", 7000, 8};

class FileRunFakeSource : public wxtest::HeadlessApp {
 protected:
  static void SetUpTestSuite() { wxfake::UseFakeSource(); }
  void SetUp() override {
    setenv("WENDRIX_ROOT", mRoot.path().c_str(), 1);
    fs::create_directories(mOut);
    const fs::path recorder = mRoot / "recorder";
    std::ofstream(recorder) << "#!/bin/sh\necho \"$@\" >> '" << (mRoot / "handed.log").string() << "'\n";
    fs::permissions(recorder, fs::perms::owner_all);
    setenv("WX_OPENER", recorder.c_str(), 1);
    wxtest::HeadlessApp::SetUp();
    SelectLanguageFromResources();
    CTWAIN::SetApplicationHost(mApp);
  }
  void TearDown() override {
    Close();
    wxframework::ClearDialogActions();
    CTWAIN::SetApplicationHost(nullptr);
    CWXUtility::sIsQuellaneOpened = 0;
    FSTestSetWriteLimit(-1);
    FSTestSetFreeSpace(-1);
    GestaltReset();
    FolderSetApplicationDir("");
    unsetenv("WX_TEST_PLUGIN");
    wxtest::HeadlessApp::TearDown();
    unsetenv("WX_OPENER");
    unsetenv("WENDRIX_ROOT");
  }
  void RegisterClasses() override {
    RegisterClass_(CSaveDialogBox);
    RegisterClass_(CScan1DialogBox);
    RegisterClass_(CScan2DialogBox);
    RegisterClass_(CPopupButton);
    RegisterClass_(CFileNameAddPopup);
    RegisterClass_(CEditText);
    RegisterClass_(CCicnButton);
    RegisterClass_(CPreviewDialog);
    RegisterClass_(CPreviewView);
    RegisterClass_(CTextTable);
    RegisterClass_(CExifDialog);
    RegisterClass_(CPrevPrevWindow);
    RegisterClass_(CPrevPrevView);
  }

  // The fake source's whole page, written as `type` into mOut; the scans hand it to the recorder.
  void Configure(const DialogKind& kind, UInt32 type, UInt8 driverWindow, UInt32 size = UInt32(Paper_Size_custom),
                 UInt8 preview = 0, const char* model = "Dremlo Model A") {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes all = prefs.PrefAll();
    RecordBytes setting = PREF_ALL::kSetting.in(all);
    Str255 modelName, name;
    PStrFromString(model, modelName);
    PStrFromString("Page", name);
    PREF_SETTING::kModelName.set(setting, modelName);
    PREF_SETTING::kTWAIN.set(setting, 1);
    if (kind.layout == kSave.layout) {
      RecordBytes save = PREF_ALL::kSave.in(all);
      PREF_SAVE::kSource.set(save, 1);
      PREF_SAVE::kImageMode.set(save, 3);
      PREF_SAVE::kResolution.set(save, 1);
      PREF_SAVE::kPaperSize.set(save, size);
      PREF_SAVE::kCustomSize.set(save, 200, 150, PrefDocSize::kCentimetre);
      PREF_SAVE::kFileType.set(save, type);
      PREF_SAVE::kCheckFORE.set(save, preview);
      PREF_SAVE::kCheckUION.set(save, driverWindow);
      PREF_SAVE::kCheckDYIN.set(save, 0);
      PREF_SAVE::kDefaultFileName.set(save, name);
      PREF_SAVE::kFolder.set(save, wxscan::FolderSpec(mOut));
      RecordBytes pdf = PREF_SAVE::kPDF.in(save);
      StPDFDialog::kLanguageOption.set(pdf, 0);
      StPDFDialog::kOptionCBCR.set(pdf, 0);
      StPDFDialog::kOptionCBXT.set(pdf, 0);
      StPDFDialog::kUnused4.set(pdf, type >= kMultiPDF ? 1 : 0);
      StPDFDialog::kUnused8.set(pdf, type == kAddToPDF ? 1 : 0);
      return;
    }
    RecordBytes scan = (kind.layout == kScan1.layout ? PREF_ALL::kScan1 : PREF_ALL::kScan2).in(all);
    R::kSource.set(scan, 1);
    R::kImageMode.set(scan, 3);
    R::kResolution.set(scan, 1);
    R::kPaperSize.set(scan, size);
    R::kCustomSize.set(scan, 200, 150, PrefDocSize::kCentimetre);
    R::kFileType.set(scan, type);
    R::kCheckFIRE.set(scan, preview);
    R::kCheckUION.set(scan, driverWindow);
    R::kCheckDYIN.set(scan, 0);
    R::kDefaultFileName.set(scan, name);
    R::kFolder.set(scan, wxscan::FolderSpec(mOut));
    R::kTargetApp.set(scan, wxscan::FolderSpec(mRoot / "recorder"));
  }

  // Scans through the test plug-in instead of TWAIN, `script` saying what it delivers.
  void UsePlugIn(const std::string& script) {
    const fs::path appDir = mScript.path() / "app";
    InstallPlugIn(appDir);
    FolderSetApplicationDir(appDir.string());
    setenv("WX_TEST_PLUGIN", (appDir / "plugin.txt").c_str(), 1);
    std::ofstream(appDir / "plugin.txt") << script;
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes setting = PREF_ALL::kSetting.in(prefs.PrefAll());
    PREF_SETTING::kTWAIN.set(setting, 0);
    Str255 name;
    PStrFromString("Test", name);
    PREF_SETTING::kModelName.set(setting, name);
  }

  LWindow* Open(const DialogKind& kind) {
    mDialog = LWindow::CreateWindow(kind.layout, mApp);
    if (mDialog) {
      mWindow = mDialog->GetMacWindow();
      mDialog->Show();
    }
    return mDialog;
  }
  // Whether the dialog is still open; forgets it once it has closed itself.
  bool StillOpen() {
    if (mDialog && !LWindow::FetchWindowObject(mWindow)) mDialog = nullptr;
    return mDialog != nullptr;
  }
  void Close() {
    if (StillOpen()) delete mDialog;
    mDialog = nullptr;
  }
  // Presses the start button and runs the main loop until the scan has ended.
  void Start() { dynamic_cast<LListener*>(mDialog)->ListenToMessage(msg_OK, nullptr); }
  void RunToTheEnd() {
    dynamic_cast<LListener*>(mDialog)->ListenToMessage(msg_OK, nullptr);
    Pump();
  }
  // Runs the main loop until the scan that started has ended.
  void Pump() {
    ASSERT_EQ(CWXUtility::sIsQuellaneOpened, 1) << "the scan did not start";
    for (int i = 0; i < 400 && CWXUtility::sIsQuellaneOpened == 1; ++i) {
      mApp->ProcessNextEvent();
      LThread::Yield();
    }
    ASSERT_EQ(CWXUtility::sIsQuellaneOpened, 0) << "the scan never ended";
  }

  fs::path TempFolder() {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    return wxscan::PathOf(PREF_SETTING::kTempFolder.get(PREF_ALL::kSetting.in(prefs.PrefAll())));
  }
  bool Handed() { return fs::exists(mRoot / "handed.log"); }
  std::string HandedLog() {
    for (int i = 0; i < 100 && !Handed(); ++i) LThread::Yield(), usleep(10000);
    std::ifstream in(mRoot / "handed.log");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Answers the next modal dialog, keeping its text ("" for one without) after `also` ran.
  void AnswerNext(MessageT answer, std::function<void()> also = {}) {
    wxframework::QueueDialogAction([this, also](LWindow* d) {
      mTexts.push_back(wxframework::FindPane(d, 'TXMS') ? wxframework::PaneText(d, 'TXMS') : "");
      if (also) also();
    });
    wxframework::AnswerNextDialog(answer);
  }
  size_t NextPageQuestions() {
    const std::string question = wxtest::ResourceText(400, 7);
    const std::string head = question.substr(0, question.find('%'));
    return size_t(std::count_if(mTexts.begin(), mTexts.end(), [&](const std::string& t) { return t.rfind(head, 0) == 0; }));
  }
  size_t Shown(SInt16 alert) { return size_t(std::count(mTexts.begin(), mTexts.end(), wxtest::ResourceText(400, alert))); }
  std::string PdfInfo(const fs::path& pdf) {
    std::string info;
    wxtest::Run("pdfinfo '" + pdf.string() + "'", &info);
    return info;
  }
  bool PdfChecks(const fs::path& pdf) { return wxtest::Run("qpdf --check '" + pdf.string() + "' >/dev/null 2>&1") == 0; }
  static std::vector<fs::path> Files(const fs::path& folder, const std::string& extension) {
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(folder))
      if (e.path().extension() == extension) out.push_back(e.path());
    return out;
  }

  wxtest::ScratchDir mRoot, mScript;
  fs::path mOut = mRoot / "out";
  std::vector<std::string> mTexts;
  LWindow* mDialog = nullptr;
  WindowRef mWindow = nullptr;
};

TEST_F(FileRunFakeSource, RefusalsAreShownAfterTheSourceIsDownInEveryDialog) {
  const struct {
    const char* what;
    std::vector<DialogKind> dialogs;
    UInt32 type;
    const char* script;
    UInt8 driverWindow;
    SInt16 alert;  // item of string list 400
  } rows[] = {
      {"16 bits per sample", {kSave, kScan1, kScan2}, kJPEG, "depth=16", 0, 38},
      {"too large for the driver's window", {kSave, kScan1, kScan2}, kJPEG, "width=30000\nheight=30000\ndepth=24", 1, 37},
      {"too many rows for a PDF in the driver's window", {kSave}, kPDF,
       "width=2\nheight=6001\ndepth=8\nblockrows=6001\nbuffer=16000", 1, 49},
      {"a PICT 4096 pixels wide in the driver's window", {kSave, kScan1, kScan2}, kPICT, "width=4096\nheight=4\ndepth=8", 1, 28},
  };
  for (const auto& row : rows) {
    for (const DialogKind& kind : row.dialogs) {
      SCOPED_TRACE(std::string(kind.name) + ": " + row.what);
      const auto log = wxfake::WriteFakeScript(mScript.path(), std::string("name=Dremlo Model A\n") + row.script);
      Configure(kind, row.type, row.driverWindow);
      ASSERT_NE(nullptr, Open(kind));
      std::vector<std::string> texts;
      std::vector<std::string> logs;
      for (int i = 0; i < 3; ++i) {
        wxframework::QueueDialogAction([&](LWindow* d) {
          texts.push_back(wxframework::FindPane(d, 'TXMS') ? wxframework::PaneText(d, 'TXMS') : "");
          logs.push_back(wxfake::ReadLog(log));
        });
        wxframework::AnswerNextDialog(900);
      }
      RunToTheEnd();
      wxframework::ClearDialogActions();
      ASSERT_EQ(std::vector<std::string>{wxtest::ResourceText(400, row.alert)}, texts);
      EXPECT_NE(std::string::npos, logs[0].find("0001 0009 0502")) << "the source is disabled before the alert";
      EXPECT_EQ(0u, wxscan::FilesIn(mOut)) << "nothing written";
      EXPECT_TRUE(mDialog->IsVisible());
      EXPECT_TRUE(mDialog->IsEnabled());
      Close();
    }
  }
}

TEST_F(FileRunFakeSource, ADiskThatFillsWhileWritingKeepsTheScannedPageAndHandsNothingOn) {
  for (const DialogKind& kind : {kSave, kScan1, kScan2}) {
    SCOPED_TRACE(kind.name);
    fs::remove(mRoot / "handed.log");
    // 360 000 bytes of raw page fit; the uncompressed TIFF of it does not.
    wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A\nwidth=400\nheight=300\ndepth=24");
    Configure(kind, 3, 0);
    ASSERT_NE(nullptr, Open(kind));
    std::vector<std::string> texts;
    for (int i = 0; i < 3; ++i) {
      wxframework::QueueDialogAction([&](LWindow* d) {
        texts.push_back(wxframework::FindPane(d, 'TXMS') ? wxframework::PaneText(d, 'TXMS') : "");
      });
      wxframework::AnswerNextDialog(900);
    }
    FSTestSetWriteLimit(500000);
    RunToTheEnd();
    FSTestSetWriteLimit(-1);
    wxframework::ClearDialogActions();
    EXPECT_EQ(std::vector<std::string>{wxtest::ResourceText(400, 3)}, texts);
    EXPECT_EQ(0u, wxscan::FilesIn(mOut)) << "no partial file left";
    EXPECT_EQ(1u, wxscan::FilesIn(TempFolder())) << "the raw page stays";
    for (int i = 0; i < 50 && !Handed(); ++i) LThread::Yield(), usleep(10000);
    EXPECT_FALSE(Handed()) << "nothing handed on";
    Close();
    for (const auto& e : fs::directory_iterator(TempFolder())) fs::remove_all(e.path());
  }
}

TEST_F(FileRunFakeSource, AStitchSizeHandsTheScanToTheWizardAndWritesWhatItMerges) {
  for (const DialogKind& kind : {kSave, kScan1, kScan2}) {
    SCOPED_TRACE(kind.name);
    gStitchCalls.clear();
    fs::remove(mRoot / "handed.log");
    wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A\ndepth=24");
    Configure(kind, kJPEG, 0, UInt32(Paper_Size_A3_Stitch));
    ASSERT_NE(nullptr, Open(kind));
    Start();
    ASSERT_EQ(1u, gStitchCalls.size());
    const StitchCall& call = gStitchCalls[0];
    EXPECT_EQ(kind.caller, call.function);
    EXPECT_EQ(Paper_Size_A3_Stitch, call.paper);
    EXPECT_EQ(0, call.driverUI);
    EXPECT_EQ(mDialog, call.caller);
    EXPECT_EQ(mOut, call.destination);
    EXPECT_EQ(TempFolder(), call.temp);
    EXPECT_FALSE(mDialog->IsVisible()) << "hidden while the wizard runs";

    // The wizard's merged page: a scan of its own into the folder it was handed, whose
    // watcher tells the dialog.
    auto* twain = new CTWAIN;
    twain->SetTempFolder(wxscan::FolderSpec(call.temp));
    auto* checker = new CThreadChecker(dynamic_cast<LDialogBox*>(mDialog), twain);
    Str255 model;
    PStrFromString("Dremlo Model A", model);
    ASSERT_EQ(1, CWXUtility::ImportFromDevice(kind.caller, 1, checker, model, SDimension16{200, 150}, 0, 1, 3, 0,
                                              Paper_Size_custom, 75, mDialog, 4, 0));
    for (int i = 0; i < 600 && wxscan::FilesIn(mOut) == 0; ++i) {
      mApp->ProcessNextEvent();
      LThread::Yield();
    }
    EXPECT_EQ(1u, wxscan::FilesIn(mOut));
    EXPECT_EQ(1u, gStitchCalls.size());
    for (int i = 0; i < 100 && !Handed(); ++i) LThread::Yield(), usleep(10000);
    EXPECT_TRUE(Handed()) << "the folder shown or the file handed on";
    Close();
    fs::remove_all(mOut);
    fs::create_directories(mOut);
  }
}

TEST_F(FileRunFakeSource, AClosedWizardShowsTheDialogAgainOrClosesAScannerButtonRun) {
  for (const DialogKind& kind : {kSave, kScan1, kScan2}) {
    for (const UInt8 button : {0, 1}) {
      SCOPED_TRACE(std::string(kind.name) + (button ? ", button start" : ", dialog start"));
      gStitchCalls.clear();
      wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A");
      Configure(kind, kJPEG, 0, UInt32(Paper_Size_A3_Stitch));
      ASSERT_NE(nullptr, Open(kind));
      dynamic_cast<CFunctionDialog*>(mDialog)->SetStartFlag(button);
      Start();
      ASSERT_EQ(1u, gStitchCalls.size());
      dynamic_cast<LListener*>(mDialog)->ListenToMessage(CStitchDialog::msg_StitchClosed, nullptr);
      for (int i = 0; i < 20; ++i) mApp->ProcessNextEvent();
      EXPECT_EQ(button == 0, StillOpen());
      if (button == 0) {
        EXPECT_TRUE(mDialog->IsVisible());
      }
      EXPECT_EQ(0u, wxscan::FilesIn(mOut));
      Close();
    }
  }
}

TEST_F(FileRunFakeSource, AStitchScannerThatDoesNotOpenShowsItsAlert) {
  for (const DialogKind& kind : {kSave, kScan1, kScan2}) {
    SCOPED_TRACE(kind.name);
    gStitchCalls.clear();
    Configure(kind, kJPEG, 0, UInt32(Paper_Size_A3_Stitch), 0, "No Such Model");
    ASSERT_NE(nullptr, Open(kind));
    std::vector<std::string> texts;
    wxframework::QueueDialogAction([&](LWindow* d) {
      texts.push_back(wxframework::FindPane(d, 'TXMS') ? wxframework::PaneText(d, 'TXMS') : "");
    });
    wxframework::AnswerNextDialog(900);
    Start();
    wxframework::ClearDialogActions();
    EXPECT_EQ(std::vector<std::string>{wxtest::ResourceText(400, 6)}, texts);
    EXPECT_TRUE(gStitchCalls.empty());
    EXPECT_TRUE(mDialog->IsVisible());
    EXPECT_EQ(0, CWXUtility::sIsQuellaneOpened);
    Close();
  }
}

// The preview is answered by the test driver. Save's preview writes what it is sent and
// shows its folder itself, and the Save dialog stays open after a start from the dialog;
// the scans hand the sent page on and close.
TEST_F(FileRunFakeSource, ThePreviewsAnswerDecidesWhatIsWrittenAndHandedOn) {
  const struct {
    const char* what;
    MessageT answer;
    UInt8 button;
    bool written, open;
  } rows[] = {
      {"sent", CPreviewDialog::msg_Send, 0, true, false},
      {"cancelled", CPreviewDialog::msg_Cancel, 0, false, true},
      {"back to scanning after a button start keeps the pages", CPreviewDialog::msg_Return, 1, false, true},
  };
  for (const auto& row : rows) {
    for (const DialogKind& kind : {kSave, kScan1, kScan2}) {
      SCOPED_TRACE(std::string(kind.name) + ": " + row.what);
      const bool save = kind.layout == kSave.layout;
      fs::remove(mRoot / "handed.log");
      wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A\ndepth=24");
      Configure(kind, kJPEG, 0, UInt32(Paper_Size_custom), 1);
      ASSERT_NE(nullptr, Open(kind));
      dynamic_cast<CFunctionDialog*>(mDialog)->SetStartFlag(row.button);
      wxframework::AnswerNextDialog(row.answer);
      // Save's preview stays open once it has written what it was sent; leaving it asks
      // whether to discard what is left.
      const bool leave = save && row.answer == CPreviewDialog::msg_Send;
      if (leave) wxframework::AnswerNextDialog(CPreviewDialog::msg_Cancel);
      if (leave || row.answer == CPreviewDialog::msg_Cancel) wxframework::AnswerNextDialog(msg_OK);  // discard the rest
      RunToTheEnd();
      for (int i = 0; i < 20; ++i) mApp->ProcessNextEvent();
      EXPECT_FALSE(wxframework::HasDialogActions()) << "the preview was shown";
      EXPECT_EQ(row.written ? 1u : 0u, wxscan::FilesIn(mOut));
      for (int i = 0; i < 100 && row.written && !Handed(); ++i) LThread::Yield(), usleep(10000);
      EXPECT_EQ(row.written, Handed());
      if (save && row.written) {
        EXPECT_NE(std::string::npos, HandedLog().find(mOut.string())) << "the folder shown";
      }
      const bool open = row.open || save;
      EXPECT_EQ(open, StillOpen());
      if (open) {
        EXPECT_TRUE(mDialog->IsVisible());
        EXPECT_TRUE(mDialog->IsEnabled());
      }
      if (save) {
        auto* dialog = dynamic_cast<CSaveDialogBox*>(mDialog);
        EXPECT_EQ(row.answer == CPreviewDialog::msg_Return ? 1 : 0, dialog->PendingPages().GetCount())
            << "only pages sent back to scanning stay pending";
      }
      Close();
      wxframework::ClearDialogActions();
      fs::remove_all(mOut);
      fs::create_directories(mOut);
    }
  }
}

// A multi-page PDF whose second pass cannot be written: the run ends at once with alert 3,
// the target keeps the first pass's page, the second pass's raw page stays, and the
// target's folder is shown. A copy of a chosen PDF that holds pages is kept likewise, and
// the chosen PDF is untouched.
TEST_F(FileRunFakeSource, AFullDiskInTheSecondPassKeepsWhatTheTargetHoldsAndEndsTheRun) {
  if (!wxtest::HaveTool("qpdf") || !wxtest::HaveTool("pdfinfo")) GTEST_SKIP() << "qpdf or pdfinfo missing";
  const std::string script = "name=Dremlo Model A\nwidth=400\nheight=300\ndepth=24";
  wxfake::WriteFakeScript(mScript.path(), script);
  Configure(kSave, kPDF, 0);
  ASSERT_NE(nullptr, Open(kSave));
  RunToTheEnd();
  Close();
  const fs::path chosen = mRoot / "Chosen.pdf";
  fs::rename(mOut / "Page.PDF", chosen);
  const std::vector<uint8_t> chosenBytes = wxtest::ReadBytes(chosen);

  const struct {
    const char* what;
    UInt32 type;
    fs::path target;
    const char* pages;  // in the target after the run
  } rows[] = {
      {"a multi-page PDF", kMultiPDF, mOut / "Page.PDF", "Pages:           1\n"},
      {"a copy of a chosen PDF", kAddToPDF, mRoot / "Chosen_New.PDF", "Pages:           2\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    mTexts.clear();
    fs::remove(mRoot / "handed.log");
    wxfake::WriteFakeScript(mScript.path(), script);
    Configure(kSave, row.type, 0);
    if (row.type == kAddToPDF) {
      CPreferences prefs(PREFS_FILE_NAME, 0);
      RecordBytes save = PREF_ALL::kSave.in(prefs.PrefAll());
      StPDFDialog::kAppendTo.set(PREF_SAVE::kPDF.in(save), wxscan::FolderSpec(chosen));
      Str255 name;
      PStrFromString("Chosen_New", name);
      PREF_SAVE::kFileName.set(save, name);
    }
    ASSERT_NE(nullptr, Open(kSave));
    if (row.type == kAddToPDF) AnswerNext(msg_OK);  // add to this PDF?
    AnswerNext(msg_OK);                              // a second page
    AnswerNext(msg_OK, [] { FSTestSetWriteLimit(0); });  // a third page, but the disk is full
    for (int i = 0; i < 4; ++i) AnswerNext(msg_OK);
    RunToTheEnd();
    FSTestSetWriteLimit(-1);
    wxframework::ClearDialogActions();
    EXPECT_EQ(1u, Shown(3)) << "alert 3 once";
    EXPECT_EQ(2u, NextPageQuestions()) << "no third scan";
    ASSERT_TRUE(fs::exists(row.target));
    EXPECT_TRUE(PdfChecks(row.target));
    EXPECT_NE(std::string::npos, PdfInfo(row.target).find(row.pages)) << PdfInfo(row.target);
    EXPECT_EQ(chosenBytes, wxtest::ReadBytes(chosen)) << "the chosen PDF is untouched";
    EXPECT_FALSE(Files(TempFolder(), ".dat").empty()) << "the second pass's raw page stays";
    EXPECT_NE(std::string::npos, HandedLog().find(row.target.parent_path().string())) << "the target's folder shown";
    EXPECT_EQ(0, CWXUtility::sIsQuellaneOpened);
    EXPECT_TRUE(mDialog->IsVisible());
    EXPECT_TRUE(mDialog->IsEnabled());
    Close();
    for (const auto& e : fs::directory_iterator(TempFolder())) fs::remove_all(e.path());
  }
}

// The second pass's pages cannot be appended (the target was damaged meanwhile): the
// target stays as it is, the batch's temporary PDF stays in the temporary folder, alert 3.
TEST_F(FileRunFakeSource, AFailedAppendKeepsTheTargetAndTheBatchsTemporaryPDF) {
  wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A\nwidth=40\nheight=30\ndepth=24");
  Configure(kSave, kMultiPDF, 0);
  ASSERT_NE(nullptr, Open(kSave));
  const fs::path target = mOut / "Page.PDF";
  AnswerNext(msg_OK);
  AnswerNext(msg_OK, [&] { std::ofstream(target) << "damaged"; });
  for (int i = 0; i < 4; ++i) AnswerNext(msg_OK);
  RunToTheEnd();
  wxframework::ClearDialogActions();
  EXPECT_EQ(1u, Shown(3));
  std::ifstream in(target);
  EXPECT_EQ("damaged", std::string(std::istreambuf_iterator<char>(in), {})) << "the target is never deleted";
  EXPECT_EQ(1u, Files(TempFolder(), ".PDF").size()) << "the batch's temporary PDF stays";
  EXPECT_EQ(0, CWXUtility::sIsQuellaneOpened);
  EXPECT_TRUE(mDialog->IsEnabled());
}

// A PDF grown by appending is typed for the PDF viewer as a written one is: only when one is
// registered.
TEST_F(FileRunFakeSource, AGrownPDFIsTypedForTheViewerOnlyWhenOneIsRegistered) {
  WX_REQUIRE_TOOL("pdfinfo");
  for (const bool viewer : {false, true}) {
    SCOPED_TRACE(viewer ? "a viewer" : "no viewer");
    if (viewer) {
      std::string apps;
      ASSERT_EQ(noErr, FindFolderPath(kSystemDomain, kApplicationsFolderType, kCreateFolder, &apps));
      std::ofstream(fs::path(apps) / "viewer.desktop") << "[Desktop Entry]\nType=Application\nExec=/bin/true %f\n";
      std::ofstream(fs::path(apps) / "mimeapps.list") << "[Default Applications]\napplication/pdf=viewer.desktop\n";
      fs::create_directories(mRoot / "usr/share/mime");
      std::ofstream(mRoot / "usr/share/mime/globs2") << "50:application/pdf:*.pdf\n";
    }
    wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A\nwidth=40\nheight=30\ndepth=24");
    Configure(kSave, kMultiPDF, 0);
    ASSERT_NE(nullptr, Open(kSave));
    AnswerNext(msg_OK);      // a second page
    AnswerNext(msg_Cancel);  // no third
    RunToTheEnd();
    wxframework::ClearDialogActions();
    const fs::path target = mOut / "Page.PDF";
    ASSERT_NE(std::string::npos, PdfInfo(target).find("Pages:           2\n")) << PdfInfo(target);
    FInfo info{};
    const FSSpec spec = wxscan::FolderSpec(target);
    ASSERT_EQ(noErr, FSpGetFInfo(&spec, &info));
    EXPECT_EQ(OSType('PDF '), info.fdType);
    EXPECT_EQ(viewer, info.fdCreator == OSType('prvw'));
    Close();
    fs::remove(target);
  }
}

// A disk too full for another page stops at its alert and asks again: the run goes on only
// once there is room, or ends with the pages it has.
TEST_F(FileRunFakeSource, TooLittleRoomForTheNextPageAsksAgain) {
  if (!wxtest::HaveTool("pdfinfo")) GTEST_SKIP() << "pdfinfo missing";
  wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A\nwidth=40\nheight=30\ndepth=24");
  Configure(kSave, kMultiPDF, 0);
  ASSERT_NE(nullptr, Open(kSave));
  AnswerNext(msg_OK, [] { FSTestSetFreeSpace(0); });  // a second page, but the disk is full
  AnswerNext(msg_OK);                                  // the disk alert
  AnswerNext(msg_OK, [] { FSTestSetFreeSpace(-1); });  // asked again, and there is room now
  AnswerNext(msg_Cancel);                              // done after the second page
  RunToTheEnd();
  FSTestSetFreeSpace(-1);
  wxframework::ClearDialogActions();
  ASSERT_EQ(4u, mTexts.size());
  EXPECT_EQ(wxtest::ResourceText(400, 48), mTexts[1]) << "the disk alert between the two questions";
  EXPECT_EQ(3u, NextPageQuestions());
  EXPECT_EQ(mTexts[0], mTexts[2]) << "asked again with the same count";
  EXPECT_NE(std::string::npos, PdfInfo(mOut / "Page.PDF").find("Pages:           2\n"));
}

// Two pages a pass, as a document feeder gives them.
const char* const kPlugInPages = "pages=2\nheight=90\nbandrows=8\nmode=3\nwidth=120\n";

// Without TWAIN, a multi-page PDF grows by the plug-in's pages at every pass the user asks for,
// as it does with TWAIN, the question counting the pages so far.
TEST_F(FileRunFakeSource, PlugInPassesGrowOneMultiPagePDF) {
  if (!wxtest::HaveTool("qpdf") || !wxtest::HaveTool("pdfinfo")) GTEST_SKIP() << "qpdf or pdfinfo missing";
  Configure(kSave, kMultiPDF, 0);
  UsePlugIn(kPlugInPages);
  ASSERT_NE(nullptr, Open(kSave));
  AnswerNext(msg_OK);      // a second pass
  AnswerNext(msg_OK);      // a third
  AnswerNext(msg_Cancel);  // done
  RunToTheEnd();
  wxframework::ClearDialogActions();
  ASSERT_EQ(3u, NextPageQuestions());
  for (size_t i = 0; i < 3; ++i) EXPECT_NE(std::string::npos, mTexts[i].find(std::to_string(2 * (i + 1))));
  const fs::path target = mOut / "Page.PDF";
  ASSERT_TRUE(fs::exists(target));
  EXPECT_TRUE(PdfChecks(target));
  EXPECT_NE(std::string::npos, PdfInfo(target).find("Pages:           6\n")) << PdfInfo(target);
  EXPECT_EQ(1u, Files(mOut, ".PDF").size()) << "one file for every pass";
  EXPECT_EQ(0u, Shown(3));
  EXPECT_TRUE(Files(TempFolder(), ".PDF").empty()) << "every pass's temporary PDF went once its pages were in";
  EXPECT_NE(std::string::npos, HandedLog().find(mOut.string())) << "the target's folder shown";
  EXPECT_EQ(0, CWXUtility::sIsQuellaneOpened);
  EXPECT_TRUE(mDialog->IsEnabled());
}

// With the preview, the pages of every plug-in pass reach it together.
TEST_F(FileRunFakeSource, PlugInPassesReachThePreviewTogether) {
  Configure(kSave, kMultiPDF, 0, UInt32(Paper_Size_custom), 1);
  UsePlugIn(kPlugInPages);
  ASSERT_NE(nullptr, Open(kSave));
  dynamic_cast<CFunctionDialog*>(mDialog)->SetStartFlag(1);
  AnswerNext(msg_OK);      // a second pass
  AnswerNext(msg_Cancel);  // done
  wxframework::AnswerNextDialog(CPreviewDialog::msg_Return);
  RunToTheEnd();
  for (int i = 0; i < 20; ++i) mApp->ProcessNextEvent();
  EXPECT_FALSE(wxframework::HasDialogActions()) << "the preview was shown";
  EXPECT_EQ(2u, NextPageQuestions());
  ASSERT_TRUE(StillOpen());
  EXPECT_EQ(4, dynamic_cast<CSaveDialogBox*>(mDialog)->PendingPages().GetCount()) << "both passes' pages";
  EXPECT_EQ(0u, wxscan::FilesIn(mOut));
}

// Without TWAIN, the plug-in's pages go into the copy of the chosen PDF as TWAIN's do.
TEST_F(FileRunFakeSource, PlugInPagesAreAddedToTheCopyOfTheChosenPDF) {
  if (!wxtest::HaveTool("qpdf") || !wxtest::HaveTool("pdfinfo")) GTEST_SKIP() << "qpdf or pdfinfo missing";
  wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A\nwidth=40\nheight=30\ndepth=24");
  Configure(kSave, kPDF, 0);
  ASSERT_NE(nullptr, Open(kSave));
  RunToTheEnd();
  Close();
  const fs::path chosen = mRoot / "Chosen.pdf";
  fs::rename(mOut / "Page.PDF", chosen);
  const std::vector<uint8_t> chosenBytes = wxtest::ReadBytes(chosen);

  Configure(kSave, kAddToPDF, 0);
  UsePlugIn(kPlugInPages);
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes save = PREF_ALL::kSave.in(prefs.PrefAll());
    StPDFDialog::kAppendTo.set(PREF_SAVE::kPDF.in(save), wxscan::FolderSpec(chosen));
    Str255 name;
    PStrFromString("Chosen_New", name);
    PREF_SAVE::kFileName.set(save, name);
  }
  mTexts.clear();
  ASSERT_NE(nullptr, Open(kSave));
  AnswerNext(msg_OK);  // add to this PDF?
  AnswerNext(msg_Cancel);  // no second pass
  RunToTheEnd();
  wxframework::ClearDialogActions();
  const fs::path copy = mRoot / "Chosen_New.PDF";
  ASSERT_TRUE(fs::exists(copy)) << "the plug-in's pages were written";
  EXPECT_TRUE(PdfChecks(copy));
  EXPECT_NE(std::string::npos, PdfInfo(copy).find("Pages:           3\n")) << PdfInfo(copy);
  EXPECT_EQ(1u, NextPageQuestions());
  EXPECT_EQ(chosenBytes, wxtest::ReadBytes(chosen)) << "the chosen PDF is untouched";
  EXPECT_EQ(0u, Shown(3));
  EXPECT_TRUE(Files(TempFolder(), ".PDF").empty()) << "the pass's temporary PDF went once its pages were in";
}

// A PNM page for the fake source: one grey or colour value all over.
fs::path FlatPage(const fs::path& path, int width, int height, std::vector<uint8_t> colour) {
  std::ofstream out(path, std::ios::binary);
  out << (colour.size() == 3 ? "P6" : "P5") << "\n" << width << " " << height << "\n255\n";
  for (long i = 0; i < long(width) * height; ++i) out.write(reinterpret_cast<const char*>(colour.data()), std::streamsize(colour.size()));
  return path;
}

// The source stops after its first page: the page already transferred is written, with the
// refusal's alert once the source is down, and nothing of the refused page.
TEST_F(FileRunFakeSource, ARefusalAfterAPageWritesThePageTransferred) {
  const std::string small = FlatPage(mRoot / "small.pgm", 40, 30, {90}).string();
  const std::string tall = FlatPage(mRoot / "tall.pgm", 2, 6001, {90}).string();
  const struct {
    const char* what;
    std::vector<DialogKind> dialogs;
    UInt32 type;
    UInt8 driverWindow;
    std::string script;
    std::vector<SInt16> alerts;
  } rows[] = {
      {"the second page has too many rows for a PDF", {kSave}, kPDF, 1,
       "depth=8\npages=2\nimage=" + small + "\nimage=" + tall, {49}},
      {"the second page is cancelled", {kSave, kScan1, kScan2}, kJPEG, 0, "depth=8\npages=2\ncancel_page=2\nimage=" + small, {}},
  };
  for (const auto& row : rows) {
    for (const DialogKind& kind : row.dialogs) {
      SCOPED_TRACE(std::string(kind.name) + ": " + row.what);
      mTexts.clear();
      wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A\n" + row.script);
      Configure(kind, row.type, row.driverWindow);
      ASSERT_NE(nullptr, Open(kind));
      for (size_t i = 0; i < row.alerts.size(); ++i) AnswerNext(msg_OK);
      RunToTheEnd();
      wxframework::ClearDialogActions();
      std::vector<std::string> want;
      for (SInt16 alert : row.alerts) want.push_back(wxtest::ResourceText(400, alert));
      EXPECT_EQ(want, mTexts);
      ASSERT_EQ(1u, wxscan::FilesIn(mOut)) << "the first page is written";
      const fs::path written = fs::directory_iterator(mOut)->path();
      if (row.type == kPDF) {
        EXPECT_TRUE(PdfChecks(written));
        EXPECT_NE(std::string::npos, PdfInfo(written).find("Pages:           1\n")) << PdfInfo(written);
      } else {
        std::string size;
        EXPECT_EQ(0, wxtest::Run("identify -format '%wx%h' '" + written.string() + "'", &size));
        EXPECT_EQ("40x30", size);
      }
      EXPECT_NE(std::string::npos, HandedLog().find(mOut.string())) << "the folder shown or the file handed on";
      Close();
      fs::remove(mRoot / "handed.log");
      fs::remove_all(mOut);
      fs::create_directories(mOut);
    }
  }
}

// Adobe RGB from the start button to the file, with profiles made for the test: a colour
// page is converted as Little CMS converts it, named with "_" and labelled Adobe RGB, and the
// source's own colour matching was switched off once it opened; a scanner with no profile of
// its own counts as sRGB. Grey chosen after ticking the box, or no Adobe RGB profile, write
// the page as scanned.
TEST_F(FileRunFakeSource, AdobeRGBPagesAreConvertedLabelledAndNamedOnlyWhenTrue) {
  WX_REQUIRE_COLOR_TOOLS();
  WX_REQUIRE_TOOL("exiftool");
  WX_REQUIRE_TOOL("identify");
  const std::vector<uint8_t> colour = {200, 60, 40};
  const std::string page = FlatPage(mRoot / "colour.ppm", 64, 48, colour).string();
  const fs::path profiles = mRoot / "usr/share/color/icc/colord";
  const struct {
    const char* what;
    UInt32 imageMode;
    bool adobeProfile, converted;
    const char* scannerProfile;
  } rows[] = {
      {"a colour page", 3, true, true, "sRGB.icc"},
      {"a scanner with no profile of its own, taken as sRGB", 3, true, true, "Dremlo Scanner RGB"},
      {"grey chosen after ticking the box", 2, true, false, "sRGB.icc"},
      {"no Adobe RGB profile installed", 3, false, false, "sRGB.icc"},
  };
  for (const auto& row : rows) {
    for (const DialogKind& kind : {kSave, kScan1}) {
      SCOPED_TRACE(std::string(kind.name) + ": " + row.what);
      ASSERT_TRUE(wxtest::InstallColordProfiles(mRoot.path()));
      if (!row.adobeProfile) fs::remove(profiles / "AdobeRGB1998.icc");
      const auto log = wxfake::WriteFakeScript(
          mScript.path(), "name=Dremlo Model A\nmodel=" + std::string(row.scannerProfile) +
                              "\ndepth=" + std::string(row.imageMode == 3 ? "24" : "8") +
                              "\nimage=" + page);
      Configure(kind, kJPEG, 0);
      {
        CPreferences prefs(PREFS_FILE_NAME, 0);
        RecordBytes all = prefs.PrefAll();
        if (kind.layout == kSave.layout) {
          PREF_SAVE::kImageMode.set(PREF_ALL::kSave.in(all), row.imageMode);
          PREF_SAVE::kCheckSVAD.set(PREF_ALL::kSave.in(all), 1);
        } else {
          R::kImageMode.set(PREF_ALL::kScan1.in(all), row.imageMode);
          R::kCheckSVAD.set(PREF_ALL::kScan1.in(all), 1);
        }
      }
      ASSERT_NE(nullptr, Open(kind));
      RunToTheEnd();
      ASSERT_EQ(1u, wxscan::FilesIn(mOut));
      const fs::path written = fs::directory_iterator(mOut)->path();
      EXPECT_EQ(row.converted ? "_Page.JPG" : "Page.JPG", written.filename().string());
      std::string tags;
      wxtest::Run("exiftool -s -ColorSpace -WhitePoint -PrimaryChromaticities -Gamma '" + written.string() + "'", &tags);
      // A grey page is never sRGB, so only a colour page tells the two colour spaces apart.
      if (row.imageMode == 3) {
        EXPECT_EQ(row.converted, tags.find("Uncalibrated") != std::string::npos) << tags;
      }
      EXPECT_EQ(row.converted, tags.find("PrimaryChromaticities") != std::string::npos) << tags;
      EXPECT_EQ(row.converted, tags.find("WhitePoint") != std::string::npos) << tags;
      EXPECT_EQ(row.converted, tags.find("Gamma") != std::string::npos) << tags;
      std::string validation;
      wxtest::Run("exiftool -validate -warning -a '" + written.string() + "'", &validation);
      EXPECT_EQ(std::string::npos, validation.find("Error")) << validation;
      const std::string messages = wxfake::ReadLog(log);
      // The connection asks the source to stop matching (value 2) only when it converts.
      const size_t off = messages.find("0006 cap=83ED");
      EXPECT_EQ(row.converted, off != std::string::npos) << messages;
      if (off != std::string::npos) {
        EXPECT_EQ("0006 cap=83ED con=5 type=4 value=2 ", messages.substr(off, 35));
        EXPECT_LT(messages.find("0001 0003 0401"), off) << "switched off once the source opened";
      }
      if (row.imageMode == 3) {
        std::string mean;
        wxtest::Run("identify -format '%[fx:int(255*mean.r+.5)] %[fx:int(255*mean.g+.5)] %[fx:int(255*mean.b+.5)]' '" +
                        written.string() + "'",
                    &mean);
        std::vector<uint8_t> want = colour;
        if (row.converted) want = wxtest::TransiccRGB(profiles / "sRGB.icc", profiles / "AdobeRGB1998.icc", colour);
        ASSERT_EQ(3u, want.size());
        int r = -1, g = -1, b = -1;
        ASSERT_EQ(3, std::sscanf(mean.c_str(), "%d %d %d", &r, &g, &b)) << mean;
        EXPECT_NEAR(want[0], r, 4);
        EXPECT_NEAR(want[1], g, 4);
        EXPECT_NEAR(want[2], b, 4);
      }
      if (row.converted)
        fs::copy_file(written, wxtest::OutputDir("dialogs/adobergb") / (std::string(kind.name) + written.filename().string()),
                      fs::copy_options::overwrite_existing);
      Close();
      fs::remove(mRoot / "handed.log");
      fs::remove_all(mOut);
      fs::create_directories(mOut);
    }
  }
}

// Systems up to 0x102F hide the dialog while the scan runs; from 0x1010 to 0x101F the
// scans launch their application before scanning. Today's system does neither.
TEST_F(FileRunFakeSource, OldSystemsHideTheDialogAndLaunchTheApplicationFirst) {
  const struct {
    DialogKind kind;
    SInt32 system;
    bool hidden, launchedFirst;
  } rows[] = {
      {kSave, 0x1020, true, false},  {kScan1, 0x1020, true, false}, {kScan1, 0x1015, true, true},
      {kScan2, 0x1015, true, true},  {kSave, 0x1068, false, false}, {kScan2, 0x1068, false, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.kind.name) + " on system " + std::to_string(row.system));
    ProcessResetTable();
    GestaltSetValue(gestaltSystemVersion, row.system);
    wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A\ndepth=24");
    Configure(row.kind, kJPEG, 0);
    ASSERT_NE(nullptr, Open(row.kind));
    Start();
    EXPECT_EQ(!row.hidden, mDialog->IsVisible());
    EXPECT_EQ(row.launchedFirst, wxtest::ProcessLaunched("recorder"));
    Pump();
    GestaltReset();
    EXPECT_EQ(1u, wxscan::FilesIn(mOut));
    if (StillOpen()) {
      EXPECT_TRUE(mDialog->IsVisible()) << "shown again after the scan";
    }
    Close();
    ProcessResetTable();
    fs::remove(mRoot / "handed.log");
    fs::remove_all(mOut);
    fs::create_directories(mOut);
  }
}

// A temporary base folder removed since the last start is made again and the scan runs;
// one that can be neither found nor made stops the start with alert 3 and scans nothing.
TEST_F(FileRunFakeSource, ATemporaryFolderIsMadeAgainOrStopsTheStart) {
  FSSpec defaultBase{};
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    defaultBase = PREF_SETTING::kTempBase.get(PREF_ALL::kSetting.in(prefs.PrefAll()));
  }
  const fs::path base = wxscan::PathOf(defaultBase);
  for (const DialogKind& kind : {kSave, kScan1}) {
    for (const bool makeable : {true, false}) {
      SCOPED_TRACE(std::string(kind.name) + (makeable ? ": made again" : ": cannot be made"));
      mTexts.clear();
      wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A\ndepth=24");
      Configure(kind, kJPEG, 0);
      {
        CPreferences prefs(PREFS_FILE_NAME, 0);
        FSSpec stored = defaultBase;
        if (!makeable) PStrFromString("Gone", stored.name);
        PREF_SETTING::kTempBase.set(PREF_ALL::kSetting.in(prefs.PrefAll()), stored);
      }
      fs::remove_all(base);
      // A file where the default temporary folders' parent would go.
      if (!makeable) std::ofstream(base) << "not a folder";
      ASSERT_NE(nullptr, Open(kind));
      if (!makeable) AnswerNext(msg_OK);
      Start();
      if (makeable) Pump();
      wxframework::ClearDialogActions();
      EXPECT_EQ(makeable ? 1u : 0u, wxscan::FilesIn(mOut));
      EXPECT_EQ(makeable, fs::is_directory(base));
      EXPECT_EQ(makeable ? 0u : 1u, Shown(3));
      EXPECT_EQ(0, CWXUtility::sIsQuellaneOpened);
      Close();
      fs::remove_all(base);
      fs::create_directories(base);
      fs::remove(mRoot / "handed.log");
      fs::remove_all(mOut);
      fs::create_directories(mOut);
    }
  }
}

// The copy of a chosen PDF goes beside it: a folder there that cannot be written stops the
// start with alert 13.
TEST_F(FileRunFakeSource, AChosenPDFInAnUnwritableFolderStopsTheStart) {
  wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A\ndepth=24");
  Configure(kSave, kPDF, 0);
  ASSERT_NE(nullptr, Open(kSave));
  RunToTheEnd();
  Close();
  const fs::path locked = mRoot / "locked";
  fs::create_directories(locked);
  fs::rename(mOut / "Page.PDF", locked / "Chosen.pdf");
  Configure(kSave, kAddToPDF, 0);
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes save = PREF_ALL::kSave.in(prefs.PrefAll());
    StPDFDialog::kAppendTo.set(PREF_SAVE::kPDF.in(save), wxscan::FolderSpec(locked / "Chosen.pdf"));
    Str255 name;
    PStrFromString("Chosen_New", name);
    PREF_SAVE::kFileName.set(save, name);
  }
  ASSERT_NE(nullptr, Open(kSave));
  // Everything open to every user but the folder, which nobody may write.
  for (const fs::path& root : {mRoot.path(), mScript.path()})
    ASSERT_EQ(wxtest::Run("chmod -R a+rwX '" + root.string() + "'"), 0);
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  EXPECT_TRUE(wxtest::HoldsForAnUnprivilegedUser([&] {
    for (int i = 0; i < 3; ++i) AnswerNext(msg_OK);
    Start();
    return Shown(13) == 1 && CWXUtility::sIsQuellaneOpened == 0;
  })) << "alert 13 once, and no scan";
  wxframework::ClearDialogActions();
  fs::permissions(locked, fs::perms::owner_all);
}
// The size menus match the size table of the build's language: as many items, the stitch
// sizes where the table has them (B4 first in the Japanese build, 11x17 in the others),
// and a stitch item chosen counts as a stitch size in every dialog.
TEST_F(FileRunFakeSource, SizeMenusFollowTheBuildLanguagesSizeTable) {
  const struct {
    char language;
    SInt16 items;
    const char* firstStitch;
    const char* stitchWord;  // its ASCII part
  } rows[] = {
      {'E', 11, "11x17 (", "(Stitch)"},
      {'F', 11, "11x17 (", "(assemblage)"},
      {'G', 11, "11x17 (", "(Zusammen"},
      {'J', 16, "B4 (", " ("},
  };
  const auto row = std::find_if(std::begin(rows), std::end(rows),
                                [](const auto& r) { return r.language == wxtest::BuildLanguage(); });
  ASSERT_NE(std::end(rows), row) << "a build language with no row";
  const long firstStitch = row->language == 'J' ? Paper_Size_B4_Stitch : Paper_Size_11X17_Stitch;
  for (const DialogKind& kind : {kSave, kScan1, kScan2}) {
    SCOPED_TRACE(kind.name);
    Configure(kind, kJPEG, 0, 1);
    ASSERT_NE(nullptr, Open(kind));
    auto* size = dynamic_cast<LPopupButton*>(mDialog->FindPaneByID('SIZE'));
    ASSERT_NE(nullptr, size);
    EXPECT_EQ(row->items, size->CountMenuItems());
    EXPECT_EQ(row->items, SInt16(Paper_Size_custom));
    const auto itemText = [&](long item) {
      Str255 text;
      size->GetMenuItemText(SInt16(item), text);
      return PStrToString(text);
    };
    EXPECT_EQ(0u, itemText(firstStitch).rfind(row->firstStitch, 0)) << itemText(firstStitch);
    EXPECT_EQ(0u, itemText(Paper_Size_A3_Stitch).rfind("A3 (", 0)) << itemText(Paper_Size_A3_Stitch);
    EXPECT_EQ(0u, itemText(Paper_Size_432X297_Stitch).rfind("432x297 (", 0)) << itemText(Paper_Size_432X297_Stitch);
    for (long item : {firstStitch, long(Paper_Size_A3_Stitch), long(Paper_Size_432X297_Stitch)}) {
      EXPECT_NE(std::string::npos, itemText(item).find(row->stitchWord)) << itemText(item);
      size->SetValue(SInt32(item));
      const bool stitch = kind.layout == kSave.layout ? dynamic_cast<CSaveDialogBox*>(mDialog)->IsStitch()
                                                      : dynamic_cast<CCustomScanDialogBox*>(mDialog)->IsStitch();
      EXPECT_TRUE(stitch) << itemText(item);
    }
    size->SetValue(1);
    EXPECT_FALSE(kind.layout == kSave.layout ? dynamic_cast<CSaveDialogBox*>(mDialog)->IsStitch()
                                             : dynamic_cast<CCustomScanDialogBox*>(mDialog)->IsStitch());
    Close();
  }
}
}  // namespace
