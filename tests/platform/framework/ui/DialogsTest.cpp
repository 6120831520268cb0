#include "framework/Dialogs.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FrameworkFixture.h"
#include "framework/ColorPicker.h"
#include "framework/FrameworkDriver.h"
#include "framework/LStr255.h"
#include "framework/LWindow.h"
#include "windows/TestDriver.h"

using namespace wxframework;

namespace {

class DialogsTest : public FrameworkFixture {};

}  // namespace

TEST_F(DialogsTest, AnAlertShowsItsParametersAndReturnsTheButton) {
  ParamText(LStr255("Scan.tif"), LStr255("-43"), nullptr, nullptr);
  std::string shown;
  QueueDialogAction([&](LWindow* alert) { shown = PaneText(alert, 3); });
  AnswerNextDialog(2);
  EXPECT_EQ(StopAlert(129, nullptr), 2);
  EXPECT_EQ(shown, "Could not open Scan.tif (error -43).");
  EXPECT_EQ(GetWindowList(), nullptr);  // the alert is gone
}

TEST_F(DialogsTest, ReturnChoosesTheFirstButton) {
  ParamText(LStr255("Done"), nullptr, nullptr, nullptr);
  QueueDialogAction([](LWindow*) { wxdriver::Key(kReturnCharCode); });
  EXPECT_EQ(NoteAlert(130, nullptr), 1);
  EXPECT_EQ(Alert(4242, nullptr), -1);  // no such alert
}

TEST_F(DialogsTest, AnAlertNobodyAnswersIsReportedAndEndsWithItsDefaultButton) {
  std::vector<std::string> reported;
  SetUnansweredAlertProc([&reported](const std::string& alert) { reported.push_back(alert); });
  ParamText(LStr255("Scan.tif"), LStr255("-43"), nullptr, nullptr);
  EXPECT_EQ(StopAlert(129, nullptr), 1);
  EXPECT_EQ(reported, std::vector<std::string>{"alert 129 \"Could not open Scan.tif (error -43).\""});
  EXPECT_EQ(GetWindowList(), nullptr);

  // Queued work keeps it waiting however long it takes; the answer still comes from the test.
  for (int i = 0; i < kUnansweredAlertPasses + 1; ++i) QueueDialogAction([](LWindow*) {});
  AnswerNextDialog(2);
  EXPECT_EQ(StopAlert(129, nullptr), 2);
  EXPECT_EQ(reported.size(), 1u);
}

TEST_F(DialogsTest, AnUnansweredAlertFailsTheTestNamingIt) {
  EXPECT_NONFATAL_FAILURE(NoteAlert(130, nullptr), "Nothing answered alert 130");
}

TEST_F(DialogsTest, TheColourPickerKeepsTheColourOnCancel) {
  const RGBColor start = {0xFFFF, 0, 0};
  RGBColor out = {1, 2, 3};
  QueueDialogAction([](LWindow* picker) { TypeIntoPane(picker, 'Gren', "128"); });
  AnswerNextDialog(msg_Cancel);
  EXPECT_FALSE(GetColor(Point{0, 0}, LStr255("Colour"), &start, &out));
  EXPECT_EQ(out.red, 1);

  QueueDialogAction([](LWindow* picker) { TypeIntoPane(picker, 'Gren', "128"); });
  AnswerNextDialog(msg_OK);
  ASSERT_TRUE(GetColor(Point{0, 0}, LStr255("Colour"), &start, &out));
  EXPECT_EQ(out.red, 0xFFFF);
  EXPECT_EQ(out.green, 128 * 257);
  EXPECT_EQ(out.blue, 0);
}

TEST_F(DialogsTest, AStringListItemMakesAString) {
  EXPECT_TRUE(LStr255(400, 1) == "Disk full: ^0");
  EXPECT_EQ(LStr255(400, 9).Length(), 0);
}
