// The scan watcher's idle passes: a scan that has gone on for half a second shows the watch,
// and the watch goes with the watcher.
#include <gtest/gtest.h>

#include <cstring>

#include "quickdraw/Appearance.h"
#include "quickdraw/QuickDraw.h"
#include "quickdraw/qdPort.h"
#include "scanner/CThreadChecker.h"
#include "scanner/Scanner.h"
#include "toolbox/Clock.h"
#include "windows/Events.h"

namespace {

Cursor sShown{};

void Remember(const Cursor* cursor) { sShown = cursor ? *cursor : Cursor{}; }

bool ShowingWatch() {
  SetThemeCursor(kThemeWatchCursor);
  const Cursor watch = *QDCurrentCursor();
  InitCursor();
  return std::memcmp(&sShown, &watch, sizeof watch) == 0;
}

class WatcherCursor : public ::testing::Test {
 protected:
  void SetUp() override {
    ClockSetFake(0, 1000);
    qdSetCursorHook(&Remember);
    InitCursor();
  }
  void TearDown() override {
    qdSetCursorHook(nullptr);
    ClockUseReal();
  }
};

TEST_F(WatcherCursor, AScanThatGoesOnShowsTheWatchAfterHalfASecond) {
  Scanner scanner;  // never started: its scan is not done
  auto* checker = new CThreadChecker(nullptr, &scanner);
  const EventRecord idle{};
  checker->SpendTime(idle);
  ClockAdvanceTicks(29);
  checker->SpendTime(idle);
  EXPECT_FALSE(ShowingWatch());
  ClockAdvanceTicks(1);
  checker->SpendTime(idle);
  EXPECT_TRUE(ShowingWatch());
  delete checker;
  EXPECT_FALSE(ShowingWatch()) << "the watch goes with the watcher";
}

}  // namespace
