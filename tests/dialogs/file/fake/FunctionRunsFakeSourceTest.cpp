// Every function dialog as a scanner button starts it from the main window, against the
// scriptable fake source: the frame a custom size asks the source for and the page written
// from it, a stitch size whose wizard closes before it returns, and one with no model stored.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FakeScript.h"
#include "StandInWizard.h"
#include "app/CAppearanceApp.h"
#include "app/CMainWindow.h"
#include "dialogs/file/CFileDialogBox.h"
#include "dialogs/file/CMailDialogBox.h"
#include "dialogs/file/COcrDialogBox.h"
#include "dialogs/file/CSaveDialogBox.h"
#include "dialogs/file/CScan1DialogBox.h"
#include "dialogs/file/CScan2DialogBox.h"
#include "dialogs/file/CScanInfoWindow.h"
#include "dialogs/print/CCopyDialogBox.h"
#include "dialogs/print/CPrintDialogBox.h"
#include "dialogs/print/layout/CPictureView.h"
#include "dialogs/print/layout/CPrintLayoutDialog.h"
#include "dialogs/print/layout/CThumbnailView.h"
#include "output/hubdialogs/CFileNameAddDialog.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "preview/CExifDialog.h"
#include "preview/CPrevPrevView.h"
#include "preview/CPrevPrevWindow.h"
#include "preview/CPreviewDialog.h"
#include "preview/CPreviewView.h"
#include "framework/FrameworkDriver.h"
#include "framework/LDialogBox.h"
#include "framework/LThread.h"
#include "printing/pmPrinters.h"
#include "support/PrinterEnvironment.h"
#include "tests/dialogs/file/sane/FromMainWindow.h"
#include "tests/output/DialogTestEnv.h"

