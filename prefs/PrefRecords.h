// The stored layout of the whole user configuration: PREF_ALL and every record inside it.
//
// Every field is a named offset with a typed big-endian accessor working on a RecordBytes
// view. Values that later code uses as counts or indices are checked here, where they leave
// the record, so a damaged or foreign file can never make a consumer run past its tables.
// A record struct (PREF_COPY, ...) is also a value type holding its bytes, for code that keeps
// a private copy of one record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>

#include "toolbox/MacTypes.h"
#include "toolbox/RecordAccess.h"

// ---- Field kinds -------------------------------------------------------------------------

struct PrefSpan {
  size_t off;
  size_t size;
};

// A big-endian integer field of type T (one, two or four bytes).
template <class T>
struct PrefInt {
  static_assert(sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4);
  size_t off;
  static constexpr size_t size = sizeof(T);
  T get(RecordBytes r) const {
    if constexpr (size == 1) return static_cast<T>(r.u8(off));
    else if constexpr (size == 2) return static_cast<T>(r.u16(off));
    else return static_cast<T>(r.u32(off));
  }
  void set(RecordBytes r, T v) const {
    if constexpr (size == 1) r.setU8(off, static_cast<uint8_t>(v));
    else if constexpr (size == 2) r.setU16(off, static_cast<uint16_t>(v));
    else r.setU32(off, static_cast<uint32_t>(v));
  }
};
using PrefU8 = PrefInt<uint8_t>;
using PrefI16 = PrefInt<int16_t>;
using PrefU16 = PrefInt<uint16_t>;
using PrefU32 = PrefInt<uint32_t>;

// A 32-bit count whose stored value is capped at `max` when read.
struct PrefCount {
  size_t off;
  uint32_t max;
  static constexpr size_t size = 4;
  uint32_t get(RecordBytes r) const {
    uint32_t v = r.u32(off);
    return v > max ? max : v;
  }
  void set(RecordBytes r, uint32_t v) const { r.setU32(off, v > max ? max : v); }
};

// A 1-based 32-bit popup index into a table of `count` entries; outside gives item 1.
struct PrefIndex {
  size_t off;
  uint32_t count;
  static constexpr size_t size = 4;
  uint32_t get(RecordBytes r) const {
    uint32_t v = r.u32(off);
    return (v >= 1 && v <= count) ? v : 1;
  }
  void set(RecordBytes r, uint32_t v) const { r.setU32(off, v); }
};

// The same, one byte wide.
struct PrefIndex8 {
  size_t off;
  uint8_t count;
  static constexpr size_t size = 1;
  uint8_t get(RecordBytes r) const {
    uint8_t v = r.u8(off);
    return (v >= 1 && v <= count) ? v : 1;
  }
  void set(RecordBytes r, uint8_t v) const { r.setU8(off, v); }
};

// A Str255 field: length byte plus up to 255 characters.
struct PrefStr255 {
  size_t off;
  static constexpr size_t size = 256;
  void get(RecordBytes r, Str255 out) const { r.pstr(off, size, out); }
  void set(RecordBytes r, ConstStr255Param s) const {
    r.fill(off, size, 0);
    r.setPstr(off, size, s);
  }
};

// A 70-byte FSSpec; a stored name longer than 63 characters is cut to 63 when read.
struct PrefSpec {
  size_t off;
  static constexpr size_t size = kFSSpecRecordSize;
  FSSpec get(RecordBytes r) const { return r.fsspec(off); }
  void set(RecordBytes r, const FSSpec& s) const { r.setFSSpec(off, s); }
  void clear(RecordBytes r) const { r.fill(off, size, 0); }
};

