#include "prefs/PrefRecords.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Expect {
  const char* name;
  PrefSpan actual;
  size_t off;
  size_t size;
};

void CheckAll(const std::vector<Expect>& fields) {
  for (const Expect& f : fields) {
    EXPECT_EQ(f.actual.off, f.off) << f.name;
    EXPECT_EQ(f.actual.size, f.size) << f.name;
  }
}

TEST(PrefRecords, RecordSizes) {
  EXPECT_EQ(PREF_ALL::kSize, 58084u);
  EXPECT_EQ(PREF_COPY::kSize, 340u);
  EXPECT_EQ(PREF_PRINT::kSize, 328u);
  EXPECT_EQ(PREF_MAIL::kSize, 21608u);
  EXPECT_EQ(PREF_OCR::kSize, 3420u);
  EXPECT_EQ(PREF_SAVE::kSize, 3628u);
  EXPECT_EQ(PREF_FILE::kSize, 3684u);
  EXPECT_EQ(PREF_SCANX::kSize, 3444u);
  EXPECT_EQ(PREF_SETTING::kSize, 932u);
  EXPECT_EQ(EXIF_PREF::kSize, 2444u);
  EXPECT_EQ(StPDFDialog::kSize, 112u);
  EXPECT_EQ(StJPEGDialog::kSize, 20u);
  EXPECT_EQ(StOtherDialog::kSize, 16u);
  EXPECT_EQ(PrefHistory::size, 2564u);
  EXPECT_EQ(sizeof(PREF_MAIL{}.bytes), 21608u);
}

TEST(PrefRecords, TopLevel) {
  CheckAll({
      {"copy", Span(PREF_ALL::kCopy), 0, 340},
      {"print", Span(PREF_ALL::kPrint), 340, 328},
      {"mail", Span(PREF_ALL::kMail), 668, 21608},
      {"ocr", Span(PREF_ALL::kOCR), 22276, 3420},
      {"save", Span(PREF_ALL::kSave), 25696, 3628},
      {"file0", Span(PREF_ALL::File(0)), 29324, 3684},
      {"file1", Span(PREF_ALL::File(1)), 29324 + 3684, 3684},
      {"file4", Span(PREF_ALL::File(4)), 29324 + 4 * 3684, 3684},
      {"scan1", Span(PREF_ALL::kScan1), 47744, 3444},
      {"scan2", Span(PREF_ALL::kScan2), 51188, 3444},
      {"setting", Span(PREF_ALL::kSetting), 54632, 932},
      {"top", Span(PREF_ALL::kWindowTop), 55564, 2},
      {"left", Span(PREF_ALL::kWindowLeft), 55566, 2},
      {"exif", Span(PREF_ALL::kExif), 55568, 2444},
      {"event file", Span(PREF_ALL::kLastEventFile), 58012, 70},
      {"last button", Span(PREF_ALL::kLastButton), 58082, 2},
  });
}

TEST(PrefRecords, Copy) {
  using R = PREF_COPY;
  CheckAll({{"mode", Span(R::kSource), 0, 4},        {"4", Span(R::kLastSource), 4, 4},
            {"imag", Span(R::kImageMode), 8, 4},     {"12", Span(R::kImageMode2), 12, 4},
            {"resl", Span(R::kResolution), 16, 4},   {"20", Span(R::kResolution2), 20, 4},
            {"size", Span(R::kPaperSize), 24, 4},    {"28", Span(R::kPaperSize2), 28, 4},
            {"blit", Span(R::kBrightness), 32, 4},   {"scal", Span(R::kScale), 36, 4},
            {"40", Span(R::kScale2), 40, 4},         {"44", Span(R::kCustomPercent), 44, 4},
            {"uion", Span(R::kCheckUION), 48, 1},    {"name", Span(R::kButtonName), 49, 256},
            {"tag", Span(R::kTag), 308, 4},          {"custom", Span(R::kCustomSize), 312, 8},
            {"320", Span(R::kScanOption), 320, 4},   {"first", Span(R::kFirstPage), 324, 4},
            {"last", Span(R::kLastPage), 328, 4},    {"copies", Span(R::kCopies), 332, 4},
            {"collate", Span(R::kCollate), 336, 1}});
}

TEST(PrefRecords, Print) {
  using R = PREF_PRINT;
  CheckAll({{"mode", Span(R::kSource), 0, 4},      {"imag", Span(R::kImageMode), 8, 4},
            {"12", Span(R::kImageMode2), 12, 4},   {"resl", Span(R::kResolution), 16, 4},
            {"size", Span(R::kPaperSize), 24, 4},  {"blit", Span(R::kBrightness), 32, 4},
            {"uion", Span(R::kCheckUION), 36, 1},  {"name", Span(R::kButtonName), 37, 256},
            {"tag", Span(R::kTag), 296, 4},        {"custom", Span(R::kCustomSize), 300, 8},
            {"308", Span(R::kJob308), 308, 4},     {"312", Span(R::kJob312), 312, 4},
            {"316", Span(R::kJob316), 316, 4},     {"copies", Span(R::kCopies), 320, 4},
            {"flag", Span(R::kJobFlag), 324, 1}});
}

