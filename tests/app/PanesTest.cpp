#include <gtest/gtest.h>

#include "AppTestEnv.h"
#include "app/CEditableCaption.h"
#include "app/CPicture.h"
#include "app/CToolTip.h"
#include "framework/HelpTags.h"
#include "framework/LWindow.h"
#include "framework/UTextTraits.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "quickdraw/QDOffscreen.h"
#include "quickdraw/QuickDraw.h"
#include "windows/TestDriver.h"

namespace wxapp {
namespace {

using namespace wxframework;

class ToolTipTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    Start();
    Window()->Select();
    ClockSetAutoAdvance(0);
  }
  // Some passes of the loop with the clock `ticks` further on.
  void Wait(UInt32 ticks) {
    wxdriver::AdvanceTicks(ticks);
    for (int i = 0; i < 3; ++i) mApp->ProcessNextEvent(0);
  }
  std::string Tag() {
    Str255 text;
    HMCurrentTagText(text);
    return PStrToString(text);
  }
  std::string Item(SInt16 index) {
    Str255 text;
    GetIndString(text, 10001, index);
    return PStrToString(text);
  }
  void Over(PaneIDT id) {
    wxdriver::MouseMove(Centre(Window()->FindPaneByID(id)));
    Wait(0);
  }
};

TEST_F(ToolTipTest, ShownAfterASecondHiddenAfterTenAndNotAgainUntilTheMouseLeaves) {
  Over('COPY');
  Wait(30);
  EXPECT_EQ("", Tag());
  Wait(31);
  EXPECT_EQ(Item(2), Tag());
  Wait(601);
  EXPECT_EQ("", Tag());
  Wait(700);
  EXPECT_EQ("", Tag()) << "not again while the mouse stays";
  Over('Cpyc');
  Over('COPY');
  Wait(61);
  EXPECT_EQ(Item(2), Tag());
  Over('Cpyc');
  Wait(1);
  EXPECT_EQ("", Tag()) << "leaving hides it";
}

TEST_F(ToolTipTest, AClickBeforeTheDelayShowsNothing) {
  Over('PRNT');
  Wait(30);
  wxdriver::Click(Centre(Window()->FindPaneByID('PRNT')));
  PumpEvents();
  for (CStandInDialog* d : std::vector<CStandInDialog*>(CStandInDialog::Made())) delete d;
  Window()->Select();
  Wait(40);
  EXPECT_EQ("", Tag());
}

TEST_F(ToolTipTest, AMoveButtonWithoutAScannerButtonShowsNoTag) {
  Over('CPYM');
  Wait(61);
  EXPECT_EQ(Item(8), Tag()) << "Copy has scanner button 1";
  Over('Cpyc');
  Over('OCRM');
  Wait(61);
  EXPECT_EQ("", Tag());
}

// Pixels of a port, as 0x00RRGGBB.
UInt32 PixelAt(CGrafPtr port, int x, int y) {
  PixMapHandle pm = GetPortPixMap(port);
  auto* row = reinterpret_cast<UInt8*>(GetPixBaseAddr(pm)) + y * GetPixRowBytes(pm);
  return (UInt32(row[x * 4 + 1]) << 16) | (UInt32(row[x * 4 + 2]) << 8) | row[x * 4 + 3];
}

class DrawingTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    mApp = new CAppearanceApp(StandInClasses());
    Rect bounds{100, 100, 200, 300};
    mWindow = new LWindow(bounds, reinterpret_cast<ConstStr255Param>("\x04" "Test"), kDocumentWindowClass, 0, mApp);
    mWindow->Show();
  }
  LWindow* mWindow = nullptr;
};

