// The Print dialog as the main window opens it, over the SANE test device with its feeder
// configured: what its controls show and store, and where a scan goes when it ends. The
// page-layout step is a scripted stand-in here that records what it was handed.
#include "dialogs/print/CPrintDialogBox.h"

#include <gtest/gtest.h>

#include <vector>

#include "preview/CStitchDialog.h"

#include <fstream>

#include "PrintRunTestEnv.h"
#include "framework/LThread.h"
#include "output/hubdialogs/CWXUtility.h"
#include "tests/output/DialogTestEnv.h"
#include "tests/platform/twain/sane/SaneTestConfig.h"
#include "toolbox/FolderLocations.h"

namespace wxapp {
namespace {

::testing::Environment* const gSaneEnvironment =
    ::testing::AddGlobalTestEnvironment(new wxsane::SaneTestEnvironment(WX_TWAIN_SOURCE_DIR));

TEST_F(PrintDialogTest, TheMainWindowsPrintButtonOpensTheRegisteredDialog) {
  ASSERT_NE(nullptr, Open());
  EXPECT_EQ(1, mApp->mFunctionDialogOpen);
  EXPECT_EQ(9000, Popup('MODE')->GetMenuID());
  EXPECT_EQ(9001, Popup('IMAG')->GetMenuID());
  EXPECT_EQ(4, Popup('IMAG')->GetValue());  // code 3 is item 4
  EXPECT_EQ(9004, Popup('RESL')->GetMenuID());
  EXPECT_EQ(9007, Popup('SIZE')->GetMenuID());
  EXPECT_EQ(4, PaneValue(Dialog(), 'BLIT'));
  if (wxtest::BuildLanguage() == 'E') {
    Str255 title;
    Dialog()->GetDescriptor(title);
    EXPECT_EQ("Print", PStrToString(title));
    Str255 custom;
    EXPECT_EQ("Custom (2.00 x 1.50 cm)", PStrToString(Popup('SIZE')->GetMenuItemText(SInt16(Paper_Size_custom), custom)));
  }
  Click('CNCL');
  EXPECT_EQ(nullptr, Dialog());
  EXPECT_EQ(0, mApp->mFunctionDialogOpen);
}

// The rows of the shared control rules where Print's record and menus differ from Copy's.
TEST_F(PrintDialogTest, TheControlsFollowThePrintRecord) {
  const struct {
    const char* name;
    std::function<void(RecordBytes all)> stored;
    std::function<void(PrintDialogTest&)> act;
    std::function<void(PrintDialogTest&, RecordBytes work)> check;
  } rows[] = {
      {"a paper wider than 5201 tenths of a millimetre loses 600 dpi",
       [](RecordBytes all) {
         RecordBytes print = PREF_ALL::kPrint.in(all);
         PREF_PRINT::kCustomSize.set(print, 5300, 2000, PrefDocSize::kCentimetre);
         PREF_PRINT::kResolution.set(print, 3);
       },
       nullptr,
       [](PrintDialogTest& t, RecordBytes work) {
         EXPECT_FALSE(t.Popup('RESL')->ItemIsEnabled(3));
         EXPECT_TRUE(t.Popup('RESL')->ItemIsEnabled(2));
         EXPECT_EQ(2u, PREF_PRINT::kResolution.get(work));
       }},
      {"source 2 shows a stored code 3 as 2",
       [](RecordBytes all) {
         PREF_SETTING::kFilmAdapter.set(PREF_ALL::kSetting.in(all), 1);
         PREF_PRINT::kSource.set(PREF_ALL::kPrint.in(all), 2);
         PREF_PRINT::kImageMode2.set(PREF_ALL::kPrint.in(all), 3);
       },
       nullptr,
       [](PrintDialogTest& t, RecordBytes work) {
         EXPECT_EQ(9002, t.Popup('IMAG')->GetMenuID());
         EXPECT_EQ(2, t.Popup('IMAG')->GetValue());
         EXPECT_FALSE(t.Popup('IMAG')->ItemIsEnabled(3));
         EXPECT_EQ(2u, PREF_PRINT::kImageMode2.get(work));
         EXPECT_EQ(9005, t.Popup('RESL')->GetMenuID());
         EXPECT_EQ(9008, t.Popup('SIZE')->GetMenuID());
       }},
      {"the driver's window disables the popups and shows the brightness at 4", nullptr,
       [](PrintDialogTest& t) { t.Click('UION'); },
       [](PrintDialogTest& t, RecordBytes work) {
         for (PaneIDT id : {PaneIDT('MODE'), PaneIDT('IMAG'), PaneIDT('RESL'), PaneIDT('SIZE'), PaneIDT('BLIT')})
           EXPECT_FALSE(FindPane(t.Dialog(), id)->IsEnabled()) << wxtest::PaneName(id);
         EXPECT_EQ(4, PaneValue(t.Dialog(), 'BLIT'));
         EXPECT_EQ(1, PREF_PRINT::kCheckUION.get(work));
       }},
      {"a stitch size disables image modes 6 and 7", nullptr,
       [](PrintDialogTest& t) { t.Choose('SIZE', SInt16(Paper_Size_A3_Stitch)); },
       [](PrintDialogTest& t, RecordBytes work) {
         EXPECT_FALSE(t.Popup('IMAG')->ItemIsEnabled(6));
         EXPECT_FALSE(t.Popup('IMAG')->ItemIsEnabled(7));
         EXPECT_TRUE(t.Popup('IMAG')->ItemIsEnabled(5));
         EXPECT_EQ(UInt32(Paper_Size_A3_Stitch), PREF_PRINT::kPaperSize.get(work));
       }},
      {"defaults keep the scanner-button tag", nullptr,
       [](PrintDialogTest& t) { t.Click('DFLT'); },
       [](PrintDialogTest&, RecordBytes work) {
         EXPECT_EQ(2002u, PREF_PRINT::kTag.get(work));
         EXPECT_NE(UInt32(Paper_Size_custom), PREF_PRINT::kPaperSize.get(work));
         EXPECT_EQ(4u, PREF_PRINT::kBrightness.get(work));
       }},
      {"a custom size cancelled keeps the stored size",
       [](RecordBytes all) {
         PREF_PRINT::kCustomSize.set(PREF_ALL::kPrint.in(all), 255, 255, PrefDocSize::kCentimetre);
         PREF_PRINT::kPaperSize.set(PREF_ALL::kPrint.in(all), 1);
       },
       [](PrintDialogTest& t) {
         AnswerNextDialog(msg_Cancel);
         t.Choose('SIZE', SInt16(Paper_Size_custom));
       },
       [](PrintDialogTest&, RecordBytes work) {
         EXPECT_FALSE(HasDialogActions());
         EXPECT_EQ(255, PREF_PRINT::kCustomSize.width(work));
         EXPECT_EQ(255, PREF_PRINT::kCustomSize.height(work));
       }},
      {"stored values out of their menus are brought in",
       [](RecordBytes all) {
         RecordBytes print = PREF_ALL::kPrint.in(all);
         PREF_PRINT::kSource.set(print, 9);
         PREF_PRINT::kPaperSize.set(print, 99);
         PREF_PRINT::kBrightness.set(print, 0);
       },
       nullptr,
       [](PrintDialogTest& t, RecordBytes work) {
         EXPECT_EQ(3u, PREF_PRINT::kSource.get(work));
         EXPECT_EQ(UInt32(t.Popup('SIZE')->CountMenuItems()), PREF_PRINT::kPaperSize.get(work));
         EXPECT_EQ(1u, PREF_PRINT::kBrightness.get(work));
       }},
  };
  bool first = true;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    if (!first) Restart();
    first = false;
    if (row.stored) Edit(row.stored);
    ASSERT_NE(nullptr, Open());
    if (row.act) row.act(*this);
    row.check(*this, Dialog()->Working());
  }
}

TEST_F(PrintDialogTest, CancelAfterApplyRestoresTheAppliedState) {
  ASSERT_NE(nullptr, Open());
  Choose('SIZE', 1);
  Click('APLY');
  Choose('SIZE', 2);
  Click('CNCL');
  ASSERT_EQ(nullptr, Dialog());
  Edit([](RecordBytes all) { EXPECT_EQ(1u, PREF_PRINT::kPaperSize.get(PREF_ALL::kPrint.in(all))); });
}

// One scan takes every sheet of the feeder; the layout gets them all at once, with the
// print job's zeros as ones, and its job values come back into the record.
TEST_F(PrintRunTest, OneScanBringsEveryFeederSheetToTheLayout) {
  Edit([](RecordBytes all) {
    RecordBytes print = PREF_ALL::kPrint.in(all);
    PREF_PRINT::kJob312.set(print, 0);
    PREF_PRINT::kJob316.set(print, 0);
    PREF_PRINT::kCopies.set(print, 0);
  });
  ASSERT_NE(nullptr, Open());
  sAnswer = kLayoutFinished;
  Scan();
  ASSERT_EQ(1u, sCalls.size());
  EXPECT_EQ(10, sCalls[0].pages);
  EXPECT_EQ(10u, sCalls[0].files.size());
  EXPECT_EQ(1u, sCalls[0].first);
  EXPECT_EQ(1u, sCalls[0].last);
  EXPECT_EQ(1u, sCalls[0].copies);
  for (const fs::path& file : sCalls[0].files) EXPECT_FALSE(fs::exists(file)) << file;
  EXPECT_EQ(nullptr, Dialog()) << "finished: the dialog closes";
  Edit([](RecordBytes all) { EXPECT_EQ(2u, PREF_PRINT::kCopies.get(PREF_ALL::kPrint.in(all))); });
}

TEST_F(PrintRunTest, AStartWhileScanningIsIgnored) {
  ASSERT_NE(nullptr, Open());
  Dialog()->ListenToMessage(msg_OK, nullptr);
  ASSERT_EQ(1, Dialog()->IsScanning());
  Scan();
  EXPECT_EQ(1u, sCalls.size());
  EXPECT_NE(nullptr, Dialog()) << "back: the dialog stays";
  EXPECT_TRUE(Dialog()->IsEnabled());
}

// After a run a scanner button started: finishing closes the dialog or quits, going back
// leaves it open for the next run.
TEST_F(PrintRunTest, AScannerButtonRunEndsAsTheSettingsSay) {
  const struct {
    const char* name;
    MessageT answer;
    UInt8 quit;
    bool open, quitting;
  } rows[] = {
      {"back", kLayoutBack, 1, true, false},
      {"finished", kLayoutFinished, 0, false, false},
      // The quitting application closes its windows itself.
      {"finished, quit after a button run", kLayoutFinished, 1, true, true},
  };
  bool first = true;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    if (!first) Restart();
    first = false;
    Edit([&](RecordBytes all) { PREF_SETTING::kQuitOption.set(PREF_ALL::kSetting.in(all), row.quit); });
    ASSERT_NE(nullptr, Open());
    sAnswer = row.answer;
    Dialog()->SetStartFlag(1);
    Scan();
    EXPECT_EQ(row.open, Dialog() != nullptr);
    EXPECT_EQ(row.quitting, mApp->GetState() == programState_Quitting);
    if (row.answer == kLayoutBack) {
      // The flag was cleared: the next run finishing closes rather than quits.
      sAnswer = kLayoutFinished;
      Scan();
      EXPECT_EQ(nullptr, Dialog());
      EXPECT_NE(programState_Quitting, mApp->GetState());
    }
  }
}