TEST(PrefRecords, Mail) {
  using R = PREF_MAIL;
  CheckAll({{"0", Span(R::kSetting0), 0, 4},          {"paper", Span(R::kPaperSize), 8, 4},
            {"uion", Span(R::kCheckUION), 20, 1},      {"dyin", Span(R::kCheckDYIN), 21, 1},
            {"name", Span(R::kButtonName), 22, 256},   {"default", Span(R::kDefaultFileName), 278, 256},
            {"file", Span(R::kFileName), 534, 256},    {"history", Span(R::kHistory), 792, 2564},
            {"folder", Span(R::kFolder), 3356, 70},    {"app", Span(R::kMailApp), 3426, 70},
            {"tag", Span(R::kTag), 3496, 4},           {"custom", Span(R::kCustomSize), 3500, 8},
            {"pdf", Span(R::kPDF), 3508, 112},         {"jpeg", Span(R::kJPEG), 3620, 20},
            {"pict", Span(R::kPICT), 3640, 16},        {"tiff", Span(R::kTIFF), 3656, 16},
            {"aire", Span(R::kCheckAIRE), 3672, 1},    {"count", Span(R::kMailAppCount), 3676, 4},
            {"list", Span(R::kMailApps), 3680, 256 * 70}, {"ezfn", Span(R::kCheckEZFN), 21600, 1},
            {"21601", Span(R::kFlag21601), 21601, 1},  {"21604", Span(R::kSetting21604), 21604, 4}});
}

TEST(PrefRecords, OCR) {
  using R = PREF_OCR;
  CheckAll({{"0", Span(R::kColourMode), 0, 4},        {"paper", Span(R::kPaperSize), 8, 4},
            {"12", Span(R::kColourSetting), 12, 4},   {"16", Span(R::kFlag16), 16, 1},
            {"dyin", Span(R::kCheckDYIN), 17, 1},     {"name", Span(R::kButtonName), 18, 256},
            {"default", Span(R::kDefaultFileName), 274, 256}, {"history", Span(R::kHistory), 532, 2564},
            {"folder", Span(R::kFolder), 3096, 70},   {"app", Span(R::kOCRApp), 3166, 70},
            {"tag", Span(R::kTag), 3236, 4},          {"custom", Span(R::kCustomSize), 3240, 8},
            {"jpeg", Span(R::kJPEG), 3360, 20},       {"pict", Span(R::kPICT), 3380, 16},
            {"tiff", Span(R::kTIFF), 3396, 16},       {"ezfn", Span(R::kCheckEZFN), 3412, 1},
            {"3413", Span(R::kFlag3413), 3413, 1},    {"3416", Span(R::kSetting3416), 3416, 4}});
}

TEST(PrefRecords, Save) {
  using R = PREF_SAVE;
  CheckAll({{"ftyp", Span(R::kFileType), 32, 4},      {"uion", Span(R::kCheckUION), 36, 1},
            {"dyin", Span(R::kCheckDYIN), 37, 1},     {"svad", Span(R::kCheckSVAD), 38, 1},
            {"name", Span(R::kButtonName), 39, 256},  {"default", Span(R::kDefaultFileName), 295, 256},
            {"file", Span(R::kFileName), 551, 256},   {"history", Span(R::kHistory), 808, 2564},
            {"folder", Span(R::kFolder), 3372, 70},   {"tag", Span(R::kTag), 3444, 4},
            {"custom", Span(R::kCustomSize), 3448, 8}, {"pdf", Span(R::kPDF), 3456, 112},
            {"jpeg", Span(R::kJPEG), 3568, 20},       {"pict", Span(R::kPICT), 3588, 16},
            {"tiff", Span(R::kTIFF), 3604, 16},       {"fore", Span(R::kCheckFORE), 3620, 1},
            {"ezfn", Span(R::kCheckEZFN), 3621, 1},   {"3622", Span(R::kFlag3622), 3622, 1},
            {"3624", Span(R::kSetting3624), 3624, 4}});
}

