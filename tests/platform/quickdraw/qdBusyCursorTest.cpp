// The watch of a wait, counted on the tick clock: it comes up at half a second, stands over
// cursors set meanwhile, and gives way to the program's cursor when the last wait ends.
#include <gtest/gtest.h>

#include <cstring>

#include "quickdraw/Appearance.h"
#include "quickdraw/QuickDraw.h"
#include "quickdraw/qdBusyCursor.h"
#include "quickdraw/qdPort.h"
#include "toolbox/Clock.h"

namespace {

Cursor sShown{};

void Remember(const Cursor* cursor) { sShown = cursor ? *cursor : Cursor{}; }

Cursor Theme(ThemeCursor theme) {
  SetThemeCursor(theme);
  const Cursor c = *QDCurrentCursor();
  InitCursor();
  return c;
}

bool Showing(const Cursor& c) { return std::memcmp(&sShown, &c, sizeof c) == 0; }

class BusyCursor : public ::testing::Test {
 protected:
  void SetUp() override {
    mWatch = Theme(kThemeWatchCursor);
    mIBeam = Theme(kThemeIBeamCursor);
    GetQDGlobalsArrow(&mArrow);
    ClockSetFake(0, 1000);
    qdSetCursorHook(&Remember);
    InitCursor();
  }
  void TearDown() override {
    qdSetCursorHook(nullptr);
    ClockUseReal();
  }
  Cursor mWatch{}, mIBeam{}, mArrow{};
};

TEST_F(BusyCursor, TheWatchComesUpOnceTheWaitHasLastedHalfASecond) {
  struct Row {
    UInt32 ticks;  // since the wait's first pass
    bool watch;
  };
  const Row rows[] = {{0, false}, {1, false}, {29, false}, {30, true}, {31, true}, {600, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.ticks);
    ClockSetFake(0, 1000);
    InitCursor();
    {
      qdBusyCursor wait;
      wait.Waiting();
      ClockAdvanceTicks(row.ticks);
      wait.Waiting();
      EXPECT_EQ(row.watch, wait.Shown());
      EXPECT_TRUE(Showing(row.watch ? mWatch : mArrow));
    }
    EXPECT_TRUE(Showing(mArrow)) << "the wait is over";
  }
}

TEST_F(BusyCursor, ACursorSetDuringTheWatchShowsWhenTheWaitEnds) {
  qdBusyCursor wait;
  wait.Waiting();
  ClockAdvanceTicks(qdBusyCursor::kDelayTicks);
  wait.Waiting();
  SetThemeCursor(kThemeIBeamCursor);
  EXPECT_TRUE(Showing(mWatch));
  wait.End();
  EXPECT_TRUE(Showing(mIBeam));
}

TEST_F(BusyCursor, TheWatchStaysUntilTheLastOfTwoWaitsEnds) {
  qdBusyCursor first, second;
  first.Waiting();
  second.Waiting();
  ClockAdvanceTicks(qdBusyCursor::kDelayTicks);
  first.Waiting();
  second.Waiting();
  first.End();
  EXPECT_TRUE(Showing(mWatch));
  second.End();
  EXPECT_TRUE(Showing(mArrow));
}

TEST_F(BusyCursor, AWaitEndedAndBegunAgainCountsFromItsNewStart) {
  qdBusyCursor wait;
  wait.Waiting();
  ClockAdvanceTicks(qdBusyCursor::kDelayTicks - 1);
  wait.End();
  ClockAdvanceTicks(5);
  wait.Waiting();
  ClockAdvanceTicks(qdBusyCursor::kDelayTicks - 1);
  wait.Waiting();
  EXPECT_FALSE(wait.Shown());
  EXPECT_TRUE(Showing(mArrow));
}

}  // namespace
