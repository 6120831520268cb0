// The Copy dialog as the main window opens it: its controls over the preferences file, runs
// from the SANE test device (a solid black picture) printed by the folder printer and checked
// with poppler and qpdf, the runs a scanner button starts, the failures, and the stitch road
// through a scripted wizard.
#include "dialogs/print/CCopyDialogBox.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "CopyDialogTestEnv.h"
#include "prefs/WXDefaultDir.h"
#include "output/hubdialogs/WXSizeDialog.h"
#include "framework/LPopupButton.h"
#include "framework/LThread.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hubdialogs/WXScan.h"
#include "preview/CStitchDialog.h"
#include "printing/pmPrinters.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/ScanTestSupport.h"
#include "support/PrinterEnvironment.h"
#include "support/TestEnv.h"
#include "tests/output/DialogTestEnv.h"
#include "tests/output/export/Alerts.h"

namespace fs = std::filesystem;

// ---- The scripted stitch wizard: it records its call; the test plays its part. ----------

namespace {

struct StitchCall {
  long function = 0, source = 0, imageMode = 0, driverUI = 0, paper = 0, resolution = 0, level = 0;
  SDimension16 custom{};
  FSSpec destination{}, temp{};
  bool optionsNull = false;
  LDialogBox* caller = nullptr;
};
std::vector<StitchCall> gStitchCalls;
// Only its address goes back: the dialogs never call the wizard, so none is built.
alignas(CStitchDialog) unsigned char gWizard[sizeof(CStitchDialog)];

}  // namespace

CStitchDialog* CStitchDialog::ShowStitchDialog(long function, unsigned char, unsigned char*, SDimension16 customSize,
                                               long source, long imageMode, long showDriverUI, long paperIndex,
                                               long resolution, LCommander*, long level, unsigned char, long,
                                               LDialogBox* caller, unsigned char, unsigned char, FSSpec spec1,
                                               FSSpec spec2, StPDFDialog* pdf, StJPEGDialog* jpeg, StOtherDialog* pict,
                                               StOtherDialog* tiff, unsigned char, long, unsigned long,
                                               PREF_FILE* file) {
  StitchCall call;
  call.function = function;
  call.custom = customSize;
  call.source = source;
  call.imageMode = imageMode;
  call.driverUI = showDriverUI;
  call.paper = paperIndex;
  call.resolution = resolution;
  call.level = level;
  call.caller = caller;
  call.destination = spec1;
  call.temp = spec2;
  call.optionsNull = !pdf && !jpeg && !pict && !tiff && !file;
  gStitchCalls.push_back(call);
  return reinterpret_cast<CStitchDialog*>(gWizard);
}

namespace wxapp {
namespace {

using namespace wxframework;

// The bridge's SANE set-up for this program: the test device as "Dremlo Model A", its
// picture solid black so the printed page shows exactly where the image lies.
class BlackScannerEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    const fs::path folder = mConfig.path();
    fs::create_directories(folder / "dll.d");
    std::ofstream(folder / "dll.d" / "wendrix") << "test\n";
    std::ofstream(folder / "test.conf") << "number_of_devices 1\ntest-picture \"Solid black\"\n";
    std::ofstream(folder / "sources.conf") << "test:0=Dremlo Model A\n";
    setenv("WX_SANE_CONFIG", folder.c_str(), 1);
    setenv("SANE_CONFIG_DIR", folder.c_str(), 1);
    setenv("WX_TWAIN_SOURCES", WX_TWAIN_SOURCE_DIR, 1);
  }

 private:
  wxtest::ScratchDir mConfig;
};

::testing::Environment* const gScanner = ::testing::AddGlobalTestEnvironment(new BlackScannerEnvironment);

// The dark area of a rendered page, in rendered pixels.
struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  int pageWidth = 0, pageHeight = 0;
  bool found = false;
};

