#include "output/hubdialogs/WXFormatDialogs.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "prefs/LanguageTables.h"
#include "framework/LPopupButton.h"
#include "framework/LWindow.h"
#include "tests/output/DialogTestEnv.h"

namespace {

using namespace wxframework;
using wxtest::PaneState;

// A user action on the open dialog: click a pane, or choose an item of a popup.
struct Action {
  PaneIDT pane;
  SInt16 item = 0;  // 0: click
};

// Queues the user's actions, a reading of the panes, then the closing button.
void Script(const std::vector<Action>& actions, const std::vector<PaneIDT>& watched,
            std::map<PaneIDT, PaneState>* states, MessageT button) {
  for (const Action& a : actions)
    QueueDialogAction([a](LWindow* dialog) {
      if (a.item)
        ChoosePopupItem(dialog, a.pane, a.item);
      else
        ClickPane(dialog, a.pane);
    });
  QueueDialogAction([watched, states](LWindow* dialog) {
    for (PaneIDT id : watched) (*states)[id] = wxtest::StateOf(dialog, id);
  });
  AnswerNextDialog(button);
}

// Runs one table case: the factory record with the case's changes goes through the scripted
// dialog; then its answer, the record and the panes' states just before the button.
template <class Case, class Record, class Setting>
void RunCase(const Case& c, Record record, Setting setting) {
  c.in(record.view());
  Record expected = record;
  c.out(expected.view());
  std::map<PaneIDT, PaneState> states;
  std::vector<PaneIDT> watched;
  for (const auto& [id, state] : c.states) watched.push_back(id);
  Script(c.actions, watched, &states, c.button);
  EXPECT_EQ(setting(record), SInt32(c.button));
  EXPECT_EQ(record.bytes, expected.bytes);
  for (const auto& [id, state] : c.states) EXPECT_EQ(states[id], state) << wxtest::PaneName(id);
}

constexpr PaneState On{true, true, 1}, Off{true, true, 0}, DimOn{false, true, 1}, DimOff{false, true, 0};
PaneState Item(SInt32 v, bool enabled = true) { return PaneState{enabled, true, v}; }

// ---- PDF ----------------------------------------------------------------------------------

StPDFDialog FactoryPDF() {
  StPDFDialog r;
  RecordBytes v = r.view();
  StPDFDialog::kLanguageOption.set(v, 1);
  StPDFDialog::kUnused4.set(v, 1);
  StPDFDialog::kLanguage.set(v, 3);
  StPDFDialog::kCompression.set(v, 1);
  StPDFDialog::kSavedCompression.set(v, 2);
  StPDFDialog::kOptionCBCR.set(v, 1);
  StPDFDialog::kOptionCBXT.set(v, 1);
  StPDFDialog::kOptionCBXP.set(v, 0);
  StPDFDialog::kUnused108.set(v, 0x5A5A5A5A);
  for (size_t i = 0; i < kFSSpecRecordSize; ++i) v.setU8(26 + i, UInt8(i * 7));  // the PDF to append to
  return r;
}

struct PDFCase {
  const char* what;
  std::function<void(RecordBytes)> in;  // changes to the factory record
  UInt8 preview, noCBXP, noCBXT;
  std::vector<Action> actions;
  MessageT button;
  std::function<void(RecordBytes)> out;  // expected changes to the record going in
  std::map<PaneIDT, PaneState> states;   // just before the button
};

class PDFSettingTest : public wxtest::DialogTest {};

TEST_F(PDFSettingTest, Table) {
  auto none = [](RecordBytes) {};
  const std::vector<PDFCase> cases = {
      {"OK without changes keeps the record", none, 0, 0, 0, {}, 900, none,
       {{'CBXS', On}, {'POPL', Item(3)}, {'LTXP', Off}, {'CBXT', On}, {'CBCR', On}, {'CBXP', Off},
        {'RDNR', On}, {'RDHI', Off}}},
      {"unchecking the text option disables its language and clears 'CBXT' at once", none, 0, 0, 0, {{'CBXS'}}, 901,
       [](RecordBytes r) { StPDFDialog::kOptionCBXT.set(r, 0); },
       {{'CBXS', Off}, {'POPL', Item(3, false)}, {'LTXP', DimOff}, {'CBXT', DimOff}}},
      {"the same with OK stores both", none, 0, 0, 0, {{'CBXS'}}, 900,
       [](RecordBytes r) {
         StPDFDialog::kLanguageOption.set(r, 0);
         StPDFDialog::kOptionCBXT.set(r, 0);
       },
       {}},
      {"checking it again enables its dependants", [](RecordBytes r) { StPDFDialog::kLanguageOption.set(r, 0); }, 0, 0,
       0, {{'CBXS'}}, 900, [](RecordBytes r) { StPDFDialog::kLanguageOption.set(r, 1); },
       {{'POPL', Item(3)}, {'CBXT', On}}},
      {"language, compression and options come back on OK", none, 0, 0, 0,
       {{'POPL', 5}, {'RDHI'}, {'CBCR'}, {'CBXP'}}, 900,
       [](RecordBytes r) {
         StPDFDialog::kLanguage.set(r, 5);
         StPDFDialog::kCompression.set(r, 2);
         StPDFDialog::kOptionCBCR.set(r, 0);
         StPDFDialog::kOptionCBXP.set(r, 1);
       },
       {{'RDNR', Off}, {'RDHI', On}}},
      {"Cancel after changes leaves the record alone", none, 0, 0, 0,
       {{'POPL', 5}, {'RDHI'}, {'CBCR'}, {'CBXP'}, {'CBXT'}}, 901, none, {}},
      {"black and white offers only normal compression",
       [](RecordBytes r) {
         StPDFDialog::kRestricted.set(r, 1);
         StPDFDialog::kCompression.set(r, 2);
       },
       0, 0, 0, {}, 900, [](RecordBytes r) { StPDFDialog::kCompression.set(r, 1); },
       {{'RDNR', On}, {'RDHI', DimOff}}},
      {"high compression shows as such", [](RecordBytes r) { StPDFDialog::kCompression.set(r, 2); }, 0, 0, 0, {}, 900,
       none, {{'RDNR', Off}, {'RDHI', On}}},
      {"preview mode leaves only the text option editable", none, 1, 0, 0, {{'CBXS'}}, 901, none,
       {{'CBXS', Off}, {'POPL', Item(3, false)}, {'CBXT', DimOn}, {'CBCR', DimOn}, {'CBXP', DimOff}}},
      {"preview mode with the option off", [](RecordBytes r) { StPDFDialog::kLanguageOption.set(r, 0); }, 1, 0, 0, {},
       901, none, {{'POPL', Item(3, false)}, {'LTXP', DimOff}}},
      {"the caller's flags disable 'CBXP' and 'CBXT' for good; unchecking the text option still clears 'CBXT'", none,
       0, 1, 1, {{'CBXS'}, {'CBXS'}}, 900, [](RecordBytes r) { StPDFDialog::kOptionCBXT.set(r, 0); },
       {{'CBXP', DimOff}, {'CBXT', DimOff}, {'POPL', Item(3)}}},
      {"a stored language beyond the list is clamped", [](RecordBytes r) { StPDFDialog::kLanguage.set(r, 99); }, 0, 0,
       0, {}, 900, [](RecordBytes r) { StPDFDialog::kLanguage.set(r, 11); }, {{'POPL', Item(11)}}},
  };
  for (const PDFCase& c : cases) {
    SCOPED_TRACE(c.what);
    RunCase(c, FactoryPDF(), [&](StPDFDialog& record) {
      return CWXUtility::PDFSetting(300, mApp, record, 1, c.preview, c.noCBXP, c.noCBXT);
    });
    EXPECT_FALSE(HasDialogActions());
    ClearDialogActions();
  }
}

TEST_F(PDFSettingTest, AMissingLayoutThrowsAndLeavesTheRecord) {
  StPDFDialog record = FactoryPDF();
  const StPDFDialog before = record;
  EXPECT_ANY_THROW(CWXUtility::PDFSetting(310, mApp, record, 1, 0, 0, 0));  // the JPEG layout lacks 'CBXS'
  EXPECT_EQ(record.bytes, before.bytes);
  EXPECT_EQ(GetWindowList(), nullptr);
}

// ---- JPEG, TIFF and PICT ------------------------------------------------------------------

StJPEGDialog FactoryJPEG() {
  StJPEGDialog r;
  RecordBytes v = r.view();
  StJPEGDialog::kLanguageOption.set(v, 1);
  StJPEGDialog::kLanguage.set(v, 2);
  StJPEGDialog::kOptionSLT.set(v, 1);
  StJPEGDialog::kOptionPRB.set(v, 0);
  StJPEGDialog::kCompression.set(v, 3);
  return r;
}

struct ImageCase {
  const char* what;
  std::function<void(RecordBytes)> in;
  UInt8 showCompression, preview, noPRB, noLanguage;
  std::vector<Action> actions;
  MessageT button;
  std::function<void(RecordBytes)> out;
  std::map<PaneIDT, PaneState> states;
};

class JPEGSettingTest : public wxtest::DialogTest {};

TEST_F(JPEGSettingTest, Table) {
  auto none = [](RecordBytes) {};
  const std::vector<ImageCase> cases = {
      {"OK without changes keeps the record", none, 1, 0, 0, 0, {}, 900, none,
       {{'TUNJ', On}, {'LNGJ', Item(2)}, {'LTXJ', Off}, {'SLTJ', On}, {'PRBJ', Off}, {'POPC', Item(3)}}},
      {"everything changed, then OK", none, 1, 0, 0, 0, {{'TUNJ'}, {'SLTJ'}, {'PRBJ'}, {'POPC', 1}}, 900,
       [](RecordBytes r) {
         StJPEGDialog::kLanguageOption.set(r, 0);
         StJPEGDialog::kOptionSLT.set(r, 0);
         StJPEGDialog::kOptionPRB.set(r, 1);
         StJPEGDialog::kCompression.set(r, 1);
       },
       {{'LNGJ', Item(2, false)}, {'LTXJ', DimOff}}},
      {"everything changed, then Cancel", none, 1, 0, 0, 0, {{'TUNJ'}, {'SLTJ'}, {'PRBJ'}, {'POPC', 1}}, 901, none, {}},
      {"a hidden quality popup keeps the level", none, 0, 0, 0, 0, {}, 900, none,
       {{'POPC', PaneState{true, false, 3}}, {'StrJ', PaneState{true, false, 0}}}},
      {"the language option survives OK while disabled",
       [](RecordBytes r) { StJPEGDialog::kLanguageOption.set(r, 1); }, 1, 0, 0, 1, {{'PRBJ'}}, 900,
       [](RecordBytes r) { StJPEGDialog::kOptionPRB.set(r, 1); },
       {{'TUNJ', DimOn}, {'LNGJ', Item(2, false)}, {'LTXJ', DimOff}}},
      {"the option turned on enables its language", [](RecordBytes r) { StJPEGDialog::kLanguageOption.set(r, 0); }, 1,
       0, 0, 0, {{'TUNJ'}, {'LNGJ', 4}}, 900,
       [](RecordBytes r) {
         StJPEGDialog::kLanguageOption.set(r, 1);
         StJPEGDialog::kLanguage.set(r, 4);
       },
       {{'LNGJ', Item(4)}, {'LTXJ', Off}}},
      {"preview mode leaves nothing editable", none, 1, 1, 0, 0, {{'SLTJ'}}, 900, none,
       {{'TUNJ', DimOn}, {'SLTJ', DimOn}, {'PRBJ', DimOff}, {'LNGJ', Item(2, false)}}},
      {"the caller can disable 'PRBJ'", none, 1, 0, 1, 0, {{'PRBJ'}}, 900, none, {{'PRBJ', DimOff}}},
      {"a quality beyond the list is clamped", [](RecordBytes r) { StJPEGDialog::kCompression.set(r, 7); }, 1, 0, 0, 0,
       {}, 900, [](RecordBytes r) { StJPEGDialog::kCompression.set(r, 3); }, {{'POPC', Item(3)}}},
  };
  for (const ImageCase& c : cases) {
    SCOPED_TRACE(c.what);
    RunCase(c, FactoryJPEG(), [&](StJPEGDialog& record) {
      return CWXUtility::JPEGSetting(310, mApp, record, c.showCompression, c.preview, c.noPRB, c.noLanguage);
    });
    ClearDialogActions();
  }
}

class OtherSettingTest : public wxtest::DialogTest {};

TEST_F(OtherSettingTest, SameRulesWithTheirOwnPanes) {
  StOtherDialog record;
  RecordBytes v = record.view();
  StOtherDialog::kLanguageOption.set(v, 1);
  StOtherDialog::kLanguage.set(v, 1);
  StOtherDialog::kOptionSLT.set(v, 0);
  StOtherDialog::kOptionPRB.set(v, 1);

  const StOtherDialog before = record;
  std::map<PaneIDT, PaneState> states;
  Script({{'TUNO'}, {'SLTO'}}, {'LNGO', 'LTXO', 'SLTO'}, &states, 901);
  EXPECT_EQ(CWXUtility::OtherSetting(320, mApp, record, 1, 0, 0, 0), 901);
  EXPECT_EQ(record.bytes, before.bytes);
  EXPECT_EQ(states['LNGO'], Item(1, false));
  EXPECT_EQ(states['SLTO'], On);

  Script({{'SLTO'}, {'PRBO'}, {'LNGO', 2}}, {}, &states, 900);
  EXPECT_EQ(CWXUtility::OtherSetting(320, mApp, record, 1, 0, 0, 0), 900);
  EXPECT_EQ(StOtherDialog::kOptionSLT.get(v), 1u);
  EXPECT_EQ(StOtherDialog::kOptionPRB.get(v), 0u);
  EXPECT_EQ(StOtherDialog::kLanguage.get(v), 2u);

  Script({}, {'TUNO', 'LNGO', 'SLTO', 'PRBO'}, &states, 900);
  EXPECT_EQ(CWXUtility::OtherSetting(320, mApp, record, 1, 1, 0, 0), 900);
  EXPECT_EQ(states['TUNO'], DimOn);
  EXPECT_EQ(states['LNGO'], Item(2, false));
  EXPECT_EQ(states['SLTO'], DimOn);
  EXPECT_EQ(states['PRBO'], DimOff);
}

TEST_F(OtherSettingTest, AJapaneseSystemListsItsTwoLanguages) {
  const int32_t saved = IS_J;
  IS_J = 1;
  StOtherDialog record;
  StOtherDialog::kLanguageOption.set(record.view(), 1);
  StOtherDialog::kLanguage.set(record.view(), 5);
  SInt16 count = 0;
  QueueDialogAction([&count](LWindow* dialog) { count = FindPaneAs<LPopupButton>(dialog, 'LNGO')->CountMenuItems(); });
  AnswerNextDialog(900);
  EXPECT_EQ(CWXUtility::OtherSetting(320, mApp, record, 1, 0, 0, 0), 900);
  IS_J = saved;
  EXPECT_EQ(count, 2);
  EXPECT_EQ(StOtherDialog::kLanguage.get(record.view()), 2u);
}

}  // namespace
