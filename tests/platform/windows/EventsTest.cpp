#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/Display.h"
#include "toolbox/Clock.h"
#include "windows/Events.h"
#include "windows/TestDriver.h"

namespace {

class Events : public ::testing::Test {
 protected:
  void SetUp() override {
    DpyUseHeadless();
    FlushEvents(everyEvent, 0);
    ClockSetFake(0, 1000);
    sDrops.clear();
    SetFileDropHandler(nullptr);
  }
  void TearDown() override {
    FlushEvents(everyEvent, 0);
    ClockUseReal();
  }
  static inline std::vector<std::string> sDrops;
};

Point P(int h, int v) { return Point{static_cast<SInt16>(v), static_cast<SInt16>(h)}; }

TEST_F(Events, ClickKeysAndTextArriveInOrder) {
  wxdriver::Click(P(10, 20), shiftKey);
  wxdriver::Key('a', 0, cmdKey);
  wxdriver::Key(kLeftArrowCharCode, kVKLeftArrow);
  wxdriver::Type("hi");
  std::vector<EventRecord> events = wxdriver::DrainEvents();
  ASSERT_EQ(events.size(), 6u);
  EXPECT_EQ(events[0].what, mouseDown);
  EXPECT_EQ(events[0].where.h, 10);
  EXPECT_EQ(events[0].where.v, 20);
  EXPECT_TRUE(events[0].modifiers & shiftKey);
  EXPECT_FALSE(events[0].modifiers & btnState);
  EXPECT_EQ(events[1].what, mouseUp);
  EXPECT_TRUE(events[1].modifiers & btnState);
  EXPECT_EQ(events[2].what, keyDown);
  EXPECT_EQ(events[2].message & charCodeMask, 'a');
  EXPECT_TRUE(events[2].modifiers & cmdKey);
  EXPECT_EQ(events[3].message & charCodeMask, kLeftArrowCharCode);
  EXPECT_EQ((events[3].message & keyCodeMask) >> 8, kVKLeftArrow);
  EXPECT_EQ(events[4].message & charCodeMask, 'h');
  EXPECT_EQ(events[5].message & charCodeMask, 'i');
  EventRecord e;
  EXPECT_FALSE(WaitNextEvent(everyEvent, &e, 0, nullptr));
  EXPECT_EQ(e.what, nullEvent);
}

TEST_F(Events, TicksComeFromTheReplaceableClock) {
  wxdriver::Click(P(1, 1));
  EventRecord first, second;
  ASSERT_TRUE(GetNextEvent(everyEvent, &first));
  wxdriver::AdvanceTicks(20);
  ASSERT_TRUE(GetNextEvent(everyEvent, &second));
  EXPECT_EQ(second.when - first.when, 20u);
  EXPECT_LE(second.when - first.when, GetDblTime());
}

TEST_F(Events, DragPlaysOutInsideATrackingLoop) {
  wxdriver::Drag(P(10, 10), P(30, 10), 4);
  EventRecord down;
  ASSERT_TRUE(WaitNextEvent(everyEvent, &down, 0, nullptr));
  ASSERT_EQ(down.what, mouseDown);
  EXPECT_TRUE(WaitMouseMoved(down.where));
  std::vector<int> seen;
  while (StillDown()) {
    Point p;
    GetMouse(&p);
    seen.push_back(p.h);
  }
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), 30);
  EventRecord up;
  ASSERT_TRUE(WaitNextEvent(everyEvent, &up, 0, nullptr));
  EXPECT_EQ(up.what, mouseUp);
  EXPECT_EQ(up.where.h, 30);
}

TEST_F(Events, ClickWithoutMovementIsNotADrag) {
  wxdriver::MouseDown(P(50, 50));
  wxdriver::MouseMove(P(51, 50));  // inside the slop
  wxdriver::MouseUp(P(51, 50));
  EventRecord down;
  ASSERT_TRUE(WaitNextEvent(everyEvent, &down, 0, nullptr));
  EXPECT_FALSE(WaitMouseMoved(down.where));
  EventRecord up;
  ASSERT_TRUE(WaitNextEvent(everyEvent, &up, 0, nullptr));
  EXPECT_EQ(up.what, mouseUp);
  EXPECT_FALSE(Button());
}

TEST_F(Events, FileDropsReachTheHandlerInInputOrder) {
  SetFileDropHandler([](Point where, const std::vector<std::string>& paths) {
    sDrops.push_back(std::to_string(where.h) + ":" + paths.front() + "+" + std::to_string(paths.size()));
  });
  wxdriver::Key('x');
  wxdriver::DropFiles(P(5, 6), {"/tmp/a.jpg", "/tmp/b.jpg"});
  wxdriver::Key('y');
  EventRecord e;
  ASSERT_TRUE(GetNextEvent(everyEvent, &e));
  EXPECT_TRUE(sDrops.empty()) << "the drop waits behind the key before it";
  ASSERT_TRUE(GetNextEvent(everyEvent, &e));
  EXPECT_EQ(e.message & charCodeMask, 'y');
  ASSERT_EQ(sDrops.size(), 1u);
  EXPECT_EQ(sDrops[0], "5:/tmp/a.jpg+2");
}

TEST_F(Events, MasksPostedEventsAndFlush) {
  PostEvent(keyDown, 'q');
  wxdriver::Click(P(3, 3));
  EventRecord e;
  ASSERT_TRUE(EventAvail(mDownMask, &e));
  EXPECT_EQ(e.what, mouseDown);
  ASSERT_TRUE(GetNextEvent(keyDownMask, &e));
  EXPECT_EQ(e.message, static_cast<unsigned long>('q'));
  FlushEvents(mDownMask | mUpMask, 0);
  EXPECT_FALSE(GetNextEvent(everyEvent, &e));
  int marker = 7;
  PostHighLevelEvent('aevt', 'odoc', &marker);
  ASSERT_TRUE(GetNextEvent(highLevelEventMask, &e));
  EXPECT_EQ(e.what, kHighLevelEvent);
  EXPECT_EQ(e.message, static_cast<unsigned long>('aevt'));
  EXPECT_EQ((static_cast<UInt32>(static_cast<UInt16>(e.where.v)) << 16) | static_cast<UInt16>(e.where.h), static_cast<UInt32>('odoc'));
  EXPECT_EQ(CurrentHighLevelEventPayload(), &marker);
}

TEST_F(Events, BeepsAreCounted) {
  int before = DpyBeepCount();
  SysBeep(1);
  EXPECT_EQ(DpyBeepCount(), before + 1);
}

}  // namespace