// `count` FSSpecs one after the other, of which the field `stored` says how many are used.
struct PrefSpecList {
  size_t off;
  uint32_t count;
  PrefCount stored;
  size_t size = count * kFSSpecRecordSize;
  FSSpec get(RecordBytes r, uint32_t i) const { return r.fsspec(entryOff(i)); }
  void set(RecordBytes r, uint32_t i, const FSSpec& s) const { r.setFSSpec(entryOff(i), s); }
  size_t entryOff(uint32_t i) const {
    if (i >= count) throw std::out_of_range("list entry outside the list");
    return off + i * kFSSpecRecordSize;
  }
};

// File-name history: u32 count (0 to 10), then 10 Str255 entries, oldest first.
struct PrefHistory {
  static constexpr uint32_t kEntries = 10;
  size_t off;
  static constexpr size_t size = 4 + kEntries * 256;
  uint32_t count(RecordBytes r) const { return PrefCount{off, kEntries}.get(r); }
  void setCount(RecordBytes r, uint32_t n) const { PrefCount{off, kEntries}.set(r, n); }
  void entry(RecordBytes r, uint32_t i, Str255 out) const { PrefStr255{entryOff(i)}.get(r, out); }
  void setEntry(RecordBytes r, uint32_t i, ConstStr255Param s) const { PrefStr255{entryOff(i)}.set(r, s); }
  size_t entryOff(uint32_t i) const {
    if (i >= kEntries) throw std::out_of_range("history entry outside the history");
    return off + 4 + i * 256;
  }
};

// Custom document size: u16 width, u16 height (tenths of a millimetre), u32 unit.
struct PrefDocSize {
  static constexpr uint32_t kCentimetre = 1;
  static constexpr uint32_t kInch = 2;
  size_t off;
  static constexpr size_t size = 8;
  uint16_t width(RecordBytes r) const { return r.u16(off); }
  uint16_t height(RecordBytes r) const { return r.u16(off + 2); }
  uint32_t unit(RecordBytes r) const { return r.u32(off + 4); }
  void set(RecordBytes r, uint16_t w, uint16_t h, uint32_t unit) const {
    r.setU16(off, w);
    r.setU16(off + 2, h);
    r.setU32(off + 4, unit);
  }
};

// An embedded record of layout R (R::kSize bytes) at `off`. A record of the whole file
// carries the label prefs-dump prints it under.
template <class R>
struct PrefSub {
  size_t off;
  const char* label = nullptr;
  static constexpr size_t size = R::kSize;
  RecordBytes in(RecordBytes r) const { return r.sub(off, R::kSize); }
};

// `count` records of layout R one after the other.
template <class R>
struct PrefSubList {
  size_t off;
  uint32_t count;
  const char* label = nullptr;
  size_t size = count * R::kSize;
  constexpr PrefSub<R> at(uint32_t k) const {
    if (k >= count) throw std::out_of_range("record outside its list");
    return PrefSub<R>{off + size_t(k) * R::kSize};
  }
};

template <class F>
constexpr PrefSpan Span(const F& f) {
  return PrefSpan{f.off, f.size};
}

// Walks fields in declaration order and notes whether they lie in increasing order, without
// overlap. Visitors of a record's ForEachField take (name, field).
struct PrefLayoutCheck {
  size_t end = 0;
  bool ordered = true;
  template <class F>
  constexpr void operator()(const char*, const F& f) {
    if (f.off < end) ordered = false;
    end = f.off + f.size;
  }
};

// True when the fields of record R lie in order, without overlap, inside R::kSize.
template <class R>
constexpr bool PrefLayoutFits() {
  PrefLayoutCheck check;
  R::ForEachField(check);
  return check.ordered && check.end <= R::kSize;
}

// The same for a list of spans.
constexpr bool PrefLayoutFits(std::initializer_list<PrefSpan> fields, size_t recordSize) {
  PrefLayoutCheck check;
  for (const PrefSpan& f : fields) check("", f);
  return check.ordered && check.end <= recordSize;
}

// A value-type copy of one record.
template <size_t N>
struct PrefRecordValue {
  std::array<uint8_t, N> bytes{};
  RecordBytes view() { return RecordBytes(bytes.data(), N); }
};

