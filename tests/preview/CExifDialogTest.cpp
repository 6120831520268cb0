#include "preview/CExifDialog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/CPopupButton.h"
#include "app/CTextTable.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "framework/FrameworkDriver.h"
#include "framework/LCheckBox.h"
#include "framework/LEditText.h"
#include "framework/TRegistrar.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/TestEnv.h"
#include "toolbox/TextUtils.h"
#include "windows/TestDriver.h"

namespace {

using namespace wxframework;

void SetP(Str255 out, const std::string& s) {
  out[0] = uint8_t(s.size());
  std::memcpy(out + 1, s.data(), s.size());
}

std::string Title(const EXIF_PREF& r) {
  Str255 t;
  EXIF_PREF::kTitle.get(const_cast<EXIF_PREF&>(r).view(), t);
  return std::string(reinterpret_cast<const char*>(t + 1), t[0]);
}

class ExifDialog : public wxtest::HeadlessApp {
 protected:
  void SetUp() override {
    setenv("WENDRIX_ROOT", mRoot.path().c_str(), 1);
    HeadlessApp::SetUp();
  }
  void TearDown() override {
    HeadlessApp::TearDown();
    unsetenv("WENDRIX_ROOT");
  }
  void RegisterClasses() override {
    RegisterClass_(CExifDialog);
    RegisterClass_(CPopupButton);
    RegisterClass_(CTextTable);
  }

  // Pages named `names`, listed where `listed` says, each with its own title and a date.
  void MakePages(const std::vector<std::string>& names, const std::vector<bool>& listed) {
    mRecords.resize(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
      EXIF_PREF& r = mRecords[i];
      const RecordBytes b = r.view();
      EXIF_PREF::kMark.set(b, EXIF_PREF::kRecordMark);
      Str255 t;
      SetP(t, "title" + std::to_string(i + 1));
      EXIF_PREF::kTitle.set(b, t);
      EXIF_PREF::kYearIndex.set(b, 127);  // 2026
      EXIF_PREF::kMonth.set(b, 3);
      EXIF_PREF::kDay.set(b, 31);
      b.setU32(2132, 1), b.setU32(2140, 1), b.setU8(2145, 1), b.setU32(2164, 1), b.setU32(2428, 1), b.setU32(2436, 1);
      EXIF_PREF::kTitleEnable.set(b, 1);
      EXIF_PREF::kShootDateEnable.set(b, 1);
      EXIF_PREF::kWidth.set(b, 2480);
      EXIF_PREF::kHeight.set(b, 3508);
      SetP(t, "2026:12:10 16:40:00");
      EXIF_PREF::kDateTime.set(b, t);
    }
    mPages.RemoveAllItems();
    for (size_t i = 0; i < names.size(); ++i) {
      SExifPage page;
      page.record = &mRecords[i];
      SetP(page.name, names[i]);
      page.listed = listed[i];
      mPages.AddItem(page);
    }
  }

  MessageT Run(const std::string& first, const std::vector<DialogAction>& actions) {
    for (const DialogAction& a : actions) QueueDialogAction(a);
    Str255 name;
    SetP(name, first);
    return CExifDialog::ShowExifDialog(nullptr, name, nullptr, &mPages);
  }

