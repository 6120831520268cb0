#include "framework/LPeriodical.h"

#include <gtest/gtest.h>

#include <functional>

#include "windows/Events.h"

namespace {

struct Counter : LPeriodical {
  int calls = 0;
  std::function<void(Counter*)> onTime;
  void SpendTime(const EventRecord&) override {
    ++calls;
    if (onTime) onTime(this);
  }
};

EventRecord NullEvent() { return EventRecord{nullEvent, 0, 0, {0, 0}, 0}; }

}  // namespace

TEST(LPeriodical, RepeatersEveryPassIdlersOnRequest) {
  Counter repeater, idler;
  repeater.StartRepeating();
  idler.StartIdling();
  LPeriodical::DevoteTimeToRepeaters(NullEvent());
  LPeriodical::DevoteTimeToRepeaters(NullEvent());
  LPeriodical::DevoteTimeToIdlers(NullEvent());
  EXPECT_EQ(repeater.calls, 2);
  EXPECT_EQ(idler.calls, 1);
  repeater.StopRepeating();
  EXPECT_FALSE(repeater.IsRepeating());
  LPeriodical::DevoteTimeToRepeaters(NullEvent());
  EXPECT_EQ(repeater.calls, 2);
}

TEST(LPeriodical, APeriodicalMayDeleteItselfInsideSpendTime) {
  auto* self = new Counter;
  Counter after;
  self->onTime = [](Counter* me) { delete me; };
  self->StartRepeating();
  after.StartRepeating();
  LPeriodical::DevoteTimeToRepeaters(NullEvent());
  EXPECT_EQ(after.calls, 1);
  LPeriodical::DevoteTimeToRepeaters(NullEvent());
  EXPECT_EQ(after.calls, 2);
}

TEST(LPeriodical, StoppingAndDeletingOthersDuringThePass) {
  auto* victim = new Counter;
  Counter killer, stopper;
  killer.onTime = [&](Counter*) {
    delete victim;
    victim = nullptr;
  };
  stopper.onTime = [](Counter* me) { me->StopRepeating(); };
  killer.StartRepeating();
  victim->StartRepeating();
  stopper.StartRepeating();
  LPeriodical::DevoteTimeToRepeaters(NullEvent());
  LPeriodical::DevoteTimeToRepeaters(NullEvent());
  EXPECT_EQ(killer.calls, 2);
  EXPECT_EQ(stopper.calls, 1);
}

TEST(LPeriodical, AnIdlerThatStopsIdlingGetsNoMoreTime) {
  Counter once, other;
  once.onTime = [](Counter* self) { self->StopIdling(); };
  once.StartIdling();
  other.StartIdling();
  LPeriodical::DevoteTimeToIdlers(NullEvent());
  LPeriodical::DevoteTimeToIdlers(NullEvent());
  EXPECT_EQ(once.calls, 1);
  EXPECT_EQ(other.calls, 2);
  other.StopIdling();
}