// A record's fields are written once, as a list of F(kind, name, offset[, more]) in offset
// order: WX_PREF_FIELDS declares each one and makes the record's ForEachField from the same
// list, so every field is in the layout check and in prefs-dump. WX_PREF_FIELDS_AFTER puts a
// base's fields first.
#define WX_PREF_DECLARE_FIELD(Kind, name, ...) static constexpr Kind name{__VA_ARGS__};
#define WX_PREF_VISIT_FIELD(Kind, name, ...) v(#name, name);
#define WX_PREF_FIELDS(LIST)                 \
  LIST(WX_PREF_DECLARE_FIELD)                \
  template <class V>                         \
  static constexpr void ForEachField(V& v) { \
    LIST(WX_PREF_VISIT_FIELD)                \
  }
#define WX_PREF_FIELDS_AFTER(Base, LIST)     \
  LIST(WX_PREF_DECLARE_FIELD)                \
  template <class V>                         \
  static constexpr void ForEachField(V& v) { \
    Base::ForEachField(v);                   \
    LIST(WX_PREF_VISIT_FIELD)                \
  }

// ---- Format-settings records ---------------------------------------------------------------

struct StPDFDialog : PrefRecordValue<112> {
  static constexpr size_t kSize = 112;
#define WX_FIELDS(F)                \
  F(PrefU32, kLanguageOption, 0)    \
  F(PrefU32, kUnused4, 4)           \
  F(PrefU32, kUnused8, 8)           \
  F(PrefU32, kLanguage, 12)         \
  F(PrefU32, kCompression, 16)      \
  F(PrefU32, kSavedCompression, 20) \
  F(PrefU8, kRestricted, 24)        \
  F(PrefU8, kUnused25, 25)          \
  F(PrefSpec, kAppendTo, 26)        \
  F(PrefU32, kOptionCBCR, 96)       \
  F(PrefU32, kOptionCBXT, 100)      \
  F(PrefU32, kOptionCBXP, 104)      \
  F(PrefU32, kUnused108, 108)
  WX_PREF_FIELDS(WX_FIELDS)
#undef WX_FIELDS
};
static_assert(PrefLayoutFits<StPDFDialog>() && StPDFDialog::kUnused108.off + 4 == StPDFDialog::kSize);

struct StJPEGDialog : PrefRecordValue<20> {
  static constexpr size_t kSize = 20;
#define WX_FIELDS(F)             \
  F(PrefU32, kLanguageOption, 0) \
  F(PrefU32, kLanguage, 4)       \
  F(PrefU32, kOptionSLT, 8)      \
  F(PrefU32, kOptionPRB, 12)     \
  F(PrefU32, kCompression, 16)
  WX_PREF_FIELDS(WX_FIELDS)
#undef WX_FIELDS
};
static_assert(PrefLayoutFits<StJPEGDialog>() && StJPEGDialog::kCompression.off + 4 == StJPEGDialog::kSize);

struct StOtherDialog : PrefRecordValue<16> {
  static constexpr size_t kSize = 16;
#define WX_FIELDS(F)             \
  F(PrefU32, kLanguageOption, 0) \
  F(PrefU32, kLanguage, 4)       \
  F(PrefU32, kOptionSLT, 8)      \
  F(PrefU32, kOptionPRB, 12)
  WX_PREF_FIELDS(WX_FIELDS)
#undef WX_FIELDS
};
static_assert(PrefLayoutFits<StOtherDialog>() && StOtherDialog::kOptionPRB.off + 4 == StOtherDialog::kSize);

// ---- Function records ----------------------------------------------------------------------

