// The Save dialog built from its layout over a preferences file in a scratch root: what its
// controls show for a stored record, what each control does to the working record, and
// what reaches the file when the dialog goes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/CEditText.h"
#include "app/CPopupButton.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "app/wendrix/DialogClasses.h"
#include "dialogs/file/CSaveDialogBox.h"
#include "framework/LEditText.h"
#include "framework/TRegistrar.h"
#include "framework/URegistrar.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "output/hub/WXDialogFlags.h"
#include "support/TestEnv.h"
#include "tests/dialogs/file/FunctionDialogTest.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"

namespace {

constexpr SInt16 kLayout = 4000;
constexpr size_t kSaveOffset = PREF_ALL::kSave.off;

class SaveDialog : public wxtest::FunctionDialogTest<CSaveDialogBox> {
 protected:
  void SetUp() override {
    FunctionDialogTest::SetUp();
    // The file starts as the defaults with a known name history.
    Edit([](RecordBytes all) {
      RecordBytes save = PREF_ALL::kSave.in(all);
      PREF_SAVE::kImageMode.set(save, 3);
      PREF_SAVE::kFileType.set(save, 2);
      PREF_SAVE::kPaperSize.set(save, UInt32(Paper_Size_A4));
      PREF_SAVE::kResolution.set(save, 5);
    });
  }
  void RegisterClasses() override {
    RegisterClass_(CSaveDialogBox);
    RegisterClass_(CPopupButton);
    RegisterClass_(CFileNameAddPopup);
    RegisterClass_(CEditText);
  }

