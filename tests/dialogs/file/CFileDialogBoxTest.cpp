// The File dialog built from its layouts over a preferences file in a scratch root: which
// tab and record it opens on, what its controls show and write into the five records, what
// reaches the file when it goes, and the tab switch's handling of the two name fields.
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
#include "app/wendrix/DialogClasses.h"
#include "dialogs/file/CFileDialogBox.h"
#include "framework/FrameworkDriver.h"
#include "framework/LEditText.h"
#include "framework/LTabsControl.h"
#include "framework/TRegistrar.h"
#include "framework/URegistrar.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "support/TestEnv.h"
#include "tests/dialogs/file/FunctionDialogTest.h"
#include "toolbox/Files.h"
#include "toolbox/TextUtils.h"

namespace {

namespace fs = std::filesystem;
using namespace wxframework;
using F = PREF_FILE;

class FileDialog : public wxtest::FunctionDialogTest<CFileDialogBox> {
 protected:
  void SetUp() override {
    FunctionDialogTest::SetUp();
    mApp1 = Application("Viewer");
    SetModel("Dremlo Model A");
    Edit([&](RecordBytes all) {
      for (UInt32 k = 0; k < 5; ++k) F::kTargetApp.set(PREF_ALL::File(k).in(all), Spec(mApp1));
    });
  }
  void RegisterClasses() override {
    RegisterClass_(CFileDialogBox);
    RegisterClass_(CPopupButton);
    RegisterClass_(CEditText);
    RegisterClass_(CCicnButton);
    RegisterClass_(CFileNameAddPopup);
  }

  void SetModel(const char* model) {
    Edit([&](RecordBytes all) {
      Str255 text;
      PStrFromString(model, text);
      PREF_SETTING::kModelName.set(PREF_ALL::kSetting.in(all), text);
      PREF_SETTING::kTWAIN.set(PREF_ALL::kSetting.in(all), 1);
    });
  }

  CFileDialogBox* Open(ResIDT layout = 5050) { return FunctionDialogTest::Open(layout); }
  std::string Str(RecordBytes r, const PrefStr255& field) {
    Str255 text;
    field.get(r, text);
    return PStrToString(text);
  }

