// The Mail dialog built from its layout over a preferences file in a scratch root: what its
// controls show for a stored record, what each control does to the working record, what
// reaches the file when the dialog goes, and the checks that stop a start before it scans.
#include <gtest/gtest.h>

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
#include "prefs/MailApplications.h"
#include "app/wendrix/DialogClasses.h"
#include "dialogs/file/CMailDialogBox.h"
#include "display/Display.h"
#include "framework/FrameworkDriver.h"
#include "framework/LEditText.h"
#include "framework/TRegistrar.h"
#include "framework/URegistrar.h"
#include "output/export/CMailerSelectDialog.h"
#include "output/export/CPreferenceApplTable.h"
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

constexpr SInt16 kLayout = 2000;
constexpr size_t kMailOffset = PREF_ALL::kMail.off;
using R = PREF_MAIL;

SInt32 CustomItem() { return IS_J ? 13 : 8; }

class MailDialog : public wxtest::FunctionDialogTest<CMailDialogBox> {
 protected:
  void SetUp() override {
    FunctionDialogTest::SetUp();
    mApp1 = Application("Post");
    fs::create_directories(mRoot.path() / "docs");
    mPDF = mRoot.path() / "docs" / "Report.pdf";
    std::ofstream(mPDF) << "%PDF-1.4\n";
    Edit([&](RecordBytes all) {
      RecordBytes mail = PREF_ALL::kMail.in(all);
      R::kSetting0.set(mail, 3);
      R::kSetting4.set(mail, 1);
      R::kPaperSize.set(mail, 1);
      R::kSetting12.set(mail, 4);
      R::kSetting16.set(mail, 1);
      R::kCheckUION.set(mail, 0);
      R::kMailApp.set(mail, Spec(mApp1));
    });
  }
  void RegisterClasses() override {
    RegisterClass_(CMailDialogBox);
    RegisterClass_(CPopupButton);
    RegisterClass_(CEditText);
    RegisterClass_(CCicnButton);
    RegisterClass_(CFileNameAddPopup);
    RegisterClass_(CMailerSelectDialog);
    RegisterClass_(CPreferenceApplTable);
  }

  CMailDialogBox* Open() { return FunctionDialogTest::Open(kLayout); }
  void CloseWith(MessageT message) {
    Send(message);
    mDialog = nullptr;
  }

  std::string Stored(const PrefStr255& field) {
    Str255 text;
    field.get(mDialog->Working(), text);
    return PStrToString(text);
  }
  // The enabled items of the resolution popup, as a string of their numbers.
  std::string EnabledResolutions() {
    std::string out;
    for (SInt16 i = 1; i <= Popup('RESL')->CountMenuItems(); ++i)
      if (Popup('RESL')->ItemIsEnabled(i)) out += char('0' + i);
    return out;
  }

  fs::path mApp1;
  fs::path mPDF;
};

TEST_F(MailDialog, ExecutableRegistersTheDialogUnderItsClass) {
  bool found = false;
  for (const SAppClassEntry& entry : DialogClasses()) found |= entry.classID == 'Mdlg';
  EXPECT_TRUE(found);
}

struct StoredRow {
  const char* what;
  UInt32 code, resolution, size, limit, type;
  UInt8 driverWindow;
  // What shows, and what the record holds afterwards.
  SInt32 shownMode;
  UInt32 storedCode;
  SInt32 shownResolution, shownSize, shownLimit, shownType;
  bool limitEnabled, sizeEnabled, scanChoicesEnabled;
};

