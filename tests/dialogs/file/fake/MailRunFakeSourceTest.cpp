// Mail runs against the scriptable fake source, where a fault must be provoked: noisy pages
// whose JPEG is far larger than the estimate, a disk that fills in the middle of a multi-page
// run, and a run PDF that can no longer be appended to. Pages already written are never lost.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "FakeScript.h"
#include "tests/scanner/TestPlugIn.h"
#include "app/CCicnButton.h"
#include "app/CEditText.h"
#include "app/CPopupButton.h"
#include "app/CTextTable.h"
#include "preview/CExifDialog.h"
#include "preview/CPrevPrevView.h"
#include "preview/CPrevPrevWindow.h"
#include "preview/CPreviewDialog.h"
#include "preview/CPreviewView.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "dialogs/file/CMailDialogBox.h"
#include "framework/FrameworkDriver.h"
#include "framework/LControl.h"
#include "framework/LThread.h"
#include "framework/TRegistrar.h"
#include "framework/URegistrar.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "scanner/CTWAIN.h"
#include "scanner/ScanTestSupport.h"
#include "support/TestEnv.h"
#include "tests/output/DialogTestEnv.h"
#include "tests/support/HeadlessApp.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/Files.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"
#include "windows/MacWindows.h"

namespace fs = std::filesystem;

namespace {

using R = PREF_MAIL;

std::string Quote(const fs::path& path) { return "'" + path.string() + "'"; }

int PDFPages(const fs::path& pdf) {
  std::string info;
  if (wxtest::Run("pdfinfo " + Quote(pdf) + " 2>/dev/null", &info) != 0) return -1;
  const size_t at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

// A colour picture of random pixels, which JPEG cannot make small.
void WriteNoise(const fs::path& path, int width, int height) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << width << " " << height << "\n255\n";
  std::mt19937 random(7);
  std::vector<char> row(size_t(width) * 3);
  for (int y = 0; y < height; ++y) {
    for (char& byte : row) byte = char(random() & 0xFF);
    out.write(row.data(), std::streamsize(row.size()));
  }
}

class MailRunFakeSource : public wxtest::HeadlessApp {
 protected:
  static void SetUpTestSuite() { wxfake::UseFakeSource(); }
  void SetUp() override {
    setenv("WENDRIX_ROOT", mRoot.path().c_str(), 1);
    fs::create_directories(mOut);
    for (const char* name : {"post", "opener"}) {
      const fs::path program = mRoot / name;
      std::ofstream(program) << "#!/bin/sh\necho \"$@\" >> '" << program.string() << ".log'\n";
      fs::permissions(program, fs::perms::owner_all);
    }
    setenv("WX_OPENER", (mRoot / "opener").c_str(), 1);
    wxtest::HeadlessApp::SetUp();
    SelectLanguageFromResources();
    CTWAIN::SetApplicationHost(mApp);
  }
  void TearDown() override {
    if (Dialog()) delete Dialog();
    wxframework::ClearDialogActions();
    FSTestSetWriteLimit(-1);
    CTWAIN::SetApplicationHost(nullptr);
    CWXUtility::sIsQuellaneOpened = 0;
    wxtest::HeadlessApp::TearDown();
    unsetenv("WX_OPENER");
    unsetenv("WENDRIX_ROOT");
  }
  void RegisterClasses() override {
    RegisterClass_(CMailDialogBox);
    RegisterClass_(CPopupButton);
    RegisterClass_(CEditText);
    RegisterClass_(CCicnButton);
    RegisterClass_(CFileNameAddPopup);
    RegisterClass_(CPreviewDialog);
    RegisterClass_(CPreviewView);
    RegisterClass_(CTextTable);
    RegisterClass_(CExifDialog);
    RegisterClass_(CPrevPrevWindow);
    RegisterClass_(CPrevPrevView);
  }

