// Mail runs from the dialog's start button to the mail application: the SANE test device
// scans, the export pipeline writes JPEG files within the size limit or PDF files, outside
// tools check them, and a recording program standing for the mail application (and one for
// the folder opener) shows what it was handed.
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
#include "dialogs/file/CMailDialogBox.h"
#include "framework/FrameworkDriver.h"
#include "framework/LThread.h"
#include "framework/TRegistrar.h"
#include "framework/URegistrar.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hubdialogs/CFileNameAddDialog.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "scanner/CTWAIN.h"
#include "scanner/ScanTestSupport.h"
#include "support/TestEnv.h"
#include "tests/dialogs/file/sane/HandOnRun.h"
#include "tests/platform/twain/sane/SaneTestConfig.h"
#include "toolbox/Gestalt.h"
#include "toolbox/TextUtils.h"
#include "windows/MacWindows.h"

namespace {

::testing::Environment* const gSaneEnvironment =
    ::testing::AddGlobalTestEnvironment(new wxsane::SaneTestEnvironment(WX_TWAIN_SOURCE_DIR));

namespace fs = std::filesystem;
using R = PREF_MAIL;

std::string Quote(const fs::path& path) { return "'" + path.string() + "'"; }

int PDFPages(const fs::path& pdf) {
  std::string info;
  if (wxtest::Run("pdfinfo " + Quote(pdf) + " 2>/dev/null", &info) != 0) return -1;
  const size_t at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

class MailRun : public wxsane::HandOnRun<CMailDialogBox> {
 protected:
  MailRun() : HandOnRun("apps/Post", 1200) {}

  // Colour pages of `size` (a paper item) from the test device, written as `type` into mOut
  // within size-limit item `limit`, at the highest resolution the dialog offers.
  void Configure(UInt32 type, UInt32 size = 0, UInt32 limit = 4) {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes all = prefs.PrefAll();
    RecordBytes setting = PREF_ALL::kSetting.in(all);
    Str255 text;
    PStrFromString("Dremlo Model A", text);
    PREF_SETTING::kModelName.set(setting, text);
    PREF_SETTING::kTWAIN.set(setting, 1);
    RecordBytes mail = PREF_ALL::kMail.in(all);
    R::kSetting0.set(mail, 3);
    R::kSetting4.set(mail, size == 0 ? 1 : 9);
    R::kPaperSize.set(mail, size == 0 ? UInt32(IS_J ? 13 : 8) : size);
    R::kCustomSize.set(mail, 200, 150, PrefDocSize::kCentimetre);
    R::kSetting12.set(mail, limit);
    R::kSetting16.set(mail, type);
    R::kCheckUION.set(mail, 0);
    R::kCheckDYIN.set(mail, 0);
    R::kCheckAIRE.set(mail, 0);
    PStrFromString("Trip", text);
    R::kDefaultFileName.set(mail, text);
    R::kFolder.set(mail, wxscan::FolderSpec(mOut));
    FSSpec app{};
    FSpMakeFromPOSIXPath((mRoot / "apps" / "Post").string(), &app);
    R::kMailApp.set(mail, app);
    RecordBytes pdf = R::kPDF.in(mail);
    // No text recognition: its language data is not part of these tests.
    StPDFDialog::kLanguageOption.set(pdf, 0);
    StPDFDialog::kOptionCBCR.set(pdf, 0);
    StPDFDialog::kOptionCBXT.set(pdf, 0);
    // As the file-type popup leaves them.
    StPDFDialog::kUnused4.set(pdf, type >= 3 ? 1 : 0);
    StPDFDialog::kUnused8.set(pdf, type == 4 ? 1 : 0);
  }

  CMailDialogBox* Open() {
    auto* dialog = dynamic_cast<CMailDialogBox*>(LWindow::CreateWindow(2000, mApp));
    if (!dialog) throw std::runtime_error("layout 2000 made no Mail dialog");
    dialog->Show();
    return dialog;
  }
  void Clear() {
    fs::remove_all(mOut);
    fs::create_directories(mOut);
    fs::remove(mRoot / "apps" / "Post.log");
    fs::remove(mRoot / "opener.log");
  }
};

TEST_F(MailRun, EveryJPEGFileIsWithinTheChosenLimitCheckedAndHandedToTheMailApplication) {
  WX_REQUIRE_TOOL("djpeg");
  const long limits[] = {153600, 307200, 614400, 921600};
  for (UInt32 item = 1; item <= 4; ++item) {
    SCOPED_TRACE(item);
    Clear();
    Configure(1, UInt32(Paper_Size_A4), item);
    CMailDialogBox* dialog = Open();
    const long dpi = dialog->Resolution_Value();
    dialog->ListenToMessage(msg_OK, nullptr);
    RunToTheEnd();
    const std::vector<fs::path> written = Written();
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].filename().string(), "Trip.JPG");
    EXPECT_LE(long(fs::file_size(written[0])), limits[item - 1]) << "at " << dpi << " dpi";
    EXPECT_EQ(wxtest::Run("djpeg -fast -outfile /dev/null " + Quote(written[0]) + " >/dev/null 2>&1"), 0);
    if (wxtest::HaveTool("exiftool")) {
      std::string out;
      wxtest::Run("exiftool -validate -warning -a " + Quote(written[0]), &out);
      EXPECT_EQ(out.find("Error"), std::string::npos) << out;
    }
    fs::copy_file(written[0], wxtest::OutputDir("dialogs/mail") / ("limit-" + std::to_string(item) + ".jpg"),
                  fs::copy_options::overwrite_existing);
    EXPECT_EQ(Lines("apps/Post", 1), std::vector<std::string>{written[0].string()});
    EXPECT_EQ(Dialog(), nullptr) << "a run handed on closes the dialog";
  }
}