TEST_F(MailDialog, ShowsTheStoredRecordWithItsValuesBroughtIntoTheirMenus) {
  const StoredRow rows[] = {
      {"grey JPEG at 75 dpi", 2, 1, 1, 4, 1, 0, 2, 2, 1, 1, 4, 1, true, true, true},
      {"colour PDF keeps 400 dpi", 3, 6, 1, 1, 2, 0, 4, 3, 6, 1, 1, 2, false, true, true},
      {"PDF stops at 400 dpi", 3, 9, 1, 1, 3, 0, 4, 3, 6, 1, 1, 3, false, true, true},
      {"black-and-white text mode (code 7) is item 3", 7, 1, 1, 4, 2, 0, 3, 7, 1, 1, 4, 2, false, true, true},
      {"codes 5 and 6 have no size choice", 5, 4, 1, 4, 2, 0, 6, 5, 3, 1, 4, 2, false, false, true},
      {"the driver's window", 3, 2, 1, 1, 1, 1, 4, 3, 2, 1, 1, 1, false, false, false},
      {"values past their menus", 99, 12, 99, 7, 9, 0, 4, 3, 6, CustomItem(), 4, 4, false, true, true},
      {"values of zero", 0, 0, 0, 0, 0, 0, 4, 3, 1, 1, 1, 1, true, true, true},
  };
  for (const StoredRow& row : rows) {
    SCOPED_TRACE(row.what);
    Edit([&](RecordBytes all) {
      RecordBytes mail = PREF_ALL::kMail.in(all);
      R::kSetting0.set(mail, row.code);
      R::kSetting4.set(mail, row.resolution);
      R::kPaperSize.set(mail, row.size);
      R::kSetting12.set(mail, row.limit);
      R::kSetting16.set(mail, row.type);
      R::kCheckUION.set(mail, row.driverWindow);
      R::kMailAppCount.set(mail, 0);
      mail.setU32(R::kMailAppCount.off, 300);
      mail.setU32(R::kHistory.off, 99);
    });
    Open();
    EXPECT_EQ(Popup('IMAG')->GetValue(), row.shownMode);
    EXPECT_EQ(Word(R::kSetting0.off), row.storedCode);
    EXPECT_EQ(Popup('RESL')->GetValue(), row.shownResolution);
    EXPECT_EQ(Popup('SIZE')->GetValue(), row.shownSize);
    EXPECT_EQ(Popup('FMAX')->GetValue(), row.shownLimit);
    EXPECT_EQ(Popup('FTYP')->GetValue(), row.shownType);
    EXPECT_EQ(Word(R::kSetting4.off), UInt32(row.shownResolution));
    EXPECT_EQ(Word(R::kPaperSize.off), UInt32(row.shownSize));
    EXPECT_EQ(Word(R::kSetting12.off), UInt32(row.shownLimit));
    EXPECT_EQ(Word(R::kSetting16.off), UInt32(row.shownType));
    EXPECT_EQ(Popup('FMAX')->IsEnabled(), row.limitEnabled);
    EXPECT_EQ(Popup('SIZE')->IsEnabled(), row.sizeEnabled);
    EXPECT_EQ(Popup('IMAG')->IsEnabled(), row.scanChoicesEnabled);
    EXPECT_EQ(Popup('RESL')->IsEnabled(), row.scanChoicesEnabled);
    EXPECT_EQ(R::kMailAppCount.get(mDialog->Working()), 256u);
    EXPECT_EQ(R::kHistory.count(mDialog->Working()), 10u);
    Close();
  }
}

struct ResolutionRow {
  const char* what;
  SInt32 mode, size, limit, type, resolution;
  const char* enabled;  // resolution items left enabled
  SInt32 shown;
};

TEST_F(MailDialog, ResolutionsOfferedFollowTheEstimatedSizeTheFileTypeAndTheMode) {
  const ResolutionRow rows[] = {
      {"A4 colour within 150 KB: 75 dpi alone", 4, 1, 1, 1, 5, "1", 1},
      {"A4 grey within 300 KB", 2, 1, 2, 1, 9, "12", 2},
      {"A4 colour within 900 KB", 4, 1, 4, 1, 9, "123", 3},
      {"a business card within 900 KB", 4, Paper_Size_BusinessCard, 4, 1, 9, "1234567", 7},
      {"PDF ignores the limit but stops at 400 dpi", 4, 1, 1, 2, 9, "123456", 6},
      {"codes 5 and 6 take 75, 150, 300 and 600 dpi", 6, 1, 1, 2, 4, "135", 3},
      {"codes 5 and 6 in JPEG get no size limit", 7, 1, 1, 1, 8, "1357", 7},
  };
  for (const ResolutionRow& row : rows) {
    SCOPED_TRACE(row.what);
    Open();
    Choose('FTYP', row.type);
    Choose('SIZE', row.size);
    Choose('FMAX', row.limit);
    Choose('IMAG', row.mode);
    Choose('RESL', row.resolution);
    Send('FMAX', &const_cast<SInt32&>(row.limit));
    EXPECT_EQ(EnabledResolutions(), row.enabled);
    EXPECT_EQ(Popup('RESL')->GetValue(), row.shown);
    EXPECT_EQ(Word(R::kSetting4.off), UInt32(row.shown));
    Close();
  }
}