// Renders the PDF's only page with pdftoppm as greyscale at `dpi` and finds its dark pixels.
Box DarkBox(const fs::path& pdf, int dpi) {
  Box box;
  const fs::path out = pdf.parent_path() / (pdf.stem().string() + "-render");
  if (wxtest::Run("pdftoppm -gray -r " + std::to_string(dpi) + " -singlefile '" + pdf.string() + "' '" +
                  out.string() + "'") != 0)
    return box;
  std::ifstream in(out.string() + ".pgm", std::ios::binary);
  std::string magic;
  int maxValue = 0;
  in >> magic >> box.pageWidth >> box.pageHeight >> maxValue;
  in.get();
  std::vector<unsigned char> pixels(size_t(box.pageWidth) * size_t(box.pageHeight));
  in.read(reinterpret_cast<char*>(pixels.data()), std::streamsize(pixels.size()));
  box.left = box.pageWidth;
  box.top = box.pageHeight;
  for (int y = 0; y < box.pageHeight; ++y)
    for (int x = 0; x < box.pageWidth; ++x)
      if (pixels[size_t(y) * size_t(box.pageWidth) + size_t(x)] < 128) {
        box.found = true;
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x + 1);
        box.top = std::min(box.top, y);
        box.bottom = std::max(box.bottom, y + 1);
      }
  return box;
}

constexpr int kRenderDPI = 100;

// Reads over the "x" of pdfinfo's "Page size: w x h pts".
std::istream& skipX(std::istream& in) {
  std::string x;
  return in >> x;
}
// ---- Opening and closing -------------------------------------------------------------------

TEST_F(CopyDialogTest, OpensFromTheMainWindowShowingTheFileAndCancelLeavesTheFileAsItWas) {
  ASSERT_NE(nullptr, Open());
  EXPECT_EQ(1, mApp->mFunctionDialogOpen);
  EXPECT_EQ(1, PaneValue(Dialog(), 'MODE'));
  EXPECT_EQ(1, FindPaneAs<LPopupButton>(Dialog(), 'MODE')->CountMenuItems()) << "no film adapter";
  EXPECT_EQ(GetImageModePopupNum(2, 1), PaneValue(Dialog(), 'IMAG'));
  EXPECT_EQ(1, PaneValue(Dialog(), 'RESL'));
  EXPECT_EQ(Paper_Size_custom, PaneValue(Dialog(), 'SIZE'));
  EXPECT_EQ(Copy_Popup_100Percent, PaneValue(Dialog(), 'SCAL'));
  Str255 text;
  FindPaneAs<LPopupButton>(Dialog(), 'SCAL')->GetMenuItemText(SInt16(Copy_Popup_Custom), text);
  EXPECT_EQ(PStrToString(text), wxtest::ResourceText(10000, 1) + " (100" + wxtest::ResourceText(10000, 4) + ")");
  FindPaneAs<LPopupButton>(Dialog(), 'SIZE')->GetMenuItemText(SInt16(Paper_Size_custom), text);
  StDescriptDialog size;
  size.width = 600;
  size.height = 400;
  Str255 expected;
  CWXUtility::ManuscriptPrefToString(size, expected);
  EXPECT_EQ(PStrToString(expected), PStrToString(text));
  Choose('SCAL', SInt16(Copy_Popup_200Percent));
  Click('CNCL');
  EXPECT_EQ(nullptr, Dialog());
  EXPECT_EQ(0, mApp->mFunctionDialogOpen);
  EXPECT_EQ(mOpening, wxtest::ReadBytes(PrefsFile()));
  delete mApp;
  mApp = nullptr;

  ASSERT_NE(nullptr, Open());
  Choose('SCAL', SInt16(Copy_Popup_200Percent));
  Click('APLY');
  Choose('SCAL', SInt16(Copy_Popup_47Percent));
  Click('CNCL');
  WithPrefs([](RecordBytes all) {
    EXPECT_EQ(UInt32(Copy_Popup_200Percent), PREF_COPY::kScale.get(PREF_ALL::kCopy.in(all)));
  });
}

