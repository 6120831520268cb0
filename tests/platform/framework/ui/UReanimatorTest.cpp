#include "framework/UReanimator.h"

#include <gtest/gtest.h>

#include "FrameworkFixture.h"
#include "framework/FrameworkDriver.h"
#include "framework/LCheckBox.h"
#include "framework/LException.h"
#include "framework/LGWorld.h"
#include "framework/LPopupButton.h"
#include "framework/LWindow.h"
#include "windows/TestDriver.h"

using namespace wxframework;

namespace {

class UReanimatorTest : public FrameworkFixture {};

}  // namespace

TEST_F(UReanimatorTest, LinksAListenerToTheControlsOfAControlLinkList) {
  LWindow* dialog = LWindow::CreateWindow(300, mApp);
  MessageLog log;
  UReanimator::LinkListenerToControls(&log, dialog, 300);
  FindPaneAs<LCheckBox>(dialog, 'CBXS')->SetValue(0);
  FindPaneAs<LPopupButton>(dialog, 'POPL')->SetValue(3);
  FindPaneAs<LControl>(dialog, 'RDHI')->SetValue(1);  // not in the list
  EXPECT_EQ(log.messages, (std::vector<MessageT>{'CBXS', 'POPL'}));
  try {
    UReanimator::LinkListenerToControls(&log, dialog, 301);
    FAIL();
  } catch (const LException& ex) {
    EXPECT_EQ(ex.GetErrorCode(), err_NilPointer);
  }
  delete dialog;
}

TEST_F(UReanimatorTest, AnOffscreenWorldStartsWhiteAndCopiesIntoAWindow) {
  LWindow* window = LWindow::CreateWindow(310, mApp);
  Rect bounds = {0, 0, 10, 20};
  LGWorld world(bounds);
  ASSERT_TRUE(world.BeginDrawing());
  Rect left = {0, 0, 10, 10};
  RGBColor red = {0xFFFF, 0, 0};
  RGBForeColor(&red);
  PaintRect(&left);
  world.EndDrawing();
  Rect dest = {0, 0, 20, 40};  // scaled twice
  world.CopyImage(GetWindowPort(window->GetMacWindow()), dest);
  int width = 0, height = 0;
  std::vector<UInt32> pixels = wxdriver::WindowPixels(window->GetMacWindow(), &width, &height);
  EXPECT_EQ(pixels[static_cast<size_t>(5 * width + 5)] & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(pixels[static_cast<size_t>(5 * width + 30)] & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_THROW(LGWorld(Rect{0, 0, 0, 0}), LException);  // an empty world is a memory error
  delete window;
}