TEST_F(MailDialog, BlackAndWhiteWithdrawsJPEGAndOnlyAJPEGItWithdrewComesBack) {
  Open();
  EXPECT_EQ(Popup('SIZE')->CountMenuItems(), CustomItem());
  Choose('IMAG', 1);
  EXPECT_EQ(Popup('FTYP')->GetValue(), 2);
  EXPECT_FALSE(Popup('FTYP')->ItemIsEnabled(1));
  EXPECT_EQ(Word(R::kSetting16.off), 2u);
  EXPECT_EQ(StPDFDialog::kCompression.get(R::kPDF.in(mDialog->Working())), 1u);
  Choose('IMAG', 2);
  EXPECT_EQ(Popup('FTYP')->GetValue(), 1);
  EXPECT_EQ(Word(R::kSetting16.off), 1u);
  // A PDF the user chose stays PDF.
  Choose('FTYP', 2);
  Choose('IMAG', 1);
  Choose('IMAG', 4);
  EXPECT_EQ(Popup('FTYP')->GetValue(), 2);
  EXPECT_TRUE(Popup('FTYP')->ItemIsEnabled(1));
}

TEST_F(MailDialog, ControlsWriteTheirFieldsAndCloseGoesBackToTheLastApply) {
  const std::vector<uint8_t> before = FileBytes();
  Open();
  Choose('RESL', 1);
  Choose('DYIN', 1);
  Choose('EZFN', 1);
  Choose('FTYP', 3);
  RecordBytes r = mDialog->Working();
  EXPECT_EQ(r.u8(R::kCheckDYIN.off), 1);
  EXPECT_EQ(r.u8(R::kCheckEZFN.off), 1);
  EXPECT_EQ(r.u8(R::kFlag21601.off), 1);
  EXPECT_EQ(StPDFDialog::kUnused4.get(R::kPDF.in(r)), 1u);
  EXPECT_EQ(StPDFDialog::kUnused8.get(R::kPDF.in(r)), 0u);
  EXPECT_FALSE(Popup('FMAX')->IsEnabled());
  SetName("Trip");
  Send('APLY');
  Choose('RESL', 2);
  Choose('FTYP', 1);
  CloseWith(msg_Cancel);
  ExpectOnlyTheRecordChanged(before, kMailOffset, R::kSize);
  Edit([](RecordBytes all) {
    RecordBytes mail = PREF_ALL::kMail.in(all);
    EXPECT_EQ(R::kSetting4.get(mail), 1u);
    EXPECT_EQ(R::kSetting16.get(mail), 3u);
    Str255 name;
    R::kDefaultFileName.get(mail, name);
    EXPECT_EQ(PStrToString(name), "Trip");
    R::kHistory.entry(mail, R::kHistory.count(mail) - 1, name);
    EXPECT_EQ(PStrToString(name), "Trip");
  });
}

TEST_F(MailDialog, AddingToAPDFNamesTheCopyAndKeepsTheBaseNameApart) {
  Edit([&](RecordBytes all) {
    RecordBytes mail = PREF_ALL::kMail.in(all);
    StPDFDialog::kAppendTo.set(R::kPDF.in(mail), Spec(mPDF));
    R::kDefaultFileName.set(mail, reinterpret_cast<ConstStr255Param>("\x04" "Base"));
  });
  Open();
  EXPECT_EQ(Text('TOTX'), ListItem(2000, 2));
  Choose('FTYP', 4);
  EXPECT_EQ(Text('TOTX'), ListItem(2000, 3));
  EXPECT_FALSE(Pane('DYIN')->IsEnabled());
  EXPECT_FALSE(Pane('EZFN')->IsEnabled());
  // The stored append name is empty until a PDF is chosen anew; the base name shows meanwhile.
  EXPECT_EQ(Text('FNAM'), "");
  SetName("Report_New");
  Send('APLY');
  EXPECT_EQ(Stored(R::kFileName), "Report_New");
  EXPECT_EQ(Stored(R::kDefaultFileName), "Base");
  Choose('FTYP', 2);
  EXPECT_EQ(Text('FNAM'), "Base");
  EXPECT_EQ(Stored(R::kFileName), "Report_New");
  EXPECT_EQ(StPDFDialog::kUnused8.get(R::kPDF.in(mDialog->Working())), 0u);

  // A PDF chosen names the copy after it, cut so "_New" fits the field.
  const SInt16 room = SInt16(Pane<LEditText>('FNAM')->GetMaxChars() - 4);
  const std::string longName = std::string(60, 'a') + ".pdf";
  for (const auto& [pdf, copy] : {std::pair<std::string, std::string>{"Report.pdf", "Report_New"},
                                  {longName, std::string(size_t(room), 'a') + "_New"}}) {
    FSSpec spec{};
    PStrFromString(pdf, spec.name, 64);
    StPDFDialog::kAppendTo.set(R::kPDF.in(mDialog->Working()), spec);
    mDialog->SetFileNamePdfAdd();
    EXPECT_EQ(Stored(R::kFileName), copy);
  }
}