  // The fake source's whole page, written as `type` within size-limit item `limit`.
  void Configure(UInt32 type, UInt32 limit = 4) {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes all = prefs.PrefAll();
    RecordBytes setting = PREF_ALL::kSetting.in(all);
    Str255 text;
    PStrFromString("Dremlo Model A", text);
    PREF_SETTING::kModelName.set(setting, text);
    PREF_SETTING::kTWAIN.set(setting, 1);
    RecordBytes mail = PREF_ALL::kMail.in(all);
    R::kSetting0.set(mail, 3);
    R::kSetting4.set(mail, 1);
    R::kPaperSize.set(mail, UInt32(IS_J ? 13 : 8));
    R::kCustomSize.set(mail, 200, 150, PrefDocSize::kCentimetre);
    R::kSetting12.set(mail, limit);
    R::kSetting16.set(mail, type);
    R::kCheckUION.set(mail, 0);
    R::kCheckDYIN.set(mail, 0);
    R::kCheckAIRE.set(mail, 0);
    PStrFromString("Trip", text);
    R::kDefaultFileName.set(mail, text);
    R::kFolder.set(mail, wxscan::FolderSpec(mOut));
    R::kMailApp.set(mail, wxscan::FolderSpec(mRoot / "post"));
    RecordBytes pdf = R::kPDF.in(mail);
    StPDFDialog::kLanguageOption.set(pdf, 0);
    StPDFDialog::kOptionCBCR.set(pdf, 0);
    StPDFDialog::kOptionCBXT.set(pdf, 0);
    StPDFDialog::kUnused4.set(pdf, type >= 3 ? 1 : 0);
    StPDFDialog::kUnused8.set(pdf, type == 4 ? 1 : 0);
  }

