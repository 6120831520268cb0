#include "output/formats/ExifSettings.h"

#include <array>
#include <cstdio>

#include "prefs/PrefRecords.h"
#include "toolbox/TextUtils.h"

namespace {

constexpr std::array<const char*, 17> kExposureTime = {"30/1", "15/1", "8/1",   "4/1",   "2/1",   "1/1",
                                                       "1/2",  "1/4",  "1/8",   "1/15",  "1/30",  "1/60",
                                                       "1/125", "1/250", "1/500", "1/1000", "1/2000"};
constexpr std::array<const char*, 17> kShutterSpeed = {
    "-20098/4096", "-16002/4096", "-12288/4096", "-8192/4096", "-4096/4096", "0/4096",
    "4096/4096",   "8192/4096",   "12288/4096",  "16002/4096", "20098/4096", "24194/4096",
    "28531/4096",  "32627/4096",  "36723/4096",  "40819/4096", "44915/4096"};
constexpr std::array<const char*, 11> kFNumber = {"1/1", "14/10", "2/1",  "28/10", "4/1", "56/10",
                                                  "8/1", "11/1",  "16/1", "22/1",  "32/1"};
constexpr std::array<const char*, 11> kApertureValue = {"0/2048",     "1988/2048",  "4096/2048",  "6084/2048",
                                                        "8192/2048",  "10180/2048", "12288/2048", "14169/2048",
                                                        "16384/2048", "18265/2048", "20480/2048"};
constexpr std::array<const char*, 2> kFlush = {"0", "1"};
constexpr std::array<const char*, 7> kISO = {"50", "64", "100", "200", "400", "800", "1600"};
constexpr std::array<const char*, 4> kSceneType = {"0", "1", "2", "3"};
constexpr std::array<const char*, 3> kExposureMode = {"0", "1", "2"};

static_assert(kExposureTime.size() == EXIF_PREF::kShutterEntries && kShutterSpeed.size() == EXIF_PREF::kShutterEntries);
static_assert(kFNumber.size() == EXIF_PREF::kApertureEntries && kApertureValue.size() == EXIF_PREF::kApertureEntries);
static_assert(kFlush.size() == EXIF_PREF::kFlashEntries && kISO.size() == EXIF_PREF::kISOEntries);
static_assert(kSceneType.size() == EXIF_PREF::kSceneEntries && kExposureMode.size() == EXIF_PREF::kExposureModeEntries);

std::string Text(RecordBytes r, const PrefStr255& field) {
  Str255 s;
  field.get(r, s);
  return PStrToString(s);
}

std::string RationalText(long value) { return std::to_string(value) + "/1"; }

// An optional tag from a stored index: present only when enabled and inside its table.
void FromTable(bool enabled, std::span<const char* const> table, uint32_t index, bool* enable, std::string* text) {
  const char* value = enabled ? ExifTableValue(table, index) : nullptr;
  *enable = value != nullptr;
  if (value) *text = value;
}

// What both ways of filling share.
ExifTagValues Common(unsigned char adobeRGB, uint64_t thumbnailLength) {
  // Each value is built, not assigned: GCC 12 misreports a literal assigned to a fresh string
  // (-Wrestrict).
  using S = std::string;
  ExifTagValues v{};
  v.ResolutionUnit = S(kResolutionUnit);
  v.AdobeRGB = adobeRGB != 0;
  v.WhitePoint = S(kWhitePoint);
  v.PrimaryChromaticities = S(kPrimary_Chromaticities);
  v.YCbCrPositioning = S(kPixel_Composition);
  v.ExifVersion = S(kExifVersion);
  v.ComponentsConfiguration = S(kComponentsConfiguration);
  v.FlashpixVersion = S(kFlashPixVersion);
  v.WhiteBalance = S(kWhitebalance);
  v.Gamma = S(kGamma);
  v.Compression = S(kCompression);
  v.ThumbnailLength = std::to_string(thumbnailLength);
  return v;
}

std::string FileSourceText(long source) { return std::to_string(ExifFileSource(source)); }

}  // namespace

int ExifFileSource(long storedSource) { return storedSource >= 0 && storedSource <= 2 ? int(2 - storedSource) : 0; }

const std::span<const char* const> ExposureTime_Table{kExposureTime};
const std::span<const char* const> ShutterSpeed_Table{kShutterSpeed};
const std::span<const char* const> FNumber_Table{kFNumber};
const std::span<const char* const> ApertureValue_Table{kApertureValue};
const std::span<const char* const> Flush_Table{kFlush};
const std::span<const char* const> ISO_Table{kISO};
const std::span<const char* const> SceneType_Table{kSceneType};
const std::span<const char* const> ExposureMode_Table{kExposureMode};

