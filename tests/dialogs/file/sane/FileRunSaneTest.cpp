// File runs from the dialog's start button to the application: the SANE test device scans,
// the three ways of writing PDF are checked with outside tools (qpdf, pdfinfo), the
// next-page prompts are answered by the test driver, and recording programs standing for
// the application and the folder opener show what they were handed.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/CCicnButton.h"
#include "app/CEditText.h"
#include "app/CPopupButton.h"
#include "app/CTextTable.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "appservices/Processes.h"
#include "dialogs/file/CFileDialogBox.h"
#include "dialogs/file/CScanInfoWindow.h"
#include "framework/FrameworkDriver.h"
#include "framework/LThread.h"
#include "framework/TRegistrar.h"
#include "framework/URegistrar.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hubdialogs/CFileNameAddDialog.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "preview/CExifDialog.h"
#include "preview/CPrevPrevView.h"
#include "preview/CPrevPrevWindow.h"
#include "preview/CPreviewDialog.h"
#include "preview/CPreviewView.h"
#include "scanner/CTWAIN.h"
#include "scanner/ScanTestSupport.h"
#include "support/TestEnv.h"
#include "tests/output/DialogTestEnv.h"
#include "tests/dialogs/file/sane/HandOnRun.h"
#include "tests/platform/twain/sane/SaneTestConfig.h"
#include "toolbox/Files.h"
#include "toolbox/Gestalt.h"
#include "toolbox/TextUtils.h"
#include "windows/MacWindows.h"

namespace {

::testing::Environment* const gSaneEnvironment =
    ::testing::AddGlobalTestEnvironment(new wxsane::SaneTestEnvironment(WX_TWAIN_SOURCE_DIR));

namespace fs = std::filesystem;
using F = PREF_FILE;

class FileRun : public wxsane::HandOnRun<CFileDialogBox> {
 protected:
  FileRun() : HandOnRun("apps/Viewer", 1800) {}

  void RegisterClasses() override {
    HandOnRun::RegisterClasses();
    RegisterClass_(CScanInfoWindow);
    RegisterClass_(CPreviewDialog);
    RegisterClass_(CPreviewView);
    RegisterClass_(CTextTable);
    RegisterClass_(CExifDialog);
    RegisterClass_(CPrevPrevWindow);
    RegisterClass_(CPrevPrevView);
  }
  void SetPreview(UInt8 preview) {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    for (UInt32 k = 0; k < CFileDialogBox::kRecords; ++k)
      F::kFlag3672.set(PREF_ALL::File(k).in(prefs.PrefAll()), preview);
  }

  // A 20 x 15 mm colour area at 75 dpi from the test device, tab 1 of a seven-button model
  // (or the one record of a four-button model).
  void Configure(UInt32 type, bool withApplication, const fs::path& appendTo = {}) {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes all = prefs.PrefAll();
    RecordBytes setting = PREF_ALL::kSetting.in(all);
    Str255 text;
    PStrFromString("Dremlo Model A", text);
    PREF_SETTING::kModelName.set(setting, text);
    PREF_SETTING::kTWAIN.set(setting, 1);
    PREF_ALL::kLastButton.set(all, 0);
    FSSpec app{};
    if (withApplication) FSpMakeFromPOSIXPath((mRoot / "apps" / "Viewer").string(), &app);
    FSSpec pdf{};
    if (!appendTo.empty()) FSpMakeFromPOSIXPath(appendTo.string(), &pdf);
    for (UInt32 k : {0u, 1u, 2u}) {  // the open copy, the plain layout's record and tab 1
      RecordBytes r = PREF_ALL::File(k).in(all);
      F::kCurrentTab.set(r, 1);
      F::kSetting4.set(r, 3);
      F::kSetting8.set(r, 1);
      F::kPaperSize.set(r, UInt32(Paper_Size_custom));
      F::kCustomSize.set(r, 200, 150, PrefDocSize::kCentimetre);
      F::kSetting16.set(r, type);
      RecordBytes settings = F::kPDF.in(r);
      StPDFDialog::kUnused4.set(settings, type == 1 ? 0 : 1);
      StPDFDialog::kUnused8.set(settings, type == 3 ? 1 : 0);
      StPDFDialog::kAppendTo.set(settings, pdf);
      // No straightening: the test device's small pages are no text.
      StPDFDialog::kOptionCBCR.set(settings, 0);
      StPDFDialog::kOptionCBXT.set(settings, 0);
      F::kFlag20.set(r, 0);
      F::kFlag21.set(r, 0);
      F::kFlag3672.set(r, 0);
      F::kButtonPending.set(r, 0);
      PStrFromString("Scan", text);
      F::kDefaultFileName.set(r, text);
      PStrFromString("Chosen_New", text);
      F::kFileName.set(r, text);
      F::kFolder.set(r, wxscan::FolderSpec(mOut));
      F::kTargetApp.set(r, app);
    }
  }

