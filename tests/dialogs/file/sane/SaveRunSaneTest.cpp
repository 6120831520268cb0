// Save runs from the dialog's start button to files: the SANE test device scans, the export
// pipeline writes, outside tools check what was written, and the desktop's folder opener
// (a recorder here) is shown the destination.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/CEditText.h"
#include "app/CPopupButton.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "dialogs/file/CSaveDialogBox.h"
#include "framework/FrameworkDriver.h"
#include "framework/LThread.h"
#include "framework/TRegistrar.h"
#include "framework/URegistrar.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "output/hub/WXDialogFlags.h"
#include "scanner/CTWAIN.h"
#include "scanner/ScanTestSupport.h"
#include "support/TestEnv.h"
#include "tests/platform/twain/sane/SaneTestConfig.h"
#include "tests/support/HeadlessApp.h"
#include "toolbox/TextUtils.h"

namespace {

::testing::Environment* const gSaneEnvironment =
    ::testing::AddGlobalTestEnvironment(new wxsane::SaneTestEnvironment(WX_TWAIN_SOURCE_DIR));

namespace fs = std::filesystem;

class SaveRun : public wxtest::HeadlessApp {
 protected:
  void SetUp() override {
    setenv("WENDRIX_ROOT", mRoot.path().c_str(), 1);
    fs::create_directories(mOut);
    // The folder opener records what it is shown.
    const fs::path recorder = mRoot / "opener";
    std::ofstream(recorder) << "#!/bin/sh\necho \"$@\" >> '" << (mRoot / "opened.log").string() << "'\n";
    fs::permissions(recorder, fs::perms::owner_all);
    setenv("WX_OPENER", recorder.c_str(), 1);
    wxtest::HeadlessApp::SetUp();
    SelectLanguageFromResources();
    CTWAIN::SetApplicationHost(mApp);
  }
  void TearDown() override {
    delete mDialog;
    CTWAIN::SetApplicationHost(nullptr);
    CWXUtility::sIsQuellaneOpened = 0;
    wxtest::HeadlessApp::TearDown();
    unsetenv("WX_OPENER");
    unsetenv("WENDRIX_ROOT");
  }
  void RegisterClasses() override {
    RegisterClass_(CSaveDialogBox);
    RegisterClass_(CPopupButton);
    RegisterClass_(CFileNameAddPopup);
    RegisterClass_(CEditText);
  }

  // A 20 x 15 mm colour area at 75 dpi from the test device, written as `type` into mOut.
  void Configure(UInt32 type) {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes all = prefs.PrefAll();
    RecordBytes setting = PREF_ALL::kSetting.in(all);
    Str255 text;
    PStrFromString("Dremlo Model A", text);
    PREF_SETTING::kModelName.set(setting, text);
    PREF_SETTING::kTWAIN.set(setting, 1);
    RecordBytes save = PREF_ALL::kSave.in(all);
    PREF_SAVE::kSource.set(save, 1);
    PREF_SAVE::kImageMode.set(save, 3);
    PREF_SAVE::kResolution.set(save, 1);
    PREF_SAVE::kPaperSize.set(save, UInt32(Paper_Size_custom));
    PREF_SAVE::kCustomSize.set(save, 200, 150, PrefDocSize::kCentimetre);
    PREF_SAVE::kFileType.set(save, type);
    PREF_SAVE::kCheckFORE.set(save, 0);
    PREF_SAVE::kCheckUION.set(save, 0);
    PREF_SAVE::kCheckDYIN.set(save, 0);
    PStrFromString("Page", text);
    PREF_SAVE::kDefaultFileName.set(save, text);
    PREF_SAVE::kFolder.set(save, wxscan::FolderSpec(mOut));
    // No text recognition: its language data is not part of these tests.
    RecordBytes pdf = PREF_SAVE::kPDF.in(save);
    StPDFDialog::kLanguageOption.set(pdf, 0);
    StPDFDialog::kOptionCBCR.set(pdf, 0);
    StPDFDialog::kOptionCBXT.set(pdf, 0);
    // As the file-type popup leaves it.
    StPDFDialog::kUnused4.set(pdf, type >= 5 ? 1 : 0);
  }

