#include "prefs/WXExifInit.h"

#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "toolbox/Clock.h"
#include "toolbox/Resources.h"

namespace CWXUtility {

namespace {

constexpr short kExifStrings = 601;
constexpr short kMakeItem = 1;
constexpr short kSoftwareItem = 8;
const unsigned char kEmpty[1] = {0};

}  // namespace

void InitExifInfo(RecordBytes exif, ConstStr255Param modelName) {
  using R = EXIF_PREF;
  Str255 text;
  R::kMark.set(exif, R::kRecordMark);
  text[0] = 0;
  GetIndString(text, kExifStrings, kMakeItem);
  R::kMake.set(exif, text);
  text[0] = 0;
  GetIndString(text, kExifStrings, kSoftwareItem);
  R::kSoftware.set(exif, text);
  R::kModel.set(exif, modelName);
  R::kKept772.set(exif, 1);
  R::kColourPage.set(exif, 1);
  R::kKept788.set(exif, 0);
  R::kKept792.set(exif, 0);
  R::kSource.set(exif, 2);
  R::kTitleEnable.set(exif, 0);
  R::kTitle.set(exif, kEmpty);
  R::kAuthorEnable.set(exif, 0);
  R::kAuthor.set(exif, kEmpty);
  R::kShootDateEnable.set(exif, 0);
  R::kShootDate.set(exif, kEmpty);
  DateTimeRec now{};
  GetTime(&now);
  R::kYearIndex.set(exif, (now.year >= 1900 && now.year <= 2100) ? uint32_t(now.year - 1899) : 101);
  R::kMonth.set(exif, uint32_t(now.month));
  R::kDay.set(exif, uint32_t(now.day));
  R::kShutterEnable.set(exif, 0);
  R::kShutterIndex.set(exif, 12);
  R::kApertureEnable.set(exif, 0);
  R::kApertureIndex.set(exif, 4);
  R::kFlashEnable.set(exif, 0);
  R::kFlashIndex.set(exif, 1);
  R::kISOEnable.set(exif, 0);
  R::kISOIndex.set(exif, 5);
  R::kCommentEnable.set(exif, 0);
  R::kComment.set(exif, kEmpty);
  R::kSceneEnable.set(exif, 0);
  R::kSceneValue.set(exif, 1);
  R::kExposureModeEnable.set(exif, 0);
  R::kExposureModeIndex.set(exif, 1);
  R::kKept2440.set(exif, 1);
  R::kIsDefault.set(exif, 0);
}

void InitExifInfo(RecordBytes exif) {
  Str255 model;
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    PREF_SETTING::kModelName.get(PREF_ALL::kSetting.in(prefs.PrefAll()), model);
  }
  InitExifInfo(exif, model);
}

}  // namespace CWXUtility
