#include "app/CPictureButton.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/CCPopupButton.h"
#include "app/CHelpButton.h"
#include "app/CPopupButton.h"
#include "framework/LListener.h"
#include "framework/LWindow.h"
#include "framework/TRegistrar.h"
#include "quickdraw/QuickDraw.h"
#include "support/TestEnv.h"
#include "tests/output/DialogTestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"
#include "windows/TestDriver.h"

namespace {

using namespace wxframework;

constexpr UInt32 kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00, kYellow = 0xFFFF00;

// Counts the messages it hears.
struct Counter : LListener {
  std::vector<MessageT> heard;
  void ListenToMessage(MessageT message, void*) override { heard.push_back(message); }
};

// A shown window with panes made in code, pictures in a scratch resource file, and pixels.
class ButtonTest : public wxtest::DialogTest {
 protected:
  void SetUp() override {
    wxtest::DialogTest::SetUp();
    const std::string path = (mDir / "pictures.rsrc").string();
    ASSERT_EQ(CreateResFilePath(path), noErr);
    mPictures = OpenResFilePath(path, fsRdWrPerm);
    ASSERT_NE(mPictures, -1);
    AddPicture(200, kRed);
    AddPicture(201, kBlue);
    AddPicture(202, kGreen);
    AddPicture(203, kYellow);
    Rect bounds = {100, 100, 220, 340};
    mWindow = new LWindow(bounds, reinterpret_cast<ConstStr255Param>("\x04Test"), kDocumentWindowClass, 0, mApp);
    mWindow->Show();
  }
  void TearDown() override {
    delete mWindow;
    CloseResFile(mPictures);
    wxtest::DialogTest::TearDown();
  }

  // A picture that paints its frame in one colour.
  void AddPicture(SInt16 id, UInt32 rgb) {
    Rect frame = {0, 0, 20, 20};
    PicHandle pic = OpenPicture(&frame);
    RGBColor color = {UInt16(((rgb >> 16) & 0xFF) * 257), UInt16(((rgb >> 8) & 0xFF) * 257), UInt16((rgb & 0xFF) * 257)};
    RGBForeColor(&color);
    PaintRect(&frame);
    ClosePicture();
    UseResFile(mPictures);
    AddResource(reinterpret_cast<Handle>(pic), 'PICT', id, reinterpret_cast<ConstStr255Param>("\x00"));
  }

  SPaneInfo Info(PaneIDT id, SInt16 left, SInt16 top) { return MakePaneInfo(mWindow, id, left, top, 40, 30); }

  // The window's pixel at a point of a pane's frame (h, v from its top left).
  UInt32 PixelIn(LPane* pane, int h, int v) {
    mWindow->UpdatePort();
    int width = 0, height = 0;
    std::vector<UInt32> pixels = wxdriver::WindowPixels(mWindow->GetMacWindow(), &width, &height);
    Rect frame;
    pane->CalcPortFrameRect(frame);
    return pixels[size_t(frame.top + v) * width + frame.left + h] & 0xFFFFFF;
  }

  Point Global(LPane* pane, int h, int v) {
    Rect frame;
    pane->CalcPortFrameRect(frame);
    Point p = {SInt16(frame.top + v), SInt16(frame.left + h)};
    pane->PortToGlobalPoint(p);
    return p;
  }