TEST_F(MailDialog, DefaultsKeepTheButtonTagAndCloseAfterDefaultsRestoresTheStart) {
  Edit([](RecordBytes all) {
    RecordBytes mail = PREF_ALL::kMail.in(all);
    R::kTag.set(mail, 2003);
    R::kSetting16.set(mail, 3);
    R::kHistory.setCount(mail, 3);
  });
  const std::vector<uint8_t> before = FileBytes();
  Open();
  Send('DFLT');
  RecordBytes r = mDialog->Working();
  EXPECT_EQ(R::kTag.get(r), 2003u);
  EXPECT_EQ(R::kSetting16.get(r), 1u);
  EXPECT_EQ(Popup('FTYP')->GetValue(), 1);
  EXPECT_EQ(R::kHistory.count(r), 1u);
  Str255 name;
  R::kHistory.entry(r, 0, name);
  EXPECT_EQ(PStrToString(name), ListItem(2000, 1));
  EXPECT_EQ(Text('FNAM'), ListItem(2000, 1));
  CloseWith(msg_Cancel);
  EXPECT_EQ(FileBytes(), before);
}

TEST_F(MailDialog, ACustomSizeIsStoredRoundedAndACancelledSizeDialogKeepsIt) {
  Edit([](RecordBytes all) { R::kCustomSize.set(PREF_ALL::kMail.in(all), 829, 1000, PrefDocSize::kCentimetre); });
  Open();
  QueueDialogAction([](LWindow* d) { EXPECT_EQ(PaneText(d, 'EDWD'), "8.29"); });
  AnswerNextDialog(msg_Cancel);
  Choose('SIZE', CustomItem());
  EXPECT_FALSE(HasDialogActions());
  EXPECT_EQ(R::kCustomSize.width(mDialog->Working()), 829);
  Choose('SIZE', 1);
  QueueDialogAction([](LWindow* d) {
    Str255 text;
    PStrFromString("21.0", text);
    FindPaneAs<LEditText>(d, 'EDWD')->SetDescriptor(text);
    PStrFromString("29.7", text);
    FindPaneAs<LEditText>(d, 'EDHG')->SetDescriptor(text);
  });
  AnswerNextDialog(msg_OK);
  Choose('SIZE', CustomItem());
  EXPECT_EQ(R::kCustomSize.width(mDialog->Working()), 2100);
  EXPECT_EQ(R::kCustomSize.height(mDialog->Working()), 2970);
}

TEST_F(MailDialog, ALostApplicationIsLabelledAsLostAndANeverChosenOneNotAtAll) {
  fs::remove(mApp1);
  Open();
  EXPECT_EQ(Text('SCNA'), ListItem(2100, 1));
  EXPECT_TRUE(MailApplicationLost(mDialog->Working()));
  Close();
  Edit([](RecordBytes all) { EXPECT_TRUE(MailApplicationLost(PREF_ALL::kMail.in(all))); });
  Edit([](RecordBytes all) { R::kMailApp.clear(PREF_ALL::kMail.in(all)); });
  Open();
  EXPECT_EQ(Text('SCNA'), "");
}