namespace {

namespace fs = std::filesystem;

// 200 mm wide, 100 mm high, in the records' tenths of a millimetre.
constexpr UInt16 kWide = 2000, kHigh = 1000;

using Configure = std::function<void(RecordBytes all, const FSSpec& app, const FSSpec& folder, UInt32 paper)>;

struct Function {
  const char* name;
  MessageT message;  // the main window's
  bool writes;       // a page file lands in the folder (Copy and Print print instead)
  bool stitches;
  Configure configure;
};

const std::vector<Function>& Functions() {
  static const std::vector<Function> functions = {
      {"Copy", 'COPY', false, true,
       [](RecordBytes all, const FSSpec&, const FSSpec&, UInt32 paper) {
         RecordBytes r = PREF_ALL::kCopy.in(all);
         PREF_COPY::kSource.set(r, 1);
         PREF_COPY::kImageMode.set(r, 2);
         PREF_COPY::kResolution.set(r, 1);
         PREF_COPY::kPaperSize.set(r, paper);
         PREF_COPY::kCustomSize.set(r, kWide, kHigh, PrefDocSize::kCentimetre);
         PREF_COPY::kScale.set(r, UInt32(Copy_Popup_100Percent));
         PREF_COPY::kCheckUION.set(r, 0);
       }},
      {"Print", 'PRNT', false, true,
       [](RecordBytes all, const FSSpec&, const FSSpec&, UInt32 paper) {
         RecordBytes r = PREF_ALL::kPrint.in(all);
         PREF_PRINT::kSource.set(r, 1);
         PREF_PRINT::kImageMode.set(r, 3);
         PREF_PRINT::kResolution.set(r, 1);
         PREF_PRINT::kPaperSize.set(r, paper);
         PREF_PRINT::kCustomSize.set(r, kWide, kHigh, PrefDocSize::kCentimetre);
         PREF_PRINT::kCheckUION.set(r, 0);
       }},
      {"File", 'FILE', true, true,
       [](RecordBytes all, const FSSpec& app, const FSSpec& folder, UInt32 paper) {
         PREF_ALL::kLastButton.set(all, 5);
         for (UInt32 k = 0; k < CFileDialogBox::kRecords; ++k) {
           RecordBytes r = PREF_ALL::File(k).in(all);
           PREF_FILE::kSetting4.set(r, 3);
           PREF_FILE::kSetting8.set(r, 1);
           PREF_FILE::kPaperSize.set(r, paper);
           PREF_FILE::kCustomSize.set(r, kWide, kHigh, PrefDocSize::kCentimetre);
           PREF_FILE::kSetting16.set(r, 1);
           StPDFDialog::kUnused4.set(PREF_FILE::kPDF.in(r), 0);
           StPDFDialog::kOptionCBCR.set(PREF_FILE::kPDF.in(r), 0);
           StPDFDialog::kOptionCBXT.set(PREF_FILE::kPDF.in(r), 0);
           PREF_FILE::kFlag21.set(r, 0);
           PREF_FILE::kFlag3672.set(r, 0);
           PREF_FILE::kFlag3673.set(r, 0);
           PREF_FILE::kButtonPending.set(r, 0);
           PREF_FILE::kFolder.set(r, folder);
           PREF_FILE::kTargetApp.set(r, app);
         }
       }},
      {"Mail", 'MAIL', true, false,
       [](RecordBytes all, const FSSpec& app, const FSSpec& folder, UInt32) {
         RecordBytes r = PREF_ALL::kMail.in(all);
         PREF_MAIL::kSetting0.set(r, 2);
         PREF_MAIL::kSetting4.set(r, 1);
         PREF_MAIL::kPaperSize.set(r, UInt32(IS_J ? 13 : 8));  // the custom item
         PREF_MAIL::kCustomSize.set(r, kWide, kHigh, PrefDocSize::kCentimetre);
         PREF_MAIL::kSetting12.set(r, 1);
         PREF_MAIL::kSetting16.set(r, 1);
         PREF_MAIL::kCheckUION.set(r, 0);
         PREF_MAIL::kCheckDYIN.set(r, 0);
         PREF_MAIL::kCheckAIRE.set(r, 0);
         PREF_MAIL::kFolder.set(r, folder);
         PREF_MAIL::kMailApp.set(r, app);
       }},
      {"OCR", 'OCR ', true, false,
       [](RecordBytes all, const FSSpec& app, const FSSpec& folder, UInt32) {
         RecordBytes r = PREF_ALL::kOCR.in(all);
         PREF_OCR::kColourMode.set(r, 2);
         PREF_OCR::kSetting4.set(r, 1);
         PREF_OCR::kPaperSize.set(r, UInt32(IS_J ? 13 : 8));  // the custom item
         PREF_OCR::kCustomSize.set(r, kWide, kHigh, PrefDocSize::kCentimetre);
         PREF_OCR::kColourSetting.set(r, 2);
         PREF_OCR::kCheckDYIN.set(r, 0);
         PREF_OCR::kFolder.set(r, folder);
         PREF_OCR::kOCRApp.set(r, app);
       }},
      {"Save", 'SAVE', true, true,
       [](RecordBytes all, const FSSpec&, const FSSpec& folder, UInt32 paper) {
         RecordBytes r = PREF_ALL::kSave.in(all);
         PREF_SAVE::kSource.set(r, 1);
         PREF_SAVE::kImageMode.set(r, 3);
         PREF_SAVE::kResolution.set(r, 1);
         PREF_SAVE::kPaperSize.set(r, paper);
         PREF_SAVE::kCustomSize.set(r, kWide, kHigh, PrefDocSize::kCentimetre);
         PREF_SAVE::kFileType.set(r, 2);  // JPEG
         PREF_SAVE::kCheckFORE.set(r, 0);
         PREF_SAVE::kCheckUION.set(r, 0);
         PREF_SAVE::kCheckDYIN.set(r, 0);
         PREF_SAVE::kCheckEZFN.set(r, 0);
         PREF_SAVE::kFolder.set(r, folder);
       }},
      {"Scan-1", 'SCN1', true, true,
       [](RecordBytes all, const FSSpec& app, const FSSpec& folder, UInt32 paper) {
         RecordBytes r = PREF_ALL::kScan1.in(all);
         PREF_SCANX::kSource.set(r, 1);
         PREF_SCANX::kImageMode.set(r, 3);
         PREF_SCANX::kResolution.set(r, 1);
         PREF_SCANX::kPaperSize.set(r, paper);
         PREF_SCANX::kCustomSize.set(r, kWide, kHigh, PrefDocSize::kCentimetre);
         PREF_SCANX::kFileType.set(r, 2);  // JPEG
         PREF_SCANX::kCheckFIRE.set(r, 0);
         PREF_SCANX::kCheckUION.set(r, 0);
         PREF_SCANX::kCheckDYIN.set(r, 0);
         PREF_SCANX::kCheckEZFN.set(r, 0);
         PREF_SCANX::kFolder.set(r, folder);
         PREF_SCANX::kTargetApp.set(r, app);
       }},
      {"Scan-2", 'SCN2', true, true,
       [](RecordBytes all, const FSSpec& app, const FSSpec& folder, UInt32 paper) {
         RecordBytes r = PREF_ALL::kScan2.in(all);
         PREF_SCANX::kSource.set(r, 1);
         PREF_SCANX::kImageMode.set(r, 3);
         PREF_SCANX::kResolution.set(r, 1);
         PREF_SCANX::kPaperSize.set(r, paper);
         PREF_SCANX::kCustomSize.set(r, kWide, kHigh, PrefDocSize::kCentimetre);
         PREF_SCANX::kFileType.set(r, 2);  // JPEG
         PREF_SCANX::kCheckFIRE.set(r, 0);
         PREF_SCANX::kCheckUION.set(r, 0);
         PREF_SCANX::kCheckDYIN.set(r, 0);
         PREF_SCANX::kCheckEZFN.set(r, 0);
         PREF_SCANX::kFolder.set(r, folder);
         PREF_SCANX::kTargetApp.set(r, app);
       }},
  };
  return functions;
}

struct Size {
  long width = -1, height = -1;
};

// The last frame the source was asked for, from its message log.
Size LastFrame(const std::string& log) {
  Size size;
  for (size_t at = log.find(" frame="); at != std::string::npos; at = log.find(" frame=", at + 1)) {
    long left = 0, top = 0, right = 0, bottom = 0;
    if (std::sscanf(log.c_str() + at, " frame=%ld,%ld,%ld,%ld", &left, &top, &right, &bottom) == 4)
      size = {right - left, bottom - top};
  }
  return size;
}

// The last horizontal resolution set (ICAP_XRESOLUTION), in dots per inch.
long LastResolution(const std::string& log) {
  long dpi = 0;
  for (size_t at = log.find("cap=1118 "); at != std::string::npos; at = log.find("cap=1118 ", at + 1)) {
    const size_t value = log.find("value=", at);
    if (value != std::string::npos && value < log.find('\n', at)) dpi = std::atol(log.c_str() + value + 6);
  }
  return dpi;
}

// The pixel size of a written page: the image of a PDF, the picture of anything else.
Size PixelSize(const fs::path& file) {
  std::string out;
  Size size;
  if (file.extension() == ".pdf" || file.extension() == ".PDF") {
    if (wxtest::Run("pdfimages -list '" + file.string() + "' | sed -n 3p", &out) != 0) return size;
    int page = 0, number = 0;
    char kind[32] = {};
    std::sscanf(out.c_str(), "%d %d %31s %ld %ld", &page, &number, kind, &size.width, &size.height);
    return size;
  }
  if (wxtest::Run("identify -format '%w %h' '" + file.string() + "[0]'", &out) != 0) return size;
  std::sscanf(out.c_str(), "%ld %ld", &size.width, &size.height);
  return size;
}

long Pixels(long tenthsOfMillimetre, long dpi) { return std::lround(tenthsOfMillimetre / 254.0 * double(dpi)); }

class FunctionRunsFakeSource : public wxsane::FromMainWindow<LDialogBox> {
 protected:
  FunctionRunsFakeSource() : FromMainWindow("Target") {}
  static void SetUpTestSuite() { wxfake::UseFakeSource(); }
  void SetUp() override {
    setenv("WX_OPENER", "/bin/true", 1);  // Save shows its folder
    FromMainWindow::SetUp();
    fs::create_directories(mPrints);
    mPrinter = std::make_unique<wxtest::PrinterEnvironment>(mPrints.string(), (mRoot / "no-cups.sock").string());
    pmSetFolderPrinterResolution(300);
    wxframework::SetUnansweredAlertProc([this](const std::string& alert) { mAlerts.push_back(alert); });
  }
  void TearDown() override {
    wxstandin::gWizardClosesAtOnce = false;
    wxstandin::gStitchCalls.clear();
    FromMainWindow::TearDown();
    wxframework::SetUnansweredAlertProc(nullptr);
    mPrinter.reset();
    unsetenv("WX_OPENER");
  }