// The scan settings at the head of the Copy, Print, Save and Scan records: the popup items of
// the source, image mode, resolution and paper size, each with its second setting.
struct PrefScanSettings {
#define WX_FIELDS(F)                                          \
  F(PrefU32, kSource, 0) /* 'MODE' item */                    \
  F(PrefU32, kLastSource, 4)                                  \
  F(PrefU32, kImageMode, 8) /* 'IMAG' */                      \
  F(PrefU32, kImageMode2, 12)                                 \
  F(PrefU32, kResolution, 16) /* 'RESL' */                    \
  F(PrefU32, kResolution2, 20)                                \
  F(PrefU32, kPaperSize, 24) /* 'SIZE', a row of PaperSize */ \
  F(PrefU32, kPaperSize2, 28)
  WX_PREF_FIELDS(WX_FIELDS)
#undef WX_FIELDS
};

struct PREF_COPY : PrefRecordValue<340>, PrefScanSettings {
  static constexpr size_t kSize = 340;
#define WX_FIELDS(F)                       \
  F(PrefU32, kBrightness, 32) /* 'BLIT' */ \
  F(PrefU32, kScale, 36) /* 'SCAL' */      \
  F(PrefU32, kScale2, 40)                  \
  F(PrefU32, kCustomPercent, 44)           \
  F(PrefU8, kCheckUION, 48)                \
  F(PrefStr255, kButtonName, 49)           \
  F(PrefU32, kTag, 308)                    \
  F(PrefDocSize, kCustomSize, 312)         \
  F(PrefU32, kScanOption, 320)             \
  F(PrefU32, kFirstPage, 324)              \
  F(PrefU32, kLastPage, 328)               \
  F(PrefU32, kCopies, 332)                 \
  F(PrefU8, kCollate, 336)
  WX_PREF_FIELDS_AFTER(PrefScanSettings, WX_FIELDS)
#undef WX_FIELDS
};
static_assert(PrefLayoutFits<PREF_COPY>());

struct PREF_PRINT : PrefRecordValue<328>, PrefScanSettings {
  static constexpr size_t kSize = 328;
#define WX_FIELDS(F)               \
  F(PrefU32, kBrightness, 32)      \
  F(PrefU8, kCheckUION, 36)        \
  F(PrefStr255, kButtonName, 37)   \
  F(PrefU32, kTag, 296)            \
  F(PrefDocSize, kCustomSize, 300) \
  F(PrefU32, kJob308, 308)         \
  F(PrefU32, kJob312, 312)         \
  F(PrefU32, kJob316, 316)         \
  F(PrefU32, kCopies, 320)         \
  F(PrefU8, kJobFlag, 324)
  WX_PREF_FIELDS_AFTER(PrefScanSettings, WX_FIELDS)
#undef WX_FIELDS
};
static_assert(PrefLayoutFits<PREF_PRINT>());

struct PREF_MAIL : PrefRecordValue<21608> {
  static constexpr size_t kSize = 21608;
  static constexpr uint32_t kMaxMailApps = 256;
#define WX_FIELDS(F)                                            \
  F(PrefU32, kSetting0, 0)                                      \
  F(PrefU32, kSetting4, 4)                                      \
  F(PrefU32, kPaperSize, 8)                                     \
  F(PrefU32, kSetting12, 12)                                    \
  F(PrefU32, kSetting16, 16)                                    \
  F(PrefU8, kCheckUION, 20)                                     \
  F(PrefU8, kCheckDYIN, 21)                                     \
  F(PrefStr255, kButtonName, 22)                                \
  F(PrefStr255, kDefaultFileName, 278)                          \
  F(PrefStr255, kFileName, 534)                                 \
  F(PrefHistory, kHistory, 792)                                 \
  F(PrefSpec, kFolder, 3356)                                    \
  F(PrefSpec, kMailApp, 3426)                                   \
  F(PrefU32, kTag, 3496)                                        \
  F(PrefDocSize, kCustomSize, 3500)                             \
  F(PrefSub<StPDFDialog>, kPDF, 3508)                           \
  F(PrefSub<StJPEGDialog>, kJPEG, 3620)                         \
  F(PrefSub<StOtherDialog>, kPICT, 3640)                        \
  F(PrefSub<StOtherDialog>, kTIFF, 3656)                        \
  F(PrefU8, kCheckAIRE, 3672)                                   \
  F(PrefCount, kMailAppCount, 3676, kMaxMailApps)               \
  F(PrefSpecList, kMailApps, 3680, kMaxMailApps, kMailAppCount) \
  F(PrefU8, kCheckEZFN, 21600)                                  \
  F(PrefU8, kFlag21601, 21601)                                  \
  F(PrefU32, kSetting21604, 21604)
  WX_PREF_FIELDS(WX_FIELDS)
#undef WX_FIELDS
};
static_assert(PrefLayoutFits<PREF_MAIL>());