struct PDFRow {
  UInt32 type;
  std::vector<MessageT> nextPage;  // answers to the next-page prompt
  size_t files;
  int pages;  // of each file
};

TEST_F(MailRun, EachPDFTypeWritesCheckedFilesAndHandsThemOn) {
  WX_REQUIRE_TOOL("qpdf");
  WX_REQUIRE_TOOL("pdfinfo");
  const PDFRow rows[] = {
      {2, {}, 1, 1},
      {3, {msg_OK, msg_OK, msg_Cancel}, 1, 3},
  };
  for (const PDFRow& row : rows) {
    SCOPED_TRACE(row.type);
    Clear();
    Configure(row.type);
    for (MessageT answer : row.nextPage) wxframework::AnswerNextDialog(answer);
    Open()->ListenToMessage(msg_OK, nullptr);
    RunToTheEnd();
    EXPECT_FALSE(wxframework::HasDialogActions());
    const std::vector<fs::path> written = Written();
    ASSERT_EQ(written.size(), row.files);
    EXPECT_EQ(written[0].filename().string(), "Trip.PDF");
    for (const fs::path& file : written) {
      EXPECT_EQ(wxtest::Run("qpdf --check " + Quote(file) + " >/dev/null 2>&1"), 0);
      EXPECT_EQ(PDFPages(file), row.pages);
    }
    fs::copy_file(written[0], wxtest::OutputDir("dialogs/mail") / ("type-" + std::to_string(row.type) + ".pdf"),
                  fs::copy_options::overwrite_existing);
    EXPECT_EQ(Lines("apps/Post", 1), std::vector<std::string>{written[0].string()});
    EXPECT_EQ(Dialog(), nullptr);
  }
}