const char* ExifTableValue(std::span<const char* const> table, uint32_t index) {
  return (index >= 1 && index <= table.size()) ? table[index - 1] : nullptr;
}

std::string ExifDateTimeText(int year, int month, int day, int hour, int minute, int second) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d:%02d:%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
  return text;
}

ExifTagValues ExifTagValuesForPage(RecordBytes page, unsigned char adobeRGB, uint64_t thumbnailLength) {
  using E = EXIF_PREF;
  ExifTagValues v = Common(adobeRGB, thumbnailLength);
  v.ImageDescriptionEnable = E::kTitleEnable.get(page) != 0;
  v.ImageDescription = Text(page, E::kTitle);
  v.ArtistEnable = E::kAuthorEnable.get(page) != 0;
  v.Artist = Text(page, E::kAuthor);
  v.DateTimeOriginalEnable = E::kShootDateEnable.get(page) != 0;
  v.DateTimeOriginal = Text(page, E::kShootDate);
  v.UserCommentEnable = E::kCommentEnable.get(page) != 0;
  v.UserComment = Text(page, E::kComment);
  v.Make = Text(page, E::kMake);
  v.Model = Text(page, E::kModel);
  v.Software = Text(page, E::kSoftware);
  v.DateTime = Text(page, E::kDateTime);
  v.DateTimeDigitized = v.DateTime;
  v.XResolution = RationalText(E::kXResolution.get(page));
  v.YResolution = RationalText(E::kYResolution.get(page));

  // The indexes are read raw: one outside its table leaves the tag out.
  const bool shutter = E::kShutterEnable.get(page) != 0;
  const uint32_t shutterIndex = page.u32(E::kShutterIndex.off);
  FromTable(shutter, ExposureTime_Table, shutterIndex, &v.ExposureTimeEnable, &v.ExposureTime);
  FromTable(shutter, ShutterSpeed_Table, shutterIndex, &v.ShutterSpeedValueEnable, &v.ShutterSpeedValue);
  const bool aperture = E::kApertureEnable.get(page) != 0;
  const uint32_t apertureIndex = page.u32(E::kApertureIndex.off);
  FromTable(aperture, FNumber_Table, apertureIndex, &v.FNumberEnable, &v.FNumber);
  FromTable(aperture, ApertureValue_Table, apertureIndex, &v.ApertureValueEnable, &v.ApertureValue);
  FromTable(E::kISOEnable.get(page) != 0, ISO_Table, page.u32(E::kISOIndex.off), &v.ISOSpeedRatingsEnable,
            &v.ISOSpeedRatings);
  FromTable(E::kFlashEnable.get(page) != 0, Flush_Table, page.u8(E::kFlashIndex.off), &v.FlashEnable, &v.Flash);
  FromTable(E::kExposureModeEnable.get(page) != 0, ExposureMode_Table, page.u32(E::kExposureModeIndex.off),
            &v.ExposureModeEnable, &v.ExposureMode);
  // SceneCaptureType is the stored value - 1, so the value indexes the scene table.
  FromTable(E::kSceneEnable.get(page) != 0, SceneType_Table, page.u32(E::kSceneValue.off), &v.SceneCaptureTypeEnable,
            &v.SceneCaptureType);

  v.ColorSpace = (!v.AdobeRGB && E::kColourPage.get(page) == 1) ? kColorSpace : kColorSpace_Uncalibrated;
  v.PixelXDimension = std::to_string(E::kWidth.get(page));
  v.PixelYDimension = std::to_string(E::kHeight.get(page));
  v.FileSource = FileSourceText(static_cast<long>(E::kSource.get(page)));
  return v;
}

ExifTagValues ExifTagValuesMainOnly(long width, long height, long dpi, unsigned char monochrome, unsigned char adobeRGB,
                                    long source, const ExifFixedTexts& texts, uint64_t thumbnailLength) {
  ExifTagValues v = Common(adobeRGB, thumbnailLength);
  v.Make = texts.make;
  v.Software = texts.software;
  v.Model = texts.model;
  v.DateTime = texts.dateTime;
  v.DateTimeDigitized = texts.dateTime;
  v.XResolution = RationalText(dpi);
  v.YResolution = RationalText(dpi);
  v.PixelXDimension = std::to_string(width);
  v.PixelYDimension = std::to_string(height);
  v.FileSource = FileSourceText(source);
  v.ColorSpace = (!v.AdobeRGB && monochrome == 0) ? kColorSpace : kColorSpace_Uncalibrated;
  return v;
}