struct PREF_OCR : PrefRecordValue<3420> {
  static constexpr size_t kSize = 3420;
#define WX_FIELDS(F)                     \
  F(PrefU32, kColourMode, 0)             \
  F(PrefU32, kSetting4, 4)               \
  F(PrefU32, kPaperSize, 8)              \
  F(PrefU32, kColourSetting, 12)         \
  F(PrefU8, kFlag16, 16)                 \
  F(PrefU8, kCheckDYIN, 17)              \
  F(PrefStr255, kButtonName, 18)         \
  F(PrefStr255, kDefaultFileName, 274)   \
  F(PrefHistory, kHistory, 532)          \
  F(PrefSpec, kFolder, 3096)             \
  F(PrefSpec, kOCRApp, 3166)             \
  F(PrefU32, kTag, 3236)                 \
  F(PrefDocSize, kCustomSize, 3240)      \
  F(PrefSub<StJPEGDialog>, kJPEG, 3360)  \
  F(PrefSub<StOtherDialog>, kPICT, 3380) \
  F(PrefSub<StOtherDialog>, kTIFF, 3396) \
  F(PrefU8, kCheckEZFN, 3412)            \
  F(PrefU8, kFlag3413, 3413)             \
  F(PrefU32, kSetting3416, 3416)
  WX_PREF_FIELDS(WX_FIELDS)
#undef WX_FIELDS
};
static_assert(PrefLayoutFits<PREF_OCR>());

struct PREF_SAVE : PrefRecordValue<3628>, PrefScanSettings {
  static constexpr size_t kSize = 3628;
#define WX_FIELDS(F)                     \
  F(PrefU32, kFileType, 32) /* 'FTYP' */ \
  F(PrefU8, kCheckUION, 36)              \
  F(PrefU8, kCheckDYIN, 37)              \
  F(PrefU8, kCheckSVAD, 38)              \
  F(PrefStr255, kButtonName, 39)         \
  F(PrefStr255, kDefaultFileName, 295)   \
  F(PrefStr255, kFileName, 551)          \
  F(PrefHistory, kHistory, 808)          \
  F(PrefSpec, kFolder, 3372)             \
  F(PrefU32, kTag, 3444)                 \
  F(PrefDocSize, kCustomSize, 3448)      \
  F(PrefSub<StPDFDialog>, kPDF, 3456)    \
  F(PrefSub<StJPEGDialog>, kJPEG, 3568)  \
  F(PrefSub<StOtherDialog>, kPICT, 3588) \
  F(PrefSub<StOtherDialog>, kTIFF, 3604) \
  F(PrefU8, kCheckFORE, 3620)            \
  F(PrefU8, kCheckEZFN, 3621)            \
  F(PrefU8, kFlag3622, 3622)             \
  F(PrefU32, kSetting3624, 3624)
  WX_PREF_FIELDS_AFTER(PrefScanSettings, WX_FIELDS)
#undef WX_FIELDS
};
static_assert(PrefLayoutFits<PREF_SAVE>());

