// The page-setup and print dialogs, headless: choices made through the test driver land in
// the print spec on OK, and Cancel changes nothing.
#include "framework/UPrinting.h"

#include <gtest/gtest.h>

#include <functional>

#include "framework/FrameworkDriver.h"
#include "framework/LWindow.h"
#include "framework/StPrintSession.h"
#include "support/DialogShot.h"
#include "support/HeadlessApp.h"
#include "support/PrinterEnvironment.h"
#include "support/TestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/TextUtils.h"

namespace fs = std::filesystem;
using namespace wxframework;

namespace {

std::string Utf8(CFStringRef s) { return s ? CFStringGetCStringPtr(s, kCFStringEncodingUTF8) : ""; }

class PrintDialogs : public wxtest::HeadlessApp {
 protected:
  void SetUp() override {
    fs::create_directories(dir / "prints");
    HeadlessApp::SetUp();
  }
  wxtest::ScratchDir dir;
  wxtest::PrinterEnvironment env{(dir / "prints").string(), (dir / "no-cups.sock").string()};
};

struct SetupCase {
  const char* name;
  std::function<void(LWindow*)> choose;
  MessageT answer;
  bool accepted;
  const char* paper;
  PMOrientation orientation;
};

class PageSetupTable : public PrintDialogs, public ::testing::WithParamInterface<SetupCase> {};

TEST_P(PageSetupTable, ChoicesLandInTheSpecOnOKOnly) {
  const SetupCase& c = GetParam();
  LPrintSpec spec;
  QueueDialogAction(c.choose);
  AnswerNextDialog(c.answer);
  EXPECT_EQ(UPrinting::AskPageSetup(spec), c.accepted);
  StPrintSession session(spec);
  PMPageFormat format = spec.GetPageFormat();
  // The first paper, A4 or Letter, follows the locale.
  const std::string paper = *c.paper ? c.paper : IsMetric() ? "iso_a4_210x297mm" : "na_letter_8.5x11in";
  EXPECT_EQ(Utf8(PMPageFormatGetPaperName(format)), paper);
  PMOrientation orientation = 0;
  PMGetOrientation(format, &orientation);
  EXPECT_EQ(orientation, c.orientation);
  EXPECT_FALSE(HasDialogActions());
}

// The folder printer's papers: A4 and Letter (as the locale orders them), A3, A5, B5, Legal.
INSTANTIATE_TEST_SUITE_P(
    Table, PageSetupTable,
    ::testing::Values(
        SetupCase{"DefaultsKept", [](LWindow*) {}, msg_OK, true, "", kPMPortrait},
        SetupCase{"A3Landscape",
                  [](LWindow* d) {
                    ChoosePopupItem(d, 'PAPR', 3);
                    ClickPane(d, 'LAND');
                  },
                  msg_OK, true, "iso_a3_297x420mm", kPMLandscape},
        SetupCase{"LegalPortrait", [](LWindow* d) { ChoosePopupItem(d, 'PAPR', 6); }, msg_OK, true,
                  "na_legal_8.5x14in", kPMPortrait},
        SetupCase{"CancelChangesNothing",
                  [](LWindow* d) {
                    ChoosePopupItem(d, 'PAPR', 3);
                    ClickPane(d, 'LAND');
                  },
                  msg_Cancel, false, "", kPMPortrait}),
    [](const auto& info) { return std::string(info.param.name); });

struct JobCase {
  const char* name;
  std::function<void(LWindow*)> choose;
  MessageT answer;
  bool accepted;
  UInt32 first, last, copies;
  bool collate;
};

class PrintJobTable : public PrintDialogs, public ::testing::WithParamInterface<JobCase> {};

TEST_P(PrintJobTable, ChoicesLandInTheSpecOnOKOnly) {
  const JobCase& c = GetParam();
  LPrintSpec spec;
  QueueDialogAction(c.choose);
  AnswerNextDialog(c.answer);
  EXPECT_EQ(UPrinting::AskPrintJob(spec), c.accepted);
  StPrintSession session(spec);
  UInt32 first = 0, last = 0, copies = 0;
  spec.GetPrintJobParams(first, last, copies);
  EXPECT_EQ(first, c.first);
  EXPECT_EQ(last, c.last);
  EXPECT_EQ(copies, c.copies);
  Boolean collate = false;
  PMGetCollate(spec.GetPrintSettings(), &collate);
  EXPECT_EQ(bool(collate), c.collate);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PrintJobTable,
    ::testing::Values(
        JobCase{"Defaults", [](LWindow*) {}, msg_OK, true, 1, kPMPrintAllPages, 1, true},
        JobCase{"ThreeUncollated",
                [](LWindow* d) {
                  TypeIntoPane(d, 'COPY', "3");
                  ClickPane(d, 'COLL');
                },
                msg_OK, true, 1, kPMPrintAllPages, 3, false},
        JobCase{"PagesTwoToFour",
                [](LWindow* d) {
                  ClickPane(d, 'RNGP');
                  TypeIntoPane(d, 'FROM', "2");
                  TypeIntoPane(d, 'TO  ', "4");
                },
                msg_OK, true, 2, 4, 1, true},
        JobCase{"ToBeforeFromPrintsOnePage",
                [](LWindow* d) {
                  ClickPane(d, 'RNGP');
                  TypeIntoPane(d, 'FROM', "5");
                  TypeIntoPane(d, 'TO  ', "2");
                },
                msg_OK, true, 5, 5, 1, true},
        JobCase{"NoCopiesMeansOne", [](LWindow* d) { TypeIntoPane(d, 'COPY', "0"); }, msg_OK, true, 1,
                kPMPrintAllPages, 1, true},
        JobCase{"CancelChangesNothing",
                [](LWindow* d) {
                  TypeIntoPane(d, 'COPY', "7");
                  ClickPane(d, 'COLL');
                },
                msg_Cancel, false, 1, kPMPrintAllPages, 1, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrintDialogs, TheChosenPrinterStaysWithTheSpec) {
  LPrintSpec spec;
  QueueDialogAction([](LWindow*) {});
  AnswerNextDialog(msg_OK);
  ASSERT_TRUE(UPrinting::AskPrintJob(spec));
  EXPECT_EQ(spec.GetPrinterName(), "PDF Folder");
  StPrintSession session(spec);
  PMPrinter printer = nullptr;
  ASSERT_EQ(PMSessionGetCurrentPrinter(spec.GetPrintSession(), &printer), noErr);
  EXPECT_EQ(Utf8(PMPrinterGetID(printer)), "PDF Folder");
}

TEST_F(PrintDialogs, WithoutPrinterTheDialogsThrow) {
  wxtest::PrinterEnvironment none("", (dir / "no-cups.sock").string());
  LPrintSpec spec;
  EXPECT_THROW(UPrinting::AskPageSetup(spec), LException);
  EXPECT_THROW(UPrinting::AskPrintJob(spec), LException);
  ClearDialogActions();
}

// Both dialogs as real windows on a private X screen, kept as screenshots.
using PrintDialogsOnScreen = wxtest::OnScreen<PrintDialogs>;

TEST_F(PrintDialogsOnScreen, PageSetupAndPrint) {
  LPrintSpec spec;
  int differ = -2;
  QueueDialogAction([&differ](LWindow* d) { differ = wxtest::ShootDialog(d, "printing", "page-setup.png"); });
  AnswerNextDialog(msg_Cancel);
  UPrinting::AskPageSetup(spec);
  EXPECT_EQ(differ, 0) << "the screen does not show what the dialog drew";
  differ = -2;
  QueueDialogAction([&differ](LWindow* d) { differ = wxtest::ShootDialog(d, "printing", "print.png"); });
  AnswerNextDialog(msg_Cancel);
  UPrinting::AskPrintJob(spec);
  EXPECT_EQ(differ, 0) << "the screen does not show what the dialog drew";
}

}  // namespace
