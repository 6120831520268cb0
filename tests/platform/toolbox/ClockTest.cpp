#include <gtest/gtest.h>

#include <ctime>

#include "toolbox/Clock.h"

namespace {

struct DateCase {
  UInt32 secs;
  DateTimeRec date;
};

const DateCase kDates[] = {
    {0, {1904, 1, 1, 0, 0, 0, 6}},
    {3029486400u, {1999, 12, 31, 12, 0, 0, 6}},
    {3029529600u, {2000, 1, 1, 0, 0, 0, 7}},
    {3792095999u, {2024, 2, 29, 23, 59, 59, 5}},
    {4294967295u, {2040, 2, 6, 6, 28, 15, 2}},
};

class Clock : public ::testing::Test {
 protected:
  void TearDown() override { ClockUseReal(); }
};

}  // namespace

TEST_F(Clock, SecondsAndDatesConvertBothWays) {
  for (const DateCase& c : kDates) {
    DateTimeRec d{};
    SecondsToDate(c.secs, &d);
    EXPECT_EQ(d.year, c.date.year) << c.secs;
    EXPECT_EQ(d.month, c.date.month) << c.secs;
    EXPECT_EQ(d.day, c.date.day) << c.secs;
    EXPECT_EQ(d.hour, c.date.hour) << c.secs;
    EXPECT_EQ(d.minute, c.date.minute) << c.secs;
    EXPECT_EQ(d.second, c.date.second) << c.secs;
    EXPECT_EQ(d.dayOfWeek, c.date.dayOfWeek) << c.secs;
    UInt32 back = 0;
    DateToSeconds(&c.date, &back);
    EXPECT_EQ(back, c.secs);
  }
}

TEST_F(Clock, DateFieldsOutOfRangeCarryOver) {
  DateTimeRec d{1999, 13, 1, 0, 0, 0, 0};  // month 13 = January 2000
  UInt32 secs = 0;
  DateToSeconds(&d, &secs);
  EXPECT_EQ(secs, 3029529600u);
  d = DateTimeRec{2000, 1, 0, 24, 0, 0, 0};  // day 0 = 31 December, hour 24 = next day
  DateToSeconds(&d, &secs);
  EXPECT_EQ(secs, 3029529600u);
}

TEST_F(Clock, FakeClockMovesOnlyWhenTold) {
  ClockSetFake(3029529600u, 1000);
  EXPECT_EQ(TickCount(), 1000u);
  EXPECT_EQ(TickCount(), 1000u);
  ClockAdvanceTicks(59);
  UInt32 secs = 0;
  GetDateTime(&secs);
  EXPECT_EQ(secs, 3029529600u);
  ClockAdvanceTicks(1);
  GetDateTime(&secs);
  EXPECT_EQ(secs, 3029529601u);
  EXPECT_EQ(TickCount(), 1060u);
  DateTimeRec d{};
  GetTime(&d);
  EXPECT_EQ(d.year, 2000);
  EXPECT_EQ(d.second, 1);
}

TEST_F(Clock, AutoAdvanceLetsATickWaitFinish) {
  ClockSetFake(0, 5);
  ClockSetAutoAdvance(1);
  const UInt32 start = TickCount();
  int reads = 0;
  while (TickCount() - start < 599) ++reads;
  EXPECT_EQ(reads, 598);
}

TEST_F(Clock, RealClockCountsLocalSecondsFrom1904) {
  const time_t now = time(nullptr);
  tm local{};
  localtime_r(&now, &local);
  const long long expected = static_cast<long long>(now) + local.tm_gmtoff + 2082844800LL;
  UInt32 secs = 0;
  GetDateTime(&secs);
  EXPECT_NEAR(static_cast<double>(secs), static_cast<double>(expected), 5.0);
}