  // Presses the start button and runs the main loop until the run has written its files.
  void RunToTheEnd() {
    mDialog = dynamic_cast<CSaveDialogBox*>(LWindow::CreateWindow(4000, mApp));
    ASSERT_NE(mDialog, nullptr);
    mDialog->Show();
    mDialog->ListenToMessage(msg_OK, nullptr);
    ASSERT_EQ(CWXUtility::sIsQuellaneOpened, 1) << "the scan did not start";
    for (int i = 0; i < 400 && CWXUtility::sIsQuellaneOpened == 1; ++i) {
      mApp->ProcessNextEvent();
      LThread::Yield();
    }
    ASSERT_EQ(CWXUtility::sIsQuellaneOpened, 0) << "the scan never ended";
    // The opener runs detached; give it a bounded number of turns.
    for (int i = 0; i < 200 && !fs::exists(mRoot / "opened.log"); ++i) LThread::Yield(), usleep(10000);
  }

  std::string Opened() {
    std::ifstream in(mRoot / "opened.log");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  wxtest::ScratchDir mRoot;
  fs::path mOut = mRoot / "out";
  CSaveDialogBox* mDialog = nullptr;
};

struct OutputRow {
  UInt32 type;
  const char* file;
  const char* check;  // an outside tool's command, the file's path appended
};

TEST_F(SaveRun, EachSingleFileOutputIsWrittenCheckedAndItsFolderShown) {
  const OutputRow rows[] = {
      {2, "Page.JPG", "djpeg -fast -outfile /dev/null"},
      {3, "Page.TIF", "tiffinfo"},
      {4, "Page.PDF", "qpdf --check"},
      {1, "Page.PIC", "identify"},
  };
  for (const OutputRow& row : rows) {
    SCOPED_TRACE(row.file);
    const std::string tool(row.check, std::string(row.check).find(' ') == std::string::npos
                                          ? std::string(row.check).size()
                                          : std::string(row.check).find(' '));
    if (!wxtest::HaveTool(tool)) continue;
    fs::remove_all(mOut);
    fs::create_directories(mOut);
    fs::remove(mRoot / "opened.log");
    Configure(row.type);
    RunToTheEnd();
    ASSERT_EQ(wxscan::FilesIn(mOut), 1u);
    fs::path written = fs::directory_iterator(mOut)->path();
    EXPECT_EQ(written.filename().string(), row.file);
    EXPECT_EQ(wxtest::Run(std::string(row.check) + " '" + written.string() + "' >/dev/null 2>&1"), 0);
    if (row.type == 2 && wxtest::HaveTool("exiftool")) {
      std::string out;
      wxtest::Run("exiftool -validate -warning -a '" + written.string() + "'", &out);
      EXPECT_EQ(out.find("Error"), std::string::npos) << out;
    }
    fs::copy_file(written, wxtest::OutputDir("dialogs/save") / written.filename(), fs::copy_options::overwrite_existing);
    EXPECT_NE(Opened().find(mOut.string()), std::string::npos) << Opened();
    delete mDialog;
    mDialog = nullptr;
  }
}

TEST_F(SaveRun, AScanThatDoesNotStartGivesTheDialogAndTheMenusBack) {
  Configure(2);
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    Str255 model;
    PStrFromString("No Such Model", model);
    PREF_SETTING::kModelName.set(PREF_ALL::kSetting.in(prefs.PrefAll()), model);
  }
  mDialog = dynamic_cast<CSaveDialogBox*>(LWindow::CreateWindow(4000, mApp));
  ASSERT_NE(mDialog, nullptr);
  mDialog->Show();
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

TEST_F(SaveRun, AMultiPagePDFGrowsOverThreePassesIntoOneFile) {
  if (!wxtest::HaveTool("qpdf") || !wxtest::HaveTool("pdfinfo")) GTEST_SKIP() << "qpdf or pdfinfo missing";
  Configure(5);
  // The next-page question: two more pages, then no more.
  wxframework::AnswerNextDialog(msg_OK);
  wxframework::AnswerNextDialog(msg_OK);
  wxframework::AnswerNextDialog(msg_Cancel);
  RunToTheEnd();
  ASSERT_EQ(wxscan::FilesIn(mOut), 1u);
  const fs::path written = fs::directory_iterator(mOut)->path();
  EXPECT_EQ(wxtest::Run("qpdf --check '" + written.string() + "' >/dev/null 2>&1"), 0);
  std::string info;
  wxtest::Run("pdfinfo '" + written.string() + "'", &info);
  EXPECT_NE(info.find("Pages:           3\n"), std::string::npos) << info;
  EXPECT_FALSE(wxframework::HasDialogActions());
  EXPECT_NE(Opened().find(mOut.string()), std::string::npos) << Opened();
  CPreferences prefs(PREFS_FILE_NAME, 0);
  EXPECT_EQ(wxscan::RawPagesLeft(PREF_SETTING::kTempFolder.get(PREF_ALL::kSetting.in(prefs.PrefAll()))), 0u)
      << "each pass's raw page goes once its page is in the PDF";
  fs::copy_file(written, wxtest::OutputDir("dialogs/save") / "multi-page.pdf", fs::copy_options::overwrite_existing);
}

TEST_F(SaveRun, PagesAddedToAChosenPDFGoIntoANewCopyBesideIt) {
  if (!wxtest::HaveTool("qpdf") || !wxtest::HaveTool("pdfinfo")) GTEST_SKIP() << "qpdf or pdfinfo missing";
  Configure(4);
  RunToTheEnd();
  delete mDialog;
  mDialog = nullptr;
  const fs::path chosen = mRoot / "Chosen.pdf";
  fs::rename(mOut / "Page.PDF", chosen);
  const std::vector<uint8_t> before = wxtest::ReadBytes(chosen);

  Configure(6);
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes save = PREF_ALL::kSave.in(prefs.PrefAll());
    StPDFDialog::kAppendTo.set(PREF_SAVE::kPDF.in(save), wxscan::FolderSpec(chosen));
    StPDFDialog::kUnused8.set(PREF_SAVE::kPDF.in(save), 1);
    Str255 name;
    PStrFromString("Chosen_New", name);
    PREF_SAVE::kFileName.set(save, name);
  }
  fs::remove(mRoot / "opened.log");
  wxframework::AnswerNextDialog(msg_OK);      // add to this PDF?
  wxframework::AnswerNextDialog(msg_OK);      // a second page
  wxframework::AnswerNextDialog(msg_Cancel);  // no more
  RunToTheEnd();
  EXPECT_FALSE(wxframework::HasDialogActions());
  EXPECT_EQ(wxtest::ReadBytes(chosen), before);
  const fs::path copy = mRoot / "Chosen_New.PDF";
  ASSERT_TRUE(fs::exists(copy));
  EXPECT_EQ(wxtest::Run("qpdf --check '" + copy.string() + "' >/dev/null 2>&1"), 0);
  std::string info;
  wxtest::Run("pdfinfo '" + copy.string() + "'", &info);
  EXPECT_NE(info.find("Pages:           3\n"), std::string::npos) << info;
  EXPECT_NE(Opened().find(mRoot.path().string()), std::string::npos) << Opened();
}

// A stitch wizard that reports its close before it returns ends a scanner-button run: the
// dialog closes once the wizard's entry is back.
TEST_F(SaveRun, AWizardThatClosesAtOnceEndsAScannerButtonRun) {
  Configure(2);
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    PREF_SAVE::kPaperSize.set(PREF_ALL::kSave.in(prefs.PrefAll()), UInt32(Paper_Size_A3_Stitch));
  }
  auto* dialog = dynamic_cast<CSaveDialogBox*>(LWindow::CreateWindow(4000, mApp));
  ASSERT_NE(dialog, nullptr);
  dialog->Show();
  dialog->SetStartFlag(1);
  dialog->ListenToMessage(msg_OK, nullptr);
  for (LCommander* sub : mApp->GetSubCommanders()) EXPECT_EQ(nullptr, dynamic_cast<CSaveDialogBox*>(sub));
  EXPECT_EQ(wxscan::FilesIn(mOut), 0u);
}

}  // namespace
