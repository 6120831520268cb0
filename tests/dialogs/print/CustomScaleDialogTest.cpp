#include "dialogs/print/CustomScaleDialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prefs/PrefRecords.h"
#include "framework/LEditText.h"
#include "framework/LWindow.h"
#include "tests/output/DialogTestEnv.h"
#include "toolbox/TextUtils.h"

namespace {

using namespace wxframework;

class CustomScaleDialogTest : public wxtest::DialogTest {};

TEST_F(CustomScaleDialogTest, OKTakes25To400AndOtherwiseShowsTheNearerBound) {
  const struct {
    std::string typed;
    uint32_t stored;              // the record's percent after the dialog
    std::string shownAfterAlert;  // the field after the alert; empty when none comes
  } cases[] = {
      {"25", 25, ""}, {"400", 400, ""}, {"24", 25, "25"}, {"401", 400, "400"}, {"x", 25, "25"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    PREF_COPY copy;
    PREF_COPY::kCustomPercent.set(copy.view(), 150);
    std::string initial, afterAlert, alert;
    QueueDialogAction([&](LWindow* dialog) {
      initial = PaneText(dialog, 'TECN');
      if (c.typed == "x") {  // the key filter refuses letters; pasted text still arrives
        Str255 text;
        PStrFromString("x5", text);
        FindPaneAs<LEditText>(dialog, 'TECN')->SetDescriptor(text);
      } else {
        TypeIntoPane(dialog, 'TECN', c.typed);
      }
    });
    AnswerNextDialog(900);
    if (!c.shownAfterAlert.empty()) {
      QueueDialogAction([&](LWindow* dialog) { alert = PaneText(dialog, 'TXMS'); });
      AnswerNextDialog(900);
      QueueDialogAction([&](LWindow* dialog) { afterAlert = PaneText(dialog, 'TECN'); });
      AnswerNextDialog(900);
    }
    EXPECT_EQ(900, ShowCustomScaleDialog(mApp, copy.view()));
    EXPECT_EQ("150", initial);
    EXPECT_EQ(c.stored, PREF_COPY::kCustomPercent.get(copy.view()));
    EXPECT_EQ(c.shownAfterAlert, afterAlert);
    if (!c.shownAfterAlert.empty()) {
      EXPECT_EQ(wxtest::ResourceText(400, 12), alert);
    }
    EXPECT_FALSE(HasDialogActions());
  }
}

TEST_F(CustomScaleDialogTest, CancelKeepsThePercent) {
  PREF_COPY copy;
  PREF_COPY::kCustomPercent.set(copy.view(), 150);
  QueueDialogAction([](LWindow* dialog) { TypeIntoPane(dialog, 'TECN', "300"); });
  AnswerNextDialog(901);
  EXPECT_EQ(901, ShowCustomScaleDialog(mApp, copy.view()));
  EXPECT_EQ(150u, PREF_COPY::kCustomPercent.get(copy.view()));
}

}  // namespace