// ---- The controls, each driven through the test driver --------------------------------------

struct ControlCase {
  const char* what;
  std::function<void(RecordBytes copy, RecordBytes setting)> stored;
  std::vector<std::pair<PaneIDT, SInt16>> choices;  // popup items chosen; item 0 clicks
  std::function<void(CCopyDialogBox* dialog)> check;
};

TEST_F(CopyDialogTest, EachControlFollowsTheRules) {
  auto popup = [](CCopyDialogBox* d, PaneIDT id) { return FindPaneAs<LPopupButton>(d, id); };
  const ControlCase cases[] = {
      {"A4 at 400 % disables the third resolution only",
       [](RecordBytes c, RecordBytes) {
         PREF_COPY::kPaperSize.set(c, UInt32(Paper_Size_A4));
         PREF_COPY::kScale.set(c, UInt32(Copy_Popup_400Percent));
       },
       {},
       [&](CCopyDialogBox* d) {
         EXPECT_TRUE(popup(d, 'RESL')->ItemIsEnabled(1));
         EXPECT_TRUE(popup(d, 'RESL')->ItemIsEnabled(2));
         EXPECT_FALSE(popup(d, 'RESL')->ItemIsEnabled(3));
       }},
      {"600 dpi forces 100 % and disables the magnification",
       [](RecordBytes c, RecordBytes) { PREF_COPY::kScale.set(c, UInt32(Copy_Popup_200Percent)); },
       {{'RESL', 3}},
       [&](CCopyDialogBox* d) {
         EXPECT_EQ(Copy_Popup_100Percent, PaneValue(d, 'SCAL'));
         EXPECT_FALSE(popup(d, 'SCAL')->IsEnabled());
         EXPECT_EQ(UInt32(Copy_Popup_100Percent), PREF_COPY::kScale.get(d->Working()));
       }},
      {"with the film adapter, the last source shows the glass disabled",
       [](RecordBytes, RecordBytes s) { PREF_SETTING::kFilmAdapter.set(s, 1); },
       {{'MODE', 3}},
       [&](CCopyDialogBox* d) {
         EXPECT_EQ(3, popup(d, 'MODE')->CountMenuItems());
         EXPECT_EQ(1001, popup(d, 'IMAG')->GetMenuID());
         for (PaneIDT id : {PaneIDT('IMAG'), PaneIDT('RESL'), PaneIDT('SIZE'), PaneIDT('SCAL')})
           EXPECT_FALSE(popup(d, id)->IsEnabled());
         EXPECT_EQ(300, d->Resolution_Value());
       }},
      {"fit to the paper carries over to the film source",
       [](RecordBytes c, RecordBytes s) {
         PREF_SETTING::kFilmAdapter.set(s, 1);
         PREF_COPY::kScale.set(c, UInt32(Copy_Popup_FitPaper));
       },
       {{'MODE', 2}},
       [&](CCopyDialogBox* d) {
         EXPECT_EQ(1013, popup(d, 'SCAL')->GetMenuID());
         EXPECT_EQ(2, PaneValue(d, 'SCAL'));
         EXPECT_EQ(2u, PREF_COPY::kScale2.get(d->Working()));
       }},
      {"the driver's window disables the settings and marks the colour page",
       [](RecordBytes, RecordBytes) {},
       {{'UION', 0}},
       [&](CCopyDialogBox* d) {
         for (PaneIDT id : {PaneIDT('MODE'), PaneIDT('IMAG'), PaneIDT('RESL'), PaneIDT('SIZE'), PaneIDT('SCAL'),
                            PaneIDT('BLIT')})
           EXPECT_FALSE(FindPane(d, id)->IsEnabled());
         EXPECT_EQ(4, PaneValue(d, 'BLIT'));
         EXPECT_EQ(2u, d->PrefAll().u32(56344));
       }},
      {"defaults keep the scanner-button tag",
       [](RecordBytes c, RecordBytes) {
         PREF_COPY::kTag.set(c, 2003);
         PREF_COPY::kBrightness.set(c, 6);
       },
       {{'DFLT', 0}},
       [&](CCopyDialogBox* d) {
         EXPECT_EQ(2003u, PREF_COPY::kTag.get(d->Working()));
         EXPECT_EQ(4u, PREF_COPY::kBrightness.get(d->Working()));
       }},
      {"bad stored values are brought into their menus",
       [](RecordBytes c, RecordBytes) {
         PREF_COPY::kSource.set(c, 9);
         PREF_COPY::kResolution.set(c, 12);
         PREF_COPY::kScale.set(c, 40);
         PREF_COPY::kCustomPercent.set(c, 0);
         PREF_COPY::kCustomSize.set(c, 0, 0, PrefDocSize::kCentimetre);
       },
       {},
       [&](CCopyDialogBox* d) {
         RecordBytes w = d->Working();
         EXPECT_EQ(1u, PREF_COPY::kSource.get(w));
         EXPECT_LE(PREF_COPY::kResolution.get(w), 3u);
         EXPECT_LE(PREF_COPY::kScale.get(w), UInt32(popup(d, 'SCAL')->CountMenuItems()));
         EXPECT_EQ(25u, PREF_COPY::kCustomPercent.get(w));
       }},
  };
  for (const ControlCase& c : cases) {
    SCOPED_TRACE(c.what);
    Store(c.stored);
    ASSERT_NE(nullptr, Open());
    for (const auto& [pane, item] : c.choices) item ? Choose(pane, item) : Click(pane);
    c.check(Dialog());
    Click('CNCL');
    delete mApp;
    mApp = nullptr;
    SetUp();
  }
}

