#include "preview/ExifPageRecord.h"

#include <cstdio>
#include <cstring>

#include "prefs/PrefRecords.h"

namespace ExifPageRecord {

namespace {

// The date-time record of the scan: year, month, day, hour, minute, second, day of week.
constexpr size_t kScanDateTimeRecord = 1060;
constexpr size_t kFreshRecord = 2440;

struct ByteRange {
  size_t from, to;  // [from, to)
};
// The page's own facts that taking the default never changes: the mark, make, software,
// model, size, resolution, page text, scan date record and text, and the light path.
constexpr ByteRange kKeptRanges[] = {{0, 1330}, {1332, 1336}};

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace

int DayLimit(uint32_t yearItem, uint32_t month) {
  switch (month) {
    case 2:
      return IsLeapYear(kFirstYearItemYear + int(yearItem)) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    default:
      return 31;
  }
}

std::string ShootDateText(int year, int month, int day) {
  char text[48];
  std::snprintf(text, sizeof text, "%04d:%02d:%02d 00:00:00", year, month, day);
  return text;
}

void StoreShootDate(RecordBytes record, int year, int month, int day) {
  const std::string text = ShootDateText(year, month, day);
  Str255 date;
  date[0] = uint8_t(text.size());
  std::memcpy(date + 1, text.data(), text.size());
  EXIF_PREF::kShootDate.set(record, date);
}

void TakeDefault(RecordBytes shown, RecordBytes swap, RecordBytes defaultRecord) {
  std::memcpy(swap.data(), shown.data(), EXIF_PREF::kSize);
  std::memcpy(shown.data(), defaultRecord.data(), EXIF_PREF::kSize);
  for (const ByteRange& r : kKeptRanges) std::memcpy(shown.data() + r.from, swap.data() + r.from, r.to - r.from);
  EXIF_PREF::kIsDefault.set(shown, EXIF_PREF::kIsDefault.get(swap));
  shown.setU8(kFreshRecord, 0);
}

std::string ScanDateTimeText(RecordBytes record) {
  const int16_t year = record.i16(kScanDateTimeRecord);
  if (year != 0) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", year, record.i16(kScanDateTimeRecord + 2),
                  record.i16(kScanDateTimeRecord + 4), record.i16(kScanDateTimeRecord + 6),
                  record.i16(kScanDateTimeRecord + 8), record.i16(kScanDateTimeRecord + 10));
    return text;
  }
  Str255 text;
  EXIF_PREF::kDateTime.get(record, text);
  return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

}  // namespace ExifPageRecord
