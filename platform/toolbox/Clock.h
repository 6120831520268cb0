// Time: the 60 Hz tick counter and the local date and time, counted in seconds since
// 1 January 1904 (local time), as stored records and names expect.
//
// Everything reads one clock. It follows the machine's clocks unless a test makes it a
// fake, which stands still until the test moves it (or moves by a set step on every
// TickCount call, so that code which waits for the tick to change still finishes).
#pragma once

#include "toolbox/MacTypes.h"

struct DateTimeRec {
  SInt16 year;
  SInt16 month;      // 1-12
  SInt16 day;        // 1-31
  SInt16 hour;       // 0-23
  SInt16 minute;
  SInt16 second;
  SInt16 dayOfWeek;  // 1 = Sunday ... 7 = Saturday
};

// Sixtieths of a second since the machine started.
UInt32 TickCount();
// Local time in seconds since 1904-01-01 00:00.
void GetDateTime(UInt32* secs);
void GetTime(DateTimeRec* d);
// Pure calendar arithmetic on 1904-based seconds; no time zone is applied.
void SecondsToDate(UInt32 secs, DateTimeRec* d);
// Out-of-range fields carry over (month 13 is January of the next year); dayOfWeek is ignored.
void DateToSeconds(const DateTimeRec* d, UInt32* secs);

// Test hooks. ClockSetFake stops the clock at the given local date and tick count.
void ClockSetFake(UInt32 localSecs1904, UInt32 ticks);
// Moves a fake clock forward; the date follows the ticks (60 ticks make a second).
void ClockAdvanceTicks(UInt32 n);
// A fake clock also moves by `ticks` on every TickCount call (0 = stands still).
void ClockSetAutoAdvance(UInt32 ticks);
// Back to the machine's clocks.
void ClockUseReal();