// ---- From the scanner to paper -----------------------------------------------------------

struct PrintCase {
  const char* name;
  SInt32 resolutionItem;
  std::function<SInt32()> scaleItem;
  UInt32 customPercent;
  double percent;  // 0: fitted to the paper
};

TEST_F(CopyDialogTest, EachPageIsPrintedAtItsMagnificationAndItsFilesAreGone) {
  WX_REQUIRE_TOOL("qpdf");
  WX_REQUIRE_TOOL("pdfinfo");
  WX_REQUIRE_TOOL("pdftoppm");
  const PrintCase cases[] = {
      {"at-100", 1, [] { return Copy_Popup_100Percent; }, 100, 100},
      {"at-47", 1, [] { return Copy_Popup_47Percent; }, 100, 47},
      {"custom-150", 1, [] { return Copy_Popup_Custom; }, 150, 150},
      {"fit", 1, [] { return Copy_Popup_FitPaper; }, 100, 0},
      {"300dpi-at-100", 2, [] { return Copy_Popup_100Percent; }, 100, 100},
  };
  for (const PrintCase& c : cases) {
    SCOPED_TRACE(c.name);
    Store([&](RecordBytes copy, RecordBytes) {
      PREF_COPY::kResolution.set(copy, UInt32(c.resolutionItem));
      PREF_COPY::kScale.set(copy, UInt32(c.scaleItem()));
      PREF_COPY::kCustomPercent.set(copy, c.customPercent);
    });
    ASSERT_NE(nullptr, Open());
    const long input = Dialog()->CalcInputResolution_Value(Dialog()->Resolution_Value());
    Click('OKBT');
    RunToTheEnd();
    ASSERT_NE(nullptr, Dialog()) << "the dialog stays after a run it was asked for";
    EXPECT_TRUE(Dialog()->IsEnabled());

    const std::vector<fs::path> pdfs = Prints();
    ASSERT_EQ(1u, pdfs.size());
    std::string out;
    EXPECT_EQ(0, wxtest::Run("qpdf --check '" + pdfs[0].string() + "' >/dev/null 2>&1"));
    wxtest::Run("pdfinfo '" + pdfs[0].string() + "'", &out);
    Rect paper;
    CCopyDialogBox::sPrintSpec.GetPaperRect(paper);
    double pdfWidth = 0, pdfHeight = 0;
    std::istringstream(out.substr(out.find("Page size:") + 10)) >> pdfWidth >> skipX >> pdfHeight;
    EXPECT_NEAR((paper.right - paper.left) * 72.0 / 300, pdfWidth, 0.5) << out;
    EXPECT_NEAR((paper.bottom - paper.top) * 72.0 / 300, pdfHeight, 0.5) << out;
    const Box box = DarkBox(pdfs[0], kRenderDPI);
    ASSERT_TRUE(box.found);
    // One rendered pixel, and one scanned pixel of rounding.
    const double slack = 1.0 + double(kRenderDPI) / double(input);
    double width = 60.0 / 25.4 * kRenderDPI * c.percent / 100, height = 40.0 / 25.4 * kRenderDPI * c.percent / 100;
    if (c.percent == 0) {
      const Rect page = PageRect();
      width = (page.right - page.left) * kRenderDPI / 300.0;
      height = width * 40 / 60;
      Rect paper;
      CCopyDialogBox::sPrintSpec.GetPaperRect(paper);
      const double centreX = (-paper.left + (page.left + page.right) / 2.0) * kRenderDPI / 300.0;
      const double centreY = (-paper.top + (page.top + page.bottom) / 2.0) * kRenderDPI / 300.0;
      EXPECT_NEAR(centreX, (box.left + box.right) / 2.0, slack);
      EXPECT_NEAR(centreY, (box.top + box.bottom) / 2.0, slack);
    }
    EXPECT_NEAR(width, box.right - box.left, slack);
    EXPECT_NEAR(height, box.bottom - box.top, slack);
    EXPECT_EQ(0u, wxscan::FilesIn(TempFolder())) << "the TIFF and the raw files are gone";
    fs::copy_file(pdfs[0], wxtest::OutputDir("copy") / (std::string(c.name) + ".pdf"),
                  fs::copy_options::overwrite_existing);
    fs::remove(pdfs[0]);
    Click('CNCL');
    delete mApp;
    mApp = nullptr;
  }
}

