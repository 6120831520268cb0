#include "output/hubdialogs/WXAlert.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

#include "framework/LControl.h"
#include "framework/LDialogBox.h"
#include "framework/LException.h"
#include "framework/LListener.h"
#include "framework/LWindow.h"
#include "tests/output/DialogTestEnv.h"
#include "toolbox/TextUtils.h"
#include "windows/MacWindows.h"
#include "windows/TestDriver.h"

namespace {

using namespace wxframework;
using wxtest::PaneState;

std::string Compose(const std::string& item, const char* param) {
  Str255 pItem, pParam, out;
  PStrFromString(item, pItem);
  if (param) PStrFromString(param, pParam);
  CWXUtility::ComposeAlertMessage(pItem, param ? pParam : nullptr, out);
  return PStrToString(out);
}

TEST(AlertMessage, OnlyTheFirstPlaceholderTakesTheText) {
  struct Case {
    const char* item;
    const char* param;
    const char* shown;
  } cases[] = {
      {"Pages scanned so far: %s.", "3", "Pages scanned so far: 3."},
      {"Add to \"%s\"?", "Report %d %s.pdf", "Add to \"Report %d %s.pdf\"?"},  // the text is never read as a format
      {"%d pages of %s", "x", "%d pages of x"},
      {"%s and %s", "a", "a and %s"},
      {"100%% of %s", "disk", "100% of disk"},
      {"No placeholder here.", "3", "No placeholder here."},
      {"Trailing %", "3", "Trailing %"},
      {"Keep %s and 100%% as they are", nullptr, "Keep %s and 100%% as they are"},
      {"", "x", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Compose(c.item, c.param), c.shown) << c.item;
}

TEST(AlertMessage, IsCutTo255BytesBetweenCharacters) {
  SetSystemScriptForLanguage('E');
  std::string item = "%s" + std::string(100, 'b');
  EXPECT_EQ(Compose(item, std::string(200, 'a').c_str()), std::string(200, 'a') + std::string(55, 'b'));
  SetSystemScriptForLanguage('J');
  std::string twoByte;
  for (int i = 0; i < 130; ++i) twoByte += "\x82\xA0";  // 260 bytes of Shift-JIS
  const std::string shown = Compose("%s", twoByte.c_str());
  EXPECT_EQ(shown.size(), 254u);  // 255 would split a character
  SetSystemScriptForLanguage('E');
}

class AlertTest : public wxtest::DialogTest {
 protected:
  void SetUp() override {
    wxtest::DialogTest::SetUp();
    CWXUtility::sEZMag = 0;
    CWXUtility::sIsOpen = 0;
  }
  static std::string Item(SInt16 index) {
    Str255 text;
    GetIndString(text, 400, index);
    return PStrToString(text);
  }
};

struct FormCase {
  const char* what;
  SInt32 layout;
  UInt8 showCancel, showIcon;
  UInt16 buttonChoice;
  std::map<PaneIDT, bool> visible;  // and enabled alike
  PaneIDT cancelButton;
};

TEST_F(AlertTest, FormMatrix) {
  const std::vector<FormCase> cases = {
      {"message with OK only", 400, 0, 1, 0, {{'BTCN', false}, {'ICMS', true}, {900, true}}, 901},
      {"question with OK and Cancel", 400, 1, 1, 0, {{'BTCN', true}, {'ICMS', true}}, 901},
      {"question without icon", 400, 1, 0, 0, {{'BTCN', true}, {'ICMS', false}}, 901},
      {"next-page prompt", 350, 1, 0, 0, {{'BTCN', true}, {'ICMS', false}}, 901},
      {"scanner prompt, choice 0", 360, 1, 0, 0, {{'BOK1', true}, {'BOK2', false}, {'BOK3', false}, {'ICMS', false}}, 'BOK1'},
      {"scanner prompt, choice 1", 360, 1, 0, 1, {{'BOK1', true}, {'BOK2', false}, {'BOK3', false}}, 'BOK1'},
      {"scanner prompt, choice 2", 360, 1, 0, 2, {{'BOK1', false}, {'BOK2', true}, {'BOK3', false}}, 'BOK2'},
      {"scanner prompt, choice 3", 360, 1, 0, 3, {{'BOK1', false}, {'BOK2', false}, {'BOK3', true}}, 'BOK3'},
      {"scanner prompt, choice 4", 360, 1, 0, 4, {{'BOK1', true}, {'BOK2', false}, {'BOK3', false}}, 'BOK1'},
  };
  for (const FormCase& c : cases) {
    SCOPED_TRACE(c.what);
    std::map<PaneIDT, PaneState> states;
    PaneIDT cancel = 0;
    std::string text;
    QueueDialogAction([&](LWindow* dialog) {
      for (const auto& [id, shown] : c.visible) states[id] = wxtest::StateOf(dialog, id);
      cancel = dynamic_cast<LDialogBox*>(dialog)->GetCancelButtonID();
      text = PaneText(dialog, 'TXMS');
    });
    AnswerNextDialog(900);
    EXPECT_EQ(CWXUtility::Show_Error(c.layout, mApp, 400, 6, c.showCancel, c.showIcon, nullptr, c.buttonChoice), 900);
    for (const auto& [id, shown] : c.visible) {
      EXPECT_EQ(states[id].visible, shown) << wxtest::PaneName(id);
      // What the options hide is disabled too; the unchosen scanner buttons only stay hidden.
      if (id == 'BTCN' || id == 'ICMS') {
        EXPECT_EQ(states[id].enabled, shown) << wxtest::PaneName(id);
      }
    }
    EXPECT_EQ(cancel, c.cancelButton);
    EXPECT_EQ(text, Item(6));
    EXPECT_EQ(CWXUtility::sIsOpen, 0);
    EXPECT_EQ(GetWindowList(), nullptr);
  }
}

TEST_F(AlertTest, ButtonsAndKeysAnswer) {
  struct Case {
    SInt32 layout;
    std::function<void(LWindow*)> act;
    SInt32 answer;
  } cases[] = {
      {400, [](LWindow* d) { ClickPane(d, 'BTCN'); }, 901},
      {400, [](LWindow* d) { ClickPane(d, 900); }, 900},
      {350, [](LWindow* d) { ClickPane(d, 'BTCN'); }, 901},
      {360, [](LWindow* d) { ClickPane(d, 'BOK1'); }, 901},
      {360, [](LWindow*) { wxdriver::Key(kEscapeCharCode, 0x35); }, 901},
      {360, [](LWindow*) { wxdriver::Key(kReturnCharCode, 0x24); }, 900},
  };
  for (const Case& c : cases) {
    QueueDialogAction(c.act);
    EXPECT_EQ(CWXUtility::Show_Error(c.layout, mApp, 400, 7, 1, 0, nullptr, 1), c.answer) << c.layout;
    EXPECT_FALSE(HasDialogActions());
  }
}

TEST_F(AlertTest, ParameterGoesIntoTheMessage) {
  std::string text;
  QueueDialogAction([&](LWindow* dialog) { text = PaneText(dialog, 'TXMS'); });
  AnswerNextDialog(900);
  Str255 pages;
  PStrFromString("4", pages);
  EXPECT_EQ(CWXUtility::Show_Error(350, mApp, 400, 7, 1, 0, pages, 0), 900);
  const char language = wxtest::BuildLanguage();
  ASSERT_NE(language, 0) << "string list 128 names no language";
  if (language == 'E') {
    EXPECT_EQ(text, "Pages scanned so far: 4. Scan another page?");
    return;
  }
  // Other languages: the item as translated, its first %s taking the parameter.
  std::string expected = Item(7);
  const size_t placeholder = expected.find("%s");
  ASSERT_NE(placeholder, std::string::npos) << expected;
  expected.replace(placeholder, 2, "4");
  EXPECT_EQ(text, expected);
}

TEST_F(AlertTest, AScannerButtonAnswersOnlyTheScannerPrompt) {
  for (SInt32 answer : {901, 900}) {
    Boolean openWhileWaiting = 0;
    QueueDialogAction([](LWindow*) {});
    QueueDialogAction([&openWhileWaiting, answer](LWindow*) {
      openWhileWaiting = CWXUtility::sIsOpen;
      CWXUtility::sEZMag = answer;  // what the scanner-button dispatch does
    });
    EXPECT_EQ(CWXUtility::Show_Error(360, mApp, 400, 41, 1, 0, nullptr, 2), answer);
    EXPECT_EQ(openWhileWaiting, 1);
    EXPECT_EQ(CWXUtility::sIsOpen, 0);
    EXPECT_FALSE(HasDialogActions());
  }

  // The other forms ignore it and wait for a click.
  for (SInt32 layout : {350, 400}) {
    Boolean openWhileWaiting = 1;
    QueueDialogAction([](LWindow*) { CWXUtility::sEZMag = 901; });
    QueueDialogAction([&openWhileWaiting](LWindow*) { openWhileWaiting = CWXUtility::sIsOpen; });
    AnswerNextDialog(900);
    EXPECT_EQ(CWXUtility::Show_Error(layout, mApp, 400, 7, 1, 0, nullptr, 0), 900) << layout;
    EXPECT_EQ(openWhileWaiting, 0) << layout;
  }
}

// Stores a scanner-button answer the moment OK is clicked, so both arrive in one pass.
struct AnswerOnClick : LListener {
  void ListenToMessage(MessageT message, void*) override {
    if (message == msg_OK) CWXUtility::sEZMag = 901;
  }
};

TEST_F(AlertTest, AClickWinsOverAStoredAnswerAndAnOldAnswerIsDiscarded) {
  AnswerOnClick scanner;
  QueueDialogAction([&scanner](LWindow* dialog) {
    FindPaneAs<LControl>(dialog, 900)->AddListener(&scanner);
    ClickPane(dialog, 900);
  });
  EXPECT_EQ(CWXUtility::Show_Error(360, mApp, 400, 41, 1, 0, nullptr, 1), 900);
  EXPECT_EQ(CWXUtility::sEZMag, 901);

  CWXUtility::sEZMag = 900;  // left over from before the prompt
  QueueDialogAction([](LWindow*) {});
  QueueDialogAction([](LWindow*) {});
  AnswerNextDialog(901);
  EXPECT_EQ(CWXUtility::Show_Error(360, mApp, 400, 41, 1, 0, nullptr, 1), 901);
}

TEST_F(AlertTest, AnAlertWithoutParentAndOneInsideAWaitingPrompt) {
  AnswerNextDialog(900);
  EXPECT_EQ(CWXUtility::Show_Error(400, nullptr, 400, 48, 0, 1, nullptr, 0), 900);

  // A scanner button that does not fit the prompt gets its own alert; the prompt goes on
  // waiting and takes the right answer afterwards.
  Boolean openInside = 1, openAfter = 0;
  SInt32 inner = 0;
  QueueDialogAction([](LWindow*) {});
  QueueDialogAction([&](LWindow*) {
    QueueDialogAction([&openInside](LWindow*) { openInside = CWXUtility::sIsOpen; });
    AnswerNextDialog(900);
    inner = CWXUtility::Show_Error(400, mApp, 400, 42, 0, 1, nullptr, 0);
    // Queued only now, so it runs on the prompt once the inner alert is gone.
    QueueDialogAction([&openAfter](LWindow*) {
      openAfter = CWXUtility::sIsOpen;
      CWXUtility::sEZMag = 900;
    });
  });
  EXPECT_EQ(CWXUtility::Show_Error(360, mApp, 400, 41, 1, 0, nullptr, 3), 900);
  EXPECT_EQ(inner, 900);
  EXPECT_EQ(openInside, 1);  // the prompt still waits underneath
  EXPECT_EQ(openAfter, 1);
  EXPECT_EQ(CWXUtility::sIsOpen, 0);
  EXPECT_FALSE(HasDialogActions());
}

TEST_F(AlertTest, AnAlertNobodyAnswersFailsTheTestNamingItsMessage) {
  static SInt32 answer = 0;
  EXPECT_NONFATAL_FAILURE(answer = CWXUtility::Show_Error(400, mApp, 400, 3, 1, 1, nullptr, 0),
                          "Nothing answered alert 400 (string list 400 item 3)");
  EXPECT_EQ(answer, 900);  // as its default button
  EXPECT_EQ(GetWindowList(), nullptr);
}

TEST_F(AlertTest, AThrowClosesThePromptAndClearsTheFlag) {
  QueueDialogAction([](LWindow*) {});
  QueueDialogAction([](LWindow*) { throw std::runtime_error("failure while the prompt waits"); });
  EXPECT_THROW(CWXUtility::Show_Error(360, mApp, 400, 41, 1, 0, nullptr, 1), std::runtime_error);
  EXPECT_EQ(CWXUtility::sIsOpen, 0);
  EXPECT_EQ(GetWindowList(), nullptr);
  ClearDialogActions();
}

TEST_F(AlertTest, MissingPanesThrowNilP) {
  struct Case {
    SInt32 layout;
    UInt8 showCancel, showIcon;
  } cases[] = {
      {200, 1, 1},  // no message pane
      {360, 0, 0},  // the scanner prompt has no Cancel button to hide
      {300, 1, 1},
  };
  for (const Case& c : cases) {
    try {
      CWXUtility::Show_Error(c.layout, mApp, 400, 3, c.showCancel, c.showIcon, nullptr, 0);
      ADD_FAILURE() << "no exception for layout " << c.layout;
    } catch (const LException& e) {
      EXPECT_EQ(e.GetErrorCode(), ExceptionCode(err_NilPointer)) << c.layout;
    }
    EXPECT_EQ(CWXUtility::sIsOpen, 0);
    EXPECT_EQ(GetWindowList(), nullptr);
  }
}

}  // namespace