  fs::path mApp1;
};

TEST_F(FileDialog, ExecutableRegistersTheDialogUnderItsClass) {
  bool found = false;
  for (const SAppClassEntry& entry : DialogClasses()) found |= entry.classID == 'Fdlg';
  EXPECT_TRUE(found);
}

// Stored tab, last scanner button and model → tab shown, image-mode menu, record shown.
struct OpenRow {
  const char* model;
  ResIDT layout;
  UInt32 storedTab;
  UInt16 lastButton;
  UInt32 tab;
  ResIDT menu;
};

TEST_F(FileDialog, OpensOnTheTabOfItsButtonOrTheLastOneAndClampsAStoredTab) {
  const OpenRow rows[] = {
      {"Dremlo Model A", 5050, 2, 0, 2, 5002},  // a click: the tab last used
      {"Dremlo Model A", 5050, 7, 0, 1, 5001},  // a damaged tab is tab 1
      {"Dremlo Model A", 5050, 1, 5, 2, 5002},  // scanner button 5 is tab 2
      {"Dremlo Model A", 5050, 1, 6, 3, 5003},
      {"Dremlo Model D", 5000, 7, 0, 0, 5003},  // four buttons: no tabs
  };
  for (const OpenRow& row : rows) {
    SCOPED_TRACE(std::to_string(row.storedTab) + " " + std::to_string(row.lastButton) + " " + row.model);
    SetModel(row.model);
    Edit([&](RecordBytes all) {
      F::kCurrentTab.set(PREF_ALL::File(2).in(all), row.storedTab);
      PREF_ALL::kLastButton.set(all, row.lastButton);
      // Each record's resolution tells which one is shown.
      for (UInt32 k = 1; k < 5; ++k) F::kSetting8.set(PREF_ALL::File(k).in(all), k + 1);
    });
    Open(row.layout);
    EXPECT_EQ(mDialog->Tabbed(), row.layout == 5050);
    EXPECT_EQ(mDialog->Working().u32(F::kCurrentTab.off), row.tab);
    EXPECT_EQ(Popup('IMAG')->GetMenuID(), row.menu);
    EXPECT_EQ(Popup('RESL')->GetValue(), SInt32(row.tab + 2)) << "the record of the tab";
    EXPECT_EQ(CWXUtility::sTabMode, row.tab);
    delete mDialog;
    mDialog = nullptr;
  }
}

// Tab and stored image-mode code → item shown, code kept, compression forced.
struct ModeRow {
  UInt32 tab;
  UInt32 code;
  SInt32 item;
  UInt32 codeAfter;
};

TEST_F(FileDialog, ShowsEachTabsImageModesAndMapsAForeignCodeToTheTabsFirst) {
  const ModeRow rows[] = {
      {1, 5, 3, 5}, {1, 1, 1, 3},  // black and white is no colour kind
      {2, 7, 3, 7}, {2, 4, 1, 1},  // nor colour a monochrome one
      {3, 7, 3, 7}, {3, 3, 4, 3}, {3, 9, 4, 3},
  };
  for (const ModeRow& row : rows) {
    SCOPED_TRACE(std::to_string(row.tab) + "/" + std::to_string(row.code));
    Edit([&](RecordBytes all) {
      F::kCurrentTab.set(PREF_ALL::File(2).in(all), row.tab);
      F::kSetting4.set(PREF_ALL::File(row.tab + 1).in(all), row.code);
    });
    Open();
    EXPECT_EQ(Popup('IMAG')->GetValue(), row.item);
    EXPECT_EQ(mDialog->Working().u32(F::kSetting4.off), row.codeAfter);
    delete mDialog;
    mDialog = nullptr;
  }
}

TEST_F(FileDialog, SmallFileModesTakeOddResolutionsAndNoDocumentSize) {
  Edit([&](RecordBytes all) {
    F::kCurrentTab.set(PREF_ALL::File(2).in(all), 1);
    F::kSetting8.set(PREF_ALL::File(2).in(all), 4);
  });
  Open();
  Choose('IMAG', 3);  // code 5
  EXPECT_EQ(mDialog->Working().u32(F::kSetting4.off), 5u);
  EXPECT_EQ(Popup('RESL')->GetValue(), 3) << "200 dpi becomes 150 dpi";
  EXPECT_EQ(mDialog->Working(2).u32(F::kSetting8.off), 3u);
  EXPECT_FALSE(Popup('RESL')->ItemIsEnabled(2));
  EXPECT_FALSE(Popup('RESL')->ItemIsEnabled(6));
  EXPECT_FALSE(Pane('SIZE')->IsEnabled());
  Choose('IMAG', 1);
  EXPECT_TRUE(Popup('RESL')->ItemIsEnabled(2));
  EXPECT_TRUE(Pane('SIZE')->IsEnabled());
}

TEST_F(FileDialog, BlackAndWhiteForcesTheCompressionAndGreyBringsTheChoiceBack) {
  Edit([&](RecordBytes all) {
    F::kCurrentTab.set(PREF_ALL::File(2).in(all), 2);
    RecordBytes tab2 = PREF_ALL::File(3).in(all);
    F::kSetting4.set(tab2, 2);
    StPDFDialog::kCompression.set(F::kPDF.in(tab2), 3);
  });
  Open();
  Choose('IMAG', 1);
  RecordBytes pdf = F::kPDF.in(mDialog->Working());
  EXPECT_EQ(StPDFDialog::kCompression.get(pdf), 1u);
  EXPECT_EQ(StPDFDialog::kRestricted.get(pdf), 1u);
  EXPECT_EQ(StPDFDialog::kRestricted.get(F::kPDF.in(mDialog->Working(3))), 1u);
  Choose('IMAG', 2);
  EXPECT_EQ(StPDFDialog::kCompression.get(pdf), 3u);
  EXPECT_EQ(StPDFDialog::kRestricted.get(pdf), 0u);
}

TEST_F(FileDialog, ShowingTheDialogAndAskingTheNameAreNeverBothSet) {
  Open();
  Choose('EZCB', 1);
  EXPECT_FALSE(Pane('EZFN')->IsEnabled());
  Choose('EZCB', 0);
  EXPECT_TRUE(Pane('EZFN')->IsEnabled());
  Choose('EZFN', 1);
  EXPECT_FALSE(Pane('EZCB')->IsEnabled());
  EXPECT_EQ(mDialog->Working().u8(F::kFlag3675.off), 1u);
  EXPECT_EQ(mDialog->Working().u8(F::kFlag3673.off), 0u);
  Choose('FTYP', 3);
  EXPECT_FALSE(Pane('EZFN')->IsEnabled()) << "adding to a PDF asks no name";
}

TEST_F(FileDialog, FileTypesSetTheMultiPageAndAppendFlags) {
  Open();
  const struct {
    SInt32 item;
    UInt32 multi, append;
  } rows[] = {{1, 0, 0}, {2, 1, 0}, {3, 1, 1}};
  for (const auto& row : rows) {
    Choose('FTYP', row.item);
    RecordBytes pdf = F::kPDF.in(mDialog->Working());
    EXPECT_EQ(StPDFDialog::kUnused4.get(pdf), row.multi) << row.item;
    EXPECT_EQ(StPDFDialog::kUnused8.get(pdf), row.append) << row.item;
    EXPECT_EQ(mDialog->Working(2).u32(F::kSetting16.off), UInt32(row.item));
    EXPECT_EQ(Pane('DYIN')->IsEnabled(), row.item != 3);
  }
}

TEST_F(FileDialog, TheNewCopyIsNamedAfterTheChosenPDFCutSoNewFits) {
  const struct {
    std::string file, name;
  } rows[] = {
      {"Report.pdf", "Report_New"},
      {"Quarterly.figures.PDF", "Quarterly.figures_New"},
      {"An extremely long report name for the year.pdf", "An extremely long report na_New"},
  };
  for (const auto& row : rows) {
    const fs::path pdf = mRoot.path() / row.file;
    std::ofstream(pdf) << "%PDF-1.4\n";
    Edit([&](RecordBytes all) {
      StPDFDialog::kAppendTo.set(F::kPDF.in(PREF_ALL::File(2).in(all)), Spec(pdf));
      F::kCurrentTab.set(PREF_ALL::File(2).in(all), 1);
    });
    Open();
    mDialog->SetFileNamePdfAdd();
    EXPECT_EQ(Str(mDialog->Working(), F::kFileName), row.name);
    EXPECT_EQ(Str(mDialog->Working(2), F::kFileName), row.name);
    EXPECT_LE(row.name.size(), 31u);
    delete mDialog;
    mDialog = nullptr;
  }
}

TEST_F(FileDialog, ATabSwitchStoresTheFieldByTypeAndShowsTheEnteredTabsName) {
  const fs::path pdf = mRoot.path() / "Report.pdf";
  std::ofstream(pdf) << "%PDF-1.4\n";
  Edit([&](RecordBytes all) {
    RecordBytes tab1 = PREF_ALL::File(2).in(all);
    F::kCurrentTab.set(tab1, 1);
    F::kSetting16.set(tab1, 3);
    StPDFDialog::kAppendTo.set(F::kPDF.in(tab1), Spec(pdf));
    Str255 text;
    PStrFromString("Report_New", text);
    F::kFileName.set(tab1, text);
    PStrFromString("Colour", text);
    F::kDefaultFileName.set(tab1, text);
    PStrFromString("Mono", text);
    F::kDefaultFileName.set(PREF_ALL::File(3).in(all), text);
  });
  Open();
  EXPECT_EQ(Text('FNAM'), "Report_New");
  SetName("Report_Copy");
  Choose('TABS', 2);
  EXPECT_EQ(Text('FNAM'), "Mono");
  EXPECT_EQ(Str(mDialog->Working(2), F::kFileName), "Report_Copy");
  EXPECT_EQ(Str(mDialog->Working(2), F::kDefaultFileName), "Colour") << "the base name is kept";
  EXPECT_EQ(Popup('IMAG')->GetMenuID(), 5002);
  Choose('TABS', 1);
  EXPECT_EQ(Text('FNAM'), "Report_Copy");
  EXPECT_EQ(Str(mDialog->Working(3), F::kDefaultFileName), "Mono");
}

TEST_F(FileDialog, AnInvalidNameRefusesTheTabSwitch) {
  Edit([&](RecordBytes all) { F::kCurrentTab.set(PREF_ALL::File(2).in(all), 1); });
  Open();
  SetName("");
  std::vector<std::string> alerts;
  QueueDialogAction([&alerts](LWindow* dialog) { alerts.push_back(PaneText(dialog, 'TXMS')); });
  AnswerNextDialog(msg_OK);
  Choose('TABS', 3);
  EXPECT_EQ(alerts.size(), 1u);
  EXPECT_EQ(Pane('TABS')->GetValue(), 1);
  EXPECT_EQ(mDialog->Working().u32(F::kCurrentTab.off), 1u);
}

TEST_F(FileDialog, CancelRestoresTheLastApplyAndLeavesEveryOtherByte) {
  const std::vector<uint8_t> before = FileBytes();
  Open();
  Choose('RESL', 2);
  Send('APLY');
  std::vector<uint8_t> applied;
  for (UInt32 k = 0; k < 5; ++k) {
    RecordBytes r = mDialog->Committed(k);
    applied.insert(applied.end(), r.data(), r.data() + F::kSize);
  }
  Choose('RESL', 6);
  Choose('DYIN', 0);
  Choose('TABS', 2);
  Send(msg_Cancel);
  mDialog = nullptr;
  const std::vector<uint8_t> after = FileBytes();
  ASSERT_EQ(before.size(), after.size());
  const size_t first = PREF_ALL::kFile0, last = first + 5 * F::kSize;
  for (size_t i = 0; i < before.size(); ++i) {
    if (i >= first && i < last) {
      // The tab word keeps the tab last shown; everything else is the apply's.
      if ((i - first) % F::kSize >= 4) {
        ASSERT_EQ(applied[i - first], after[i]) << "byte " << i;
      }
    } else {
      ASSERT_EQ(before[i], after[i]) << "byte " << i;
    }
  }
  CPreferences prefs(PREFS_FILE_NAME, 0);
  EXPECT_EQ(F::kSetting8.get(PREF_ALL::File(2).in(prefs.PrefAll())), 2u);
  EXPECT_EQ(F::kCurrentTab.get(PREF_ALL::File(2).in(prefs.PrefAll())), 2u) << "the tab last shown";
}

TEST_F(FileDialog, DefaultsKeepTheApplicationOnlyWithTabs) {
  for (const char* model : {"Dremlo Model A", "Dremlo Model D"}) {
    SCOPED_TRACE(model);
    SetModel(model);
    const bool tabbed = std::string(model).back() == 'A';
    Open(tabbed ? 5050 : 5000);
    SetName("Other");
    Send('APLY');
    Send('DFLT');
    EXPECT_EQ(F::kTargetApp.get(mDialog->Working()).name[0] != 0, tabbed);
    EXPECT_EQ(mDialog->Working().u32(F::kHistory.off), 1u) << "the history holds the default name";
    delete mDialog;
    mDialog = nullptr;
  }
}

TEST_F(FileDialog, AVanishedApplicationIsForgottenWithoutTakingTheBaseName) {
  const fs::path pdf = mRoot.path() / "Report.pdf";
  std::ofstream(pdf) << "%PDF-1.4\n";
  Edit([&](RecordBytes all) {
    RecordBytes tab1 = PREF_ALL::File(2).in(all);
    F::kCurrentTab.set(tab1, 1);
    F::kSetting16.set(tab1, 3);
    StPDFDialog::kAppendTo.set(F::kPDF.in(tab1), Spec(pdf));
    Str255 text;
    PStrFromString("Report_New", text);
    F::kFileName.set(tab1, text);
    PStrFromString("Base", text);
    F::kDefaultFileName.set(tab1, text);
  });
  fs::remove(mApp1);
  Open();
  mDialog->SetMainWindowButton(nullptr);
  EXPECT_EQ(F::kTargetApp.get(mDialog->Working()).name[0], 0);
  EXPECT_EQ(Str(mDialog->Working(), F::kDefaultFileName), "Base");
  EXPECT_EQ(Str(mDialog->Committed(), F::kFileName), "Report_New");
}

TEST_F(FileDialog, ADroppedApplicationGoesIntoEveryRecord) {
  Open();
  const fs::path other = mRoot.path() / "apps" / "Other";
  std::ofstream(other) << "#!/bin/sh\n";
  fs::permissions(other, fs::perms::owner_all);
  FSSpec spec = Spec(other);
  mDialog->ListenToMessage('DiET', &spec);
  for (UInt32 k = 0; k < 5; ++k) EXPECT_EQ(F::kTargetApp.get(mDialog->Working(k)).name[0], 5) << k;
  EXPECT_EQ(Text('SCNA'), "Other");
}

}  // namespace
