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

// `count` FSSpecs one after the other.
struct PrefSpecList {
  size_t off;
  uint32_t count;
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

// An embedded record of layout R (R::kSize bytes) at `off`.
template <class R>
struct PrefSub {
  size_t off;
  static constexpr size_t size = R::kSize;
  RecordBytes in(RecordBytes r) const { return r.sub(off, R::kSize); }
};

template <class F>
constexpr PrefSpan Span(const F& f) {
  return PrefSpan{f.off, f.size};
}

// Walks fields in declaration order and notes whether they lie in increasing order, without
// overlap. Visitors of a record's ForEachField take (name, field) or, for a list whose length
// is stored in another field, (name, list, count field).
struct PrefLayoutCheck {
  size_t end = 0;
  bool ordered = true;
  template <class F, class... Count>
  constexpr void operator()(const char*, const F& f, const Count&...) {
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

// ---- Format-settings records ---------------------------------------------------------------

struct StPDFDialog : PrefRecordValue<112> {
  static constexpr size_t kSize = 112;
  static constexpr PrefU32 kLanguageOption{0};
  static constexpr PrefU32 kUnused4{4};
  static constexpr PrefU32 kUnused8{8};
  static constexpr PrefU32 kLanguage{12};
  static constexpr PrefU32 kCompression{16};
  static constexpr PrefU32 kSavedCompression{20};
  static constexpr PrefU8 kRestricted{24};
  static constexpr PrefU8 kUnused25{25};
  static constexpr PrefSpec kAppendTo{26};
  static constexpr PrefU32 kOptionCBCR{96};
  static constexpr PrefU32 kOptionCBXT{100};
  static constexpr PrefU32 kOptionCBXP{104};
  static constexpr PrefU32 kUnused108{108};
  template <class V>
  static constexpr void ForEachField(V& v) {
    v("kLanguageOption", kLanguageOption);
    v("kUnused4", kUnused4);
    v("kUnused8", kUnused8);
    v("kLanguage", kLanguage);
    v("kCompression", kCompression);
    v("kSavedCompression", kSavedCompression);
    v("kRestricted", kRestricted);
    v("kUnused25", kUnused25);
    v("kAppendTo", kAppendTo);
    v("kOptionCBCR", kOptionCBCR);
    v("kOptionCBXT", kOptionCBXT);
    v("kOptionCBXP", kOptionCBXP);
    v("kUnused108", kUnused108);
  }
};
static_assert(PrefLayoutFits<StPDFDialog>() && StPDFDialog::kUnused108.off + 4 == StPDFDialog::kSize);

struct StJPEGDialog : PrefRecordValue<20> {
  static constexpr size_t kSize = 20;
  static constexpr PrefU32 kLanguageOption{0};
  static constexpr PrefU32 kLanguage{4};
  static constexpr PrefU32 kOptionSLT{8};
  static constexpr PrefU32 kOptionPRB{12};
  static constexpr PrefU32 kCompression{16};
  template <class V>
  static constexpr void ForEachField(V& v) {
    v("kLanguageOption", kLanguageOption);
    v("kLanguage", kLanguage);
    v("kOptionSLT", kOptionSLT);
    v("kOptionPRB", kOptionPRB);
    v("kCompression", kCompression);
  }
};
static_assert(PrefLayoutFits<StJPEGDialog>() && StJPEGDialog::kCompression.off + 4 == StJPEGDialog::kSize);

struct StOtherDialog : PrefRecordValue<16> {
  static constexpr size_t kSize = 16;
  static constexpr PrefU32 kLanguageOption{0};
  static constexpr PrefU32 kLanguage{4};
  static constexpr PrefU32 kOptionSLT{8};
  static constexpr PrefU32 kOptionPRB{12};
  template <class V>
  static constexpr void ForEachField(V& v) {
    v("kLanguageOption", kLanguageOption);
    v("kLanguage", kLanguage);
    v("kOptionSLT", kOptionSLT);
    v("kOptionPRB", kOptionPRB);
  }
};
static_assert(PrefLayoutFits<StOtherDialog>() && StOtherDialog::kOptionPRB.off + 4 == StOtherDialog::kSize);

// ---- Function records ----------------------------------------------------------------------

// The scan settings at the head of the Copy, Print, Save and Scan records: the popup items of
// the source, image mode, resolution and paper size, each with its second setting.
struct PrefScanSettings {
  static constexpr PrefU32 kSource{0};  // 'MODE' item
  static constexpr PrefU32 kLastSource{4};
  static constexpr PrefU32 kImageMode{8};  // 'IMAG'
  static constexpr PrefU32 kImageMode2{12};
  static constexpr PrefU32 kResolution{16};  // 'RESL'
  static constexpr PrefU32 kResolution2{20};
  static constexpr PrefU32 kPaperSize{24};  // 'SIZE', a row of PaperSize
  static constexpr PrefU32 kPaperSize2{28};
  template <class V>
  static constexpr void ForEachField(V& v) {
    v("kSource", kSource);
    v("kLastSource", kLastSource);
    v("kImageMode", kImageMode);
    v("kImageMode2", kImageMode2);
    v("kResolution", kResolution);
    v("kResolution2", kResolution2);
    v("kPaperSize", kPaperSize);
    v("kPaperSize2", kPaperSize2);
  }
};

struct PREF_COPY : PrefRecordValue<340>, PrefScanSettings {
  static constexpr size_t kSize = 340;
  static constexpr PrefU32 kBrightness{32};  // 'BLIT'
  static constexpr PrefU32 kScale{36};       // 'SCAL'
  static constexpr PrefU32 kScale2{40};
  static constexpr PrefU32 kCustomPercent{44};
  static constexpr PrefU8 kCheckUION{48};
  static constexpr PrefStr255 kButtonName{49};
  static constexpr PrefU32 kTag{308};
  static constexpr PrefDocSize kCustomSize{312};
  static constexpr PrefU32 kScanOption{320};
  static constexpr PrefU32 kFirstPage{324};
  static constexpr PrefU32 kLastPage{328};
  static constexpr PrefU32 kCopies{332};
  static constexpr PrefU8 kCollate{336};
  template <class V>
  static constexpr void ForEachField(V& v) {
    PrefScanSettings::ForEachField(v);
    v("kBrightness", kBrightness);
    v("kScale", kScale);
    v("kScale2", kScale2);
    v("kCustomPercent", kCustomPercent);
    v("kCheckUION", kCheckUION);
    v("kButtonName", kButtonName);
    v("kTag", kTag);
    v("kCustomSize", kCustomSize);
    v("kScanOption", kScanOption);
    v("kFirstPage", kFirstPage);
    v("kLastPage", kLastPage);
    v("kCopies", kCopies);
    v("kCollate", kCollate);
  }
};
static_assert(PrefLayoutFits<PREF_COPY>());

struct PREF_PRINT : PrefRecordValue<328>, PrefScanSettings {
  static constexpr size_t kSize = 328;
  static constexpr PrefU32 kBrightness{32};
  static constexpr PrefU8 kCheckUION{36};
  static constexpr PrefStr255 kButtonName{37};
  static constexpr PrefU32 kTag{296};
  static constexpr PrefDocSize kCustomSize{300};
  static constexpr PrefU32 kJob308{308};
  static constexpr PrefU32 kJob312{312};
  static constexpr PrefU32 kJob316{316};
  static constexpr PrefU32 kCopies{320};
  static constexpr PrefU8 kJobFlag{324};
  template <class V>
  static constexpr void ForEachField(V& v) {
    PrefScanSettings::ForEachField(v);
    v("kBrightness", kBrightness);
    v("kCheckUION", kCheckUION);
    v("kButtonName", kButtonName);
    v("kTag", kTag);
    v("kCustomSize", kCustomSize);
    v("kJob308", kJob308);
    v("kJob312", kJob312);
    v("kJob316", kJob316);
    v("kCopies", kCopies);
    v("kJobFlag", kJobFlag);
  }
};
static_assert(PrefLayoutFits<PREF_PRINT>());

struct PREF_MAIL : PrefRecordValue<21608> {
  static constexpr size_t kSize = 21608;
  static constexpr uint32_t kMaxMailApps = 256;
  static constexpr PrefU32 kSetting0{0};
  static constexpr PrefU32 kSetting4{4};
  static constexpr PrefU32 kPaperSize{8};
  static constexpr PrefU32 kSetting12{12};
  static constexpr PrefU32 kSetting16{16};
  static constexpr PrefU8 kCheckUION{20};
  static constexpr PrefU8 kCheckDYIN{21};
  static constexpr PrefStr255 kButtonName{22};
  static constexpr PrefStr255 kDefaultFileName{278};
  static constexpr PrefStr255 kFileName{534};
  static constexpr PrefHistory kHistory{792};
  static constexpr PrefSpec kFolder{3356};
  static constexpr PrefSpec kMailApp{3426};
  static constexpr PrefU32 kTag{3496};
  static constexpr PrefDocSize kCustomSize{3500};
  static constexpr PrefSub<StPDFDialog> kPDF{3508};
  static constexpr PrefSub<StJPEGDialog> kJPEG{3620};
  static constexpr PrefSub<StOtherDialog> kPICT{3640};
  static constexpr PrefSub<StOtherDialog> kTIFF{3656};
  static constexpr PrefU8 kCheckAIRE{3672};
  static constexpr PrefCount kMailAppCount{3676, kMaxMailApps};
  static constexpr PrefSpecList kMailApps{3680, kMaxMailApps};
  static constexpr PrefU8 kCheckEZFN{21600};
  static constexpr PrefU8 kFlag21601{21601};
  static constexpr PrefU32 kSetting21604{21604};
  template <class V>
  static constexpr void ForEachField(V& v) {
    v("kSetting0", kSetting0);
    v("kSetting4", kSetting4);
    v("kPaperSize", kPaperSize);
    v("kSetting12", kSetting12);
    v("kSetting16", kSetting16);
    v("kCheckUION", kCheckUION);
    v("kCheckDYIN", kCheckDYIN);
    v("kButtonName", kButtonName);
    v("kDefaultFileName", kDefaultFileName);
    v("kFileName", kFileName);
    v("kHistory", kHistory);
    v("kFolder", kFolder);
    v("kMailApp", kMailApp);
    v("kTag", kTag);
    v("kCustomSize", kCustomSize);
    v("kPDF", kPDF);
    v("kJPEG", kJPEG);
    v("kPICT", kPICT);
    v("kTIFF", kTIFF);
    v("kCheckAIRE", kCheckAIRE);
    v("kMailAppCount", kMailAppCount);
    v("kMailApps", kMailApps, kMailAppCount);
    v("kCheckEZFN", kCheckEZFN);
    v("kFlag21601", kFlag21601);
    v("kSetting21604", kSetting21604);
  }
};
static_assert(PrefLayoutFits<PREF_MAIL>());

struct PREF_OCR : PrefRecordValue<3420> {
  static constexpr size_t kSize = 3420;
  static constexpr PrefU32 kColourMode{0};
  static constexpr PrefU32 kSetting4{4};
  static constexpr PrefU32 kPaperSize{8};
  static constexpr PrefU32 kColourSetting{12};
  static constexpr PrefU8 kFlag16{16};
  static constexpr PrefU8 kCheckDYIN{17};
  static constexpr PrefStr255 kButtonName{18};
  static constexpr PrefStr255 kDefaultFileName{274};
  static constexpr PrefHistory kHistory{532};
  static constexpr PrefSpec kFolder{3096};
  static constexpr PrefSpec kOCRApp{3166};
  static constexpr PrefU32 kTag{3236};
  static constexpr PrefDocSize kCustomSize{3240};
  static constexpr PrefSub<StJPEGDialog> kJPEG{3360};
  static constexpr PrefSub<StOtherDialog> kPICT{3380};
  static constexpr PrefSub<StOtherDialog> kTIFF{3396};
  static constexpr PrefU8 kCheckEZFN{3412};
  static constexpr PrefU8 kFlag3413{3413};
  static constexpr PrefU32 kSetting3416{3416};
  template <class V>
  static constexpr void ForEachField(V& v) {
    v("kColourMode", kColourMode);
    v("kSetting4", kSetting4);
    v("kPaperSize", kPaperSize);
    v("kColourSetting", kColourSetting);
    v("kFlag16", kFlag16);
    v("kCheckDYIN", kCheckDYIN);
    v("kButtonName", kButtonName);
    v("kDefaultFileName", kDefaultFileName);
    v("kHistory", kHistory);
    v("kFolder", kFolder);
    v("kOCRApp", kOCRApp);
    v("kTag", kTag);
    v("kCustomSize", kCustomSize);
    v("kJPEG", kJPEG);
    v("kPICT", kPICT);
    v("kTIFF", kTIFF);
    v("kCheckEZFN", kCheckEZFN);
    v("kFlag3413", kFlag3413);
    v("kSetting3416", kSetting3416);
  }
};
static_assert(PrefLayoutFits<PREF_OCR>());

struct PREF_SAVE : PrefRecordValue<3628>, PrefScanSettings {
  static constexpr size_t kSize = 3628;
  static constexpr PrefU32 kFileType{32};  // 'FTYP'
  static constexpr PrefU8 kCheckUION{36};
  static constexpr PrefU8 kCheckDYIN{37};
  static constexpr PrefU8 kCheckSVAD{38};
  static constexpr PrefStr255 kButtonName{39};
  static constexpr PrefStr255 kDefaultFileName{295};
  static constexpr PrefStr255 kFileName{551};
  static constexpr PrefHistory kHistory{808};
  static constexpr PrefSpec kFolder{3372};
  static constexpr PrefU32 kTag{3444};
  static constexpr PrefDocSize kCustomSize{3448};
  static constexpr PrefSub<StPDFDialog> kPDF{3456};
  static constexpr PrefSub<StJPEGDialog> kJPEG{3568};
  static constexpr PrefSub<StOtherDialog> kPICT{3588};
  static constexpr PrefSub<StOtherDialog> kTIFF{3604};
  static constexpr PrefU8 kCheckFORE{3620};
  static constexpr PrefU8 kCheckEZFN{3621};
  static constexpr PrefU8 kFlag3622{3622};
  static constexpr PrefU32 kSetting3624{3624};
  template <class V>
  static constexpr void ForEachField(V& v) {
    PrefScanSettings::ForEachField(v);
    v("kFileType", kFileType);
    v("kCheckUION", kCheckUION);
    v("kCheckDYIN", kCheckDYIN);
    v("kCheckSVAD", kCheckSVAD);
    v("kButtonName", kButtonName);
    v("kDefaultFileName", kDefaultFileName);
    v("kFileName", kFileName);
    v("kHistory", kHistory);
    v("kFolder", kFolder);
    v("kTag", kTag);
    v("kCustomSize", kCustomSize);
    v("kPDF", kPDF);
    v("kJPEG", kJPEG);
    v("kPICT", kPICT);
    v("kTIFF", kTIFF);
    v("kCheckFORE", kCheckFORE);
    v("kCheckEZFN", kCheckEZFN);
    v("kFlag3622", kFlag3622);
    v("kSetting3624", kSetting3624);
  }
};
static_assert(PrefLayoutFits<PREF_SAVE>());

struct PREF_FILE : PrefRecordValue<3684> {
  static constexpr size_t kSize = 3684;
  static constexpr PrefU32 kCurrentTab{0};  // 0 no tabs, 1-3
  static constexpr PrefU32 kSetting4{4};
  static constexpr PrefU32 kSetting8{8};
  static constexpr PrefU32 kPaperSize{12};
  static constexpr PrefU32 kSetting16{16};
  static constexpr PrefU8 kFlag20{20};
  static constexpr PrefU8 kFlag21{21};
  static constexpr PrefStr255 kButtonName{22};
  static constexpr PrefStr255 kDefaultFileName{278};
  static constexpr PrefStr255 kFileName{534};
  static constexpr PrefHistory kHistory{792};
  static constexpr PrefSpec kFolder{3356};
  static constexpr PrefSpec kTargetApp{3426};
  static constexpr PrefU32 kTag{3496};
  static constexpr PrefDocSize kCustomSize{3500};
  static constexpr PrefSub<StPDFDialog> kPDF{3508};
  static constexpr PrefSub<StJPEGDialog> kJPEG{3620};
  static constexpr PrefSub<StOtherDialog> kPICT{3640};
  static constexpr PrefSub<StOtherDialog> kTIFF{3656};
  static constexpr PrefU8 kFlag3672{3672};
  static constexpr PrefU8 kFlag3673{3673};
  static constexpr PrefU8 kFlag3674{3674};
  static constexpr PrefU8 kFlag3675{3675};
  static constexpr PrefU32 kSetting3676{3676};
  static constexpr PrefU8 kFlag3680{3680};
  static constexpr PrefU8 kButtonPending{3681};  // tested and cleared by the scanner-button dispatch
  template <class V>
  static constexpr void ForEachField(V& v) {
    v("kCurrentTab", kCurrentTab);
    v("kSetting4", kSetting4);
    v("kSetting8", kSetting8);
    v("kPaperSize", kPaperSize);
    v("kSetting16", kSetting16);
    v("kFlag20", kFlag20);
    v("kFlag21", kFlag21);
    v("kButtonName", kButtonName);
    v("kDefaultFileName", kDefaultFileName);
    v("kFileName", kFileName);
    v("kHistory", kHistory);
    v("kFolder", kFolder);
    v("kTargetApp", kTargetApp);
    v("kTag", kTag);
    v("kCustomSize", kCustomSize);
    v("kPDF", kPDF);
    v("kJPEG", kJPEG);
    v("kPICT", kPICT);
    v("kTIFF", kTIFF);
    v("kFlag3672", kFlag3672);
    v("kFlag3673", kFlag3673);
    v("kFlag3674", kFlag3674);
    v("kFlag3675", kFlag3675);
    v("kSetting3676", kSetting3676);
    v("kFlag3680", kFlag3680);
    v("kButtonPending", kButtonPending);
  }
};
static_assert(PrefLayoutFits<PREF_FILE>());

struct PREF_SCANX : PrefRecordValue<3444>, PrefScanSettings {
  static constexpr size_t kSize = 3444;
  static constexpr PrefU32 kFileType{32};
  static constexpr PrefU8 kCheckUION{36};
  static constexpr PrefU8 kCheckDYIN{37};
  static constexpr PrefU8 kCheckSVAD{38};
  static constexpr PrefStr255 kButtonName{39};
  static constexpr PrefStr255 kDefaultFileName{295};
  static constexpr PrefHistory kHistory{552};
  static constexpr PrefSpec kFolder{3116};
  static constexpr PrefSpec kTargetApp{3186};
  static constexpr PrefU32 kTag{3256};
  static constexpr PrefDocSize kCustomSize{3260};
  static constexpr PrefU8 kCheckFIRE{3268};
  static constexpr PrefSub<StJPEGDialog> kJPEG{3384};
  static constexpr PrefSub<StOtherDialog> kPICT{3404};
  static constexpr PrefSub<StOtherDialog> kTIFF{3420};
  static constexpr PrefU8 kCheckEZFN{3436};
  static constexpr PrefU8 kFlag3437{3437};
  template <class V>
  static constexpr void ForEachField(V& v) {
    PrefScanSettings::ForEachField(v);
    v("kFileType", kFileType);
    v("kCheckUION", kCheckUION);
    v("kCheckDYIN", kCheckDYIN);
    v("kCheckSVAD", kCheckSVAD);
    v("kButtonName", kButtonName);
    v("kDefaultFileName", kDefaultFileName);
    v("kHistory", kHistory);
    v("kFolder", kFolder);
    v("kTargetApp", kTargetApp);
    v("kTag", kTag);
    v("kCustomSize", kCustomSize);
    v("kCheckFIRE", kCheckFIRE);
    v("kJPEG", kJPEG);
    v("kPICT", kPICT);
    v("kTIFF", kTIFF);
    v("kCheckEZFN", kCheckEZFN);
    v("kFlag3437", kFlag3437);
  }
};
static_assert(PrefLayoutFits<PREF_SCANX>());

struct PREF_SETTING : PrefRecordValue<932> {
  static constexpr size_t kSize = 932;
  static constexpr uint32_t kSlots = 4;
  static constexpr PrefStr255 kModelName{0};
  static constexpr PrefU32 kButtonSlot0{256};  // slot k at 256 + 4k: the function number it runs
  static constexpr PrefU32 kButtonSlot1{260};
  static constexpr PrefU32 kButtonSlot2{264};
  static constexpr PrefU32 kButtonSlot3{268};
  static constexpr PrefStr255 kButtonName{272};
  static constexpr PrefU32 kTag{528};
  static constexpr PrefU8 kTWAIN{532};
  static constexpr PrefStr255 kPopupText{533};
  static constexpr PrefU8 kFilmAdapter{789};
  static constexpr PrefU8 kQuitOption{790};
  static constexpr PrefU8 kCheckDone{791};
  static constexpr PrefSpec kTempFolder{792};
  static constexpr PrefSpec kTempBase{862};
  static constexpr PrefU32 ButtonSlot(uint32_t k) {
    if (k >= kSlots) throw std::out_of_range("button slot outside the slots");
    return PrefU32{256 + 4 * size_t(k)};
  }
  template <class V>
  static constexpr void ForEachField(V& v) {
    v("kModelName", kModelName);
    v("kButtonSlot0", kButtonSlot0);
    v("kButtonSlot1", kButtonSlot1);
    v("kButtonSlot2", kButtonSlot2);
    v("kButtonSlot3", kButtonSlot3);
    v("kButtonName", kButtonName);
    v("kTag", kTag);
    v("kTWAIN", kTWAIN);
    v("kPopupText", kPopupText);
    v("kFilmAdapter", kFilmAdapter);
    v("kQuitOption", kQuitOption);
    v("kCheckDone", kCheckDone);
    v("kTempFolder", kTempFolder);
    v("kTempBase", kTempBase);
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

  static constexpr PrefU32 kMark{0};
  static constexpr PrefStr255 kMake{4};
  static constexpr PrefStr255 kSoftware{260};
  static constexpr PrefStr255 kModel{516};
  static constexpr PrefU32 kKept772{772};
  static constexpr PrefU32 kColourPage{776};
  static constexpr PrefU32 kWidth{780};
  static constexpr PrefU32 kHeight{784};
  static constexpr PrefU32 kKept788{788};
  static constexpr PrefU32 kKept792{792};
  static constexpr PrefI16 kXResolution{796};
  static constexpr PrefI16 kYResolution{800};
  static constexpr PrefStr255 kDateTime{1074};
  static constexpr PrefU32 kSource{1332};  // Exif FileSource = 2 - value
  static constexpr PrefU8 kTitleEnable{1336};
  static constexpr PrefStr255 kTitle{1337};
  static constexpr PrefU8 kAuthorEnable{1593};
  static constexpr PrefStr255 kAuthor{1594};
  static constexpr PrefU8 kShootDateEnable{1850};
  static constexpr PrefStr255 kShootDate{1851};
  static constexpr PrefU32 kYearIndex{2108};  // year - 1899
  static constexpr PrefU32 kMonth{2112};
  static constexpr PrefU32 kDay{2116};
  static constexpr PrefU8 kShutterEnable{2128};
  static constexpr PrefIndex kShutterIndex{2132, kShutterEntries};
  static constexpr PrefU8 kApertureEnable{2136};
  static constexpr PrefIndex kApertureIndex{2140, kApertureEntries};
  static constexpr PrefU8 kFlashEnable{2144};
  static constexpr PrefIndex8 kFlashIndex{2145, kFlashEntries};
  static constexpr PrefU8 kISOEnable{2160};
  static constexpr PrefIndex kISOIndex{2164, kISOEntries};
  static constexpr PrefU8 kCommentEnable{2168};
  static constexpr PrefStr255 kComment{2169};
  static constexpr PrefU8 kSceneEnable{2425};
  static constexpr PrefIndex kSceneValue{2428, kSceneEntries};  // Exif SceneCaptureType = value - 1
  static constexpr PrefU8 kExposureModeEnable{2432};
  static constexpr PrefIndex kExposureModeIndex{2436, kExposureModeEntries};
  static constexpr PrefU8 kKept2440{2440};
  static constexpr PrefU8 kIsDefault{2441};
  template <class V>
  static constexpr void ForEachField(V& v) {
    v("kMark", kMark);
    v("kMake", kMake);
    v("kSoftware", kSoftware);
    v("kModel", kModel);
    v("kKept772", kKept772);
    v("kColourPage", kColourPage);
    v("kWidth", kWidth);
    v("kHeight", kHeight);
    v("kKept788", kKept788);
    v("kKept792", kKept792);
    v("kXResolution", kXResolution);
    v("kYResolution", kYResolution);
    v("kDateTime", kDateTime);
    v("kSource", kSource);
    v("kTitleEnable", kTitleEnable);
    v("kTitle", kTitle);
    v("kAuthorEnable", kAuthorEnable);
    v("kAuthor", kAuthor);
    v("kShootDateEnable", kShootDateEnable);
    v("kShootDate", kShootDate);
    v("kYearIndex", kYearIndex);
    v("kMonth", kMonth);
    v("kDay", kDay);
    v("kShutterEnable", kShutterEnable);
    v("kShutterIndex", kShutterIndex);
    v("kApertureEnable", kApertureEnable);
    v("kApertureIndex", kApertureIndex);
    v("kFlashEnable", kFlashEnable);
    v("kFlashIndex", kFlashIndex);
    v("kISOEnable", kISOEnable);
    v("kISOIndex", kISOIndex);
    v("kCommentEnable", kCommentEnable);
    v("kComment", kComment);
    v("kSceneEnable", kSceneEnable);
    v("kSceneValue", kSceneValue);
    v("kExposureModeEnable", kExposureModeEnable);
    v("kExposureModeIndex", kExposureModeIndex);
    v("kKept2440", kKept2440);
    v("kIsDefault", kIsDefault);
  }
};
static_assert(PrefLayoutFits<EXIF_PREF>());

// ---- The whole configuration ---------------------------------------------------------------

struct PREF_ALL {
  static constexpr size_t kSize = 58084;
  static constexpr uint32_t kFileRecords = 5;
  static constexpr PrefSub<PREF_COPY> kCopy{0};
  static constexpr PrefSub<PREF_PRINT> kPrint{340};
  static constexpr PrefSub<PREF_MAIL> kMail{668};
  static constexpr PrefSub<PREF_OCR> kOCR{22276};
  static constexpr PrefSub<PREF_SAVE> kSave{25696};
  static constexpr size_t kFile0 = 29324;  // five PREF_FILE records, one after the other
  static constexpr PrefSub<PREF_SCANX> kScan1{47744};
  static constexpr PrefSub<PREF_SCANX> kScan2{51188};
  static constexpr PrefSub<PREF_SETTING> kSetting{54632};
  static constexpr PrefI16 kWindowTop{55564};  // 0 = default position
  static constexpr PrefI16 kWindowLeft{55566};
  static constexpr PrefSub<EXIF_PREF> kExif{55568};
  static constexpr PrefSpec kLastEventFile{58012};
  static constexpr PrefU16 kLastButton{58082};

  static constexpr PrefSub<PREF_FILE> File(uint32_t k) {
    if (k >= kFileRecords) throw std::out_of_range("File record outside the five");
    return PrefSub<PREF_FILE>{kFile0 + size_t(k) * PREF_FILE::kSize};
  }

  static constexpr bool kFits = PrefLayoutFits(
      {Span(kCopy), Span(kPrint), Span(kMail), Span(kOCR), Span(kSave),
       PrefSpan{kFile0, kFileRecords * PREF_FILE::kSize}, Span(kScan1), Span(kScan2), Span(kSetting),
       Span(kWindowTop), Span(kWindowLeft), Span(kExif), Span(kLastEventFile), Span(kLastButton)},
      kSize);
};
static_assert(PREF_ALL::kFits);
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