  static CMailDialogBox* Dialog() {
    for (WindowRef w = GetWindowList(); w; w = GetNextWindow(w))
      if (auto* dialog = dynamic_cast<CMailDialogBox*>(LWindow::FetchWindowObject(w))) return dialog;
    return nullptr;
  }
  void Run() {
    auto* dialog = dynamic_cast<CMailDialogBox*>(LWindow::CreateWindow(2000, mApp));
    ASSERT_NE(dialog, nullptr);
    dialog->Show();
    dialog->ListenToMessage(msg_OK, nullptr);
    ASSERT_EQ(CWXUtility::sIsQuellaneOpened, 1) << "the scan did not start";
    for (int i = 0; i < 1200 && CWXUtility::sIsQuellaneOpened == 1; ++i) {
      mApp->ProcessNextEvent();
      LThread::Yield();
    }
    ASSERT_EQ(CWXUtility::sIsQuellaneOpened, 0) << "the scan never ended";
  }
  // Every dialog that shows notes its message; `answers` answer them in order.
  void Answer(const std::vector<MessageT>& answers, std::vector<std::string>* texts) {
    for (MessageT answer : answers) {
      wxframework::QueueDialogAction([texts](LWindow* d) {
        texts->push_back(wxframework::FindPane(d, 'TXMS') ? wxframework::PaneText(d, 'TXMS') : "");
      });
      wxframework::AnswerNextDialog(answer);
    }
  }
  fs::path TempFolder() {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    return wxscan::PathOf(PREF_SETTING::kTempFolder.get(PREF_ALL::kSetting.in(prefs.PrefAll())));
  }
  std::vector<fs::path> In(const fs::path& folder, const std::string& extension = "") {
    std::vector<fs::path> files;
    if (!fs::exists(folder)) return files;
    for (const auto& e : fs::directory_iterator(folder))
      if (extension.empty() || e.path().extension() == extension) files.push_back(e.path());
    return files;
  }
  std::string Log(const char* program) {
    for (int i = 0; i < 100 && !fs::exists(mRoot / (std::string(program) + ".log")); ++i) usleep(10000);
    std::ifstream in(mRoot / (std::string(program) + ".log"));
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  wxtest::ScratchDir mRoot, mScript;
  fs::path mOut = mRoot / "out";
};

TEST_F(MailRunFakeSource, ANoisyPageIsWrittenAgainAtALowerResolutionUntilItFits) {
  WX_REQUIRE_TOOL("djpeg");
  WX_REQUIRE_TOOL("exiftool");
  const fs::path noise = mScript.path() / "noise.ppm";
  WriteNoise(noise, 900, 1200);
  wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A\ndepth=24\nres=300\nimage=" + noise.string());
  Configure(1, 2);
  Run();
  const std::vector<fs::path> written = In(mOut);
  ASSERT_EQ(written.size(), 1u);
  EXPECT_LE(fs::file_size(written[0]), 307200u);
  EXPECT_EQ(wxtest::Run("djpeg -fast -outfile /dev/null " + Quote(written[0]) + " >/dev/null 2>&1"), 0);
  std::string resolution;
  wxtest::Run("exiftool -s3 -XResolution " + Quote(written[0]), &resolution);
  const int dpi = std::atoi(resolution.c_str());
  EXPECT_GE(dpi, 75) << resolution;
  EXPECT_LT(dpi, 300) << resolution;
  EXPECT_NE(Log("post").find(written[0].string()), std::string::npos);
  fs::copy_file(written[0], wxtest::OutputDir("dialogs/mail") / "noisy-within-limit.jpg",
                fs::copy_options::overwrite_existing);
}

TEST_F(MailRunFakeSource, APageThatCannotFitAt75DpiIsNotWrittenAndNothingIsHandedOn) {
  const fs::path noise = mScript.path() / "noise.ppm";
  WriteNoise(noise, 900, 1200);
  wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A\ndepth=24\nres=75\nimage=" + noise.string());
  Configure(1, 1);
  std::vector<std::string> texts;
  Answer({msg_OK, msg_OK}, &texts);
  Run();
  wxframework::ClearDialogActions();
  EXPECT_NE(std::find(texts.begin(), texts.end(), wxtest::ResourceText(400, 3)), texts.end());
  EXPECT_TRUE(In(mOut).empty());
  EXPECT_EQ(In(TempFolder()).size(), 1u) << "the raw page stays";
  usleep(100000);
  EXPECT_FALSE(fs::exists(mRoot / "post.log")) << "nothing handed on";
  ASSERT_NE(Dialog(), nullptr);
}

TEST_F(MailRunFakeSource, ADiskThatFillsInTheSecondPassKeepsTheFirstPassInTheRunPDF) {
  WX_REQUIRE_TOOL("qpdf");
  WX_REQUIRE_TOOL("pdfinfo");
  wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A\nwidth=400\nheight=300\ndepth=24");
  Configure(3);
  std::vector<std::string> texts;
  wxframework::AnswerNextDialog(msg_OK);  // a second page
  // The disk fills once the second page is scanned.
  wxframework::QueueDialogAction([](LWindow*) { FSTestSetWriteLimit(1000); });
  Answer({msg_Cancel, msg_OK, msg_OK}, &texts);
  Run();
  FSTestSetWriteLimit(-1);
  wxframework::ClearDialogActions();
  EXPECT_NE(std::find(texts.begin(), texts.end(), wxtest::ResourceText(400, 3)), texts.end());
  const std::vector<fs::path> written = In(mOut);
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(wxtest::Run("qpdf --check " + Quote(written[0]) + " >/dev/null 2>&1"), 0);
  EXPECT_EQ(PDFPages(written[0]), 1);
  EXPECT_FALSE(In(TempFolder()).empty()) << "the second pass stays in the temporary folder";
  EXPECT_NE(Log("post").find(written[0].string()), std::string::npos) << "the run PDF is handed on";
}

TEST_F(MailRunFakeSource, AnAppendThatFailsKeepsTheRunPDFAndThePassesPDF) {
  WX_REQUIRE_TOOL("pdfinfo");
  wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A\nwidth=400\nheight=300\ndepth=24");
  Configure(3);
  std::vector<std::string> texts;
  wxframework::AnswerNextDialog(msg_OK);  // a second page
  // The run PDF is damaged before the second pass is appended to it.
  const fs::path run = mOut / "Trip.PDF";
  wxframework::QueueDialogAction([run](LWindow*) { std::ofstream(run, std::ios::trunc) << "not a PDF"; });
  Answer({msg_Cancel, msg_OK, msg_OK}, &texts);
  Run();
  wxframework::ClearDialogActions();
  EXPECT_NE(std::find(texts.begin(), texts.end(), wxtest::ResourceText(400, 3)), texts.end());
  ASSERT_TRUE(fs::exists(run)) << "the run PDF is never deleted";
  std::ifstream in(run);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), "not a PDF");
  const std::vector<fs::path> parts = In(TempFolder(), ".PDF");
  ASSERT_EQ(parts.size(), 1u) << "the pass's PDF stays";
  EXPECT_EQ(PDFPages(parts[0]), 1);
}