  wxtest::ScratchDir mRoot;
  std::vector<EXIF_PREF> mRecords;
  TArray<SExifPage> mPages;
};

TEST_F(ExifDialog, NoIncludedPageAnswersCancelAtOnce) {
  MakePages({"a", "b"}, {false, false});
  const std::vector<EXIF_PREF> before = mRecords;
  EXPECT_EQ(MessageT(901), Run("a", {}));
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(before[i].bytes, mRecords[i].bytes);
}

TEST_F(ExifDialog, ThePageIsChosenByNameTheLastEqualNameWins) {
  struct Case {
    const char* name;
    std::string shownTitle;
    int items;
  } cases[] = {{"same", "title4", 3}, {"other", "title2", 3}, {"nothing", "title1", 3}};
  for (const Case& c : cases) {
    MakePages({"same", "other", "hidden", "same"}, {true, true, false, true});
    std::string shown;
    SInt16 items = 0;
    Run(c.name, {[&](LWindow* w) {
                   shown = PaneText(w, 'GTIT');
                   items = FindPaneAs<CPopupButton>(w, 'FILP')->CountMenuItems();
                   AnswerNextDialog(901);
                 }});
    EXPECT_EQ(c.shownTitle, shown) << c.name;
    EXPECT_EQ(c.items, items) << c.name;
  }
}

TEST_F(ExifDialog, TheDayPopupFollowsTheMonth) {
  struct Case {
    SInt16 year, month;
    SInt32 day;
  } cases[] = {{1, 2, 28}, {101, 2, 29}, {127, 4, 30}, {127, 5, 31}};
  for (const Case& c : cases) {
    MakePages({"p"}, {true});
    SInt32 day = 0;
    bool item31 = true;
    Run("p", {[&](LWindow* w) { ChoosePopupItem(w, 'STYP', c.year); },
              [&](LWindow* w) { ChoosePopupItem(w, 'STMP', c.month); },
              [&](LWindow* w) {
                day = PaneValue(w, 'STDP');
                item31 = FindPaneAs<CPopupButton>(w, 'STDP')->ItemIsEnabled(31);
                AnswerNextDialog(900);
              }});
    EXPECT_EQ(c.day, day) << c.year << "/" << c.month;
    EXPECT_EQ(c.day, SInt32(EXIF_PREF::kDay.get(mRecords[0].view()))) << c.year << "/" << c.month;
    EXPECT_EQ(c.day == 31, item31);
  }
}

TEST_F(ExifDialog, CancelRestoresEveryRecordToOpeningOrTheLastApply) {
  MakePages({"a", "b", "c"}, {true, false, true});
  const std::vector<EXIF_PREF> opening = mRecords;
  EXPECT_EQ(MessageT(901), Run("a", {[&](LWindow* w) { TypeIntoPane(w, 'GTIT', "changed"); },
                                     [&](LWindow* w) { ClickPane(w, 'CISO'); },
                                     [&](LWindow* w) { ChoosePopupItem(w, 'FILP', 2); },
                                     [&](LWindow* w) { ClickPane(w, 'CCMT'); },
                                     [&](LWindow*) { AnswerNextDialog(901); }}));
  for (size_t i = 0; i < opening.size(); ++i) EXPECT_EQ(opening[i].bytes, mRecords[i].bytes) << i;

  std::vector<EXIF_PREF> applied;
  EXPECT_EQ(MessageT(901), Run("a", {[&](LWindow* w) { TypeIntoPane(w, 'GTIT', "kept"); },
                                     [&](LWindow* w) { ClickPane(w, 'APLY'); },
                                     [&](LWindow*) { applied = mRecords; },
                                     [&](LWindow* w) { TypeIntoPane(w, 'GTIT', "dropped"); },
                                     [&](LWindow* w) { ChoosePopupItem(w, 'FILP', 2); },
                                     [&](LWindow*) { AnswerNextDialog(901); }}));
  EXPECT_EQ("kept", Title(mRecords[0]));
  for (size_t i = 0; i < applied.size(); ++i)
    for (size_t b = 0; b < EXIF_PREF::kSize; ++b) ASSERT_EQ(applied[i].bytes[b], mRecords[i].bytes[b]) << i << " " << b;
}

TEST_F(ExifDialog, TheStoredDefaultOnThenOffGivesBackTheRecordWithTypedText) {
  MakePages({"a"}, {true});
  EXIF_PREF withTyped;
  std::string titleWhileOn;
  EXPECT_EQ(MessageT(900), Run("a", {[&](LWindow* w) { TypeIntoPane(w, 'GTIT', "typed here"); },
                                     [&](LWindow* w) { ClickPane(w, 'SVCK'); },
                                     [&](LWindow* w) {
                                       titleWhileOn = PaneText(w, 'GTIT');
                                       EXPECT_EQ(2480u, EXIF_PREF::kWidth.get(mRecords[0].view()));
                                       ClickPane(w, 'SVCK');
                                     },
                                     [&](LWindow* w) {
                                       EXPECT_EQ("typed here", PaneText(w, 'GTIT'));
                                       AnswerNextDialog(900);
                                     }}));
  EXPECT_NE("typed here", titleWhileOn);
  EXPECT_EQ("typed here", Title(mRecords[0]));
  EXPECT_EQ(2480u, EXIF_PREF::kWidth.get(mRecords[0].view()));
}

TEST_F(ExifDialog, OkMarksEveryListedPageAndStoresTheDefault) {
  MakePages({"a", "b", "c"}, {true, false, true});
  EXPECT_EQ(MessageT(900), Run("a", {[&](LWindow*) { AnswerNextDialog(900); }}));
  EXPECT_EQ(1, EXIF_PREF::kIsDefault.get(mRecords[0].view()));
  EXPECT_EQ(0, EXIF_PREF::kIsDefault.get(mRecords[1].view()));
  EXPECT_EQ(1, EXIF_PREF::kIsDefault.get(mRecords[2].view()));
  CPreferences prefs(PREFS_FILE_NAME, 0);
  const RecordBytes stored = PREF_ALL::kExif.in(prefs.PrefAll());
  EXPECT_EQ(0, std::memcmp(stored.data(), mRecords[0].bytes.data(), EXIF_PREF::kSize));
}

TEST(ExifKeyFilter, TitlesTakeLettersDigitsAndSpacesOnly) {
  struct Case {
    UInt16 c;
    EKeyStatus status;
  } cases[] = {{'a', keyStatus_Input}, {'Z', keyStatus_Input}, {'7', keyStatus_Input}, {' ', keyStatus_Input},
               {'-', keyStatus_Reject}, {'.', keyStatus_Reject}, {8, keyStatus_TEDelete}, {28, keyStatus_TECursor}};
  for (const Case& c : cases) {
    UInt16 code = c.c;
    EXPECT_EQ(c.status, CExifDialog::AlphaNumPlusSpaceField(nullptr, 0, code, 0)) << c.c;
  }
}

TEST_F(ExifDialog, TheTableShowsTheScanDateFromItsText) {
  MakePages({"a"}, {true});
  std::vector<std::string> values;
  Run("a", {[&](LWindow* w) {
    auto* table = FindPaneAs<CTextTable>(w, 'EXFV');
    TableIndexT rows = 0, cols = 0;
    table->GetTableSize(rows, cols);
    for (TableIndexT r = 1; r <= rows; ++r) {
      Str255 cell{};
      UInt32 size = sizeof cell;
      table->GetCellData(STableCell{r, 2}, cell, size);
      values.push_back(std::string(reinterpret_cast<const char*>(cell + 1), cell[0]));
    }
  },
            [&](LWindow* w) {
              w->UpdatePort();
              wxdriver::SaveWindowPNG(w->GetMacWindow(), wxtest::OutputDir("preview") / "exif.png");
              AnswerNextDialog(901);
            }});
  ASSERT_EQ(28u, values.size());
  EXPECT_EQ(": 2.21", values[3]);
  EXPECT_EQ(": 2480 pixels", values[8]);
  EXPECT_EQ(": 2026:12:10 16:40:00", values[13]);
  // What the written file says for the stored source 0.
  EXPECT_EQ(": Reflection print scanner", values[14]);
  // Headings stand in the label column alone.
  for (size_t heading : {0, 2, 15, 17}) EXPECT_EQ("", values[heading]) << heading;
  EXPECT_EQ(": title1", values[18]);
  EXPECT_EQ(": ", values[19]);
}

TEST_F(ExifDialog, TypedTitlesLoseHyphensTheCommentKeepsEverything) {
  MakePages({"a"}, {true});
  EXIF_PREF::kAuthorEnable.set(mRecords[0].view(), 1);
  EXIF_PREF::kCommentEnable.set(mRecords[0].view(), 1);
  std::string title, author, comment;
  Run("a", {[&](LWindow* w) { TypeIntoPane(w, 'GTIT', "New-Year 2026"); },
            [&](LWindow* w) { TypeIntoPane(w, 'GPAR', "A. Author-Name"); },
            [&](LWindow* w) { TypeIntoPane(w, 'CMNT', "Scan #1 - ok!"); },
            [&](LWindow* w) {
              title = PaneText(w, 'GTIT');
              author = PaneText(w, 'GPAR');
              comment = PaneText(w, 'CMNT');
              AnswerNextDialog(900);
            }});
  EXPECT_EQ("NewYear 2026", title);
  EXPECT_EQ("A AuthorName", author);
  EXPECT_EQ("Scan #1 - ok!", comment);
  EXPECT_EQ("NewYear 2026", Title(mRecords[0]));
}

}  // namespace
