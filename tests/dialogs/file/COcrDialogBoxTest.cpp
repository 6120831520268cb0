// The OCR dialog built from its layout over a preferences file in a scratch root: what its
// controls show for a stored record, what each control does to the working record, what
// reaches the file when the dialog goes, and the checks that stop a start before it scans.
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
#include "app/wendrix/DialogClasses.h"
#include "display/Display.h"
#include "dialogs/file/COcrDialogBox.h"
#include "framework/FrameworkDriver.h"
#include "framework/LEditText.h"
#include "framework/TRegistrar.h"
#include "framework/URegistrar.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "support/TestEnv.h"
#include "support/WindowScreenshot.h"
#include "support/Xvfb.h"
#include "tests/output/DialogTestEnv.h"
#include "tests/dialogs/file/FunctionDialogTest.h"
#include "toolbox/Files.h"
#include "toolbox/Resources.h"
#include "toolbox/TextConvert.h"
#include "toolbox/TextUtils.h"

namespace {

namespace fs = std::filesystem;
using namespace wxframework;

constexpr SInt16 kLayout = 3000;
constexpr size_t kOCROffset = PREF_ALL::kOCR.off;

class OcrDialog : public wxtest::FunctionDialogTest<COcrDialogBox> {
 protected:
  void SetUp() override {
    FunctionDialogTest::SetUp();
    mApp1 = Application("Reader");
    Edit([&](RecordBytes all) {
      RecordBytes ocr = PREF_ALL::kOCR.in(all);
      PREF_OCR::kColourMode.set(ocr, 3);
      PREF_OCR::kColourSetting.set(ocr, 2);
      PREF_OCR::kSetting4.set(ocr, 1);
      PREF_OCR::kPaperSize.set(ocr, 1);
      PREF_OCR::kOCRApp.set(ocr, Spec(mApp1));
    });
  }
  void RegisterClasses() override {
    RegisterClass_(COcrDialogBox);
    RegisterClass_(CPopupButton);
    RegisterClass_(CEditText);
    RegisterClass_(CCicnButton);
    RegisterClass_(CFileNameAddPopup);
  }

  COcrDialogBox* Open() { return FunctionDialogTest::Open(kLayout); }

