#include "output/formats/ExifSettings.h"

#include <gtest/gtest.h>

#include "prefs/PrefRecords.h"
#include "toolbox/TextUtils.h"

namespace {

void SetText(RecordBytes r, const PrefStr255& field, const std::string& text) {
  Str255 s;
  PStrFromString(text, s);
  field.set(r, s);
}

// A record as it stands after initialisation, with the page's data filled in.
EXIF_PREF FreshPage() {
  using E = EXIF_PREF;
  EXIF_PREF page;
  RecordBytes r = page.view();
  E::kMark.set(r, E::kRecordMark);
  SetText(r, E::kMake, "Dremlo");
  SetText(r, E::kSoftware, "Wendrix 5.0");
  SetText(r, E::kModel, "WX-9000");
  E::kColourPage.set(r, 1);
  E::kWidth.set(r, 2480);
  E::kHeight.set(r, 3508);
  E::kXResolution.set(r, 300);
  E::kYResolution.set(r, 600);
  SetText(r, E::kDateTime, "2026:12:10 09:08:07");
  E::kSource.set(r, 0);
  E::kShutterIndex.set(r, 12);
  E::kApertureIndex.set(r, 4);
  E::kFlashIndex.set(r, 1);
  E::kISOIndex.set(r, 5);
  E::kSceneValue.set(r, 1);
  E::kExposureModeIndex.set(r, 1);
  return page;
}

void EnableAll(RecordBytes r) {
  using E = EXIF_PREF;
  for (const PrefU8& f : {E::kShutterEnable, E::kApertureEnable, E::kFlashEnable, E::kISOEnable, E::kSceneEnable,
                          E::kExposureModeEnable})
    f.set(r, 1);
}

TEST(ExifSettings, AFreshRecordWithItsOptionsOn) {
  EXIF_PREF page = FreshPage();
  EnableAll(page.view());
  const ExifTagValues v = ExifTagValuesForPage(page.view(), 0, 1234);
  EXPECT_TRUE(v.ExposureTimeEnable);
  EXPECT_EQ(v.ExposureTime, "1/60");
  EXPECT_EQ(v.ShutterSpeedValue, "24194/4096");
  EXPECT_EQ(v.FNumber, "28/10");
  EXPECT_EQ(v.ApertureValue, "6084/2048");
  EXPECT_EQ(v.ISOSpeedRatings, "400");
  EXPECT_EQ(v.Flash, "0");
  EXPECT_EQ(v.ExposureMode, "0");
  EXPECT_TRUE(v.SceneCaptureTypeEnable);
  EXPECT_EQ(v.SceneCaptureType, "0");
  EXPECT_EQ(v.XResolution, "300/1");
  EXPECT_EQ(v.YResolution, "600/1");
  EXPECT_EQ(v.Make, "Dremlo");
  EXPECT_EQ(v.Model, "WX-9000");
  EXPECT_EQ(v.DateTime, "2026:12:10 09:08:07");
  EXPECT_EQ(v.DateTimeDigitized, v.DateTime);
  EXPECT_EQ(v.PixelXDimension, "2480");
  EXPECT_EQ(v.PixelYDimension, "3508");
  EXPECT_EQ(v.FileSource, "2");
  EXPECT_EQ(v.ColorSpace, "1");
  EXPECT_EQ(v.ThumbnailLength, "1234");
  EXPECT_FALSE(v.ImageDescriptionEnable);
  EXPECT_FALSE(v.UserCommentEnable);
}

TEST(ExifSettings, OptionsOffLeaveTheirTagsOut) {
  EXIF_PREF page = FreshPage();
  const ExifTagValues v = ExifTagValuesForPage(page.view(), 0, 0);
  EXPECT_FALSE(v.ExposureTimeEnable || v.ShutterSpeedValueEnable || v.FNumberEnable || v.ApertureValueEnable ||
               v.ISOSpeedRatingsEnable || v.FlashEnable || v.ExposureModeEnable || v.SceneCaptureTypeEnable);
}

// Stored indexes are outside input: one outside its table leaves its tag out.
TEST(ExifSettings, IndexesOutsideTheirTablesLeaveTheTagOut) {
  using E = EXIF_PREF;
  for (uint32_t bad : {0u, 18u, 0xFFFFFFFFu}) {
    EXIF_PREF page = FreshPage();
    RecordBytes r = page.view();
    EnableAll(r);
    r.setU32(E::kShutterIndex.off, bad);
    r.setU32(E::kApertureIndex.off, bad);
    r.setU32(E::kISOIndex.off, bad);
    r.setU8(E::kFlashIndex.off, static_cast<uint8_t>(bad));
    r.setU32(E::kSceneValue.off, bad);
    r.setU32(E::kExposureModeIndex.off, bad);
    const ExifTagValues v = ExifTagValuesForPage(r, 0, 0);
    EXPECT_FALSE(v.ExposureTimeEnable || v.ShutterSpeedValueEnable || v.FNumberEnable || v.ApertureValueEnable ||
                 v.ISOSpeedRatingsEnable || v.FlashEnable || v.ExposureModeEnable || v.SceneCaptureTypeEnable)
        << bad;
  }
  // The last entry of each table still counts.
  EXIF_PREF page = FreshPage();
  RecordBytes r = page.view();
  EnableAll(r);
  E::kShutterIndex.set(r, 17);
  E::kSceneValue.set(r, 4);
  const ExifTagValues v = ExifTagValuesForPage(r, 0, 0);
  EXPECT_EQ(v.ExposureTime, "1/2000");
  EXPECT_EQ(v.ShutterSpeedValue, "44915/4096");
  EXPECT_EQ(v.SceneCaptureType, "3");
}

TEST(ExifSettings, ColourSpaceFollowsTheAdobeFlagAndThePage) {
  EXIF_PREF page = FreshPage();
  ExifTagValues v = ExifTagValuesForPage(page.view(), 1, 0);
  EXPECT_EQ(v.ColorSpace, "65535");
  EXPECT_TRUE(v.AdobeRGB);
  EXIF_PREF grey = FreshPage();
  EXIF_PREF::kColourPage.set(grey.view(), 2);
  v = ExifTagValuesForPage(grey.view(), 0, 0);
  EXPECT_EQ(v.ColorSpace, "65535");
  EXPECT_FALSE(v.AdobeRGB);

  const ExifFixedTexts texts{"Dremlo", "Wendrix 5.0", "WX-9000", "2026:12:10 09:08:07"};
  EXPECT_EQ(ExifTagValuesMainOnly(100, 50, 300, 0, 0, 0, texts, 0).ColorSpace, "1");
  EXPECT_EQ(ExifTagValuesMainOnly(100, 50, 300, 1, 0, 0, texts, 0).ColorSpace, "65535");
  EXPECT_EQ(ExifTagValuesMainOnly(100, 50, 300, 0, 1, 0, texts, 0).ColorSpace, "65535");
}

TEST(ExifSettings, MainOnlyTakesItsFixedValues) {
  const ExifFixedTexts texts{"Dremlo", "Wendrix 5.0", "WX-9000", ExifDateTimeText(2026, 1, 2, 3, 4, 5)};
  const ExifTagValues v = ExifTagValuesMainOnly(1000, 1400, 150, 0, 0, 1, texts, 99);
  EXPECT_EQ(v.DateTime, "2026:01:02 03:04:05");
  EXPECT_EQ(v.DateTimeDigitized, v.DateTime);
  EXPECT_EQ(v.XResolution, "150/1");
  EXPECT_EQ(v.YResolution, "150/1");
  EXPECT_EQ(v.PixelXDimension, "1000");
  EXPECT_EQ(v.PixelYDimension, "1400");
  EXPECT_EQ(v.FileSource, "1");
  EXPECT_EQ(v.Software, "Wendrix 5.0");
  EXPECT_FALSE(v.ImageDescriptionEnable || v.ArtistEnable || v.ExposureTimeEnable || v.DateTimeOriginalEnable ||
               v.UserCommentEnable || v.SceneCaptureTypeEnable);
}

}  // namespace