  // The open File dialog, or null once it has closed.
  static CScanInfoWindow* InfoWindow() {
    for (WindowRef w = GetWindowList(); w; w = GetNextWindow(w))
      if (auto* window = dynamic_cast<CScanInfoWindow*>(LWindow::FetchWindowObject(w))) return window;
    return nullptr;
  }
  CFileDialogBox* Open(ResIDT layout = 5050) {
    auto* dialog = dynamic_cast<CFileDialogBox*>(LWindow::CreateWindow(layout, mApp));
    if (!dialog) throw std::runtime_error("the layout made no File dialog");
    dialog->Show();
    return dialog;
  }
  // Answers the next-page prompts in order, each once it is up; records their layouts.
  void AnswerPrompts(const std::vector<MessageT>& answers) {
    for (MessageT answer : answers) {
      wxframework::QueueDialogAction([this](LWindow* prompt) {
        mPrompts.push_back(prompt->FindPaneByID('BOK1') ? 360 : 350);
        mInfoUp.push_back(InfoWindow() != nullptr);
      });
      wxframework::AnswerNextDialog(answer);
    }
  }
  std::vector<fs::path> Written(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder))
      if (entry.path().extension() == ".PDF") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
  }
  static int Pages(const fs::path& pdf) {
    std::string out;
    if (wxtest::Run("pdfinfo '" + pdf.string() + "'", &out) != 0) return -1;
    const size_t at = out.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(out.c_str() + at + 6);
  }
  static bool Valid(const fs::path& pdf) { return wxtest::Run("qpdf --check '" + pdf.string() + "' >/dev/null 2>&1") == 0; }
  static std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void Keep(const fs::path& file, const std::string& as) {
    fs::copy_file(file, wxtest::OutputDir("dialogs/file") / as, fs::copy_options::overwrite_existing);
  }

  std::vector<PaneIDT> mPrompts;
  std::vector<bool> mInfoUp;
};

TEST_F(FileRun, PDFPerPageGoesToTheApplication) {
  WX_REQUIRE_TOOL("qpdf");
  WX_REQUIRE_TOOL("pdfinfo");
  Configure(1, true);
  CFileDialogBox* dialog = Open();
  dialog->ListenToMessage(msg_OK, nullptr);
  EXPECT_NE(InfoWindow(), nullptr) << "the scan-information window is up while the scan runs";
  EXPECT_FALSE(dialog->IsVisible());
  RunToTheEnd();
  const std::vector<fs::path> written = Written(mOut);
  ASSERT_EQ(written.size(), 1u);
  EXPECT_TRUE(Valid(written[0]));
  EXPECT_EQ(Pages(written[0]), 1);
  Keep(written[0], "per-page.pdf");
  EXPECT_TRUE(mPrompts.empty()) << "one file a page asks for no next page";
  EXPECT_EQ(Lines("apps/Viewer", 1), std::vector<std::string>{written[0].string()});
  EXPECT_EQ(InfoWindow(), nullptr);
  EXPECT_EQ(Dialog(), nullptr) << "a run handed on closes the dialog";
}