  fs::path mApp1;
};

TEST_F(OcrDialog, ExecutableRegistersTheDialogUnderItsClass) {
  bool found = false;
  for (const SAppClassEntry& entry : DialogClasses()) found |= entry.classID == 'Odlg';
  EXPECT_TRUE(found);
}

struct StoredRow {
  const char* what;
  UInt32 mode, resolution, size, type;
  UInt8 driverWindow;
  // What shows, and what the record holds afterwards.
  SInt32 shownMode, shownResolution, shownSize, shownType;
  bool jpegOffered, scanChoicesEnabled;
};

TEST_F(OcrDialog, ShowsTheStoredRecordWithItsItemsBroughtIntoTheirMenus) {
  const SInt32 custom = IS_J ? 13 : 8;
  const StoredRow rows[] = {
      {"colour JPEG at 400 dpi", 3, 2, 1, 2, 0, 3, 2, 1, 2, true, true},
      {"black and white cannot be JPEG", 1, 1, 1, 2, 0, 1, 1, 1, 1, false, true},
      {"grey PICT stays PICT", 2, 1, 2, 1, 0, 2, 1, 2, 1, true, true},
      {"the driver's window disables mode, resolution and size", 3, 1, 1, 2, 1, 3, 1, 1, 2, true, false},
      {"items past their menus", 9, 7, 99, 5, 0, 3, 2, custom, 2, true, true},
      {"items of zero", 0, 0, 0, 0, 0, 1, 1, 1, 1, false, true},
  };
  for (const StoredRow& row : rows) {
    SCOPED_TRACE(row.what);
    Edit([&](RecordBytes all) {
      RecordBytes ocr = PREF_ALL::kOCR.in(all);
      PREF_OCR::kColourMode.set(ocr, row.mode);
      PREF_OCR::kSetting4.set(ocr, row.resolution);
      PREF_OCR::kPaperSize.set(ocr, row.size);
      PREF_OCR::kColourSetting.set(ocr, row.type);
      PREF_OCR::kFlag16.set(ocr, row.driverWindow);
    });
    Open();
    EXPECT_EQ(Popup('IMAG')->GetValue(), row.shownMode);
    EXPECT_EQ(Popup('RESL')->GetValue(), row.shownResolution);
    EXPECT_EQ(Popup('SIZE')->GetValue(), row.shownSize);
    EXPECT_EQ(Popup('FTYP')->GetValue(), row.shownType);
    EXPECT_EQ(Word(PREF_OCR::kColourMode.off), UInt32(row.shownMode));
    EXPECT_EQ(Word(PREF_OCR::kSetting4.off), UInt32(row.shownResolution));
    EXPECT_EQ(Word(PREF_OCR::kPaperSize.off), UInt32(row.shownSize));
    EXPECT_EQ(Word(PREF_OCR::kColourSetting.off), UInt32(row.shownType));
    EXPECT_EQ(Popup('FTYP')->ItemIsEnabled(2), row.jpegOffered);
    EXPECT_EQ(Popup('IMAG')->IsEnabled(), row.scanChoicesEnabled);
    EXPECT_EQ(Popup('RESL')->IsEnabled(), row.scanChoicesEnabled);
    EXPECT_EQ(Popup('SIZE')->IsEnabled(), row.scanChoicesEnabled);
    EXPECT_TRUE(Popup('FTYP')->IsEnabled());
    EXPECT_EQ(mDialog->Resolution_Value(), row.shownResolution == 2 ? 400 : 300);
    Close();
  }
}

TEST_F(OcrDialog, BlackAndWhiteSetsJPEGAsideAndOnlyAJPEGSetAsideComesBack) {
  Open();
  EXPECT_EQ(Popup('SIZE')->CountMenuItems(), IS_J ? 13 : 8);
  Choose('IMAG', 1);
  EXPECT_EQ(Popup('FTYP')->GetValue(), 1);
  EXPECT_FALSE(Popup('FTYP')->ItemIsEnabled(2));
  Choose('IMAG', 2);
  EXPECT_EQ(Popup('FTYP')->GetValue(), 2);
  EXPECT_EQ(Word(PREF_OCR::kColourSetting.off), 2u);
  Choose('FTYP', 1);
  Choose('IMAG', 1);
  Choose('IMAG', 3);
  EXPECT_EQ(Popup('FTYP')->GetValue(), 1);
  EXPECT_EQ(Word(PREF_OCR::kColourMode.off), 3u);
}

TEST_F(OcrDialog, ControlsWriteTheirFieldsAndCancelGoesBackToTheLastApply) {
  const std::vector<uint8_t> before = FileBytes();
  Open();
  Choose('RESL', 2);
  Choose('DYIN', 0);
  Choose('EZFN', 1);
  EXPECT_EQ(Word(PREF_OCR::kSetting4.off), 2u);
  EXPECT_EQ(mDialog->Working().u8(PREF_OCR::kCheckDYIN.off), 0);
  EXPECT_EQ(mDialog->Working().u8(PREF_OCR::kCheckEZFN.off), 1);
  EXPECT_EQ(mDialog->Working().u8(PREF_OCR::kFlag3413.off), 1);
  SetName("Letters");
  Send('APLY');
  Choose('RESL', 1);
  Send(msg_Cancel);  // closes the dialog
  mDialog = nullptr;
  ExpectOnlyTheRecordChanged(before, kOCROffset, PREF_OCR::kSize);
  Edit([](RecordBytes all) {
    RecordBytes ocr = PREF_ALL::kOCR.in(all);
    EXPECT_EQ(PREF_OCR::kSetting4.get(ocr), 2u);
    EXPECT_EQ(PREF_OCR::kCheckEZFN.get(ocr), 1);
    Str255 name;
    PREF_OCR::kDefaultFileName.get(ocr, name);
    EXPECT_EQ(PStrToString(name), "Letters");
    PREF_OCR::kHistory.entry(ocr, PREF_OCR::kHistory.count(ocr) - 1, name);
    EXPECT_EQ(PStrToString(name), "Letters");
  });
}

TEST_F(OcrDialog, DefaultsKeepTheButtonTagAndCancelAfterDefaultsRestoresTheStart) {
  Edit([](RecordBytes all) {
    RecordBytes ocr = PREF_ALL::kOCR.in(all);
    PREF_OCR::kTag.set(ocr, 2004);
    PREF_OCR::kSetting4.set(ocr, 2);
    PREF_OCR::kHistory.setCount(ocr, 3);
  });
  const std::vector<uint8_t> before = FileBytes();
  Open();
  Send('DFLT');
  RecordBytes r = mDialog->Working();
  EXPECT_EQ(PREF_OCR::kTag.get(r), 2004u);
  EXPECT_EQ(PREF_OCR::kSetting4.get(r), 1u);
  EXPECT_EQ(Popup('RESL')->GetValue(), 1);
  EXPECT_EQ(PREF_OCR::kHistory.count(r), 1u);
  Str255 name;
  PREF_OCR::kHistory.entry(r, 0, name);
  EXPECT_EQ(PStrToString(name), ListItem(3000, 1));
  EXPECT_EQ(Text('FNAM'), ListItem(3000, 1));
  Send(msg_Cancel);
  mDialog = nullptr;
  EXPECT_EQ(FileBytes(), before);
}

TEST_F(OcrDialog, ACustomSizeIsStoredRoundedAndACancelledSizeDialogKeepsIt) {
  const SInt32 custom = IS_J ? 13 : 8;
  Edit([](RecordBytes all) {
    PREF_OCR::kCustomSize.set(PREF_ALL::kOCR.in(all), 829, 1000, PrefDocSize::kCentimetre);
  });
  Open();
  QueueDialogAction([](LWindow* d) { EXPECT_EQ(PaneText(d, 'EDWD'), "8.29"); });
  AnswerNextDialog(msg_Cancel);
  Choose('SIZE', custom);
  EXPECT_FALSE(HasDialogActions());
  EXPECT_EQ(PREF_OCR::kCustomSize.width(mDialog->Working()), 829);
  EXPECT_EQ(PREF_OCR::kCustomSize.height(mDialog->Working()), 1000);

  Choose('SIZE', 1);
  QueueDialogAction([](LWindow* d) {
    Str255 text;
    PStrFromString("21.0", text);
    FindPaneAs<LEditText>(d, 'EDWD')->SetDescriptor(text);
    PStrFromString("29.7", text);
    FindPaneAs<LEditText>(d, 'EDHG')->SetDescriptor(text);
  });
  AnswerNextDialog(msg_OK);
  Choose('SIZE', custom);
  EXPECT_EQ(PREF_OCR::kCustomSize.width(mDialog->Working()), 2100);
  EXPECT_EQ(PREF_OCR::kCustomSize.height(mDialog->Working()), 2970);
  Str255 text;
  EXPECT_NE(PStrToString(Popup('SIZE')->GetMenuItemText(SInt16(custom), text)).find("21"), std::string::npos);
}

TEST_F(OcrDialog, HistoryShowsTheNewestFirstAndANewNameOnlyWhileOpenAsTyped) {
  Edit([](RecordBytes all) {
    RecordBytes ocr = PREF_ALL::kOCR.in(all);
    const char* names[] = {"\x01" "A", "\x01" "B", "\x01" "C"};
    for (UInt32 i = 0; i < 3; ++i) PREF_OCR::kHistory.setEntry(ocr, i, reinterpret_cast<ConstStr255Param>(names[i]));
    PREF_OCR::kHistory.setCount(ocr, 3);
    PREF_OCR::kDefaultFileName.set(ocr, reinterpret_cast<ConstStr255Param>("\x01" "B"));
  });
  Open();
  LPopupButton* history = Popup('PuFN');
  Send('FACB');
  ASSERT_EQ(history->CountMenuItems(), 3);
  Str255 text;
  EXPECT_EQ(PStrToString(history->GetMenuItemText(1, text)), "C");
  EXPECT_EQ(PStrToString(history->GetMenuItemText(3, text)), "A");
  EXPECT_EQ(history->GetValue(), 2);
  Send('FACA');
  EXPECT_EQ(history->CountMenuItems(), 3);

  const std::string odd = "x;(^!</y";
  SetName(odd);
  Send('FACB');
  ASSERT_EQ(history->CountMenuItems(), 4);
  EXPECT_EQ(PStrToString(history->GetMenuItemText(1, text)), odd);
  Send('FACA');
  EXPECT_EQ(history->CountMenuItems(), 3);
  Choose('PuFN', 3);
  EXPECT_EQ(Text('FNAM'), "A");
}

TEST_F(OcrDialog, AVanishedApplicationIsForgottenAtOpeningAndForgetAsksFirst) {
  Open();
  EXPECT_EQ(Text('SCNA'), "Reader");
  std::vector<std::string> alerts;
  AnswerAlert(&alerts, msg_Cancel);
  Send('LKDL');
  EXPECT_EQ(PStrToString(PREF_OCR::kOCRApp.get(mDialog->Working()).name), "Reader");
  AnswerAlert(&alerts, msg_OK);
  Send('LKDL');
  EXPECT_EQ(PREF_OCR::kOCRApp.get(mDialog->Working()).name[0], 0);
  EXPECT_EQ(Text('SCNA'), ListItem(3000, 2));
  EXPECT_EQ(alerts, std::vector<std::string>(2, ListItem(400, 10)));
  Close();

  Edit([&](RecordBytes all) { PREF_OCR::kOCRApp.set(PREF_ALL::kOCR.in(all), Spec(mApp1)); });
  fs::remove(mApp1);
  Open();
  EXPECT_EQ(Text('SCNA'), ListItem(3000, 2));
  Close();
  Edit([](RecordBytes all) { EXPECT_EQ(PREF_OCR::kOCRApp.get(PREF_ALL::kOCR.in(all)).name[0], 0); });
}

TEST_F(OcrDialog, ADroppedApplicationBecomesTheOCRApplication) {
  Open();
  const FSSpec other = Spec(mRoot.path() / "apps" / "Other.app");
  mDialog->ListenToMessage('DiET', const_cast<FSSpec*>(&other));
  EXPECT_EQ(Text('SCNA'), "Other");
  EXPECT_EQ(PStrToString(PREF_OCR::kOCRApp.get(mDialog->Working()).name), "Other.app");
}

TEST_F(OcrDialog, ADesktopEntryIsShownByItsName) {
  const fs::path entry = mRoot.path() / "apps" / "org.example.Reader.desktop";
  std::ofstream(entry) << "[Desktop Entry]\nType=Application\nName=Page Reader\nExec=/bin/true %F\n";
  Open();
  const FSSpec app = Spec(entry);
  mDialog->ListenToMessage('DiET', const_cast<FSSpec*>(&app));
  EXPECT_EQ(Text('SCNA'), "Page Reader");
}

TEST_F(OcrDialog, ABadNameStopsTheStartWithItsAlertAndStoresNothing) {
  ExpectBadNamesStopTheStart([this] { Open(); });
}

TEST_F(OcrDialog, WithoutAnApplicationTheStartAsksAndACancelledChooserScansNothing) {
  Edit([](RecordBytes all) { PREF_OCR::kOCRApp.clear(PREF_ALL::kOCR.in(all)); });
  Open();
  std::vector<std::string> alerts;
  AnswerAlert(&alerts);
  AnswerNextDialog(msg_Cancel);  // the chooser
  Send(msg_OK);
  EXPECT_FALSE(HasDialogActions());
  EXPECT_EQ(alerts, std::vector<std::string>{ListItem(400, 18)});
  EXPECT_EQ(CWXUtility::sIsQuellaneOpened, 0);
  EXPECT_TRUE(mDialog->IsEnabled());
}

TEST_F(OcrDialog, AnUnwritableFolderStopsTheStart) {
  const fs::path locked = mRoot.path() / "locked";
  fs::create_directories(locked);
  Edit([&](RecordBytes all) { PREF_OCR::kFolder.set(PREF_ALL::kOCR.in(all), Spec(locked)); });
  Open();
  // Everything open to every user but the folder, which nobody may write.
  ASSERT_EQ(wxtest::Run("chmod -R a+rwX '" + mRoot.path().string() + "'"), 0);
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  EXPECT_TRUE(wxtest::HoldsForAnUnprivilegedUser([&] {
    std::vector<std::string> alerts;
    AnswerAlert(&alerts);
    Send(msg_OK);
    return alerts == std::vector<std::string>{ListItem(400, 13)} && CWXUtility::sIsQuellaneOpened == 0;
  })) << "alert 13, and no scan";
  wxframework::ClearDialogActions();
  fs::permissions(locked, fs::perms::owner_all);
}

TEST_F(OcrDialog, CommandsAreOffWhileAScanRuns) {
  Open();
  bool enabled = true, usesMark = false;
  UInt16 mark = 0;
  Str255 name{};
  CWXUtility::sIsQuellaneOpened = 1;
  mDialog->FindCommandStatus(10, enabled, usesMark, mark, name);
  EXPECT_FALSE(enabled);
  CWXUtility::sIsQuellaneOpened = 0;
  mDialog->FindCommandStatus(10, enabled, usesMark, mark, name);
  EXPECT_TRUE(enabled);
}

TEST_F(OcrDialog, EnglishTexts) {
  if (wxtest::BuildLanguage() != 'E') GTEST_SKIP() << "exact texts are English";
  Edit([](RecordBytes all) { PREF_OCR::kOCRApp.clear(PREF_ALL::kOCR.in(all)); });
  Open();
  Str255 title;
  mDialog->GetDescriptor(title);
  EXPECT_EQ(PStrToString(title), "OCR");
  EXPECT_EQ(Text('LAPP'), "OCR application:");
  EXPECT_EQ(Text('SCNA'), "None");
  EXPECT_EQ(Text('FNAM'), "OCR");
  Str255 item;
  EXPECT_EQ(PStrToString(Popup('IMAG')->GetMenuItemText(3, item)), "Colour");
  EXPECT_EQ(PStrToString(Popup('RESL')->GetMenuItemText(2, item)), "400 dpi");
  EXPECT_EQ(PStrToString(Popup('FTYP')->GetMenuItemText(2, item)), "JPEG");
}

class OcrOnScreen : public OcrDialog {
 protected:
  void SetUp() override {
    WX_REQUIRE_TOOL("xdpyinfo");
    WX_REQUIRE_TOOL("xwd");
    WX_REQUIRE_TOOL("convert");
    WX_REQUIRE_XVFB();
    OcrDialog::SetUp();
    SetSystemScriptForLanguage(wxtest::BuildLanguage());
    ASSERT_TRUE(DpyUseScreen());
  }
  void TearDown() override {
    OcrDialog::TearDown();
    SetSystemScriptForLanguage('E');
    DpyUseHeadless();
  }
};

TEST_F(OcrOnScreen, TheDialogAsItOpens) {
  Open()->Show();
  EXPECT_EQ(wxtest::ShootWindow(mDialog, "ocr-3000.png"), 0) << "the screen does not show what the dialog drew";
}

}  // namespace