TEST_F(MailDialog, ADroppedApplicationIsListedUntilTheListIsFullAndCloseKeepsTheList) {
  Edit([&](RecordBytes all) {
    RecordBytes mail = PREF_ALL::kMail.in(all);
    for (UInt32 i = 0; i < 255; ++i) R::kMailApps.set(mail, i, Spec(mApp1));
    R::kMailAppCount.set(mail, 255);
  });
  Open();
  const FSSpec first = Spec(mRoot.path() / "apps" / "Letters.app");
  const FSSpec second = Spec(mRoot.path() / "apps" / "Notes.app");
  Send('DiET', const_cast<FSSpec*>(&first));
  EXPECT_EQ(Text('SCNA'), "Letters");
  Send('DiET', const_cast<FSSpec*>(&second));
  EXPECT_EQ(Text('SCNA'), "Notes");
  RecordBytes r = mDialog->Working();
  EXPECT_EQ(PStrToString(R::kMailApp.get(r).name), "Notes.app");
  EXPECT_EQ(R::kMailAppCount.get(r), 256u);
  EXPECT_EQ(PStrToString(R::kMailApps.get(r, 255).name), "Letters.app");
  CloseWith(msg_Cancel);
  Edit([](RecordBytes all) {
    RecordBytes mail = PREF_ALL::kMail.in(all);
    EXPECT_EQ(mail.u32(R::kMailAppCount.off), 256u);
    EXPECT_EQ(PStrToString(R::kMailApps.get(mail, 255).name), "Letters.app");
    // Nothing was written past the list.
    EXPECT_EQ(R::kCheckEZFN.get(mail), 0);
  });
}

TEST_F(MailDialog, HistoryShowsTheNewestFirstAndANameAsTyped) {
  Edit([](RecordBytes all) {
    RecordBytes mail = PREF_ALL::kMail.in(all);
    const char* names[] = {"\x01" "A", "\x01" "B", "\x01" "C"};
    for (UInt32 i = 0; i < 3; ++i) R::kHistory.setEntry(mail, i, reinterpret_cast<ConstStr255Param>(names[i]));
    R::kHistory.setCount(mail, 3);
  });
  Open();
  LPopupButton* history = Popup('PuFN');
  const std::string odd = "x;(^!</y";
  SetName(odd);
  Send('FACB');
  ASSERT_EQ(history->CountMenuItems(), 4);
  Str255 text;
  EXPECT_EQ(PStrToString(history->GetMenuItemText(1, text)), odd);
  EXPECT_EQ(PStrToString(history->GetMenuItemText(2, text)), "C");
  Send('FACA');
  EXPECT_EQ(history->CountMenuItems(), 3);
  Choose('PuFN', 3);
  EXPECT_EQ(Text('FNAM'), "A");
}

TEST_F(MailDialog, ABadNameStopsTheStartWithItsAlertAndStoresNothing) {
  ExpectBadNamesStopTheStart([this] { Open(); });
}

TEST_F(MailDialog, WithoutAnApplicationTheStartAsksAndACancelledChooserScansNothing) {
  Edit([](RecordBytes all) { R::kMailApp.clear(PREF_ALL::kMail.in(all)); });
  Open();
  std::vector<std::string> alerts;
  AnswerAlert(&alerts);
  AnswerNextDialog(msg_Cancel);  // the chooser
  Send(msg_OK);
  EXPECT_FALSE(HasDialogActions());
  EXPECT_EQ(alerts, std::vector<std::string>{ListItem(400, 17)});
  EXPECT_EQ(CWXUtility::sIsQuellaneOpened, 0);
  EXPECT_TRUE(mDialog->IsEnabled());
}

TEST_F(MailDialog, AddingToAPDFWithoutOneAsksForItAndACancelledChooserScansNothing) {
  Open();
  Choose('FTYP', 4);
  std::vector<std::string> alerts;
  AnswerAlert(&alerts);
  AnswerNextDialog(msg_Cancel);  // the PDF chooser
  Send(msg_OK);
  EXPECT_FALSE(HasDialogActions());
  EXPECT_EQ(alerts, std::vector<std::string>{ListItem(400, 32)});
  EXPECT_EQ(CWXUtility::sIsQuellaneOpened, 0);
}

