#include "framework/LTabGroup.h"

#include <gtest/gtest.h>

#include "FrameworkFixture.h"
#include "framework/FrameworkDriver.h"
#include "framework/LEditText.h"
#include "framework/LLittleArrows.h"
#include "framework/LWindow.h"
#include "windows/TestDriver.h"

using namespace wxframework;

namespace {

class LTabGroupTest : public FrameworkFixture {};

}  // namespace

TEST_F(LTabGroupTest, TabMovesTheFocusAndSelectsTheField) {
  LWindow* dialog = LWindow::CreateWindow(330, mApp);
  dialog->Show();
  dialog->Select();
  auto* width = FindPaneAs<LEditText>(dialog, 'EDWD');
  auto* height = FindPaneAs<LEditText>(dialog, 'EDHG');
  EXPECT_TRUE(width->IsTarget());  // the dialog's focus goes to the first field
  wxdriver::Key(kTabCharCode);
  wxdriver::Type("42");
  PumpEvents();
  EXPECT_TRUE(height->IsTarget());
  EXPECT_EQ(height->GetText(), "42");  // the selected text was replaced
  wxdriver::Key(kTabCharCode, 0, shiftKey);
  wxdriver::Key(kTabCharCode, 0, shiftKey);
  PumpEvents();
  EXPECT_TRUE(height->IsTarget());  // round the group
  height->Disable();
  wxdriver::Key(kTabCharCode);
  PumpEvents();
  EXPECT_TRUE(width->IsTarget());
  wxdriver::Key(kTabCharCode);  // the disabled field is skipped
  PumpEvents();
  EXPECT_TRUE(width->IsTarget());
  delete dialog;
}

TEST_F(LTabGroupTest, LittleArrowsStepWithinTheirRange) {
  LWindow* dialog = LWindow::CreateWindow(330, mApp);
  dialog->Show();
  dialog->Select();
  auto* arrows = FindPaneAs<LLittleArrows>(dialog, 'LASZ');
  Rect frame;
  arrows->CalcPortFrameRect(frame);
  Point up = {static_cast<SInt16>(frame.top + 3), static_cast<SInt16>(frame.left + 5)};
  Point down = {static_cast<SInt16>(frame.bottom - 3), static_cast<SInt16>(frame.left + 5)};
  wxdriver::ClickInWindow(dialog->GetMacWindow(), up);
  wxdriver::ClickInWindow(dialog->GetMacWindow(), up);
  wxdriver::ClickInWindow(dialog->GetMacWindow(), down);
  PumpEvents();
  EXPECT_EQ(arrows->GetValue(), 13);
  arrows->SetValue(100);
  wxdriver::ClickInWindow(dialog->GetMacWindow(), up);
  PumpEvents();
  EXPECT_EQ(arrows->GetValue(), 100);
  delete dialog;
}

TEST_F(LTabGroupTest, TheAlertIconDrawsWithoutAnIconResource) {
  LWindow* dialog = LWindow::CreateWindow(330, mApp);
  dialog->Show();
  auto* icon = FindPaneAs<LControl>(dialog, 'ICMS');
  dialog->UpdatePort();
  int width = 0, height = 0;
  std::vector<UInt32> pixels = wxdriver::WindowPixels(dialog->GetMacWindow(), &width, &height);
  Rect frame;
  icon->CalcPortFrameRect(frame);
  UInt32 centre = pixels[static_cast<size_t>((frame.top + 6) * width + frame.left + 16)] & 0xFFFFFF;
  EXPECT_EQ(centre, 0xCC2222u);  // the stop icon's red disc
  icon->Hide();
  EXPECT_FALSE(icon->IsVisible());
  delete dialog;
}