  CSaveDialogBox* Open() { return FunctionDialogTest::Open(kLayout); }
};

TEST_F(SaveDialog, ExecutableRegistersTheDialogUnderItsClass) {
  bool found = false;
  for (const SAppClassEntry& entry : DialogClasses()) found |= entry.classID == 'Sdlg';
  EXPECT_TRUE(found);
}

TEST_F(SaveDialog, ShowsTheStoredRecordWithTheSourceCutWithoutFilmAdapter) {
  Edit([](RecordBytes all) {
    PREF_SETTING::kFilmAdapter.set(PREF_ALL::kSetting.in(all), 0);
    PREF_SAVE::kSource.set(PREF_ALL::kSave.in(all), 2);
  });
  Open();
  EXPECT_EQ(Popup('MODE')->CountMenuItems(), 1);
  EXPECT_EQ(Popup('MODE')->GetValue(), 1);
  EXPECT_EQ(Word(PREF_SAVE::kSource.off), 1u);
  EXPECT_EQ(Popup('IMAG')->GetValue(), 4);  // code 3 is item 4
  EXPECT_EQ(Popup('FTYP')->GetValue(), 2);
  EXPECT_EQ(Text('TOTX'), ListItem(4000, 2));
  EXPECT_FALSE(Text('FOLD').empty());
}

// The custom item shows the stored size (tenths of a millimetre) in its unit.
TEST_F(SaveDialog, TheCustomItemShowsTheStoredSize) {
  Edit([](RecordBytes all) {
    PREF_SAVE::kCustomSize.set(PREF_ALL::kSave.in(all), 2000, 1500, PrefDocSize::kCentimetre);
  });
  Open();
  Str255 text;
  const std::string item = PStrToString(Popup('SIZE')->GetMenuItemText(SInt16(Paper_Size_custom), text));
  const size_t open = item.find('(');
  ASSERT_NE(open, std::string::npos) << item;
  EXPECT_EQ("20", item.substr(open + 1, 2)) << item;
  EXPECT_NE(item.find(" x 15"), std::string::npos) << item;
  EXPECT_NE(item.find(ListItem(10000, 2)), std::string::npos) << item;
}

TEST_F(SaveDialog, FilmAdapterOffersAllThreeSources) {
  Edit([](RecordBytes all) { PREF_SETTING::kFilmAdapter.set(PREF_ALL::kSetting.in(all), 1); });
  Open();
  EXPECT_EQ(Popup('MODE')->CountMenuItems(), 3);
  Choose('MODE', 2);
  EXPECT_EQ(Popup('RESL')->GetMenuID(), 4004);
  EXPECT_EQ(Word(PREF_SAVE::kLastSource.off), 2u);
  Choose('MODE', 3);
  EXPECT_FALSE(Popup('IMAG')->IsEnabled());
  EXPECT_FALSE(Popup('RESL')->IsEnabled());
  EXPECT_EQ(Popup('RESL')->GetMenuID(), 4004);  // the last source's menu
}

struct ResolutionRow {
  const char* what;
  UInt32 fileType;
  UInt32 code;
  int32_t* size;
  UInt32 storedItem;
  UInt32 item;
  SInt16 firstDisabled;  // items from here on are disabled; 10 = none
};

TEST_F(SaveDialog, ResolutionFollowsTheFileTypeSizeAndMode) {
  const ResolutionRow rows[] = {
      {"PICT on A4: 600 dpi and up off", 1, 3, &Paper_Size_A4, 7, 6, 7},
      {"PICT on letter: 400 dpi at most", 1, 3, &Paper_Size_letter, 9, 6, 7},
      {"PICT on the 11x17 stitch size, counted twice", 1, 3, &Paper_Size_11X17_Stitch, 7, 4, 5},
      {"PDF stops at 400 dpi", 4, 3, &Paper_Size_A4, 9, 6, 7},
      {"JPEG on A4 has every item", 2, 3, &Paper_Size_A4, 9, 9, 10},
      {"code 4 stops at 600 dpi", 2, 4, &Paper_Size_A4, 9, 7, 8},
  };
  for (const ResolutionRow& row : rows) {
    SCOPED_TRACE(row.what);
    if (*row.size == 0) continue;  // a size this language does not offer
    Edit([&](RecordBytes all) {
      RecordBytes save = PREF_ALL::kSave.in(all);
      PREF_SAVE::kFileType.set(save, row.fileType);
      PREF_SAVE::kImageMode.set(save, row.code);
      PREF_SAVE::kPaperSize.set(save, UInt32(*row.size));
      PREF_SAVE::kResolution.set(save, row.storedItem);
    });
    Open();
    EXPECT_EQ(Popup('RESL')->GetValue(), SInt32(row.item));
    EXPECT_EQ(Word(PREF_SAVE::kResolution.off), row.item);
    for (SInt16 item = 1; item <= 9; ++item)
      EXPECT_EQ(Popup('RESL')->ItemIsEnabled(item), item < row.firstDisabled) << "item " << item;
    Close();
  }
}

TEST_F(SaveDialog, BlackAndWhiteWithdrawsJPEGAndGreyBringsItBack) {
  Open();
  Choose('IMAG', 1);  // black and white
  EXPECT_EQ(Popup('FTYP')->GetValue(), 1);
  EXPECT_FALSE(Popup('FTYP')->ItemIsEnabled(2));
  Choose('IMAG', 2);  // greyscale
  EXPECT_EQ(Popup('FTYP')->GetValue(), 2);
  EXPECT_TRUE(Popup('FTYP')->ItemIsEnabled(2));

  Choose('IMAG', 1);
  Choose('FTYP', 3);  // TIFF chosen in between stays
  Choose('IMAG', 2);
  EXPECT_EQ(Popup('FTYP')->GetValue(), 3);
  EXPECT_EQ(Word(PREF_SAVE::kFileType.off), 3u);
}

TEST_F(SaveDialog, AdobeRGBOnlyForColourJPEGAndTheStoredByteOnlyFromItsBox) {
  Open();
  EXPECT_TRUE(Pane('SVAD')->IsEnabled());
  Choose('SVAD', 1);
  EXPECT_EQ(mDialog->Working().u8(PREF_SAVE::kCheckSVAD.off), 1);
  Choose('IMAG', 2);  // greyscale
  EXPECT_FALSE(Pane('SVAD')->IsEnabled());
  EXPECT_EQ(Pane('SVAD')->GetValue(), 0);
  EXPECT_EQ(mDialog->Working().u8(PREF_SAVE::kCheckSVAD.off), 1);
  Choose('IMAG', 4);
  Choose('FTYP', 3);  // TIFF
  EXPECT_FALSE(Pane('SVAD')->IsEnabled());
}

TEST_F(SaveDialog, DriverWindowDisablesTheScanChoicesAndSetsTheExifColourPage) {
  Open();
  Choose('UION', 1);
  EXPECT_FALSE(Popup('MODE')->IsEnabled());
  EXPECT_FALSE(Popup('IMAG')->IsEnabled());
  EXPECT_FALSE(Popup('RESL')->IsEnabled());
  EXPECT_FALSE(Popup('SIZE')->IsEnabled());
  EXPECT_FALSE(Pane('SVAD')->IsEnabled());
  const std::vector<uint8_t> before = FileBytes();
  Close();
  const std::vector<uint8_t> after = FileBytes();
  EXPECT_EQ(after[PREF_ALL::kExif.off + EXIF_PREF::kColourPage.off + 3], 2);
  EXPECT_EQ(after[kSaveOffset + PREF_SAVE::kCheckUION.off], 1);
  // Nothing outside the Save record and the EXIF colour page changed.
  for (size_t i = 0; i < before.size(); ++i) {
    const bool save = i >= kSaveOffset && i < kSaveOffset + PREF_SAVE::kSize;
    const bool colourPage = i >= PREF_ALL::kExif.off + EXIF_PREF::kColourPage.off &&
                            i < PREF_ALL::kExif.off + EXIF_PREF::kColourPage.off + 4;
    if (!save && !colourPage) {
      ASSERT_EQ(before[i], after[i]) << "byte " << i;
    }
  }
}

TEST_F(SaveDialog, CloseGoesBackToTheCommittedRecordAndApplyCommits) {
  Open();
  Choose('FTYP', 3);
  mDialog->ListenToMessage(msg_Cancel, nullptr);  // the dialog closes itself
  mDialog = nullptr;
  EXPECT_EQ(FileBytes()[kSaveOffset + PREF_SAVE::kFileType.off + 3], 2);

  Open();
  Choose('FTYP', 3);
  Pane<LEditText>('FNAM')->SetDescriptor(reinterpret_cast<ConstStr255Param>("\x07Invoice"));
  mDialog->ListenToMessage('APLY', nullptr);
  mDialog->ListenToMessage(msg_Cancel, nullptr);
  mDialog = nullptr;
  Edit([](RecordBytes all) {
    RecordBytes save = PREF_ALL::kSave.in(all);
    EXPECT_EQ(PREF_SAVE::kFileType.get(save), 3u);
    Str255 name;
    PREF_SAVE::kDefaultFileName.get(save, name);
    EXPECT_EQ(PStrToString(name), "Invoice");
    const UInt32 count = PREF_SAVE::kHistory.count(save);
    ASSERT_GE(count, 1u);
    PREF_SAVE::kHistory.entry(save, count - 1, name);
    EXPECT_EQ(PStrToString(name), "Invoice");
  });
}

TEST_F(SaveDialog, DefaultsKeepTheButtonTagAndResetTheHistory) {
  Edit([](RecordBytes all) {
    RecordBytes save = PREF_ALL::kSave.in(all);
    PREF_SAVE::kTag.set(save, 2005);
    PREF_SAVE::kHistory.setCount(save, 3);
  });
  Open();
  Choose('FTYP', 3);
  mDialog->ListenToMessage('DFLT', nullptr);
  RecordBytes r = mDialog->Working();
  EXPECT_EQ(PREF_SAVE::kTag.get(r), 2005u);
  EXPECT_EQ(PREF_SAVE::kHistory.count(r), 1u);
  Str255 name;
  PREF_SAVE::kHistory.entry(r, 0, name);
  EXPECT_EQ(PStrToString(name), ListItem(4000, 1));
  EXPECT_EQ(Popup('FTYP')->GetValue(), SInt32(PREF_SAVE::kFileType.get(r)));
}

TEST_F(SaveDialog, HistoryPopupListsNewestFirstAndMarksTheCurrentName) {
  Edit([](RecordBytes all) {
    RecordBytes save = PREF_ALL::kSave.in(all);
    const char* names[] = {"\x05Older", "\x05Newer"};
    for (UInt32 i = 0; i < 2; ++i)
      PREF_SAVE::kHistory.setEntry(save, i, reinterpret_cast<ConstStr255Param>(names[i]));
    PREF_SAVE::kHistory.setCount(save, 2);
    PREF_SAVE::kDefaultFileName.set(save, reinterpret_cast<ConstStr255Param>("\x05Older"));
  });
  Open();
  mDialog->Show();
  mDialog->Select();
  // The user's click: the popup fills itself as it opens.
  wxframework::ChoosePopupItem(mDialog, 'PuFN', 1);
  wxframework::PumpEvents();
  EXPECT_EQ(Text('FNAM'), "Newer");
  LPopupButton* history = Popup('PuFN');
  mDialog->ListenToMessage('FACB', nullptr);
  ASSERT_EQ(history->CountMenuItems(), 2);
  Str255 text;
  EXPECT_EQ(PStrToString(history->GetMenuItemText(1, text)), "Newer");
  EXPECT_EQ(history->GetValue(), 1);
  mDialog->ListenToMessage('FACA', nullptr);

  // A name not in the history is offered on top while the menu is open.
  Pane<LEditText>('FNAM')->SetDescriptor(reinterpret_cast<ConstStr255Param>("\x05" "Fresh"));
  mDialog->ListenToMessage('FACB', nullptr);
  EXPECT_EQ(history->CountMenuItems(), 3);
  mDialog->ListenToMessage('FACA', nullptr);
  EXPECT_EQ(history->CountMenuItems(), 2);
}

TEST_F(SaveDialog, AddToPDFShowsItsLabelAndNoDayFolderOrNameQuestion) {
  Edit([](RecordBytes all) { PREF_SAVE::kCheckEZFN.set(PREF_ALL::kSave.in(all), 1); });
  Open();
  Choose('FTYP', 6);
  EXPECT_EQ(Text('TOTX'), ListItem(4000, 3));
  EXPECT_EQ(Text('FOLD'), "");  // no PDF chosen yet
  EXPECT_FALSE(Pane('DYIN')->IsEnabled());
  EXPECT_FALSE(Pane('EZFN')->IsEnabled());
  EXPECT_EQ(mDialog->Working().u8(PREF_SAVE::kCheckEZFN.off), 0);
  RecordBytes pdf = PREF_SAVE::kPDF.in(mDialog->Working());
  EXPECT_EQ(StPDFDialog::kUnused4.get(pdf), 1u);
  EXPECT_EQ(StPDFDialog::kUnused8.get(pdf), 1u);
}

TEST_F(SaveDialog, TheAddToPDFNameIsThePDFsNameCutAtItsLastDotWithNew) {
  Open();
  const SInt16 room = SInt16(Pane<LEditText>('FNAM')->GetMaxChars() - 4);
  struct Row {
    std::string pdf, name;
  } rows[] = {
      {"Minutes.2026.pdf", "Minutes.2026_New"},
      {"NoExtension", "NoExtension_New"},
      {std::string(60, 'a') + ".pdf", std::string(size_t(room), 'a') + "_New"},
  };
  for (const Row& row : rows) {
    FSSpec pdf{};
    PStrFromString(row.pdf, pdf.name, 64);
    mDialog->SetFileNamePdfAdd(pdf);
    Str255 name;
    PREF_SAVE::kFileName.get(mDialog->Working(), name);
    EXPECT_EQ(PStrToString(name), row.name) << row.pdf;
  }
}

TEST_F(SaveDialog, CommandsAreOffWhileAScanRuns) {
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

}  // namespace