TEST_F(MailDialog, OptionsOpenByFileTypeAndTheirSkipBoxBecomesTheScanOption) {
  const struct {
    SInt32 type;
    PaneIDT skipBox;
  } rows[] = {{1, 'PRBJ'}, {2, 'CBXP'}, {4, 'CBXP'}};
  Open();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.type);
    Choose('FTYP', row.type);
    bool found = false;
    QueueDialogAction([&](LWindow* d) {
      found = FindPane(d, row.skipBox) != nullptr;
      FindPaneAs<LControl>(d, row.skipBox)->SetValue(1);
    });
    AnswerNextDialog(msg_OK);
    Send('PDFS');
    EXPECT_FALSE(HasDialogActions());
    EXPECT_TRUE(found);
    EXPECT_EQ(Word(R::kSetting21604.off), 1u);
    mDialog->Working().setU32(R::kSetting21604.off, 0);
  }
}

TEST_F(MailDialog, CommandsAreOffWhileAScanRuns) {
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

TEST_F(MailDialog, EnglishTexts) {
  if (wxtest::BuildLanguage() != 'E') GTEST_SKIP() << "exact texts are English";
  Edit([](RecordBytes all) { R::kMailApp.clear(PREF_ALL::kMail.in(all)); });
  Open();
  Str255 title;
  mDialog->GetDescriptor(title);
  EXPECT_EQ(PStrToString(title), "Mail");
  EXPECT_EQ(Text('LAPP'), "Mail application:");
  EXPECT_EQ(Text('LMAX'), "Maximum file size:");
  EXPECT_EQ(Text('TOTX'), "Save to:");
  EXPECT_EQ(Text('FNAM'), "Mail");
  Str255 item;
  EXPECT_EQ(PStrToString(Popup('IMAG')->GetMenuItemText(4, item)), "Colour");
  EXPECT_EQ(PStrToString(Popup('FMAX')->GetMenuItemText(1, item)), "150 KB");
  EXPECT_EQ(PStrToString(Popup('FTYP')->GetMenuItemText(3, item)), "Multi-page PDF");
}

class MailOnScreen : public MailDialog {
 protected:
  void SetUp() override {
    WX_REQUIRE_TOOL("xdpyinfo");
    WX_REQUIRE_TOOL("xwd");
    WX_REQUIRE_TOOL("convert");
    WX_REQUIRE_XVFB();
    MailDialog::SetUp();
    SetSystemScriptForLanguage(wxtest::BuildLanguage());
    ASSERT_TRUE(DpyUseScreen());
  }
  void TearDown() override {
    MailDialog::TearDown();
    SetSystemScriptForLanguage('E');
    DpyUseHeadless();
  }
};

TEST_F(MailOnScreen, TheDialogAsItOpens) {
  Open()->Show();
  EXPECT_EQ(wxtest::ShootWindow(mDialog, "mail-2000.png"), 0) << "the screen does not show what the dialog drew";
}

TEST_F(MailOnScreen, WithoutAnApplicationTheIconIsTheMailIcon) {
  Edit([](RecordBytes all) { R::kMailApp.clear(PREF_ALL::kMail.in(all)); });
  Open()->Show();
  ASSERT_EQ(wxtest::ShootWindow(mDialog, "mail-2000-no-application.png"), 0);
  Rect icon;
  Pane('AICN')->CalcPortFrameRect(icon);
  const std::string shot = (wxtest::OutputDir("dialogs") / "mail-2000-no-application.png").string();
  const std::string artwork = std::string(WX_SOURCE_DIR_DEFAULT) + "/resources/artwork/mail.png";
  // The artwork on the dialog's own background, beside the icon.
  const std::string background = "$(convert '" + shot + "' -format '%[pixel:p{" + std::to_string(icon.left - 2) + "," +
                                 std::to_string(icon.top) + "}]' info:)";
  std::string differing;
  wxtest::Run("convert \\( '" + artwork + "' -background \"" + background + "\" -flatten \\) \\( '" + shot +
                  "' -crop 32x32+" + std::to_string(icon.left) + "+" + std::to_string(icon.top) +
                  " +repage \\) -fuzz 2% -metric AE -compare -format '%[distortion]' info:",
              &differing);
  // A colour icon's mask is one bit deep, so the artwork's soft edge differs; another icon
  // differs in most of its pixels.
  EXPECT_LT(std::atoi(differing.c_str()), 128) << "the icon shown is not the mail artwork";
}

}  // namespace