  wxtest::ScratchDir mDir;
  SInt16 mPictures = -1;
  LWindow* mWindow = nullptr;
};

TEST_F(ButtonTest, PicturesFollowThePressAndTheMouse) {
  auto* button = new CPictureButton(Info('COPY', 10, 10), 'COPY', 0, 0, 0, 200, 201, 202);
  EXPECT_EQ(PixelIn(button, 20, 15), kRed);
  button->MouseEnter(Point{0, 0}, EventRecord{});
  EXPECT_EQ(PixelIn(button, 20, 15), kGreen);
  button->MouseLeave();
  EXPECT_EQ(PixelIn(button, 20, 15), kRed);
}

TEST_F(ButtonTest, MissingPicturesGiveAGreyFramedBoxThatStillWorks) {
  auto* button = new CPictureButton(Info('MAIL', 10, 10), 'MAIL', 0, 0, 0, 900, 901, 902);
  Counter counter;
  button->AddListener(&counter);
  EXPECT_EQ(PixelIn(button, 0, 0), 0x000000u);
  EXPECT_EQ(PixelIn(button, 39, 29), 0x000000u);
  bool grey = false;
  for (int h = 1; h < 39 && !grey; ++h) grey = PixelIn(button, h, 10) != 0xFFFFFF;
  EXPECT_TRUE(grey) << "no pattern inside the frame";
  button->MouseEnter(Point{0, 0}, EventRecord{});  // no hover picture: nothing drawn
  EXPECT_EQ(PixelIn(button, 0, 0), 0x000000u);
  ClickPane(button);
  PumpEvents();
  EXPECT_EQ(counter.heard, std::vector<MessageT>{'MAIL'});
}

TEST_F(ButtonTest, OnlyAReleaseInsideBroadcastsOnce) {
  auto* button = new CPictureButton(Info('SAVE', 10, 10), 'SAVE', 0, 0, 0, 200, 201, 202);
  Counter counter;
  button->AddListener(&counter);
  struct Case {
    const char* what;
    std::vector<Point> path;  // down at the first, moves, up at the last
    size_t broadcasts;
  } cases[] = {
      {"click", {Global(button, 20, 15), Global(button, 20, 15)}, 1},
      {"out and released outside", {Global(button, 20, 15), Global(button, 80, 15), Global(button, 80, 15)}, 0},
      {"out and back in", {Global(button, 20, 15), Global(button, 80, 15), Global(button, 22, 16)}, 1},
  };
  for (const Case& c : cases) {
    counter.heard.clear();
    wxdriver::MouseDown(c.path.front());
    for (size_t i = 1; i < c.path.size(); ++i) wxdriver::MouseMove(c.path[i]);
    wxdriver::MouseUp(c.path.back());
    PumpEvents();
    EXPECT_EQ(counter.heard.size(), c.broadcasts) << c.what;
    EXPECT_FALSE(button->IsPressed()) << c.what;
    EXPECT_EQ(PixelIn(button, 20, 15), kRed) << c.what;
  }
}

TEST_F(ButtonTest, HelpButtonShowsItsDisabledPicture) {
  struct Case {
    ResIDT disabledPict;
    ResIDT normalPict;
    bool enabled;
    UInt32 shown;
  } cases[] = {
      {203, 200, true, kRed},
      {203, 200, false, kYellow},
      {0, 200, false, kRed},       // no disabled picture: the normal one
      {0, 950, false, 0x000000},   // missing: the grey box's frame
  };
  for (const Case& c : cases) {
    auto* help = new CHelpButton(Info('Whlp', 100, 10), 'Whlp', 0, 0, 0, c.normalPict, 231, 232, c.disabledPict);
    if (!c.enabled) help->Disable();
    EXPECT_EQ(PixelIn(help, c.shown == 0 ? 0 : 20, c.shown == 0 ? 0 : 15), c.shown) << c.disabledPict;
    delete help;
  }
}

SPaneInfo PopupInfo(LView* super, PaneIDT id) { return MakePaneInfo(super, id, 10, 60, 160, 20); }

TEST_F(ButtonTest, PopupItemsAreEnabledOneByOne) {
  auto* popup = new CPopupButton(PopupInfo(mWindow, 'POPL'), 'POPL', 0, 300, 0, 0, 0, reinterpret_cast<ConstStr255Param>("\x00"),
                                 'MENU', 1);
  ASSERT_EQ(popup->CountMenuItems(), 11);
  popup->DisableItem(3);
  EXPECT_FALSE(popup->ItemIsEnabled(3));
  EXPECT_TRUE(popup->ItemIsEnabled(2));
  popup->EnableItem(3);
  EXPECT_TRUE(popup->ItemIsEnabled(3));
}

TEST_F(ButtonTest, ChoosingTheShownItemStillReports) {
  auto* popup = new CCPopupButton(PopupInfo(mWindow, 'CCpp'), 'CCpp', 0, 300, 0, 0, 0,
                                  reinterpret_cast<ConstStr255Param>("\x00"), 'MENU', 2);
  Counter counter;
  popup->AddListener(&counter);
  struct Case {
    SInt16 item;  // 0: the menu is dismissed
    size_t broadcasts;
    SInt32 value;
  } cases[] = {{2, 1, 2}, {5, 1, 5}, {0, 0, 5}, {5, 1, 5}};
  for (const Case& c : cases) {
    counter.heard.clear();
    ChoosePopupItem(mWindow, 'CCpp', c.item);
    PumpEvents();
    EXPECT_EQ(counter.heard.size(), c.broadcasts) << c.item;
    EXPECT_EQ(popup->GetValue(), c.value) << c.item;
  }
}

}  // namespace