TEST_F(FileRun, AMultiPagePDFGrowsOverThreePassesAndGoesOutAsOneFile) {
  WX_REQUIRE_TOOL("qpdf");
  WX_REQUIRE_TOOL("pdfinfo");
  Configure(2, true);
  AnswerPrompts({msg_OK, msg_OK, msg_Cancel});
  Open()->ListenToMessage(msg_OK, nullptr);
  RunToTheEnd();
  EXPECT_FALSE(wxframework::HasDialogActions());
  EXPECT_EQ(mPrompts, (std::vector<PaneIDT>(3, PaneIDT(360)))) << "seven-button models ask with layout 360";
  EXPECT_EQ(mInfoUp, std::vector<bool>(3, true));
  const std::vector<fs::path> written = Written(mOut);
  ASSERT_EQ(written.size(), 1u);
  EXPECT_TRUE(Valid(written[0]));
  EXPECT_EQ(Pages(written[0]), 3);
  Keep(written[0], "multi-page.pdf");
  EXPECT_EQ(Lines("apps/Viewer", 1), std::vector<std::string>{written[0].string()});
  EXPECT_EQ(Dialog(), nullptr);
  CPreferences prefs(PREFS_FILE_NAME, 0);
  EXPECT_EQ(wxscan::RawPagesLeft(PREF_SETTING::kTempFolder.get(PREF_ALL::kSetting.in(prefs.PrefAll()))), 0u)
      << "each pass's raw page goes once its page is in the PDF";
}

TEST_F(FileRun, FourButtonModelsAskForTheNextPageWithLayout350) {
  WX_REQUIRE_TOOL("pdfinfo");
  Configure(2, true);
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    Str255 model;
    PStrFromString("Dremlo Model D", model);
    PREF_SETTING::kModelName.set(PREF_ALL::kSetting.in(prefs.PrefAll()), model);
  }
  // The test device answers as the four-button model.
  const fs::path sane = mRoot / "sane";
  fs::create_directories(sane);
  std::ofstream(sane / "sources.conf") << "test:0=Dremlo Model D\n";
  setenv("WX_SANE_CONFIG", sane.c_str(), 1);
  AnswerPrompts({msg_OK, msg_Cancel});
  Open(5000)->ListenToMessage(msg_OK, nullptr);
  RunToTheEnd();
  EXPECT_FALSE(wxframework::HasDialogActions());
  unsetenv("WX_SANE_CONFIG");
  EXPECT_EQ(mPrompts, (std::vector<PaneIDT>(2, PaneIDT(350))));
  const std::vector<fs::path> written = Written(mOut);
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(Pages(written[0]), 2);
  EXPECT_EQ(Lines("apps/Viewer", 1), std::vector<std::string>{written[0].string()});
}

TEST_F(FileRun, PagesGoIntoANewCopyOfTheChosenPDFAndItsFolderIsShown) {
  WX_REQUIRE_TOOL("qpdf");
  WX_REQUIRE_TOOL("pdfinfo");
  // The PDF to add to is one a first run wrote.
  const fs::path docs = mRoot / "docs";
  fs::create_directories(docs);
  const fs::path chosen = docs / "Chosen.pdf";
  Configure(1, false);
  Open()->ListenToMessage(msg_OK, nullptr);
  RunToTheEnd();
  ASSERT_EQ(Written(mOut).size(), 1u);
  fs::rename(Written(mOut)[0], chosen);
  fs::remove(mRoot / "opener.log");
  delete Dialog();
  ASSERT_EQ(Pages(chosen), 1);
  const std::string original = Bytes(chosen);
  Configure(3, false, chosen);
  wxframework::AnswerNextDialog(msg_OK);  // adding to the chosen PDF
  AnswerPrompts({msg_OK, msg_Cancel});
  CFileDialogBox* dialog = Open();
  dialog->ListenToMessage(msg_OK, nullptr);
  RunToTheEnd();
  EXPECT_FALSE(wxframework::HasDialogActions());
  EXPECT_EQ(Bytes(chosen), original) << "the chosen PDF is not changed";
  const fs::path copy = docs / "Chosen_New.PDF";
  ASSERT_TRUE(fs::exists(copy));
  EXPECT_TRUE(Valid(copy));
  EXPECT_EQ(Pages(copy), 3);
  Keep(copy, "added-to-copy.pdf");
  EXPECT_TRUE(Written(mOut).empty());
  EXPECT_EQ(Lines("opener", 1), std::vector<std::string>{docs.string()}) << "the folder holding the copy";
  EXPECT_EQ(Dialog(), dialog) << "shown in its folder, the dialog stays open";
}