TEST_F(MailRun, PagesAddedToAChosenPDFGoIntoANewCopyAndTheChosenOneStaysAsItWas) {
  WX_REQUIRE_TOOL("qpdf");
  WX_REQUIRE_TOOL("pdfinfo");
  Configure(2);
  Open()->ListenToMessage(msg_OK, nullptr);
  RunToTheEnd();
  fs::create_directories(mRoot / "docs");
  const fs::path chosen = mRoot / "docs" / "Report.pdf";
  fs::rename(mOut / "Trip.PDF", chosen);
  const std::vector<uint8_t> before = wxtest::ReadBytes(chosen);
  Clear();

  Configure(4);
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes mail = PREF_ALL::kMail.in(prefs.PrefAll());
    StPDFDialog::kAppendTo.set(R::kPDF.in(mail), wxscan::FolderSpec(chosen));
    Str255 name;
    PStrFromString("Report_New", name);
    R::kFileName.set(mail, name);
  }
  wxframework::AnswerNextDialog(msg_OK);      // add to this PDF?
  wxframework::AnswerNextDialog(msg_OK);      // a second page
  wxframework::AnswerNextDialog(msg_Cancel);  // no more
  Open()->ListenToMessage(msg_OK, nullptr);
  RunToTheEnd();
  EXPECT_FALSE(wxframework::HasDialogActions());
  EXPECT_EQ(wxtest::ReadBytes(chosen), before);
  const fs::path copy = mRoot / "docs" / "Report_New.PDF";
  ASSERT_TRUE(fs::exists(copy));
  EXPECT_EQ(wxtest::Run("qpdf --check " + Quote(copy) + " >/dev/null 2>&1"), 0);
  EXPECT_EQ(PDFPages(copy), 3);
  EXPECT_EQ(Lines("apps/Post", 1), std::vector<std::string>{copy.string()});
  EXPECT_TRUE(Written().empty()) << "nothing goes to the folder";
  fs::copy_file(copy, wxtest::OutputDir("dialogs/mail") / "added.pdf", fs::copy_options::overwrite_existing);
}

TEST_F(MailRun, ALostApplicationLeavesTheFilesToTheFolderOpenerAndTheDialogOpen) {
  Configure(2);
  fs::remove(mRoot / "apps" / "Post");
  CMailDialogBox* dialog = Open();
  dialog->ListenToMessage(msg_OK, nullptr);
  RunToTheEnd();
  const std::vector<fs::path> written = Written();
  ASSERT_EQ(written.size(), 1u);
  const std::vector<std::string> opened = Lines("opener", 1);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_NE(opened[0].find(mOut.string()), std::string::npos) << opened[0];
  EXPECT_EQ(Dialog(), dialog);
}

TEST_F(MailRun, AnApplicationRemovedAfterTheStartKeepsTheFilesAndTheDialog) {
  Configure(1);
  ExpectTheRunOutlivesItsApplication(Open());
}

TEST_F(MailRun, AScanThatDoesNotStartGivesTheDialogBack) {
  Configure(1);
  SetModel("No Such Model");
  CMailDialogBox* dialog = Open();
  ExpectTheStartRefusedWithTheDialogBack(dialog);
  EXPECT_TRUE(Written().empty());
}

TEST_F(MailRun, AButtonRunClosesOrQuitsByTheQuitSetting) {
  for (UInt8 quit : {0, 1}) {
    SCOPED_TRACE(int(quit));
    Clear();
    Configure(1);
    {
      CPreferences prefs(PREFS_FILE_NAME, 0);
      PREF_SETTING::kQuitOption.set(PREF_ALL::kSetting.in(prefs.PrefAll()), quit);
    }
    CMailDialogBox* dialog = Open();
    dialog->SetStartFlag(1);
    dialog->ListenToMessage(msg_OK, nullptr);
    RunToTheEnd();
    EXPECT_EQ(mApp->GetState() == programState_Quitting, quit == 1);
    if (quit == 0) {
      EXPECT_EQ(Dialog(), nullptr);
    }
  }
}

TEST_F(MailRun, OldSystemsHideTheDialogDuringTheScanOrLaunchTheApplicationFirst) {
  Configure(1);
  GestaltSetValue(gestaltSystemVersion, 0x1020);
  CMailDialogBox* dialog = Open();
  dialog->ListenToMessage(msg_OK, nullptr);
  EXPECT_FALSE(dialog->IsVisible()) << "hidden while the scan runs";
  RunToTheEnd();
  EXPECT_EQ(Dialog(), nullptr);

  Clear();
  Configure(1);
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
    if (GetProcessInformation(&psn, &info) == noErr && PStrToString(app.name) == "Post") launched = true;
  }
  EXPECT_TRUE(launched);
  RunToTheEnd();
}

}  // namespace