// What the source refuses is said once, after it is down; nothing is written or handed on and
// the dialog stays usable.
TEST_F(MailRunFakeSource, RefusalsAreShownOnceAndNothingIsHandedOn) {
  const struct {
    const char* what;
    const char* script;
    UInt8 driverWindow;
    SInt16 alert;  // item of string list 400
  } rows[] = {
      {"16 bits per sample", "depth=16", 0, 38},
      {"too large for the driver's window", "width=30000\nheight=30000\ndepth=24", 1, 37},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    wxfake::WriteFakeScript(mScript.path(), std::string("name=Dremlo Model A\n") + row.script);
    Configure(1);
    {
      CPreferences prefs(PREFS_FILE_NAME, 0);
      R::kCheckUION.set(PREF_ALL::kMail.in(prefs.PrefAll()), row.driverWindow);
    }
    std::vector<std::string> texts;
    Answer({msg_OK, msg_OK}, &texts);
    Run();
    wxframework::ClearDialogActions();
    EXPECT_EQ(std::vector<std::string>{wxtest::ResourceText(400, row.alert)}, texts);
    EXPECT_TRUE(In(mOut).empty()) << "nothing written";
    EXPECT_FALSE(fs::exists(mRoot / "post.log")) << "nothing handed on";
    CMailDialogBox* dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->IsVisible());
    EXPECT_TRUE(dialog->IsEnabled());
    delete dialog;
  }
}

TEST_F(MailRunFakeSource, ACancelMidRunWritesThePagesBeforeItAndAButtonRunThenClosesWithoutQuitting) {
  for (UInt8 buttonRun : {0, 1}) {
    SCOPED_TRACE(int(buttonRun));
    for (const auto& e : fs::directory_iterator(mOut)) fs::remove(e.path());
    fs::remove(mRoot / "post.log");
    wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A\npages=2\ncancel_page=2\ndepth=24");
    Configure(1);
    {
      CPreferences prefs(PREFS_FILE_NAME, 0);
      PREF_SETTING::kQuitOption.set(PREF_ALL::kSetting.in(prefs.PrefAll()), 1);
    }
    auto* dialog = dynamic_cast<CMailDialogBox*>(LWindow::CreateWindow(2000, mApp));
    ASSERT_NE(dialog, nullptr);
    dialog->Show();
    dialog->SetStartFlag(buttonRun);
    dialog->ListenToMessage(msg_OK, nullptr);
    for (int i = 0; i < 1200 && CWXUtility::sIsQuellaneOpened == 1; ++i) {
      mApp->ProcessNextEvent();
      LThread::Yield();
    }
    ASSERT_EQ(CWXUtility::sIsQuellaneOpened, 0);
    const std::vector<fs::path> written = In(mOut);
    ASSERT_EQ(written.size(), 1u) << "the page before the cancel";
    EXPECT_NE(Log("post").find(written[0].string()), std::string::npos);
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_NE(mApp->GetState(), programState_Quitting) << "a cancelled transfer never quits";
  }
}

TEST_F(MailRunFakeSource, PlugInPagesAreAddedToTheCopyOfTheChosenPDFLikeTWAINPages) {
  WX_REQUIRE_TOOL("qpdf");
  WX_REQUIRE_TOOL("pdfinfo");
  const fs::path appDir = mScript.path() / "app";
  InstallPlugIn(appDir);
  FolderSetApplicationDir(appDir.string());
  setenv("WX_TEST_PLUGIN", (appDir / "plugin.txt").c_str(), 1);
  std::ofstream(appDir / "plugin.txt") << "pages=2\nheight=90\nbandrows=8\nmode=3\nwidth=120\n";
  // A chosen PDF of one page, from a first run.
  wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A\ndepth=24");
  Configure(2);
  Run();
  fs::create_directories(mRoot / "docs");
  const fs::path chosen = mRoot / "docs" / "Report.pdf";
  fs::rename(mOut / "Trip.PDF", chosen);
  const int chosenPages = PDFPages(chosen);
  fs::remove(mRoot / "post.log");
  if (Dialog()) delete Dialog();

  Configure(4);
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes all = prefs.PrefAll();
    RecordBytes setting = PREF_ALL::kSetting.in(all);
    PREF_SETTING::kTWAIN.set(setting, 0);
    Str255 name;
    PStrFromString("Test", name);
    PREF_SETTING::kModelName.set(setting, name);
    RecordBytes mail = PREF_ALL::kMail.in(all);
    StPDFDialog::kAppendTo.set(R::kPDF.in(mail), wxscan::FolderSpec(chosen));
    PStrFromString("Report_New", name);
    R::kFileName.set(mail, name);
  }
  wxframework::AnswerNextDialog(msg_OK);      // add to this PDF?
  wxframework::AnswerNextDialog(msg_Cancel);  // no more pages
  Run();
  FolderSetApplicationDir("");
  unsetenv("WX_TEST_PLUGIN");
  EXPECT_FALSE(wxframework::HasDialogActions());
  const fs::path copy = mRoot / "docs" / "Report_New.PDF";
  ASSERT_TRUE(fs::exists(copy)) << "the plug-in's pages were written";
  EXPECT_EQ(wxtest::Run("qpdf --check " + Quote(copy) + " >/dev/null 2>&1"), 0);
  EXPECT_EQ(PDFPages(copy), chosenPages + 2);
  EXPECT_NE(Log("post").find(copy.string()), std::string::npos);
}