TEST_F(FileRun, ADiskFullInTheSecondPassKeepsTheFirstPassesPagesAndHandsThemOn) {
  WX_REQUIRE_TOOL("qpdf");
  WX_REQUIRE_TOOL("pdfinfo");
  Configure(2, true);
  const fs::path temp = [] {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    return wxscan::PathOf(PREF_SETTING::kTempFolder.get(PREF_ALL::kSetting.in(prefs.PrefAll())));
  }();
  size_t tempFilesAtAlert = 0;
  std::vector<std::string> alerts;
  wxframework::AnswerNextDialog(msg_OK);  // another page: pass 1 is written
  // Another page again; the disk fills before pass 2 is written.
  wxframework::QueueDialogAction([](LWindow*) { FSTestSetWriteLimit(2000); });
  wxframework::AnswerNextDialog(msg_OK);
  wxframework::QueueDialogAction([&](LWindow* alert) {
    alerts.push_back(wxframework::PaneText(alert, 'TXMS'));
    tempFilesAtAlert = wxscan::FilesIn(temp);
  });
  wxframework::AnswerNextDialog(msg_OK);
  Open()->ListenToMessage(msg_OK, nullptr);
  RunToTheEnd();
  FSTestSetWriteLimit(-1);
  EXPECT_FALSE(wxframework::HasDialogActions()) << "no third page is asked for";
  wxframework::ClearDialogActions();
  EXPECT_EQ(alerts, std::vector<std::string>{wxtest::ResourceText(400, 3)});
  EXPECT_GE(tempFilesAtAlert, 1u) << "pass 2's pages are still in the temporary folder";
  const std::vector<fs::path> written = Written(mOut);
  ASSERT_EQ(written.size(), 1u);
  EXPECT_TRUE(Valid(written[0]));
  EXPECT_EQ(Pages(written[0]), 1) << "pass 1's page is kept";
  EXPECT_EQ(Lines("apps/Viewer", 1), std::vector<std::string>{written[0].string()});
}

TEST_F(FileRun, PagesSentFromThePreviewAreWrittenAndHandedOn) {
  WX_REQUIRE_TOOL("qpdf");
  Configure(1, true);
  SetPreview(1);
  wxframework::AnswerNextDialog(CPreviewDialog::msg_Send);
  Open()->ListenToMessage(msg_OK, nullptr);
  RunToTheEnd();
  EXPECT_FALSE(wxframework::HasDialogActions()) << "the preview was shown";
  const std::vector<fs::path> written = Written(mOut);
  ASSERT_EQ(written.size(), 1u);
  EXPECT_TRUE(Valid(written[0]));
  EXPECT_EQ(Lines("apps/Viewer", 1), std::vector<std::string>{written[0].string()});
  EXPECT_EQ(Dialog(), nullptr);
}

TEST_F(FileRun, PagesKeptForMoreScanningStayUntilTheUserDropsThem) {
  Configure(1, true);
  SetPreview(1);
  CFileDialogBox* dialog = Open();
  dialog->Hide();
  dialog->SetStartFlag(1);
  wxframework::AnswerNextDialog(CPreviewDialog::msg_Return);
  dialog->ListenToMessage(msg_OK, nullptr);
  RunToTheEnd();
  ASSERT_EQ(Dialog(), dialog) << "a button run back to scanning neither quits nor closes";
  EXPECT_TRUE(dialog->IsVisible());
  ASSERT_GT(dialog->PendingPages().GetCount(), 0);
  EXPECT_TRUE(Written(mOut).empty());
  // Closing asks to reopen the preview (no), then whether to drop the pages (yes).
  wxframework::AnswerNextDialog(msg_Cancel);
  wxframework::AnswerNextDialog(msg_OK);
  dialog->ListenToMessage(msg_Cancel, nullptr);
  EXPECT_FALSE(wxframework::HasDialogActions());
  EXPECT_EQ(Dialog(), nullptr);
}

