// What the EXIF dialog does to a page's EXIF_PREF record beyond setting single fields: the
// days of the chosen month, the shooting-date string, taking the stored default while the
// page keeps its own scan facts, and the scan's date as the information table shows it.
#pragma once

#include <cstdint>
#include <string>

#include "toolbox/RecordAccess.h"

namespace ExifPageRecord {

// The year popup's item k is the year 1899 + k.
constexpr int kFirstYearItemYear = 1899;

// The last day of `month` (1 to 12) in the year of year item `yearItem`.
int DayLimit(uint32_t yearItem, uint32_t month);
// "YYYY:MM:DD 00:00:00", as the JPEG writer takes the shooting date.
std::string ShootDateText(int year, int month, int day);
// Stores ShootDateText into the record's shooting-date string.
void StoreShootDate(RecordBytes record, int year, int month, int day);
// Keeps `shown` in `swap`, then copies `defaultRecord` over `shown` except the page's own
// scan facts (make, software, model, size, resolution, dates, light path) and the
// write-these-settings byte, which stay, and the fresh-record byte, which is cleared.
void TakeDefault(RecordBytes shown, RecordBytes swap, RecordBytes defaultRecord);
// The scan's date and time: from the date-time record when its year is set, else the
// stored text (the preview's pages carry only the text).
std::string ScanDateTimeText(RecordBytes record);

}  // namespace ExifPageRecord
