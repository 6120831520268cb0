// A scanner that stops with a fault of its own (a jam, an open cover, a failed read) ends the
// run of Save, File and Copy with an alert that says so, and leaves nothing in the destination
// (nothing printed, for Copy).
// SANE reads the test device's settings once a process, so each fault runs in a process of its
// own (a death test re-running this program).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "dialogs/file/CFileDialogBox.h"
#include "dialogs/print/CCopyDialogBox.h"
#include "dialogs/file/CSaveDialogBox.h"
#include "dialogs/file/CScanInfoWindow.h"
#include "tests/dialogs/file/sane/HandOnRun.h"
#include "tests/output/DialogTestEnv.h"
#include "tests/platform/twain/sane/SaneTestConfig.h"
#include "scanner/ScanTestSupport.h"
#include "support/PrinterEnvironment.h"

namespace {

::testing::Environment* const gSaneEnvironment =
    ::testing::AddGlobalTestEnvironment(new wxsane::SaneTestEnvironment(WX_TWAIN_SOURCE_DIR));

namespace fs = std::filesystem;

class ScannerFault : public wxsane::HandOnRun<LDialogBox> {
 protected:
  ScannerFault() : HandOnRun("apps/Viewer", 1800) {}

  void RegisterClasses() override {
    HandOnRun::RegisterClasses();
    RegisterClass_(CSaveDialogBox);
    RegisterClass_(CFileDialogBox);
    RegisterClass_(CScanInfoWindow);
    RegisterClass_(CCopyDialogBox);
  }
  void SetUp() override {
    HandOnRun::SetUp();
    mPrinter = std::make_unique<wxtest::PrinterEnvironment>(mOut.string(), (mRoot / "no-cups.sock").string());
  }
  void TearDown() override {
    mPrinter.reset();
    HandOnRun::TearDown();
  }

  // A 20 x 15 mm colour area at 75 dpi: Save writes a JPEG, File a PDF for the viewer.
  void Configure() {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes all = prefs.PrefAll();
    Str255 text;
    PStrFromString("Dremlo Model A", text);
    PREF_SETTING::kModelName.set(PREF_ALL::kSetting.in(all), text);
    PREF_SETTING::kTWAIN.set(PREF_ALL::kSetting.in(all), 1);
    PREF_ALL::kLastButton.set(all, 0);
    RecordBytes save = PREF_ALL::kSave.in(all);
    PREF_SAVE::kSource.set(save, 1);
    PREF_SAVE::kImageMode.set(save, 3);
    PREF_SAVE::kResolution.set(save, 1);
    PREF_SAVE::kPaperSize.set(save, UInt32(Paper_Size_custom));
    PREF_SAVE::kCustomSize.set(save, 200, 150, PrefDocSize::kCentimetre);
    PREF_SAVE::kFileType.set(save, 2);
    PREF_SAVE::kCheckFORE.set(save, 0);
    PREF_SAVE::kCheckUION.set(save, 0);
    PREF_SAVE::kFolder.set(save, wxscan::FolderSpec(mOut));
    RecordBytes copy = PREF_ALL::kCopy.in(all);
    PREF_COPY::kSource.set(copy, 1);
    PREF_COPY::kPaperSize.set(copy, UInt32(Paper_Size_custom));
    PREF_COPY::kCustomSize.set(copy, 200, 150, PrefDocSize::kCentimetre);
    PREF_COPY::kCheckUION.set(copy, 0);
    FSSpec viewer{};
    FSpMakeFromPOSIXPath((mRoot / "apps" / "Viewer").string(), &viewer);
    for (UInt32 k : {0u, 1u, 2u}) {
      RecordBytes r = PREF_ALL::File(k).in(all);
      PREF_FILE::kCurrentTab.set(r, 1);
      PREF_FILE::kPaperSize.set(r, UInt32(Paper_Size_custom));
      PREF_FILE::kCustomSize.set(r, 200, 150, PrefDocSize::kCentimetre);
      PREF_FILE::kSetting16.set(r, 1);
      StPDFDialog::kOptionCBCR.set(PREF_FILE::kPDF.in(r), 0);
      StPDFDialog::kOptionCBXT.set(PREF_FILE::kPDF.in(r), 0);
      PREF_FILE::kFlag20.set(r, 0);
      PREF_FILE::kFlag3672.set(r, 0);
      PREF_FILE::kFolder.set(r, wxscan::FolderSpec(mOut));
      PREF_FILE::kTargetApp.set(r, viewer);
    }
  }

  // Starts `layout`'s run with its start button and returns what the alert at its end said.
  std::string RunToTheAlert(ResIDT layout) {
    Configure();
    LWindow* dialog = LWindow::CreateWindow(layout, mApp);
    if (!dialog) return "no dialog";
    dialog->Show();
    std::string shown;
    wxframework::QueueDialogAction([&shown](LWindow* alert) { shown = wxframework::PaneText(alert, 'TXMS'); });
    wxframework::AnswerNextDialog(msg_OK);
    wxframework::ClickPane(dialog, 'OKBT');
    for (int i = 0; i < 2000 && (wxframework::HasDialogActions() || CWXUtility::sIsQuellaneOpened == 1); ++i) {
      mApp->ProcessNextEvent();
      LThread::Yield();
    }
    EXPECT_EQ(CWXUtility::sIsQuellaneOpened, 0) << "the scan never ended";
    EXPECT_FALSE(wxframework::HasDialogActions()) << "no alert came";
    return shown;
  }

  std::unique_ptr<wxtest::PrinterEnvironment> mPrinter;  // prints into mOut
};

struct FunctionRow {
  const char* name;
  ResIDT layout;
};

TEST_F(ScannerFault, EndsTheRunWithAnAlertThatSaysWhatHappenedAndWritesNothing) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const FunctionRow functions[] = {{"Save", 4000}, {"File", 5050}, {"Copy", 1000}};
  for (const FunctionRow& function : functions) {
    for (const wxsane::SaneFault& fault : wxsane::kSaneFaults) {
      SCOPED_TRACE(std::string(function.name) + " " + fault.status);
      EXPECT_EXIT(
          {
            wxsane::UseSaneReadStatus(fault.status);
            EXPECT_EQ(RunToTheAlert(function.layout), wxtest::ResourceText(410, fault.item));
            EXPECT_EQ(wxscan::FilesIn(mOut), 0u) << "nothing half-written is left";
            std::fflush(nullptr);
            _exit(::testing::Test::HasFailure() ? 1 : 0);  // the run's objects stay: no leak check
          },
          ::testing::ExitedWithCode(0), "");
    }
  }
}

}  // namespace
