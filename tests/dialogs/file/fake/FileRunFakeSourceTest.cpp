// Save, Scan-1 and Scan-2 runs against the scriptable fake source: what the source refuses is
// shown once it is down, a PICT too wide for the format and a full disk write nothing, the
// stitch wizard is a scripted stand-in that records what it was handed, and the preview is
// answered by the test driver.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FakeScript.h"
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
#include "app/prefs/CPreferences.h"
#include "app/prefs/LanguageTables.h"
#include "dialogs/file/CSaveDialogBox.h"
#include "dialogs/file/CScan1DialogBox.h"
#include "dialogs/file/CScan2DialogBox.h"
#include "framework/FrameworkDriver.h"
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
#include "tests/support/HeadlessApp.h"
#include "toolbox/Files.h"
#include "toolbox/TextUtils.h"

namespace fs = std::filesystem;

// ---- The scripted stitch wizard: it records its call; the test plays its part. ---------------

namespace {

struct StitchCall {
  long function = 0, paper = 0, driverUI = 0;
  LDialogBox* caller = nullptr;
  fs::path destination, temp;
};
std::vector<StitchCall> gStitchCalls;
// Only its address goes back: the dialogs never call the wizard, so none is built.
alignas(CStitchDialog) unsigned char gWizard[sizeof(CStitchDialog)];

fs::path PathOf(const FSSpec& spec) {
  std::string path;
  FSpGetPOSIXPath(&spec, &path);
  return path;
}

}  // namespace

CStitchDialog* CStitchDialog::ShowStitchDialog(long function, unsigned char, unsigned char*, SDimension16, long, long,
                                               long showDriverUI, long paperIndex, long, LCommander*, long,
                                               unsigned char, long, LDialogBox* caller, unsigned char, unsigned char,
                                               FSSpec spec1, FSSpec spec2, StPDFDialog*, StJPEGDialog*,
                                               StOtherDialog*, StOtherDialog*, unsigned char, long, unsigned long,
                                               PREF_FILE*) {
  gStitchCalls.push_back({function, paperIndex, showDriverUI, caller, PathOf(spec1), PathOf(spec2)});
  return reinterpret_cast<CStitchDialog*>(gWizard);
}

namespace {

using R = PREF_SCANX;

enum : UInt32 { kPICT = 1, kJPEG = 2, kPDF = 4 };

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
    wxtest::HeadlessApp::TearDown();
    unsetenv("WX_OPENER");
    unsetenv("WENDRIX_ROOT");
  }
  void RegisterClasses() override {
    RegisterClass_(CSaveDialogBox);
    RegisterClass_(CScan1DialogBox);
    RegisterClass_(CScan2DialogBox);
    RegisterClass_(CPopupButton);
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
      StPDFDialog::kUnused4.set(pdf, 0);
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

  wxtest::ScratchDir mRoot, mScript;
  fs::path mOut = mRoot / "out";
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

    // The wizard's merged page: a scan of its own, whose watcher tells the dialog.
    auto* twain = new CTWAIN;
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
    for (const DialogKind& kind : {kScan1, kScan2}) {
      SCOPED_TRACE(std::string(kind.name) + ": " + row.what);
      fs::remove(mRoot / "handed.log");
      wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A\ndepth=24");
      Configure(kind, kJPEG, 0, UInt32(Paper_Size_custom), 1);
      ASSERT_NE(nullptr, Open(kind));
      dynamic_cast<CFunctionDialog*>(mDialog)->SetStartFlag(row.button);
      wxframework::AnswerNextDialog(row.answer);
      if (row.answer == CPreviewDialog::msg_Cancel) wxframework::AnswerNextDialog(msg_OK);  // discard the page
      RunToTheEnd();
      for (int i = 0; i < 20; ++i) mApp->ProcessNextEvent();
      EXPECT_FALSE(wxframework::HasDialogActions()) << "the preview was shown";
      EXPECT_EQ(row.written ? 1u : 0u, wxscan::FilesIn(mOut));
      for (int i = 0; i < 100 && row.written && !Handed(); ++i) LThread::Yield(), usleep(10000);
      EXPECT_EQ(row.written, Handed());
      EXPECT_EQ(row.open, StillOpen());
      if (row.open) {
        EXPECT_TRUE(mDialog->IsVisible());
        EXPECT_TRUE(mDialog->IsEnabled());
      }
      Close();
      wxframework::ClearDialogActions();
      fs::remove_all(mOut);
      fs::create_directories(mOut);
    }
  }
}

}  // namespace
