// The preview dialog's rules: file types and popups by caller, the drop geometry, the name
// check, the popup's items by the checked pages, the discard question, selection, growth.
#include <gtest/gtest.h>

#include <string>

#include "prefs/LanguageTables.h"
#include "display/Keys.h"
#include "preview/CPreviewCaption.h"
#include "framework/LThread.h"
#include "framework/LException.h"
#include "scanner/Scanner.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"
#include "tests/preview/dialog/PreviewFixture.h"
#include "windows/TestDriver.h"

namespace fs = std::filesystem;
using wxtest::MakePage;

namespace {

TEST(PreviewRules, FileTypesAndMenusByCaller) {
  struct Case {
    long type;
    ResIDT menu;
    std::vector<OSType> items;  // popup items 1, 2, ...
  } cases[] = {
      {2, 507, {'PICT', 'JPEG', 'TIFF'}},
      {3, 501, {'JPEG', 'PDF ', 'PDF ', 'PDF '}},
      {5, 503, {'PICT', 'JPEG', 'TIFF', 'PDF ', 'PDF ', 'PDF '}},
      {6, 504, {'PDF ', 'PDF ', 'PDF '}},
      {7, 505, {'PICT', 'JPEG', 'TIFF'}},
      {8, 506, {'PICT', 'JPEG', 'TIFF'}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.menu, CPreviewDialog::MenuFor(c.type)) << c.type;
    for (size_t i = 0; i < c.items.size(); ++i)
      EXPECT_EQ(c.items[i], CPreviewDialog::FileTypeFor(c.type, long(i + 1))) << c.type << " item " << i + 1;
  }
  EXPECT_EQ(OSType('TIFF'), CPreviewDialog::FileTypeFor(4, 1));
  EXPECT_EQ(OSType('TIFF'), CPreviewDialog::FileTypeFor(3, 9));
  EXPECT_EQ(ResIDT(0), CPreviewDialog::MenuFor(9));
}

TEST(PreviewRules, ADropMovesAPageOnlyIntoAnotherGap) {
  struct Case {
    SInt32 h, v;
    ArrayIndexT count, from, to;
  } cases[] = {
      {5, 50, 5, 3, 1},      // left of the first
      {100, 50, 5, 3, 2},    // between the first and the second
      {200, 50, 5, 3, 0},    // its own left gap
      {300, 50, 5, 3, 0},    // its own right gap
      {400, 50, 5, 3, 4},    //
      {495, 50, 5, 3, 5},    // right of the fifth
      {50, 50, 5, 3, 0},     // on a page, not in a gap
      {200, 200, 7, 3, 7},   // after the seventh, in the second row
      {300, 200, 7, 3, 0},   // beyond the last page
      {5, 160, 7, 7, 6},     // the seventh to the start of its row
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.to, CPreviewView::DropPosition(c.h, c.v, c.count, c.from)) << c.h << "," << c.v << " of " << c.count;

  struct Take {
    SInt32 h, v;
    ArrayIndexT count;
    bool takes;
  } takes[] = {
      {5, 50, 5, true},   {50, 50, 5, false},  {195, 200, 7, true}, {210, 200, 7, false},
      {5, 320, 7, false}, {495, 140, 5, true}, {300, 100, 2, false},
  };
  for (const Take& t : takes)
    EXPECT_EQ(t.takes, CPreviewView::PointTakesDrop(t.h, t.v, t.count)) << t.h << "," << t.v << " of " << t.count;
}

TEST(PreviewRules, UsableNames) {
  struct Case {
    const char* name;
    bool usable;
  } cases[] = {
      {"Page0001", true},
      {"ABCDEFGHIJKLMNOPQRST", true},    // 20
      {"ABCDEFGHIJKLMNOPQRSTU", false},  // 21
      {"", false},
      {" ", false},
      {"   ", false},
      {"a b", true},
      {".hidden", false},
      {"a.b", true},
      {"a:b", false},
      {"a\\b", false},
  };
  for (const Case& c : cases) {
    Str255 p;
    PStrFromString(c.name, p);
    EXPECT_EQ(c.usable, CPreviewView::NameIsUsable(p)) << '"' << c.name << '"';
  }
  // Japanese: the two-byte blank is a blank, and a backslash byte inside a two-byte
  // character is no backslash.
  const int32_t wasJ = IS_J;
  IS_J = 1;
  SetSystemScriptForLanguage('J');
  struct JCase {
    std::string name;
    bool usable;
  } jcases[] = {{"\x81\x40", false}, {" \x81\x40 ", false}, {"\x83\x5C", true}, {"a\\", false}};
  for (const JCase& c : jcases) {
    Str255 p;
    PStrFromString(c.name, p);
    EXPECT_EQ(c.usable, CPreviewView::NameIsUsable(p)) << c.name.size() << " bytes";
  }
  IS_J = wasJ;
  SetSystemScriptForLanguage('E');
}

TEST(PreviewRules, TheNameProposedForAppending) {
  struct Case {
    const char* file;
    const char* proposed;
  } cases[] = {
      {"Report.pdf", "Report_New"},
      {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOP_New"},
      {"a.b.pdf", "a.b_New"},
      {"Short", "Short_New"},
  };
  for (const Case& c : cases) {
    Str255 p;
    PStrFromString(c.file, p);
    EXPECT_EQ(c.proposed, PStrToString(CPreviewView::AppendNameFor(p))) << c.file;
  }
}

using Preview = wxtest::PreviewTest;

TEST_F(Preview, NothingToShowAnswersCancelAtOnceAndTouchesNothing) {
  Scanner plugIn;
  CTWAIN empty;
  struct Case {
    const char* what;
    unsigned char isTWAIN;
    std::function<CThreadChecker*()> checker;
  } cases[] = {
      {"a plug-in scan without pages", 0, [&] { return new CThreadChecker(nullptr, &plugIn); }},
      {"a TWAIN scan without pages", 1, [&] { return new CThreadChecker(nullptr, &empty); }},
      {"no scan and no pages", 1, [] { return nullptr; }},
  };
  for (const Case& c : cases) {
    std::unique_ptr<CThreadChecker> scan(c.checker());
    FSSpec before = folder;
    long popupBefore = 2;
    popup = popupBefore;
    Str255 base;
    PStrFromString("Page", base);
    const MessageT answer = CPreviewDialog::ShowPreviewDialog(c.isTWAIN, scan.get(), &pages, &exifs, mApp, folder, day,
                                                              base, &pdf, &jpeg, &pict, &tiff, popup, 5, 'prvw',
                                                              &written, 0, 0, nullptr, nullptr, nullptr, 0, 0, 0);
    EXPECT_EQ(MessageT(901), answer) << c.what;
    EXPECT_EQ(nullptr, written) << c.what;
    EXPECT_EQ(popupBefore, popup) << c.what;
    EXPECT_EQ(0, std::memcmp(&before, &folder, sizeof folder)) << c.what;
  }
  CThreadChecker neither(nullptr, static_cast<CTWAIN*>(nullptr));
  Str255 base;
  PStrFromString("Page", base);
  EXPECT_THROW(CPreviewDialog::ShowPreviewDialog(1, &neither, &pages, &exifs, mApp, folder, day, base, &pdf, &jpeg,
                                                 &pict, &tiff, popup, 5, 'prvw', &written, 0, 0, nullptr, nullptr,
                                                 nullptr, 0, 0, 0),
               LException);
}

TEST_F(Preview, OneRowIsOneHundredFiftyHighAndMoreThanFivePagesGrowTheDialog) {
  struct Case {
    int count;
    SInt32 imageHeight;
    int grown;
  } cases[] = {{1, 150, 0}, {5, 150, 0}, {6, 300, 150}, {7, 300, 150}};
  Rect first{};
  for (const Case& c : cases) {
    pages.RemoveAllItems();
    exifs.RemoveAllItems();
    Scan(std::vector<wxtest::RawPage>(size_t(c.count), MakePage(8, 20, 20)));
    Do([&](CPreviewDialog* d) {
      SDimension32 image;
      d->GetView()->GetImageSize(image);
      EXPECT_EQ(c.imageHeight, image.height) << c.count;
      Rect bounds;
      d->GetGlobalBounds(bounds);
      if (c.count == 1) first = bounds;
      EXPECT_EQ(first.bottom - first.top + c.grown, bounds.bottom - bounds.top) << c.count;
      EXPECT_EQ(first.top - c.grown / 2, bounds.top) << c.count;
    });
    wxframework::AnswerNextDialog('RTUN');
    EXPECT_EQ(MessageT('RTUN'), Show({}));
    CPreviewDialog::sFirstCall = 1;
  }
}

TEST_F(Preview, ClicksSelectAsTheModifiersSay) {
  Scan(std::vector<wxtest::RawPage>(4, MakePage(8, 20, 20)));
  typedef std::vector<ArrayIndexT> Sel;
  struct Step {
    ArrayIndexT cell;  // 0: Command-A
    EventModifiers modifiers;
    Sel selected;
  } steps[] = {
      {3, 0, {3}},
      {1, cmdKey, {1, 3}},
      {3, cmdKey, {1}},
      {1, cmdKey, {1}},  // the last selected page stays selected
      {4, shiftKey, {1, 2, 3, 4}},
      {2, 0, {2}},
      {0, cmdKey, {1, 2, 3, 4}},
  };
  Do([](CPreviewDialog* d) { EXPECT_EQ(Sel{1}, Selected(d)) << "the first new page"; });
  for (const Step& s : steps) {
    Do([s](CPreviewDialog* d) {
      if (s.cell)
        ClickCell(d, s.cell, s.modifiers);
      else
        wxdriver::Key('a', 0, s.modifiers);
    });
    Do([s](CPreviewDialog* d) { EXPECT_EQ(s.selected, Selected(d)) << "after a click on " << s.cell; });
  }
  wxframework::AnswerNextDialog('RTUN');
  EXPECT_EQ(MessageT('RTUN'), Show({}));
}

TEST_F(Preview, ANameTypedInPlaceIsTakenOnAClickElsewhereOrOnReturn) {
  Scan(std::vector<wxtest::RawPage>(3, MakePage(8, 20, 20)));
  auto typeName = [](const std::string& name) {
    for (int i = 0; i < 12; ++i) wxdriver::Key(0x08, 0x33);
    for (char ch : name) wxdriver::Key(UInt8(ch));
  };
  Do([](CPreviewDialog* d) { wxframework::ClickPane(Cell(d, 1)->GetCaption()); });
  Do([&](CPreviewDialog* d) {
    ASSERT_NE(nullptr, Cell(d, 1)->GetCaption()->GetEditField());
    typeName("Renamed");
  });
  Do([](CPreviewDialog* d) { ClickCell(d, 2); });
  Do([](CPreviewDialog* d) {
    EXPECT_EQ(nullptr, Cell(d, 1)->GetCaption()->GetEditField()) << "a click in another page ends the edit";
    EXPECT_EQ("Renamed", Caption(d, 1));
    wxframework::ClickPane(Cell(d, 3)->GetCaption());
  });
  Do([&](CPreviewDialog*) { typeName("Third"); });
  // 'RTUN' with the field still open takes its text.
  wxframework::AnswerNextDialog('RTUN');
  ASSERT_EQ(MessageT('RTUN'), Show({}));
  EXPECT_EQ("Renamed", wxtest::FromP(pages[1].displayName));
  EXPECT_EQ("Third", wxtest::FromP(pages[3].displayName));
}

TEST_F(Preview, BadNamesAreRefusedAndTheDialogStays) {
  Scan(std::vector<wxtest::RawPage>(3, MakePage(8, 20, 20)));
  struct Case {
    std::vector<std::string> names;
    std::vector<int> checked;
    bool refused;
  } cases[] = {
      {{"ABCDEFGHIJKLMNOPQRSTU", "b", "c"}, {1, 1, 1}, true},
      {{"a", " ", "c"}, {1, 1, 1}, true},
      {{"a", "b", ".c"}, {1, 1, 1}, true},
      {{"a:", "b", "c"}, {1, 1, 1}, true},
      {{"a", "b\\", "c"}, {1, 1, 1}, true},
      {{"same", "b", "same"}, {1, 1, 1}, true},
      {{"same", "b", "SAME"}, {1, 1, 1}, false},  // different files here
      {{"same", "b", "same"}, {1, 1, 0}, false},  // the page left out is not checked
      {{"a", "b", "c"}, {1, 1, 1}, false},
  };
  bool scanned = false;
  for (const Case& c : cases) {
    alerts.clear();
    Do([&](CPreviewDialog* d) {
      for (ArrayIndexT k = 1; k <= 3; ++k) {
        SetName(d, k, c.names[size_t(k - 1)]);
        Cell(d, k)->GetCheckBox()->SetValue(c.checked[size_t(k - 1)]);
      }
    });
    wxframework::AnswerNextDialog('RTUN');
    if (c.refused) {
      Alert();
      Do([](CPreviewDialog* d) {
        for (ArrayIndexT k = 1; k <= 3; ++k) SetName(d, k, "ok" + std::to_string(k));
      });
      wxframework::AnswerNextDialog('RTUN');
    }
    EXPECT_EQ(MessageT('RTUN'), Show({.scan = !scanned})) << c.names[0];
    scanned = true;
    EXPECT_EQ(c.refused ? std::vector<std::string>{AlertText(30)} : std::vector<std::string>{}, alerts) << c.names[0];
  }
  EXPECT_EQ("a", wxtest::FromP(pages[1].displayName)) << "the names go back with the pages";
}

TEST_F(Preview, TheFileTypesFollowTheCheckedPages) {
  // A bilevel page, a page wider than PICT takes, a page taller than PDF takes.
  Scan({MakePage(1, 40, 30), MakePage(8, 4100, 4), MakePage(8, 4, 6100)});
  auto items = [](CPreviewDialog* d) {
    std::string on;
    for (SInt16 i = 1; i <= d->GetFileTypePopup()->CountMenuItems(); ++i)
      on += d->GetFileTypePopup()->ItemIsEnabled(i) ? '1' : '0';
    return on;
  };
  struct Step {
    ArrayIndexT toggle;  // the page whose check changes, 0 for none
    const char* items;   // PICT JPEG TIFF PDF multi append
  } steps[] = {
      {0, "001111"},  // PDF: the tall page goes with a bilevel one
      {1, "011000"},  // no bilevel page: JPEG back, PDF gone
      {2, "111000"},  // the wide page left out: PICT back
      {1, "101000"},  // bilevel again: JPEG gone, PDF stays gone
  };
  for (const Step& s : steps) {
    Do([s](CPreviewDialog* d) {
      if (s.toggle) wxframework::ClickPane(Cell(d, s.toggle)->GetCheckBox());
    });
    Do([s, items](CPreviewDialog* d) { EXPECT_EQ(s.items, items(d)) << "after page " << s.toggle; });
  }
  wxframework::AnswerNextDialog('RTUN');
  EXPECT_EQ(MessageT('RTUN'), Show({}));
  for (const long callerPopup : {5L, 6L}) {
    Do([&](CPreviewDialog* d) { EXPECT_EQ("000", items(d).substr(0, 3)) << callerPopup; });
    wxframework::AnswerNextDialog('RTUN');
    EXPECT_EQ(MessageT('RTUN'), Show({.popup = callerPopup, .scan = false}));
  }
}

TEST_F(Preview, APopupMovedInCodeBringsTheDialogAlong) {
  // Mail on JPEG with a bilevel page: the popup goes to PDF, as if the user chose it.
  Scan({MakePage(1, 40, 30), MakePage(8, 40, 30)});
  Do([](CPreviewDialog* d) {
    EXPECT_EQ(2, d->GetFileTypePopup()->GetValue());
    EXPECT_FALSE(d->GetFileTypePopup()->ItemIsEnabled(1));
    EXPECT_FALSE(wxtest::StateOf(d, 'SETE').enabled) << "EXIF only for JPEG";
    wxframework::ChoosePopupItem(d, 'FTYP', 3);
  });
  Do([](CPreviewDialog* d) {
    EXPECT_EQ(1u, StPDFDialog::kUnused4.get(const_cast<StPDFDialog&>(d->GetPDFSettings()).view()));
    Str255 pattern;
    GetIndString(pattern, 500, 4);
    std::string numbered = PStrToString(pattern);
    numbered.replace(numbered.find("%s"), 2, "2");
    EXPECT_EQ(numbered, Caption(d, 2)) << "a numbered page of one document";
    EXPECT_FALSE(Cell(d, 2)->GetCaption()->IsEditable());
    wxframework::ClickPane(Cell(d, 1)->GetCheckBox());
  });
  Do([](CPreviewDialog* d) {
    EXPECT_EQ("", Caption(d, 1));
    EXPECT_TRUE(Cell(d, 2)->GetCaption()->IsEditable()) << "the first checked page names the document";
    wxframework::ChoosePopupItem(d, 'FTYP', 2);
  });
  Do([](CPreviewDialog* d) {
    EXPECT_TRUE(Cell(d, 1)->GetCaption()->IsEditable());
    EXPECT_EQ(wxtest::FromP(Cell(d, 1)->BackupName()), Caption(d, 1)) << "single files show the pages' own names";
  });
  wxframework::AnswerNextDialog('RTUN');
  EXPECT_EQ(MessageT('RTUN'), Show({.type = 3, .popup = 1}));
  EXPECT_NE("", wxtest::FromP(pages[1].displayName)) << "a placeholder never becomes a page's name";
}

TEST_F(Preview, WithNoPageCheckedNothingCanBeSent) {
  Scan({MakePage(8, 20, 20), MakePage(8, 20, 20)});
  Do([](CPreviewDialog* d) {
    EXPECT_TRUE(wxtest::StateOf(d, 'SEND').enabled);
    wxframework::ClickPane(Cell(d, 1)->GetCheckBox());
  });
  Do([](CPreviewDialog* d) { wxframework::ClickPane(Cell(d, 2)->GetCheckBox()); });
  Do([](CPreviewDialog* d) {
    for (PaneIDT id : {'SEND', 'SETI', 'SETE'}) EXPECT_FALSE(wxtest::StateOf(d, id).enabled) << wxtest::PaneName(id);
  });
  wxframework::AnswerNextDialog('RTUN');
  EXPECT_EQ(MessageT('RTUN'), Show({.popup = 2}));
}

TEST_F(Preview, ClosingAsksByCallerAndDiscardsOnlyOnOK) {
  struct Case {
    long type, popup;
    SInt16 item;  // 0: no question
  } cases[] = {{3, 1, 46}, {5, 3, 43}, {6, 1, 44}, {7, 3, 45}, {8, 3, 45}, {2, 3, 0}};
  for (const Case& c : cases) {
    pages.RemoveAllItems();
    exifs.RemoveAllItems();
    alerts.clear();
    Scan({MakePage(8, 20, 20), MakePage(8, 20, 20)});
    wxframework::AnswerNextDialog(901);
    if (c.item) {
      Alert(901);
      wxframework::AnswerNextDialog(901);
      Alert(900);
    }
    TArray<unsigned char> flags;
    TArray<long> rotations;
    Preview::Call call{.type = c.type, .popup = c.popup};
    if (c.type == 2) call.includeFlags = &flags, call.rotations = &rotations;
    EXPECT_EQ(MessageT(901), Show(call)) << c.type;
    if (!c.item) {
      EXPECT_TRUE(alerts.empty());
      EXPECT_EQ(2, pages.GetCount()) << "the print layout keeps its pages";
      continue;
    }
    EXPECT_EQ(std::vector<std::string>(2, AlertText(c.item)), alerts) << c.type;
    EXPECT_EQ(0, pages.GetCount());
    size_t left = 0;
    for (const auto& entry : fs::directory_iterator(tempDir)) left += entry.is_regular_file();
    EXPECT_EQ(0u, left) << "both files of every page go";
    CPreviewDialog::sFirstCall = 1;
  }
}

TEST_F(Preview, ClosingLeavesNoLoaderBehind) {
  const size_t before = LThread::CountThreads();
  Scan(std::vector<wxtest::RawPage>(6, MakePage(32, 60, 40)));
  struct Case {
    const char* when;
    int loads;  // loaders given their turn before closing; -1 all
  } cases[] = {{"before any loader ran", 0}, {"after some ran", 2}, {"after all ran", -1}};
  bool scanned = false;
  for (const Case& c : cases) {
    Do([c](CPreviewDialog* d) {
      const TArray<CPreviewThumbnail*>& cells = d->GetView()->GetThumbnails();
      const int n = c.loads < 0 ? int(cells.GetCount()) : c.loads;
      for (int k = 1; k <= n; ++k) {
        cells[k]->GetPicture()->SpendTime(EventRecord{});
        LThread::Yield();
        EXPECT_NE(nullptr, cells[k]->GetPicture()->GetImage()) << c.when;
      }
    });
    wxframework::AnswerNextDialog('RTUN');
    EXPECT_EQ(MessageT('RTUN'), Show({.scan = !scanned})) << c.when;
    scanned = true;
    EXPECT_EQ(before, LThread::CountThreads()) << c.when;
  }
}

TEST_F(Preview, TheSettingsCarryOverUntilTheJobEnds) {
  Scan({MakePage(8, 20, 20)});
  wxframework::AnswerNextDialog('RTUN');
  ASSERT_EQ(MessageT('RTUN'), Show({.popup = 2}));
  EXPECT_EQ(0, CPreviewDialog::sFirstCall) << "'RTUN' keeps the job";
  wxframework::AnswerNextDialog(901);
  Alert(900);
  ASSERT_EQ(MessageT(901), Show({.popup = 2, .scan = false}));
  EXPECT_EQ(1, CPreviewDialog::sFirstCall) << "901 ends it";
  // Within a job the kept PDF settings lose the restricted byte the caller cleared.
  struct Case {
    UInt8 caller, kept;
  } cases[] = {{1, 1}, {0, 0}};
  Scan({MakePage(8, 20, 20)});
  StPDFDialog::kRestricted.set(pdf.view(), 1);
  wxframework::AnswerNextDialog('RTUN');
  ASSERT_EQ(MessageT('RTUN'), Show({}));
  for (const Case& c : cases) {
    StPDFDialog::kRestricted.set(pdf.view(), c.caller);
    Do([c](CPreviewDialog*) { EXPECT_EQ(c.kept, StPDFDialog::kRestricted.get(CPreviewDialog::sPDFSetting.view())); });
    wxframework::AnswerNextDialog('RTUN');
    ASSERT_EQ(MessageT('RTUN'), Show({.scan = false}));
  }
}

TEST_F(Preview, APageDroppedInAGapMovesAndTheWrittenOrderFollows) {
  Scan({MakePage(8, 20, 20), MakePage(8, 21, 20), MakePage(8, 22, 20), MakePage(8, 23, 20), MakePage(8, 24, 20)});
  Do([](CPreviewDialog* d) {
    CPreviewView* view = d->GetView();
    CPreviewThumbnail* third = Cell(d, 3);
    // A payload names a cell through its token: one of another size, or of another
    // object, names none.
    const UInt32 token = MemTokenFor(third);
    EXPECT_EQ(third, view->ThumbnailOfPayload(&token, 4));
    const uint64_t wide = token;
    EXPECT_EQ(nullptr, view->ThumbnailOfPayload(&wide, 8));
    int other = 0;
    const UInt32 foreign = MemTokenFor(&other);
    EXPECT_EQ(nullptr, view->ThumbnailOfPayload(&foreign, 4));
    MemTokenRelease(foreign);
    MemTokenRelease(token);
    view->MoveThumbnail(3, CPreviewView::DropPosition(5, 50, 5, 3));
    EXPECT_EQ(third, Cell(d, 1));
    for (ArrayIndexT k = 1; k <= 5; ++k) EXPECT_EQ(PaneIDT(k), Cell(d, k)->GetPaneID());
    SPoint32 where;
    third->GetFrameLocation(where);
    SPoint32 image;
    view->GetImageLocation(image);
    EXPECT_EQ(10, where.h - image.h);
  });
  wxframework::AnswerNextDialog('RTUN');
  ASSERT_EQ(MessageT('RTUN'), Show({}));
  std::vector<SInt32> widths;
  for (ArrayIndexT k = 1; k <= pages.GetCount(); ++k) widths.push_back(pages[k].width);
  EXPECT_EQ((std::vector<SInt32>{22, 20, 21, 23, 24}), widths);
}

}  // namespace
