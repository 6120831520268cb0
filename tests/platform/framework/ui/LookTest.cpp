#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "FrameworkFixture.h"
#include "display/Display.h"
#include "framework/FrameworkDriver.h"
#include "framework/LWindow.h"
#include "support/TestEnv.h"
#include "windows/TestDriver.h"

using namespace wxframework;

namespace {

class LookTest : public FrameworkFixture {};

// Counts the pixels that are neither the window's background nor white: drawn marks.
int InkPixels(const std::vector<UInt32>& pixels) {
  int ink = 0;
  for (UInt32 p : pixels)
    if (p != 0x00EEEEEE && p != 0x00FFFFFF) ++ink;
  return ink;
}

}  // namespace

TEST_F(LookTest, ADialogDrawsItsControlsIntoItsWindow) {
  WX_REQUIRE_TOOL("identify");
  LWindow* dialog = LWindow::CreateWindow(300, mApp);
  dialog->Show();
  dialog->Select();
  dialog->UpdatePort();
  int width = 0, height = 0;
  std::vector<UInt32> pixels = wxdriver::WindowPixels(dialog->GetMacWindow(), &width, &height);
  ASSERT_EQ(width, 320);
  ASSERT_EQ(height, 200);
  EXPECT_GT(InkPixels(pixels), 1000);  // text, frames and marks were drawn
  // Inside the OK button, away from its title: the button's white face.
  EXPECT_EQ(pixels[static_cast<size_t>(168 * width + 226)] & 0xFFFFFF, 0xFFFFFFu);
  const auto png = wxtest::OutputDir("framework") / "dialog.png";
  ASSERT_TRUE(wxdriver::SaveWindowPNG(dialog->GetMacWindow(), png));
  std::string out;
  ASSERT_EQ(wxtest::Run("identify -format '%w %h' '" + png.string() + "'", &out), 0);
  EXPECT_EQ(out, "320 200");
  delete dialog;
}
