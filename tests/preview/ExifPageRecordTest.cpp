#include "preview/ExifPageRecord.h"

#include <gtest/gtest.h>

#include <cstring>

#include "prefs/PrefRecords.h"

namespace {

using namespace ExifPageRecord;

TEST(ExifPageRecord, DayLimitsFollowTheMonthAndLeapYears) {
  struct Case {
    uint32_t yearItem, month;
    int days;
  } cases[] = {
      {1, 2, 28},    // 1900: divisible by 100, not by 400
      {101, 2, 29},  // 2000: divisible by 400
      {105, 2, 29},  // 2004
      {106, 2, 28},  // 2005
      {201, 2, 28},  // 2100
      {100, 4, 30}, {100, 6, 30}, {100, 9, 30}, {100, 11, 30},
      {100, 1, 31}, {100, 3, 31}, {100, 7, 31}, {100, 8, 31}, {100, 12, 31},
  };
  for (const Case& c : cases) EXPECT_EQ(c.days, DayLimit(c.yearItem, c.month)) << c.yearItem << "/" << c.month;
}

TEST(ExifPageRecord, TheShootingDateIsStoredWithMidnight) {
  EXIF_PREF record;
  StoreShootDate(record.view(), 2026, 3, 7);
  Str255 date;
  EXIF_PREF::kShootDate.get(record.view(), date);
  EXPECT_EQ("2026:03:07 00:00:00", std::string(reinterpret_cast<const char*>(date + 1), date[0]));
  EXPECT_EQ("1900:12:31 00:00:00", ShootDateText(1900, 12, 31));
}

// Fills every byte with a pattern of its own so that any byte taken from the wrong record shows.
void Fill(EXIF_PREF& record, uint8_t seed) {
  for (size_t i = 0; i < EXIF_PREF::kSize; ++i) record.bytes[i] = uint8_t(i * 7 + seed);
}

TEST(ExifPageRecord, TakingTheDefaultKeepsThePagesOwnFacts) {
  EXIF_PREF page, swap, stored;
  Fill(page, 1);
  Fill(stored, 100);
  const EXIF_PREF before = page;
  TakeDefault(page.view(), swap.view(), stored.view());
  EXPECT_EQ(before.bytes, swap.bytes);
  for (size_t i = 0; i < EXIF_PREF::kSize; ++i) {
    const bool kept = i < 1330 || (i >= 1332 && i < 1336) || i == 2441;
    const uint8_t want = i == 2440 ? 0 : kept ? before.bytes[i] : stored.bytes[i];
    ASSERT_EQ(want, page.bytes[i]) << "byte " << i;
  }
}

TEST(ExifPageRecord, TheScanDateComesFromTheRecordElseFromTheText) {
  EXIF_PREF record;
  const unsigned char text[] = "\x13" "2026:12:10 16:40:00";
  EXIF_PREF::kDateTime.set(record.view(), text);
  EXPECT_EQ("2026:12:10 16:40:00", ScanDateTimeText(record.view()));
  const int16_t when[] = {2025, 1, 2, 3, 4, 5, 4};
  for (size_t i = 0; i < 7; ++i) record.view().setI16(1060 + 2 * i, when[i]);
  EXPECT_EQ("2025/01/02 03:04:05", ScanDateTimeText(record.view()));
}

}  // namespace