TEST_F(CopyDialogTest, AScannerButtonRunPrintsThenClosesOrQuits) {
  for (UInt8 quit : {UInt8(0), UInt8(1)}) {
    SCOPED_TRACE(quit ? "quits" : "closes");
    Store([&](RecordBytes, RecordBytes setting) { PREF_SETTING::kQuitOption.set(setting, quit); });
    WithPrefs([](RecordBytes all) { PREF_ALL::kLastButton.set(all, 1); });
    Push();
    ASSERT_EQ(1, CWXUtility::sIsQuellaneOpened) << "started at once";
    RunToTheEnd();
    PumpEvents();
    EXPECT_EQ(1u, Prints().size());
    if (quit) {
      EXPECT_EQ(programState_Quitting, mApp->GetState());
    } else {
      EXPECT_EQ(nullptr, Dialog());
      EXPECT_EQ(0, mApp->mFunctionDialogOpen);
    }
    for (const fs::path& pdf : Prints()) fs::remove(pdf);
    delete mApp;
    mApp = nullptr;
    WithPrefs([](RecordBytes all) { EXPECT_EQ(0u, PREF_ALL::kLastButton.get(all)); });
  }
}

TEST_F(CopyDialogTest, PrintOptionsLandInTheWorkingCopyAndCancelPutsTheCommittedOnesBack) {
  ASSERT_NE(nullptr, Open());
  QueueDialogAction([](LWindow* d) {
    TypeIntoPane(d, 'COPY', "3");
    ClickPane(d, 'COLL');
  });
  AnswerNextDialog(msg_OK);
  Click('PRNT');
  EXPECT_FALSE(HasDialogActions());
  EXPECT_EQ(3u, PREF_COPY::kCopies.get(Dialog()->Working()));
  EXPECT_EQ(0u, PREF_COPY::kCollate.get(Dialog()->Working()));
  EXPECT_NE(nullptr, Dialog()->ChosenPrinter());
  Click('CNCL');
  EXPECT_EQ(mOpening, wxtest::ReadBytes(PrefsFile()));
}

