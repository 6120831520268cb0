#include "framework/LDragAndDrop.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "FrameworkFixture.h"
#include "framework/DragLocation.h"
#include "framework/FrameworkDriver.h"
#include "framework/LDragTask.h"
#include "framework/LWindow.h"
#include "support/TestEnv.h"
#include "windows/TestDriver.h"

using namespace wxframework;

namespace {

constexpr FlavorType kButtonFlavor = 'FtWX';

// A drag task whose sender reads the drop location as the move buttons do.
struct ProbingDragTask : LDragTask {
  using LDragTask::LDragTask;
  OSErr CoerceDropLocation() const {
    AEDesc location, boolean;
    GetDropLocation(mDrag, &location);
    const OSErr err = AECoerceDesc(&location, typeBoolean, &boolean);
    AEDisposeDesc(&boolean);
    AEDisposeDesc(&location);
    return err;
  }
};

// A pane that starts a drag of a 4-byte token when the mouse moves with the button down.
class DragSource : public LPane {
 public:
  explicit DragSource(const SPaneInfo& info) : LPane(info) {}
  OSErr result = 1;
  bool accepted = false;
  OSErr coercion = 1;

 protected:
  void ClickSelf(const SMouseDownEvent& event) override {
    if (!WaitMouseMoved(event.macEvent.where)) return;
    Rect frame;
    CalcPortFrameRect(frame);
    Point topLeft = {frame.top, frame.left};
    PortToGlobalPoint(topLeft);
    OffsetRect(&frame, static_cast<SInt16>(topLeft.h - frame.left), static_cast<SInt16>(topLeft.v - frame.top));
    UInt32 token = 0x1234;
    ProbingDragTask task(event.macEvent, frame, 1, kButtonFlavor, &token, sizeof token, flavorSenderOnly);
    result = task.DoDrag();
    accepted = task.DropWasAccepted();
    coercion = task.CoerceDropLocation();
  }
};

class DropTarget : public LDragAndDrop {
 public:
  DropTarget(WindowRef window, LPane* pane, FlavorType wanted) : LDragAndDrop(window, pane), wanted(wanted) {}
  FlavorType wanted;
  int entered = 0, left = 0;
  std::vector<std::vector<UInt8>> received;

  bool ItemIsAcceptable(DragRef drag, DragItemRef item) override {
    FlavorFlags flags;
    return GetFlavorFlags(drag, item, wanted, &flags) == 0;
  }
  void ReceiveDragItem(DragRef drag, DragItemRef item, FlavorFlags, Rect&) override {
    Size size = 0;
    GetFlavorDataSize(drag, item, wanted, &size);
    std::vector<UInt8> data(static_cast<size_t>(size));
    GetFlavorData(drag, item, wanted, data.data(), &size, 0);
    received.push_back(data);
  }
  void EnterDropArea(DragRef drag, bool left_) override {
    ++entered;
    LDragAndDrop::EnterDropArea(drag, left_);
  }
  void LeaveDropArea(DragRef drag) override {
    ++left;
    LDragAndDrop::LeaveDropArea(drag);
  }
};

class LDragAndDropTest : public FrameworkFixture {
 protected:
  void SetUp() override {
    FrameworkFixture::SetUp();
    mWindow = LWindow::CreateWindow(310, mApp);
    mWindow->Select();
    mSource = new DragSource(MakePaneInfo(mWindow, 'SRC ', 150, 70, 40, 20));
  }
  void TearDown() override {
    delete mWindow;
    FrameworkFixture::TearDown();
  }
  Point Centre(LPane* pane) {
    Rect r;
    pane->CalcPortFrameRect(r);
    Point p = {static_cast<SInt16>((r.top + r.bottom) / 2), static_cast<SInt16>((r.left + r.right) / 2)};
    pane->PortToGlobalPoint(p);
    return p;
  }
  LWindow* mWindow = nullptr;
  DragSource* mSource = nullptr;
};

}  // namespace

TEST_F(LDragAndDropTest, ADragFromOnePaneToAnotherHandsOverItsDataAndTheHandshake) {
  DropTarget target(mWindow->GetMacWindow(), FindPane(mWindow, 'BTN1'), kButtonFlavor);
  wxdriver::Drag(Centre(mSource), Centre(FindPane(mWindow, 'BTN1')), 6);
  PumpEvents();
  EXPECT_EQ(mSource->result, 0);
  EXPECT_TRUE(mSource->accepted);
  EXPECT_EQ(mSource->coercion, 0);
  ASSERT_EQ(target.received.size(), 1u);
  EXPECT_EQ(target.received[0], (std::vector<UInt8>{0x34, 0x12, 0, 0}));  // the token as the sender's bytes
  EXPECT_EQ(target.entered, 1);
  EXPECT_EQ(target.left, 1);
  EXPECT_FALSE(target.IsHilited());
}

TEST_F(LDragAndDropTest, AnAreaThatRefusesTheFlavourTakesNothing) {
  DropTarget target(mWindow->GetMacWindow(), FindPane(mWindow, 'BTN1'), 'FtTD');
  wxdriver::Drag(Centre(mSource), Centre(FindPane(mWindow, 'BTN1')), 6);
  PumpEvents();
  EXPECT_EQ(mSource->result, dragNotAcceptedErr);
  EXPECT_FALSE(mSource->accepted);
  EXPECT_EQ(mSource->coercion, errAECoercionFail);  // a null location
  EXPECT_TRUE(target.received.empty());
  EXPECT_EQ(target.entered, 0);
}

TEST_F(LDragAndDropTest, FilesDroppedFromTheDesktopArriveAsHFSItems) {
  wxtest::ScratchDir dir;
  std::ofstream(dir / "page.jpg") << "x";
  DropTarget target(mWindow->GetMacWindow(), FindPane(mWindow, 'VIEW'), kDragFlavorTypeHFS);
  wxdriver::DropFiles(Centre(FindPane(mWindow, 'VIEW')), {(dir / "page.jpg").string()});
  PumpEvents();
  ASSERT_EQ(target.received.size(), 1u);
  ASSERT_EQ(target.received[0].size(), sizeof(HFSFlavor));
  HFSFlavor flavor;
  std::memcpy(&flavor, target.received[0].data(), sizeof flavor);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(flavor.fileSpec.name + 1), flavor.fileSpec.name[0]), "page.jpg");
}