struct PREF_FILE : PrefRecordValue<3684> {
  static constexpr size_t kSize = 3684;
#define WX_FIELDS(F)                                                                      \
  F(PrefU32, kCurrentTab, 0) /* 0 no tabs, 1-3 */                                         \
  F(PrefU32, kSetting4, 4)                                                                \
  F(PrefU32, kSetting8, 8)                                                                \
  F(PrefU32, kPaperSize, 12)                                                              \
  F(PrefU32, kSetting16, 16)                                                              \
  F(PrefU8, kFlag20, 20)                                                                  \
  F(PrefU8, kFlag21, 21)                                                                  \
  F(PrefStr255, kButtonName, 22)                                                          \
  F(PrefStr255, kDefaultFileName, 278)                                                    \
  F(PrefStr255, kFileName, 534)                                                           \
  F(PrefHistory, kHistory, 792)                                                           \
  F(PrefSpec, kFolder, 3356)                                                              \
  F(PrefSpec, kTargetApp, 3426)                                                           \
  F(PrefU32, kTag, 3496)                                                                  \
  F(PrefDocSize, kCustomSize, 3500)                                                       \
  F(PrefSub<StPDFDialog>, kPDF, 3508)                                                     \
  F(PrefSub<StJPEGDialog>, kJPEG, 3620)                                                   \
  F(PrefSub<StOtherDialog>, kPICT, 3640)                                                  \
  F(PrefSub<StOtherDialog>, kTIFF, 3656)                                                  \
  F(PrefU8, kFlag3672, 3672)                                                              \
  F(PrefU8, kFlag3673, 3673)                                                              \
  F(PrefU8, kFlag3674, 3674)                                                              \
  F(PrefU8, kFlag3675, 3675)                                                              \
  F(PrefU32, kSetting3676, 3676)                                                          \
  F(PrefU8, kFlag3680, 3680)                                                              \
  F(PrefU8, kButtonPending, 3681) /* tested and cleared by the scanner-button dispatch */
  WX_PREF_FIELDS(WX_FIELDS)
#undef WX_FIELDS
};
static_assert(PrefLayoutFits<PREF_FILE>());

struct PREF_SCANX : PrefRecordValue<3444>, PrefScanSettings {
  static constexpr size_t kSize = 3444;
#define WX_FIELDS(F)                     \
  F(PrefU32, kFileType, 32)              \
  F(PrefU8, kCheckUION, 36)              \
  F(PrefU8, kCheckDYIN, 37)              \
  F(PrefU8, kCheckSVAD, 38)              \
  F(PrefStr255, kButtonName, 39)         \
  F(PrefStr255, kDefaultFileName, 295)   \
  F(PrefHistory, kHistory, 552)          \
  F(PrefSpec, kFolder, 3116)             \
  F(PrefSpec, kTargetApp, 3186)          \
  F(PrefU32, kTag, 3256)                 \
  F(PrefDocSize, kCustomSize, 3260)      \
  F(PrefU8, kCheckFIRE, 3268)            \
  F(PrefU32, kCorrections, 3372)         \
  F(PrefSub<StJPEGDialog>, kJPEG, 3384)  \
  F(PrefSub<StOtherDialog>, kPICT, 3404) \
  F(PrefSub<StOtherDialog>, kTIFF, 3420) \
  F(PrefU8, kCheckEZFN, 3436)            \
  F(PrefU8, kFlag3437, 3437)             \
  F(PrefU32, kSetting3440, 3440)
  WX_PREF_FIELDS_AFTER(PrefScanSettings, WX_FIELDS)
#undef WX_FIELDS
};
static_assert(PrefLayoutFits<PREF_SCANX>());