TEST_F(CopyDialogTest, ThePageSetupChoosesThePaperThePagesArePrintedOn) {
  WX_REQUIRE_TOOL("pdfinfo");
  ASSERT_NE(nullptr, Open());
  QueueDialogAction([](LWindow* d) { ChoosePopupItem(d, 'PAPR', 3); });
  AnswerNextDialog(msg_OK);
  Click('STYL');
  EXPECT_FALSE(HasDialogActions());
  Dialog()->ListenToMessage(msg_OK, nullptr);
  RunToTheEnd();
  ASSERT_EQ(1u, Prints().size());
  std::string out;
  wxtest::Run("pdfinfo '" + Prints()[0].string() + "'", &out);
  EXPECT_NE(std::string::npos, out.find("(A3)")) << out;
}

TEST_F(CopyDialogTest, ASecondStartDuringAScanStartsNothing) {
  ASSERT_NE(nullptr, Open());
  Dialog()->ListenToMessage(msg_OK, nullptr);
  ASSERT_EQ(1, CWXUtility::sIsQuellaneOpened);
  Dialog()->ListenToMessage(msg_OK, nullptr);
  RunToTheEnd();
  EXPECT_EQ(1u, Prints().size());
}

TEST_F(CopyDialogTest, ADeletedTemporaryBaseFolderIsRebuiltBeforeTheScan) {
  FSSpec defaultTemp{}, defaultBase{};
  ASSERT_TRUE(CWXUtility::Get_Default_TempDir(&defaultTemp, &defaultBase));
  const fs::path gone = mRoot.path() / "Gone";
  fs::create_directories(gone / "WX50Temp");
  Store([&](RecordBytes, RecordBytes setting) {
    PREF_SETTING::kTempBase.set(setting, wxscan::FolderSpec(gone));
    PREF_SETTING::kTempFolder.set(setting, wxscan::FolderSpec(gone / "WX50Temp"));
  });
  fs::remove_all(gone);
  ASSERT_NE(nullptr, Open());
  Dialog()->ListenToMessage(msg_OK, nullptr);
  RunToTheEnd();
  EXPECT_EQ(1u, Prints().size());
  EXPECT_EQ(wxscan::PathOf(defaultTemp), TempFolder());
  EXPECT_TRUE(fs::is_directory(TempFolder()));
}

TEST_F(CopyDialogTest, WithoutAPrinterItSaysSoAndDoesNotScan) {
  mPrinter = std::make_unique<wxtest::PrinterEnvironment>("", (mRoot / "no-cups.sock").string());
  ASSERT_NE(nullptr, Open());
  const auto shown = wxtest::AnswerAlerts([&] { Click('OKBT'); });
  EXPECT_EQ(std::vector<std::string>{wxtest::ResourceText(400, 34)}, shown);
  EXPECT_EQ(0, CWXUtility::sIsQuellaneOpened);
  EXPECT_TRUE(Dialog()->IsEnabled());
  EXPECT_TRUE(Prints().empty());
}

TEST_F(CopyDialogTest, AScannerThatDoesNotOpenGivesTheDialogBack) {
  Configure("No Such Model");
  ASSERT_NE(nullptr, Open());
  AnswerNextDialog(msg_OK);  // the scan entry's alert
  Click('OKBT');
  EXPECT_FALSE(HasDialogActions());
  EXPECT_EQ(0, CWXUtility::sIsQuellaneOpened);
  EXPECT_FALSE(Dialog()->Scanning());
  EXPECT_TRUE(Dialog()->IsEnabled());
  EXPECT_TRUE(Dialog()->IsVisible());
  EXPECT_TRUE(Prints().empty());
}

// ---- The stitch road ----------------------------------------------------------------------