  // The program with `function` set up as `paper` asks and `model` stored, then the function's
  // scanner button.
  void Push(const Function& function, UInt32 paper, const char* model = "Dremlo Model A") {
    const FSSpec folder = wxscan::FolderSpec(mOut);
    // The program's dialogs; the stitch wizard is the stand-in.
    static const AppClassList classes = {
        AppClassEntry<CSaveDialogBox>(),    AppClassEntry<CFileNameAddPopup>(), AppClassEntry<CPreviewDialog>(),
        AppClassEntry<CPreviewView>(),      AppClassEntry<CExifDialog>(),       AppClassEntry<CPrevPrevWindow>(),
        AppClassEntry<CPrevPrevView>(),     AppClassEntry<CPrintDialogBox>(),   AppClassEntry<CPrintLayoutDialog>(),
        AppClassEntry<CThumbnailView>(),    AppClassEntry<CPictureView>(),      AppClassEntry<CScan1DialogBox>(),
        AppClassEntry<CScan2DialogBox>(),   AppClassEntry<COcrDialogBox>(),     AppClassEntry<CFileDialogBox>(),
        AppClassEntry<CMailDialogBox>(),    AppClassEntry<CCopyDialogBox>(),    AppClassEntry<CScanInfoWindow>(),
        AppClassEntry<CFileNameAddDialog>(),
    };
    Start(
        model, [&](RecordBytes all, const FSSpec& app) { function.configure(all, app, folder, paper); }, classes);
    if (HasFatalFailure()) return;
    SInt32 pushed = 1;
    CAppearanceApp::sMainWindow->ListenToMessage(function.message, &pushed);
  }
  void RunToTheEnd() {
    for (int i = 0; i < 600 && CWXUtility::sIsQuellaneOpened == 1; ++i) {
      mApp->ProcessNextEvent();
      LThread::Yield();
    }
    ASSERT_EQ(CWXUtility::sIsQuellaneOpened, 0) << "the scan never ended";
    for (int i = 0; i < 50; ++i) mApp->ProcessNextEvent();
  }
  // Ends the program of one row and empties its folders.
  void EndRow() {
    wxframework::ClearDialogActions();
    CTWAIN::SetApplicationHost(nullptr);
    delete mApp;
    mApp = nullptr;
    CWXUtility::sIsQuellaneOpened = 0;
    URegistrar::UnregisterAll();
    mAlerts.clear();
    fs::remove_all(mOut);
    fs::create_directories(mOut);
  }