TEST_F(MailRunFakeSource, ThePreviewsAnswerDecidesWhatIsWrittenAndPendingPagesAreNeverLostUnasked) {
  const struct {
    const char* what;
    MessageT answer;
    UInt8 button;
    bool written, open, pending;
  } rows[] = {
      {"sent", CPreviewDialog::msg_Send, 0, true, false, false},
      {"cancelled", CPreviewDialog::msg_Cancel, 0, false, true, false},
      {"back to scanning after a button start keeps the pages", CPreviewDialog::msg_Return, 1, false, true, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    for (const auto& e : fs::directory_iterator(mOut)) fs::remove(e.path());
    fs::remove(mRoot / "post.log");
    wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A\ndepth=24");
    Configure(1);
    {
      CPreferences prefs(PREFS_FILE_NAME, 0);
      R::kCheckAIRE.set(PREF_ALL::kMail.in(prefs.PrefAll()), 1);
    }
    auto* dialog = dynamic_cast<CMailDialogBox*>(LWindow::CreateWindow(2000, mApp));
    ASSERT_NE(dialog, nullptr);
    dialog->Show();
    dialog->SetStartFlag(row.button);
    wxframework::AnswerNextDialog(row.answer);
    if (row.answer == CPreviewDialog::msg_Cancel) wxframework::AnswerNextDialog(msg_OK);  // discard the page
    dialog->ListenToMessage(msg_OK, nullptr);
    for (int i = 0; i < 1200 && CWXUtility::sIsQuellaneOpened == 1; ++i) {
      mApp->ProcessNextEvent();
      LThread::Yield();
    }
    for (int i = 0; i < 20; ++i) mApp->ProcessNextEvent();
    EXPECT_FALSE(wxframework::HasDialogActions()) << "the preview was shown";
    EXPECT_EQ(In(mOut).size(), row.written ? 1u : 0u);
    if (row.written) {
      EXPECT_NE(Log("post").find(mOut.string()), std::string::npos);
    }
    ASSERT_EQ(Dialog() != nullptr, row.open);
    if (!row.open) continue;
    EXPECT_TRUE(dialog->IsVisible());
    EXPECT_TRUE(dialog->IsEnabled());
    EXPECT_EQ(dialog->PendingPages().GetCount() > 0, row.pending);
    if (!row.pending) {
      delete dialog;
      continue;
    }
    // Closing asks first: not back to the preview, and not discarded, keeps everything.
    wxframework::AnswerNextDialog(msg_Cancel);
    wxframework::AnswerNextDialog(msg_Cancel);
    dialog->ListenToMessage(msg_Cancel, nullptr);
    ASSERT_EQ(Dialog(), dialog);
    EXPECT_GT(dialog->PendingPages().GetCount(), 0);
    // Turning the preview off discards them after asking, and every control shows the
    // record of the last start again.
    auto* fileType = dynamic_cast<LControl*>(dialog->FindPaneByID('FTYP'));
    auto* preview = dynamic_cast<LControl*>(dialog->FindPaneByID('SPRE'));
    fileType->SetValue(2);
    wxframework::AnswerNextDialog(msg_OK);
    preview->SetValue(0);
    EXPECT_FALSE(wxframework::HasDialogActions());
    EXPECT_EQ(dialog->PendingPages().GetCount(), 0);
    EXPECT_TRUE(In(TempFolder()).empty());
    EXPECT_EQ(fileType->GetValue(), 1);
    EXPECT_EQ(R::kSetting16.get(dialog->Working()), 1u);
    EXPECT_EQ(R::kCheckAIRE.get(dialog->Working()), 0);
    EXPECT_EQ(preview->GetValue(), 0);
    dialog->ListenToMessage(msg_Cancel, nullptr);
    EXPECT_EQ(Dialog(), nullptr);
  }
}

}  // namespace