TEST_F(FileRun, AnApplicationRemovedAfterTheStartKeepsTheFilesAndTheDialog) {
  Configure(1, true);
  CFileDialogBox* dialog = Open();
  dialog->ListenToMessage(msg_OK, nullptr);
  fs::remove(mRoot / "apps" / "Viewer");
  RunToTheEnd();
  EXPECT_EQ(Written(mOut).size(), 1u);
  ASSERT_EQ(Dialog(), dialog);
  EXPECT_TRUE(dialog->IsVisible());
  EXPECT_TRUE(dialog->IsEnabled());
  EXPECT_EQ(InfoWindow(), nullptr);
}

TEST_F(FileRun, OldSystemsCoverTheScanOrLaunchTheApplicationFirst) {
  Configure(1, true);
  GestaltSetValue(gestaltSystemVersion, 0x1020);
  CFileDialogBox* dialog = Open();
  dialog->ListenToMessage(msg_OK, nullptr);
  EXPECT_FALSE(dialog->IsVisible()) << "hidden while the scan runs";
  EXPECT_EQ(InfoWindow(), nullptr) << "no scan-information window on these systems";
  RunToTheEnd();
  EXPECT_EQ(Dialog(), nullptr);

  fs::remove_all(mOut);
  fs::create_directories(mOut);
  Configure(1, true);
  GestaltSetValue(gestaltSystemVersion, 0x1015);
  Open()->ListenToMessage(msg_OK, nullptr);
  // The application is known as a process before the scan has ended.
  bool launched = false;
  ProcessSerialNumber psn{0, kNoProcess};
  while (GetNextProcess(&psn) == noErr) {
    FSSpec app{};
    ProcessInfoRec info{};
    info.processInfoLength = kProcessInfoRecLength;
    info.processAppSpec = &app;
    if (GetProcessInformation(&psn, &info) == noErr && PStrToString(app.name) == "Viewer") launched = true;
  }
  EXPECT_TRUE(launched);
  RunToTheEnd();
}

TEST_F(FileRun, AStitchSizeGoesToTheWizardWhichGivesTheRunBack) {
  for (UInt8 button : {0, 1}) {
    SCOPED_TRACE(int(button));
    Configure(1, true);
    {
      CPreferences prefs(PREFS_FILE_NAME, 0);
      for (UInt32 k : {0u, 2u}) F::kPaperSize.set(PREF_ALL::File(k).in(prefs.PrefAll()), UInt32(Paper_Size_A3_Stitch));
    }
    CFileDialogBox* dialog = Open();
    ASSERT_TRUE(dialog->IsStitch());
    dialog->SetStartFlag(button);
    dialog->ListenToMessage(msg_OK, nullptr);
    EXPECT_EQ(CWXUtility::sIsQuellaneOpened, 0) << "the wizard scans, not the dialog";
    EXPECT_TRUE(Written(mOut).empty());
    if (button == 0) {
      ASSERT_EQ(Dialog(), dialog);
      EXPECT_TRUE(dialog->IsVisible()) << "shown again once the wizard closed";
      delete dialog;
    } else {
      EXPECT_EQ(Dialog(), nullptr) << "a button run ends with the wizard";
    }
  }
}

TEST_F(FileRun, AButtonRunClosesOrQuitsByTheQuitSetting) {
  for (UInt8 quit : {0, 1}) {
    SCOPED_TRACE(int(quit));
    Configure(1, true);
    {
      CPreferences prefs(PREFS_FILE_NAME, 0);
      PREF_SETTING::kQuitOption.set(PREF_ALL::kSetting.in(prefs.PrefAll()), quit);
    }
    CFileDialogBox* dialog = Open();
    dialog->Hide();
    dialog->SetStartFlag(1);
    dialog->ListenToMessage(msg_OK, nullptr);
    RunToTheEnd();
    EXPECT_EQ(mApp->GetState() == programState_Quitting, quit == 1);
    if (quit == 0) {
      EXPECT_EQ(Dialog(), nullptr);
    }
  }
}

}  // namespace