// A temporary folder that can be neither found nor made stops the start with the general
// failure; nothing is scanned.
TEST_F(PrintRunTest, ATemporaryFolderThatCannotBeMadeStopsTheStart) {
  std::string prefsFolder;
  FindFolderPath(kOnSystemDisk, kPreferencesFolderType, kCreateFolder, &prefsFolder);
  ASSERT_NE(nullptr, Open());
  {
    RecordBytes setting = PREF_ALL::kSetting.in(Dialog()->PrefAll());
    FSSpec gone = PREF_SETTING::kTempBase.get(setting);
    PStrFromString("Gone", gone.name);
    PREF_SETTING::kTempBase.set(setting, gone);
  }
  // A file where the temporary folders' parent would go.
  fs::remove_all(fs::path(prefsFolder) / "Dremlo Wendrix 5.0");
  std::ofstream(fs::path(prefsFolder) / "Dremlo Wendrix 5.0") << "not a folder";
  RecordAlerts(1);
  Dialog()->ListenToMessage(msg_OK, nullptr);
  EXPECT_EQ(0, Dialog()->IsScanning());
  ASSERT_EQ(1u, mAlerts.size());
  EXPECT_EQ(wxtest::ResourceText(400, 3), mAlerts[0]);
  EXPECT_TRUE(sCalls.empty());
}

