// EXIF settings: the tables that turn the EXIF dialog's popup indexes into Exif values,
// the fixed texts, and the two ways of filling the tag values for the segment writer: from
// a page's EXIF_PREF record, or from fixed values and the page's size and resolution.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "output/formats/ExifWriter.h"
#include "toolbox/RecordAccess.h"

// Value tables, indexed from 1 (index 0 has no entry).
extern const std::span<const char* const> ExposureTime_Table;
extern const std::span<const char* const> ShutterSpeed_Table;
extern const std::span<const char* const> FNumber_Table;
extern const std::span<const char* const> ApertureValue_Table;
extern const std::span<const char* const> Flush_Table;
extern const std::span<const char* const> ISO_Table;
extern const std::span<const char* const> SceneType_Table;
extern const std::span<const char* const> ExposureMode_Table;

// The table's text at a 1-based index, or null when the index lies outside the table.
const char* ExifTableValue(std::span<const char* const> table, uint32_t index);

inline constexpr const char* kExifVersion = "0221";
inline constexpr const char* kFlashPixVersion = "0100";
inline constexpr const char* kComponentsConfiguration = "1,2,3,0";
inline constexpr const char* kColorSpace = "1";
inline constexpr const char* kColorSpace_Uncalibrated = "65535";
inline constexpr const char* kPixel_Composition = "1";
inline constexpr const char* kResolutionUnit = "2";
inline constexpr const char* kWhitebalance = "0";
inline constexpr const char* kCompression = "6";
inline constexpr const char* kWhitePoint = "313/1000:329/1000";
inline constexpr const char* kPrimary_Chromaticities = "64/100:33/100:21/100:71/100:15/100:6/100";
inline constexpr const char* kGamma = "22/10";

// Tag values from a page's EXIF_PREF record. A stored index outside its table leaves its
// tag out.
ExifTagValues ExifTagValuesForPage(RecordBytes page, unsigned char adobeRGB, uint64_t thumbnailLength);

// What the main-only segment takes besides the page's size and resolution.
struct ExifFixedTexts {
  std::string make;      // string list 601, item 1
  std::string software;  // string list 601, item 8
  std::string model;     // the configured scanner model
  std::string dateTime;  // "%04d:%02d:%02d %02d:%02d:%02d"
};

ExifTagValues ExifTagValuesMainOnly(long width, long height, long dpi, unsigned char monochrome, unsigned char adobeRGB,
                                    long source, const ExifFixedTexts& texts, uint64_t thumbnailLength);

// "%04d:%02d:%02d %02d:%02d:%02d" of a date.
std::string ExifDateTimeText(int year, int month, int day, int hour, int minute, int second);

// The Exif FileSource (0 others, 1 film scanner, 2 reflection print scanner) of a page's
// stored source value: 2 - value; a value past 2 has no Exif meaning and gives 0.
int ExifFileSource(long storedSource);
