#include "output/hubdialogs/WXAddFileName.h"

#include <gtest/gtest.h>

#include "framework/LEditText.h"
#include "framework/LException.h"
#include "framework/LWindow.h"
#include "output/hub/WXChecks.h"
#include "output/hubdialogs/CFileNameAddDialog.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "tests/output/DialogTestEnv.h"
#include "toolbox/TextUtils.h"

namespace {

using namespace wxframework;
using Action = std::function<void(LWindow*)>;

class FileNameDialog : public wxtest::DialogTest {
 protected:
  void SetUp() override {
    wxtest::DialogTest::SetUp();
    RegisterClass_(CFileNameAddDialog);
    RegisterClass_(CFileNameAddPopup);
  }
};

std::vector<std::string> MenuItems(LWindow* d) {
  auto* popup = FindPaneAs<CFileNameAddPopup>(d, 'PuFN');
  std::vector<std::string> items;
  Str255 text;
  for (SInt16 i = 1; i <= popup->CountMenuItems(); ++i) items.push_back(PStrToString(popup->GetMenuItemText(i, text)));
  return items;
}

Action Type(const std::string& text) {
  return [text](LWindow* d) {
    Str255 p;
    PStrFromString(text, p);
    FindPaneAs<LEditText>(d, 'EtFN')->SetDescriptor(p);
  };
}

Action Choose(SInt16 item) {
  return [item](LWindow* d) { ChoosePopupItem(d, 'PuFN', item); };
}

TEST_F(FileNameDialog, TakesANameTypedOrChosenFromTheHistory) {
  struct Case {
    const char* what;
    const char* name;
    std::vector<std::string> history;
    std::vector<Action> actions;
    MessageT end;
    long result;
    const char* nameOut;
    std::vector<std::string> menuAfter;
    std::string fieldAfter;
    SInt32 markedAfter;
  } cases[] = {
      {"OK keeps the name", "Scan", {"A", "B", "C"}, {}, 900, 1, "Scan", {"C", "B", "A"}, "Scan", -1},
      {"Cancel leaves the name", "Scan", {"A"}, {Type("Other")}, 901, 0, "Scan", {"A"}, "Other", -1},
      {"a typed name", "Scan", {}, {Type("Holiday")}, 900, 1, "Holiday", {}, "Holiday", 0},
      {"a history item replaces the field", "Scan", {"A", "B", "C"}, {Choose(2)}, 900, 1, "C", {"C", "B", "A"}, "C", -1},
      {"a name in the history is marked and nothing added", "B", {"A", "B", "C"}, {Choose(0)}, 900, 1, "B",
       {"C", "B", "A"}, "B", 2},
      {"a new name shown on top goes again", "D", {"A", "B", "C"}, {Choose(1)}, 900, 1, "D", {"C", "B", "A"}, "D", -1},
      {"with a new name on top, the second item is the latest", "D", {"A", "B", "C"}, {Choose(2)}, 900, 1, "C",
       {"C", "B", "A"}, "C", -1},
      {"an empty history shows only the typed name", "Scan", {}, {Choose(1)}, 900, 1, "Scan", {}, "Scan", -1},
  };
  for (const Case& c : cases) {
    Str255 name;
    PStrFromString(c.name, name);
    std::vector<Str255> history(c.history.size());
    for (size_t i = 0; i < c.history.size(); ++i) PStrFromString(c.history[i], history[i]);
    std::vector<std::string> menuAfter;
    std::string fieldAfter;
    SInt32 marked = -1;
    for (const Action& a : c.actions) QueueDialogAction(a);
    QueueDialogAction([&](LWindow* d) {
      menuAfter = MenuItems(d);
      fieldAfter = PaneText(d, 'EtFN');
      marked = PaneValue(d, 'PuFN');
    });
    AnswerNextDialog(c.end);
    EXPECT_EQ(CWXUtility::AddFileName(mApp, name, long(history.size()), history.data()), c.result) << c.what;
    EXPECT_EQ(PStrToString(name), c.nameOut) << c.what;
    EXPECT_EQ(menuAfter, c.menuAfter) << c.what;
    EXPECT_EQ(fieldAfter, c.fieldAfter) << c.what;
    if (c.markedAfter >= 0) {
      EXPECT_EQ(marked, c.markedAfter) << c.what;
    }
    EXPECT_FALSE(HasDialogActions()) << c.what;
    ClearDialogActions();
  }
}

TEST_F(FileNameDialog, ANameThatCannotBeUsedKeepsTheDialogOpen) {
  struct Case {
    const char* typed;
  } cases[] = {{""}, {"a:b"}, {".hidden"}, {"123456789012345678901"}};
  for (const Case& c : cases) {
    Str255 typed;
    PStrFromString(c.typed, typed);
    const long item = CWXUtility::CheckFileName(typed);
    ASSERT_NE(item, 0) << c.typed;
    Str255 name;
    PStrFromString("Scan", name);
    std::string alert;
    bool targetIsField = false;
    QueueDialogAction(Type(c.typed));
    AnswerNextDialog(900);
    QueueDialogAction([&](LWindow* d) { alert = PaneText(d, 'TXMS'); });
    AnswerNextDialog(900);
    QueueDialogAction([&](LWindow* d) { targetIsField = LCommander::GetTarget() == static_cast<LCommander*>(FindPaneAs<LEditText>(d, 'EtFN')); });
    AnswerNextDialog(901);
    EXPECT_EQ(CWXUtility::AddFileName(mApp, name, 0, nullptr), 0) << c.typed;
    EXPECT_EQ(alert, wxtest::ResourceText(400, SInt16(item))) << c.typed;
    EXPECT_TRUE(targetIsField) << c.typed;
    EXPECT_EQ(PStrToString(name), "Scan");
    EXPECT_FALSE(HasDialogActions());
    ClearDialogActions();
  }
}

TEST_F(FileNameDialog, AnotherDialogAtTheLayoutIsAnError) {
  URegistrar::UnregisterAll();
  RegisterFrameworkClasses();
  RegisterClass_(LIconControl);
  RegisterClass_(CFileNameAddPopup);
  URegistrar::RegisterClass('FAdg', TRegistrar<LDialogBox>::Create, TRegistrar<LDialogBox>::ParentID());
  Str255 name;
  PStrFromString("Scan", name);
  try {
    CWXUtility::AddFileName(mApp, name, 0, nullptr);
    FAIL() << "no exception";
  } catch (const LException& e) {
    EXPECT_EQ(e.GetErrorCode(), err_NilPointer);
  }
}

}  // namespace