TEST(PrefRecords, File) {
  using R = PREF_FILE;
  CheckAll({{"tab", Span(R::kCurrentTab), 0, 4},      {"paper", Span(R::kPaperSize), 12, 4},
            {"20", Span(R::kFlag20), 20, 1},          {"21", Span(R::kFlag21), 21, 1},
            {"name", Span(R::kButtonName), 22, 256},  {"default", Span(R::kDefaultFileName), 278, 256},
            {"file", Span(R::kFileName), 534, 256},   {"history", Span(R::kHistory), 792, 2564},
            {"folder", Span(R::kFolder), 3356, 70},   {"app", Span(R::kTargetApp), 3426, 70},
            {"tag", Span(R::kTag), 3496, 4},          {"custom", Span(R::kCustomSize), 3500, 8},
            {"pdf", Span(R::kPDF), 3508, 112},        {"jpeg", Span(R::kJPEG), 3620, 20},
            {"pict", Span(R::kPICT), 3640, 16},       {"tiff", Span(R::kTIFF), 3656, 16},
            {"3672", Span(R::kFlag3672), 3672, 1},    {"3673", Span(R::kFlag3673), 3673, 1},
            {"3674", Span(R::kFlag3674), 3674, 1},    {"3675", Span(R::kFlag3675), 3675, 1},
            {"3676", Span(R::kSetting3676), 3676, 4}, {"3680", Span(R::kFlag3680), 3680, 1},
            {"3681", Span(R::kButtonPending), 3681, 1}});
}

TEST(PrefRecords, ScanX) {
  using R = PREF_SCANX;
  CheckAll({{"ftyp", Span(R::kFileType), 32, 4},      {"svad", Span(R::kCheckSVAD), 38, 1},
            {"name", Span(R::kButtonName), 39, 256},  {"default", Span(R::kDefaultFileName), 295, 256},
            {"history", Span(R::kHistory), 552, 2564}, {"folder", Span(R::kFolder), 3116, 70},
            {"app", Span(R::kTargetApp), 3186, 70},   {"tag", Span(R::kTag), 3256, 4},
            {"custom", Span(R::kCustomSize), 3260, 8}, {"fire", Span(R::kCheckFIRE), 3268, 1},
            {"jpeg", Span(R::kJPEG), 3384, 20},       {"pict", Span(R::kPICT), 3404, 16},
            {"tiff", Span(R::kTIFF), 3420, 16},       {"ezfn", Span(R::kCheckEZFN), 3436, 1},
            {"3437", Span(R::kFlag3437), 3437, 1},    {"corrections", Span(R::kCorrections), 3372, 4},
            {"3440", Span(R::kSetting3440), 3440, 4}});
}

TEST(PrefRecords, Setting) {
  using R = PREF_SETTING;
  CheckAll({{"model", Span(R::kModelName), 0, 256},   {"slot0", Span(R::kButtonSlot0), 256, 4},
            {"slot3", Span(R::kButtonSlot3), 268, 4}, {"name", Span(R::kButtonName), 272, 256},
            {"tag", Span(R::kTag), 528, 4},           {"twain", Span(R::kTWAIN), 532, 1},
            {"popup", Span(R::kPopupText), 533, 256}, {"film", Span(R::kFilmAdapter), 789, 1},
            {"790", Span(R::kQuitOption), 790, 1},    {"791", Span(R::kCheckDone), 791, 1},
            {"temp", Span(R::kTempFolder), 792, 70},  {"base", Span(R::kTempBase), 862, 70}});
  for (uint32_t k = 0; k < 4; ++k) EXPECT_EQ(R::ButtonSlot(k).off, 256 + 4 * k);
  EXPECT_THROW(R::ButtonSlot(4), std::out_of_range);
  EXPECT_THROW(PREF_ALL::File(5), std::out_of_range);
}

TEST(PrefRecords, Exif) {
  using R = EXIF_PREF;
  CheckAll({{"mark", Span(R::kMark), 0, 4},             {"make", Span(R::kMake), 4, 256},
            {"software", Span(R::kSoftware), 260, 256}, {"model", Span(R::kModel), 516, 256},
            {"colour", Span(R::kColourPage), 776, 4},   {"width", Span(R::kWidth), 780, 4},
            {"height", Span(R::kHeight), 784, 4},       {"xres", Span(R::kXResolution), 796, 2},
            {"yres", Span(R::kYResolution), 800, 2},    {"date", Span(R::kDateTime), 1074, 256},
            {"source", Span(R::kSource), 1332, 4},      {"title", Span(R::kTitle), 1337, 256},
            {"author", Span(R::kAuthor), 1594, 256},    {"shoot", Span(R::kShootDate), 1851, 256},
            {"year", Span(R::kYearIndex), 2108, 4},     {"shutter", Span(R::kShutterIndex), 2132, 4},
            {"aperture", Span(R::kApertureIndex), 2140, 4}, {"flash", Span(R::kFlashIndex), 2145, 1},
            {"iso", Span(R::kISOIndex), 2164, 4},       {"comment", Span(R::kComment), 2169, 256},
            {"scene", Span(R::kSceneValue), 2428, 4},   {"exposure", Span(R::kExposureModeIndex), 2436, 4},
            {"2440", Span(R::kKept2440), 2440, 1},      {"default", Span(R::kIsDefault), 2441, 1}});
}

