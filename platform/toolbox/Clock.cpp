#include "toolbox/Clock.h"

#include <ctime>

namespace {

// Seconds from 1904-01-01 to 1970-01-01.
constexpr int64_t kUnixTo1904 = 2082844800;

struct FakeClock {
  bool on = false;
  uint64_t ticks = 0;        // the tick counter
  uint64_t ticksAtBase = 0;  // the counter when `baseSecs` was set
  uint32_t baseSecs = 0;
  uint32_t autoAdvance = 0;
};
FakeClock gFake;

// Days since 1970-01-01 of a proleptic Gregorian date (month may be any value once
// normalised into 1-12 by the caller).
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int64_t* y, int64_t* m, int64_t* d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp < 10 ? mp + 3 : mp - 9;
  *y = yoe + era * 400 + (*m <= 2);
}

}  // namespace

UInt32 TickCount() {
  if (gFake.on) {
    UInt32 now = static_cast<UInt32>(gFake.ticks);
    gFake.ticks += gFake.autoAdvance;
    return now;
  }
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<UInt32>(static_cast<uint64_t>(ts.tv_sec) * 60 + static_cast<uint64_t>(ts.tv_nsec) * 60 / 1000000000);
}

void GetDateTime(UInt32* secs) {
  if (gFake.on) {
    *secs = gFake.baseSecs + static_cast<UInt32>((gFake.ticks - gFake.ticksAtBase) / 60);
    return;
  }
  time_t now = time(nullptr);
  tm local{};
  localtime_r(&now, &local);
  *secs = static_cast<UInt32>(static_cast<int64_t>(now) + local.tm_gmtoff + kUnixTo1904);
}

void GetTime(DateTimeRec* d) {
  UInt32 secs = 0;
  GetDateTime(&secs);
  SecondsToDate(secs, d);
}

void SecondsToDate(UInt32 secs, DateTimeRec* d) {
  const int64_t days = static_cast<int64_t>(secs / 86400) - kUnixTo1904 / 86400;
  const UInt32 rest = secs % 86400;
  int64_t y, m, day;
  civilFromDays(days, &y, &m, &day);
  d->year = static_cast<SInt16>(y);
  d->month = static_cast<SInt16>(m);
  d->day = static_cast<SInt16>(day);
  d->hour = static_cast<SInt16>(rest / 3600);
  d->minute = static_cast<SInt16>(rest / 60 % 60);
  d->second = static_cast<SInt16>(rest % 60);
  // 1970-01-01 was a Thursday (5 in the 1 = Sunday numbering).
  d->dayOfWeek = static_cast<SInt16>(((days % 7 + 7) % 7 + 4) % 7 + 1);
}

void DateToSeconds(const DateTimeRec* d, UInt32* secs) {
  int64_t month0 = d->month - 1;
  int64_t year = d->year + (month0 >= 0 ? month0 / 12 : (month0 - 11) / 12);
  month0 = (month0 % 12 + 12) % 12;
  const int64_t days = daysFromCivil(year, month0 + 1, 1) + (d->day - 1);
  const int64_t total = (days * 86400 + kUnixTo1904) + int64_t(d->hour) * 3600 + int64_t(d->minute) * 60 + d->second;
  *secs = static_cast<UInt32>(total);
}

void ClockSetFake(UInt32 localSecs1904, UInt32 ticks) {
  gFake = FakeClock{true, ticks, ticks, localSecs1904, 0};
}

void ClockAdvanceTicks(UInt32 n) {
  if (gFake.on) gFake.ticks += n;
}

void ClockSetAutoAdvance(UInt32 ticks) { gFake.autoAdvance = ticks; }

void ClockUseReal() { gFake = FakeClock{}; }