  wxtest::ScratchDir mScript;
  fs::path mPrints = mRoot / "Prints";
  std::unique_ptr<wxtest::PrinterEnvironment> mPrinter;
  std::vector<std::string> mAlerts;
};

TEST_F(FunctionRunsFakeSource, AWideCustomSizeIsScannedAndWrittenWide) {
  for (const Function& function : Functions()) {
    SCOPED_TRACE(function.name);
    // Copy and Print would print the page: their source cancels it once the frame is set.
    const fs::path log = wxfake::WriteFakeScript(
        mScript.path(), std::string("name=Dremlo Model A\nframe_page=1\n") + (function.writes ? "" : "cancel_page=1\n"));
    Push(function, UInt32(Paper_Size_custom));
    ASSERT_FALSE(HasFatalFailure());
    RunToTheEnd();
    const std::string messages = wxfake::ReadLog(log);
    const long dpi = LastResolution(messages);
    ASSERT_GT(dpi, 0) << messages;
    const Size frame = LastFrame(messages);
    EXPECT_NEAR(frame.width, Pixels(kWide, dpi), 1) << "at " << dpi << " dpi";
    EXPECT_NEAR(frame.height, Pixels(kHigh, dpi), 1) << "at " << dpi << " dpi";
    if (function.writes) {
      std::vector<fs::path> pages;
      for (const auto& e : fs::recursive_directory_iterator(mOut))
        if (e.is_regular_file()) pages.push_back(e.path());
      ASSERT_FALSE(pages.empty()) << "a page is written";
      for (const fs::path& page : pages) {
        const Size written = PixelSize(page);
        EXPECT_EQ(frame.width, written.width) << page;
        EXPECT_EQ(frame.height, written.height) << page;
      }
    }
    EXPECT_TRUE(mAlerts.empty()) << mAlerts.front();
    EndRow();
  }
}

TEST_F(FunctionRunsFakeSource, AStitchWizardThatClosesAtOnceEndsAScannerButtonRun) {
  wxstandin::gWizardClosesAtOnce = true;
  for (const Function& function : Functions()) {
    if (!function.stitches) continue;
    SCOPED_TRACE(function.name);
    wxstandin::gStitchCalls.clear();
    wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A");
    Push(function, UInt32(Paper_Size_A3_Stitch));
    ASSERT_FALSE(HasFatalFailure());
    for (int i = 0; i < 50; ++i) mApp->ProcessNextEvent();
    EXPECT_EQ(1u, wxstandin::gStitchCalls.size());
    EXPECT_EQ(nullptr, Dialog()) << "a button run ends by closing";
    EXPECT_EQ(0, CAppearanceApp::sApplication->mFunctionDialogOpen);
    EXPECT_NE(programState_Quitting, mApp->GetState());
    EXPECT_TRUE(mAlerts.empty()) << mAlerts.front();
    EndRow();
  }
}

// With no model stored, a stitch size says so, as a plain scan does, rather than blaming a
// scanner that nobody chose.
TEST_F(FunctionRunsFakeSource, AStitchSizeWithNoScannerChosenSaysNoneIsChosen) {
  for (const Function& function : Functions()) {
    if (!function.stitches) continue;
    SCOPED_TRACE(function.name);
    wxstandin::gStitchCalls.clear();
    wxfake::WriteFakeScript(mScript.path(), "name=Dremlo Model A");
    std::vector<std::string> texts;
    wxframework::QueueDialogAction([&](LWindow* alert) { texts.push_back(wxframework::PaneText(alert, 'TXMS')); });
    wxframework::AnswerNextDialog(msg_OK);
    Push(function, UInt32(Paper_Size_A3_Stitch), "");
    ASSERT_FALSE(HasFatalFailure());
    for (int i = 0; i < 50; ++i) mApp->ProcessNextEvent();
    EXPECT_EQ(std::vector<std::string>{wxtest::ResourceText(400, 50)}, texts);
    EXPECT_TRUE(wxstandin::gStitchCalls.empty());
    EXPECT_EQ(0, CWXUtility::sIsQuellaneOpened);
    EXPECT_TRUE(mAlerts.empty()) << mAlerts.front();
    EndRow();
  }
}

}  // namespace
