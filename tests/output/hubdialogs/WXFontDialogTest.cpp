#include "output/hubdialogs/WXFontDialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/LCaption.h"
#include "framework/LEditText.h"
#include "framework/LException.h"
#include "framework/LLittleArrows.h"
#include "framework/LWindow.h"
#include "quickdraw/Fonts.h"
#include "tests/output/DialogTestEnv.h"
#include "toolbox/TextUtils.h"

namespace {

using namespace wxframework;

bool Same(const StFontDialog& a, const StFontDialog& b) {
  return a.font == b.font && a.size == b.size && a.color.red == b.color.red && a.color.green == b.color.green &&
         a.color.blue == b.color.blue && a.colorPad == b.colorPad && a.bold == b.bold && a.italic == b.italic &&
         a.underline == b.underline && a.outline == b.outline && a.shadow == b.shadow;
}

StFontDialog Record() {
  StFontDialog r;
  r.font = kFontIDTimes;
  r.size = 20;
  r.color = {0x1111, 0x2222, 0x3333};
  r.colorPad = 0x7777;
  r.bold = 1;
  r.shadow = 1;
  return r;
}

struct FontCase {
  const char* what;
  std::function<void(StFontDialog&)> in;
  std::vector<std::function<void(LWindow*)>> actions;
  MessageT button;
  std::function<void(StFontDialog&)> out;  // expected changes to the record going in
  SInt32 popup;                            // the font popup's value before the button
  const char* sizeText;                    // the size field's text before the button
};

class FontDialogTest : public wxtest::DialogTest {
 protected:
  void Run(const FontCase& c);
};

TEST_F(FontDialogTest, Table) {
  auto none = [](StFontDialog&) {};
  auto okTouches = [](StFontDialog& r) { r.colorPad = 0; };
  const std::vector<FontCase> cases = {
      {"OK without changes writes the word after blue as 0", none, {}, 900, okTouches, 2, "20"},
      {"Cancel after changes leaves the record alone", none,
       {[](LWindow* d) { ClickPane(d, 'CBIT'); }, [](LWindow* d) { ChoosePopupItem(d, 'POPF', 3); },
        [](LWindow* d) { TypeIntoPane(d, 'EDSZ', "48"); }},
       901, none, 3, "48"},
      {"font, size and styles come back on OK", none,
       {[](LWindow* d) { ClickPane(d, 'CBIT'); }, [](LWindow* d) { ClickPane(d, 'CBBO'); },
        [](LWindow* d) { ChoosePopupItem(d, 'POPF', 3); }, [](LWindow* d) { TypeIntoPane(d, 'EDSZ', "48"); }},
       900,
       [](StFontDialog& r) {
         r.colorPad = 0;
         r.font = kFontIDCourier;
         r.size = 48;
         r.bold = 0;
         r.italic = 1;
       },
       3, "48"},
      {"a size outside 1 to 100 opens with the default size", [](StFontDialog& r) { r.size = 150; }, {}, 900,
       [](StFontDialog& r) {
         r.colorPad = 0;
         r.size = GetDefFontSize();
       },
       2, "12"},
      {"size 0 too", [](StFontDialog& r) { r.size = 0; }, {}, 901, none, 2, "12"},
      {"typing 120 puts the last valid size back", none, {[](LWindow* d) { TypeIntoPane(d, 'EDSZ', "120"); }}, 900,
       [](StFontDialog& r) {
         r.colorPad = 0;
         r.size = 12;
       },
       2, "12"},
      {"the field follows the arrows", none,
       {[](LWindow* d) { FindPaneAs<LLittleArrows>(d, 'LASZ')->SetValue(33); }}, 900,
       [](StFontDialog& r) {
         r.colorPad = 0;
         r.size = 33;
       },
       2, "33"},
  };
  for (const FontCase& c : cases) Run(c);
}

TEST_F(FontDialogTest, AFontNotInThePopupShowsNothingChosenAndIsKept) {
  Run({"unknown font", [](StFontDialog& r) { r.font = 4242; }, {}, 900, [](StFontDialog& r) { r.colorPad = 0; }, 0,
       "20"});
}

void FontDialogTest::Run(const FontCase& c) {
  SCOPED_TRACE(c.what);
  StFontDialog record = Record();
  c.in(record);
  StFontDialog expected = record;
  c.out(expected);
  for (const auto& action : c.actions) QueueDialogAction(action);
  SInt32 popup = -1;
  std::string sizeText;
  QueueDialogAction([&](LWindow* d) {
    popup = PaneValue(d, 'POPF');
    sizeText = PaneText(d, 'EDSZ');
  });
  AnswerNextDialog(c.button);
  EXPECT_EQ(CWXUtility::FontSetting(1200, nullptr, record), SInt32(c.button));
  EXPECT_TRUE(Same(record, expected)) << "font " << record.font << " size " << record.size << " pad "
                                      << record.colorPad;
  EXPECT_EQ(popup, c.popup);
  EXPECT_EQ(sizeText, c.sizeText);
  ClearDialogActions();
}

// Opens the colour picker from the font dialog and answers it with `rgb` (0-255) and `button`.
void PickColour(UInt8 red, UInt8 green, UInt8 blue, MessageT button, std::string* prompt) {
  QueueDialogAction([](LWindow* d) { ClickPane(d, 'BTSL'); });
  QueueDialogAction([=](LWindow* picker) {
    for (const auto& [id, value] : {std::pair<PaneIDT, UInt8>{'Red ', red}, {'Gren', green}, {'Blue', blue}})
      FindPaneAs<LEditText>(picker, id)->SetValue(value);
    Str255 text;
    for (LPane* pane : picker->GetSubPanes())
      if (auto* caption = dynamic_cast<LCaption*>(pane); caption && pane->GetPaneID() == 0 && prompt->empty())
        *prompt = PStrToString(caption->GetDescriptor(text));
  });
  AnswerNextDialog(button);
}

TEST_F(FontDialogTest, TheColourComesFromThePicker) {
  StFontDialog record = Record();
  std::string prompt;
  PickColour(255, 128, 0, 900, &prompt);
  PickColour(1, 2, 3, 901, &prompt);  // cancelled: the colour stays
  AnswerNextDialog(900);
  EXPECT_EQ(CWXUtility::FontSetting(1200, nullptr, record), 900);
  EXPECT_EQ(record.color.red, 0xFFFF);
  EXPECT_EQ(record.color.green, 128 * 257);
  EXPECT_EQ(record.color.blue, 0);
  EXPECT_EQ(record.colorPad, 0);
  if (wxtest::BuildLanguage() == 'E') {
    EXPECT_EQ(prompt, "Choose the colour of the text.");
  } else {
    EXPECT_FALSE(wxtest::ResourceText(1200, 1).empty());
    EXPECT_EQ(prompt, wxtest::ResourceText(1200, 1));
  }

  record = Record();
  PickColour(255, 128, 0, 900, &prompt);
  AnswerNextDialog(901);
  EXPECT_EQ(CWXUtility::FontSetting(1200, nullptr, record), 901);
  EXPECT_TRUE(Same(record, Record()));
}

TEST_F(FontDialogTest, AWrongLayoutThrowsNilP) {
  StFontDialog record = Record();
  try {
    CWXUtility::FontSetting(300, nullptr, record);
    ADD_FAILURE() << "no exception";
  } catch (const LException& e) {
    EXPECT_EQ(e.GetErrorCode(), ExceptionCode(err_NilPointer));
  }
  EXPECT_TRUE(Same(record, Record()));
}

}  // namespace