// A stitch size goes to the stitch wizard instead of scanning; the wizard that closes
// without a result shows the dialog again, or closes it after a scanner-button start.
TEST_F(PrintRunTest, AStitchSizeHandsTheScanToTheWizard) {
  Edit([](RecordBytes all) { PREF_PRINT::kPaperSize.set(PREF_ALL::kPrint.in(all), UInt32(Paper_Size_A3_Stitch)); });
  for (UInt8 autoStart : {0, 1}) {
    SCOPED_TRACE(autoStart);
    ASSERT_NE(nullptr, Open());
    Dialog()->SetStartFlag(autoStart);
    Dialog()->ListenToMessage(msg_OK, nullptr);
    // The wizard is closed on its first step, without a result.
    for (LCommander* sub : std::vector<LCommander*>(Dialog()->GetSubCommanders()))
      if (auto* wizard = dynamic_cast<CStitchDialog*>(sub)) {
        wizard->ListenToMessage(msg_Cancel, nullptr);
        break;
      }
    EXPECT_EQ(autoStart == 0, Dialog() != nullptr);
    if (Dialog()) {
      EXPECT_TRUE(Dialog()->IsVisible());
      EXPECT_EQ(0, Dialog()->IsScanning());
      Click('CNCL');
    }
    EXPECT_TRUE(sCalls.empty());
    delete mApp;
    mApp = nullptr;
  }
}

}  // namespace
}  // namespace wxapp