TEST_F(DrawingTest, RightJustifiedLinesEndAtTheFrameAndWrapInsideIt) {
  auto* caption = new CEditableCaption(MakePaneInfo(mWindow, 'capt', 10, 10, 120, 40),
                                       reinterpret_cast<ConstStr255Param>("\x07" "Scan   "), 0, 0);
  caption->FinishCreate();
  mWindow->UpdatePort();
  mWindow->FocusDraw();
  RGBColor black{0, 0, 0}, white{0xFFFF, 0xFFFF, 0xFFFF};
  RGBForeColor(&black);
  RGBBackColor(&white);
  // Right: the last visible letter ends at the frame's right edge, the blanks not counted.
  Rect frame{10, 10, 50, 130};
  EraseRect(&frame);
  const char text[] = "Scan   ";
  CEditableCaption::DrawWithJustificationMyOnly(text, 7, frame, teFlushRight, false);
  int rightmost = -1;
  for (int x = 10; x < 130; ++x)
    for (int y = 10; y < 50; ++y)
      if (PixelAt(mWindow->GetMacPort(), x, y) != 0xFFFFFF) rightmost = std::max(rightmost, x);
  EXPECT_GE(rightmost, 126);
  EXPECT_LE(rightmost, 129);
  // A long text wraps, and no line is drawn below the frame.
  EraseRect(&frame);
  Rect narrow{10, 10, 40, 60};
  const char longText[] = "one two three four five six seven";
  CEditableCaption::DrawWithJustificationMyOnly(longText, sizeof longText - 1, narrow, teFlushLeft, false);
  int lowest = -1, widest = -1;
  for (int x = 10; x < 130; ++x)
    for (int y = 10; y < 50; ++y)
      if (PixelAt(mWindow->GetMacPort(), x, y) != 0xFFFFFF) {
        lowest = std::max(lowest, y);
        widest = std::max(widest, x);
      }
  EXPECT_GT(lowest, 25) << "more than one line";
  EXPECT_LT(lowest, 40);
  EXPECT_LT(widest, 60);
  // A frame narrower than any letter still ends.
  Rect sliver{10, 10, 50, 11};
  CEditableCaption::DrawWithJustificationMyOnly(longText, sizeof longText - 1, sliver, teCenter, true);
}

TEST_F(DrawingTest, PictureMagentaShowsTheBackground) {
  // A picture of a magenta square with a black bar, recorded here.
  Rect bounds{0, 0, 20, 20};
  GWorldPtr world = nullptr;
  ASSERT_EQ(noErr, NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0));
  CGrafPtr savedPort;
  GDHandle savedDevice;
  GetGWorld(&savedPort, &savedDevice);
  SetGWorld(world, nullptr);
  OpenCPicParams params{bounds, IntToFixed(72), IntToFixed(72), -2, 0, 0};
  PicHandle picture = OpenCPicture(&params);
  RGBColor magenta = BackGroundTransColor, black{0, 0, 0};
  RGBForeColor(&magenta);
  PaintRect(&bounds);
  RGBForeColor(&black);
  Rect bar{0, 0, 20, 5};
  PaintRect(&bar);
  ClosePicture();
  SetGWorld(savedPort, savedDevice);
  DisposeGWorld(world);
  Handle stored = reinterpret_cast<Handle>(picture);
  const std::string file = (mRoot.path() / "pictures.rsrc").string();
  ASSERT_EQ(noErr, CreateResFilePath(file));
  const SInt16 pictures = OpenResFilePath(file, fsRdWrPerm);
  ASSERT_NE(-1, pictures);
  AddResource(stored, 'PICT', 4242, reinterpret_cast<ConstStr255Param>(""));
  ASSERT_EQ(noErr, ResError());

  mWindow->FocusDraw();
  RGBColor green{0, 0xFFFF, 0};
  RGBForeColor(&green);
  Rect all{0, 0, 100, 200};
  PaintRect(&all);
  auto* pane = new CPicture(MakePaneInfo(mWindow, 'PicP', 30, 30, 20, 20), 4242);
  pane->FinishCreate();
  pane->Draw(nullptr);
  EXPECT_EQ(0x000000u, PixelAt(mWindow->GetMacPort(), 32, 40));
  EXPECT_EQ(0x00FF00u, PixelAt(mWindow->GetMacPort(), 45, 40)) << "magenta lets the background show";
  RemoveResource(stored);
  DisposeHandle(stored);
  CloseResFile(pictures);

  auto* missing = new CPicture(MakePaneInfo(mWindow, 'PicM', 60, 30, 20, 20), 4243);
  missing->FinishCreate();
  missing->Draw(nullptr);
  EXPECT_EQ(0x00FF00u, PixelAt(mWindow->GetMacPort(), 65, 40)) << "a missing picture draws nothing";
}

}  // namespace
}  // namespace wxapp