struct PREF_SETTING : PrefRecordValue<932> {
  static constexpr size_t kSize = 932;
  static constexpr uint32_t kSlots = 4;
#define WX_FIELDS(F)                                                                  \
  F(PrefStr255, kModelName, 0)                                                        \
  F(PrefU32, kButtonSlot0, 256) /* slot k at 256 + 4k: the function number it runs */ \
  F(PrefU32, kButtonSlot1, 260)                                                       \
  F(PrefU32, kButtonSlot2, 264)                                                       \
  F(PrefU32, kButtonSlot3, 268)                                                       \
  F(PrefStr255, kButtonName, 272)                                                     \
  F(PrefU32, kTag, 528)                                                               \
  F(PrefU8, kTWAIN, 532)                                                              \
  F(PrefStr255, kPopupText, 533)                                                      \
  F(PrefU8, kFilmAdapter, 789)                                                        \
  F(PrefU8, kQuitOption, 790)                                                         \
  F(PrefU8, kCheckDone, 791)                                                          \
  F(PrefSpec, kTempFolder, 792)                                                       \
  F(PrefSpec, kTempBase, 862)
  WX_PREF_FIELDS(WX_FIELDS)
#undef WX_FIELDS
  static constexpr PrefU32 ButtonSlot(uint32_t k) {
    if (k >= kSlots) throw std::out_of_range("button slot outside the slots");
    return PrefU32{256 + 4 * size_t(k)};
  }
};
static_assert(PrefLayoutFits<PREF_SETTING>() && PREF_SETTING::kTempBase.off + kFSSpecRecordSize == PREF_SETTING::kSize);

// ---- EXIF settings --------------------------------------------------------------------------

struct EXIF_PREF : PrefRecordValue<2444> {
  static constexpr size_t kSize = 2444;
  static constexpr uint32_t kRecordMark = 220;
  // Entries in the value tables that the indices select.
  static constexpr uint32_t kShutterEntries = 17;
  static constexpr uint32_t kApertureEntries = 11;
  static constexpr uint8_t kFlashEntries = 2;
  static constexpr uint32_t kISOEntries = 7;
  static constexpr uint32_t kSceneEntries = 4;
  static constexpr uint32_t kExposureModeEntries = 3;

#define WX_FIELDS(F)                                                                     \
  F(PrefU32, kMark, 0)                                                                   \
  F(PrefStr255, kMake, 4)                                                                \
  F(PrefStr255, kSoftware, 260)                                                          \
  F(PrefStr255, kModel, 516)                                                             \
  F(PrefU32, kKept772, 772)                                                              \
  F(PrefU32, kColourPage, 776)                                                           \
  F(PrefU32, kWidth, 780)                                                                \
  F(PrefU32, kHeight, 784)                                                               \
  F(PrefU32, kKept788, 788)                                                              \
  F(PrefU32, kKept792, 792)                                                              \
  F(PrefI16, kXResolution, 796)                                                          \
  F(PrefI16, kYResolution, 800)                                                          \
  F(PrefStr255, kDateTime, 1074)                                                         \
  F(PrefU32, kSource, 1332) /* Exif FileSource = 2 - value */                            \
  F(PrefU8, kTitleEnable, 1336)                                                          \
  F(PrefStr255, kTitle, 1337)                                                            \
  F(PrefU8, kAuthorEnable, 1593)                                                         \
  F(PrefStr255, kAuthor, 1594)                                                           \
  F(PrefU8, kShootDateEnable, 1850)                                                      \
  F(PrefStr255, kShootDate, 1851)                                                        \
  F(PrefU32, kYearIndex, 2108) /* year - 1899 */                                         \
  F(PrefU32, kMonth, 2112)                                                               \
  F(PrefU32, kDay, 2116)                                                                 \
  F(PrefU8, kShutterEnable, 2128)                                                        \
  F(PrefIndex, kShutterIndex, 2132, kShutterEntries)                                     \
  F(PrefU8, kApertureEnable, 2136)                                                       \
  F(PrefIndex, kApertureIndex, 2140, kApertureEntries)                                   \
  F(PrefU8, kFlashEnable, 2144)                                                          \
  F(PrefIndex8, kFlashIndex, 2145, kFlashEntries)                                        \
  F(PrefU8, kISOEnable, 2160)                                                            \
  F(PrefIndex, kISOIndex, 2164, kISOEntries)                                             \
  F(PrefU8, kCommentEnable, 2168)                                                        \
  F(PrefStr255, kComment, 2169)                                                          \
  F(PrefU8, kSceneEnable, 2425)                                                          \
  F(PrefIndex, kSceneValue, 2428, kSceneEntries) /* Exif SceneCaptureType = value - 1 */ \
  F(PrefU8, kExposureModeEnable, 2432)                                                   \
  F(PrefIndex, kExposureModeIndex, 2436, kExposureModeEntries)                           \
  F(PrefU8, kKept2440, 2440)                                                             \
  F(PrefU8, kIsDefault, 2441)
  WX_PREF_FIELDS(WX_FIELDS)
#undef WX_FIELDS
};
static_assert(PrefLayoutFits<EXIF_PREF>());