TEST(PrefRecords, FormatRecords) {
  CheckAll({{"pdf lang", Span(StPDFDialog::kLanguage), 12, 4},
            {"pdf restricted", Span(StPDFDialog::kRestricted), 24, 1},
            {"pdf spec", Span(StPDFDialog::kAppendTo), 26, 70},
            {"pdf 108", Span(StPDFDialog::kUnused108), 108, 4},
            {"jpeg compression", Span(StJPEGDialog::kCompression), 16, 4},
            {"other prb", Span(StOtherDialog::kOptionPRB), 12, 4}});
}

// Values read from a damaged or foreign record can never lead a consumer outside its tables.
// Small layouts that the layout check must refuse.
struct OverlappingFields {
  static constexpr size_t kSize = 8;
  template <class V>
  static constexpr void ForEachField(V& v) {
    v("a", PrefU32{0});
    v("b", PrefU32{2});
  }
};
struct FieldsPastTheEnd {
  static constexpr size_t kSize = 6;
  template <class V>
  static constexpr void ForEachField(V& v) {
    v("a", PrefU32{0});
    v("b", PrefU32{4});
  }
};
struct FieldsOutOfOrder {
  static constexpr size_t kSize = 8;
  template <class V>
  static constexpr void ForEachField(V& v) {
    v("b", PrefU32{4});
    v("a", PrefU32{0});
  }
};

TEST(PrefRecords, LayoutCheckRefusesOverlapOverrunAndDisorder) {
  static_assert(!PrefLayoutFits<OverlappingFields>());
  static_assert(!PrefLayoutFits<FieldsPastTheEnd>());
  static_assert(!PrefLayoutFits<FieldsOutOfOrder>());
  static_assert(!PrefLayoutFits({PrefSpan{0, 4}, PrefSpan{3, 1}}, 8));
  static_assert(PrefLayoutFits({PrefSpan{0, 4}, PrefSpan{4, 4}}, 8));
}

TEST(PrefRecords, StoredCountsAndIndicesAreCheckedWhenRead) {
  PREF_MAIL mail;
  RecordBytes r = mail.view();
  r.setU32(PREF_MAIL::kHistory.off, 0xFFFFFFFF);
  EXPECT_EQ(PREF_MAIL::kHistory.count(r), 10u);
  r.setU32(PREF_MAIL::kMailAppCount.off, 257);
  EXPECT_EQ(PREF_MAIL::kMailAppCount.get(r), 256u);
  r.setU8(PREF_MAIL::kFolder.off + 6, 200);  // name length byte
  EXPECT_EQ(PREF_MAIL::kFolder.get(r).name[0], 63);
  EXPECT_THROW(PREF_MAIL::kHistory.entryOff(10), std::out_of_range);
  EXPECT_THROW(PREF_MAIL::kMailApps.entryOff(256), std::out_of_range);

  EXIF_PREF exif;
  RecordBytes e = exif.view();
  struct IndexCase {
    PrefIndex field;
    uint32_t stored;
    uint32_t read;
  };
  const IndexCase cases[] = {{EXIF_PREF::kShutterIndex, 17, 17}, {EXIF_PREF::kShutterIndex, 18, 1},
                             {EXIF_PREF::kShutterIndex, 0, 1},   {EXIF_PREF::kApertureIndex, 11, 11},
                             {EXIF_PREF::kApertureIndex, 12, 1}, {EXIF_PREF::kISOIndex, 7, 7},
                             {EXIF_PREF::kISOIndex, 0xFFFFFFFF, 1}, {EXIF_PREF::kSceneValue, 5, 1},
                             {EXIF_PREF::kExposureModeIndex, 3, 3}, {EXIF_PREF::kExposureModeIndex, 4, 1}};
  for (const IndexCase& c : cases) {
    c.field.set(e, c.stored);
    EXPECT_EQ(c.field.get(e), c.read) << c.field.off << " " << c.stored;
  }
  EXIF_PREF::kFlashIndex.set(e, 3);
  EXPECT_EQ(EXIF_PREF::kFlashIndex.get(e), 1);
}

TEST(PrefRecords, HistoryCountIsCappedWhenWritten) {
  PREF_SAVE save;
  PREF_SAVE::kHistory.setCount(save.view(), 11);
  EXPECT_EQ(save.view().u32(PREF_SAVE::kHistory.off), 10u);
}

}  // namespace