TEST_F(CopyDialogTest, AStitchSizeHandsTheScanToTheWizardAndPrintsWhatItMerges) {
  gStitchCalls.clear();
  Store([](RecordBytes copy, RecordBytes) { PREF_COPY::kPaperSize.set(copy, UInt32(Paper_Size_A3_Stitch)); });
  ASSERT_NE(nullptr, Open());
  ASSERT_TRUE(Dialog()->IsStitch());
  const long input = Dialog()->CalcInputResolution_Value(Dialog()->Resolution_Value());
  Click('OKBT');
  ASSERT_EQ(1u, gStitchCalls.size());
  const StitchCall& call = gStitchCalls[0];
  EXPECT_EQ(1, call.function);
  EXPECT_EQ(600, call.custom.width);
  EXPECT_EQ(400, call.custom.height);
  EXPECT_EQ(1, call.source);
  EXPECT_EQ(2, call.imageMode);
  EXPECT_EQ(0, call.driverUI);
  EXPECT_EQ(Paper_Size_A3_Stitch, call.paper);
  EXPECT_EQ(input, call.resolution);
  EXPECT_EQ(Dialog(), call.caller);
  EXPECT_EQ(0, call.destination.vRefNum);
  EXPECT_EQ(0, call.destination.parID);
  EXPECT_EQ(TempFolder(), wxscan::PathOf(call.temp));
  EXPECT_TRUE(call.optionsNull);
  EXPECT_FALSE(Dialog()->IsVisible());

  // The wizard's merged page: a scan of its own into the folder it was handed, whose watcher
  // tells the dialog.
  auto* twain = new CTWAIN;
  twain->SetTempFolder(call.temp);
  auto* checker = new CThreadChecker(Dialog(), twain);
  Str255 model;
  PStrFromString("Dremlo Model A", model);
  ASSERT_EQ(1, CWXUtility::ImportFromDevice(1, 1, checker, model, SDimension16{600, 400}, 0, 1, 2, 0,
                                            Paper_Size_custom, 150, Dialog(), 4, 0));
  for (int i = 0; i < 600 && Prints().empty(); ++i) {
    mApp->ProcessNextEvent();
    LThread::Yield();
  }
  EXPECT_EQ(1u, Prints().size());
  EXPECT_TRUE(Dialog()->IsVisible());
}

TEST_F(CopyDialogTest, AClosedWizardShowsTheDialogAgainOrClosesAScannerButtonRun) {
  gStitchCalls.clear();
  Store([](RecordBytes copy, RecordBytes) { PREF_COPY::kPaperSize.set(copy, UInt32(Paper_Size_A3_Stitch)); });
  ASSERT_NE(nullptr, Open());
  Click('OKBT');
  ASSERT_EQ(1u, gStitchCalls.size());
  Dialog()->ListenToMessage(CStitchDialog::msg_StitchClosed, nullptr);
  EXPECT_TRUE(Dialog()->IsVisible());
  Click('CNCL');
  delete mApp;
  mApp = nullptr;

  Push();
  ASSERT_EQ(2u, gStitchCalls.size());
  ASSERT_NE(nullptr, Dialog());
  Dialog()->ListenToMessage(CStitchDialog::msg_StitchClosed, nullptr);
  PumpEvents();
  EXPECT_EQ(nullptr, Dialog());
}

TEST_F(CopyDialogTest, AStitchScannerThatDoesNotOpenShowsItsAlert) {
  gStitchCalls.clear();
  Store([](RecordBytes copy, RecordBytes) { PREF_COPY::kPaperSize.set(copy, UInt32(Paper_Size_A3_Stitch)); });
  Configure("No Such Model");
  ASSERT_NE(nullptr, Open());
  const auto shown = wxtest::AnswerAlerts([&] { Click('OKBT'); });
  EXPECT_EQ(std::vector<std::string>{wxtest::ResourceText(400, 6)}, shown);
  EXPECT_TRUE(gStitchCalls.empty());
  EXPECT_TRUE(Dialog()->IsVisible());
}

}  // namespace
}  // namespace wxapp