// ---- The whole configuration ---------------------------------------------------------------

struct PREF_ALL {
  static constexpr size_t kSize = 58084;
  static constexpr uint32_t kFileRecords = 5;
  static constexpr size_t kFile0 = 29324;
#define WX_FIELDS(F)                                                         \
  F(PrefSub<PREF_COPY>, kCopy, 0, "PREF_COPY")                               \
  F(PrefSub<PREF_PRINT>, kPrint, 340, "PREF_PRINT")                          \
  F(PrefSub<PREF_MAIL>, kMail, 668, "PREF_MAIL")                             \
  F(PrefSub<PREF_OCR>, kOCR, 22276, "PREF_OCR")                              \
  F(PrefSub<PREF_SAVE>, kSave, 25696, "PREF_SAVE")                           \
  F(PrefSubList<PREF_FILE>, kFiles, kFile0, kFileRecords, "PREF_FILE")       \
  F(PrefSub<PREF_SCANX>, kScan1, 47744, "PREF_SCANX[Scan-1]")                \
  F(PrefSub<PREF_SCANX>, kScan2, 51188, "PREF_SCANX[Scan-2]")                \
  F(PrefSub<PREF_SETTING>, kSetting, 54632, "PREF_SETTING")                  \
  F(PrefI16, kWindowTop, 55564) /* 0 = default position */                   \
  F(PrefI16, kWindowLeft, 55566)                                             \
  F(PrefSub<EXIF_PREF>, kExif, 55568, "EXIF_PREF")                           \
  F(PrefSpec, kLastEventFile, 58012)                                         \
  F(PrefU16, kLastButton, 58082)
  WX_PREF_FIELDS(WX_FIELDS)
#undef WX_FIELDS

  static constexpr PrefSub<PREF_FILE> File(uint32_t k) { return kFiles.at(k); }
};
static_assert(PrefLayoutFits<PREF_ALL>());
static_assert(PREF_ALL::kLastButton.off + 2 == PREF_ALL::kSize);
static_assert(PREF_ALL::kPrint.off == PREF_ALL::kCopy.off + PREF_COPY::kSize);
static_assert(PREF_ALL::kMail.off == PREF_ALL::kPrint.off + PREF_PRINT::kSize);
static_assert(PREF_ALL::kOCR.off == PREF_ALL::kMail.off + PREF_MAIL::kSize);
static_assert(PREF_ALL::kSave.off == PREF_ALL::kOCR.off + PREF_OCR::kSize);
static_assert(PREF_ALL::kFile0 == PREF_ALL::kSave.off + PREF_SAVE::kSize);
static_assert(PREF_ALL::kScan1.off == PREF_ALL::kFile0 + 5 * PREF_FILE::kSize);
static_assert(PREF_ALL::kScan2.off == PREF_ALL::kScan1.off + PREF_SCANX::kSize);
static_assert(PREF_ALL::kSetting.off == PREF_ALL::kScan2.off + PREF_SCANX::kSize);
static_assert(PREF_ALL::kWindowTop.off == PREF_ALL::kSetting.off + PREF_SETTING::kSize);
static_assert(PREF_ALL::kExif.off + EXIF_PREF::kSize == PREF_ALL::kLastEventFile.off);

// Scanner-button tag of slot k.
constexpr uint32_t kButtonTagBase = 2000;
