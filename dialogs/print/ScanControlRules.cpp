#include "ScanControlRules.h"

#include <algorithm>
#include <iterator>

#include "prefs/LanguageTables.h"
#include "prefs/PrefRecords.h"
#include "prefs/WXModels.h"

const int16_t Percent_J[9] = {25, 47, 70, 86, 100, 115, 141, 200, 400};
const int16_t Percent_E[7] = {25, 47, 70, 100, 141, 200, 400};

namespace {

constexpr size_t kSource = PrefScanSettings::kSource.off;
constexpr size_t kLastSource = PrefScanSettings::kLastSource.off;
constexpr size_t kImageMode = PrefScanSettings::kImageMode.off;
constexpr size_t kImageMode2 = PrefScanSettings::kImageMode2.off;
constexpr size_t kResolution = PrefScanSettings::kResolution.off;
constexpr size_t kResolution2 = PrefScanSettings::kResolution2.off;
constexpr size_t kPaperSize = PrefScanSettings::kPaperSize.off;
constexpr size_t kPaperSize2 = PrefScanSettings::kPaperSize2.off;
constexpr size_t kScale = PREF_COPY::kScale.off;
constexpr size_t kScale2 = PREF_COPY::kScale2.off;
constexpr size_t kCustomPercent = PREF_COPY::kCustomPercent.off;
constexpr int32_t kMinCustomPercent = 25;
constexpr int32_t kMaxCustomPercent = 400;
constexpr int16_t kScaleMenu = 1011;
constexpr int16_t kFitScaleMenu = 1013;
constexpr int32_t kFitScaleItem = 2;
constexpr uint16_t kNoFilmProduct = 0x1240;
constexpr uint16_t kFilmMenuProduct = 0x1120;

// (popup item, image-mode code) of the document glass.
constexpr int32_t kImageModes[][2] = {{1, 1}, {2, 2}, {3, 7}, {4, 3}, {5, 4}, {6, 5}, {7, 6}};

bool IsCopy(const ScanRuleParams& p) { return p.kind == ScanDialogKind::Copy; }
bool UIOn(const ScanRuleState& s, const ScanRuleParams& p) { return s.work.u8(p.uionOffset) != 0; }
int32_t Field(const ScanRuleState& s, size_t off) { return s.work.i32(off); }
void SetField(const ScanRuleState& s, size_t off, int32_t v) { s.work.setI32(off, v); }
int32_t Code(const ScanRuleState& s) { return GetImageMode(s.controls.mode.value, s.controls.imag.value); }
int32_t LastSource(const ScanRuleState& s) { return Field(s, kLastSource) == 2 ? 2 : 1; }

void SetMenu(RulePopup& popup, const ScanRuleParams& p, int16_t menuID) {
  popup.menuID = menuID;
  popup.items = p.menuItems ? p.menuItems(menuID) : 0;
  popup.disabledItems = 0;
}

// Shows the stored item, first brought into the menu so what is written back stays valid.
void ShowItem(const ScanRuleState& s, RulePopup& popup, size_t off) {
  int32_t item = std::clamp(Field(s, off), 1, std::max(popup.items, 1));
  SetField(s, off, item);
  popup.value = item;
}

int16_t FilmImageMenu(const ScanRuleParams& p) {
  return p.productID == kFilmMenuProduct ? p.filmImageMenu1120 : static_cast<int16_t>(p.menuBase + 2);
}

int16_t GlassResolutionMenu(int32_t code, const ScanRuleParams& p) {
  return static_cast<int16_t>(p.menuBase + (code == 1 || code == 2 || code == 7 ? 3 : 4));
}

int32_t OutputResolution(int32_t item) { return item >= 1 && item <= 3 ? 150 << (item - 1) : 0; }

// The document's size in tenths of a millimetre for the chosen paper item.
PaperSizeRow DocumentSize(const ScanRuleState& s, const ScanRuleParams& p) {
  if (s.controls.size.value == p.customSizeItem)
    return {s.work.u16(p.customSizeOffset), s.work.u16(p.customSizeOffset + 2)};
  return PaperSizeAt(s.controls.size.value);
}

std::optional<PageFacts> Page(const ScanRuleParams& p) { return p.pageFacts ? p.pageFacts() : std::nullopt; }

// A control's new item goes to the field of the source it was chosen for; none for source 3.
void StoreBySource(const ScanRuleState& s, size_t glass, size_t film, int32_t value) {
  int32_t source = s.controls.mode.value;
  if (source == 1 || source == 2) SetField(s, source == 1 ? glass : film, value);
}

void ShowLastSourceImageMode(ScanRuleState& s, const ScanRuleParams& p, int32_t source) {
  RulePopup& imag = s.controls.imag;
  if (source == 1) {
    SetMenu(imag, p, static_cast<int16_t>(p.menuBase + 1));
    imag.value = GetImageModePopupNum(Field(s, kImageMode), 1);
    SetField(s, kImageMode, GetImageMode(1, imag.value));
  } else {
    SetMenu(imag, p, FilmImageMenu(p));
    ShowItem(s, imag, kImageMode2);
  }
}

}  // namespace

bool RulePopup::ItemEnabled(int32_t item) const {
  return item < 1 || item > 32 || (disabledItems & (1u << (item - 1))) == 0;
}

void RulePopup::DisableItem(int32_t item) {
  if (item >= 1 && item <= 32) disabledItems |= 1u << (item - 1);
}

int32_t FixedScalePercent(int32_t item, bool japanese) {
  const int16_t* percent = japanese ? Percent_J : Percent_E;
  int32_t count = japanese ? std::size(Percent_J) : std::size(Percent_E);
  return item >= 1 && item <= count ? percent[item - 1] : 100;
}

CustomPercentCheck CheckCustomPercent(long typed) {
  if (typed >= kMinCustomPercent && typed <= kMaxCustomPercent) return {true, static_cast<int32_t>(typed)};
  return {false, typed < kMinCustomPercent ? kMinCustomPercent : kMaxCustomPercent};
}

int32_t ScanImageModeCode(int32_t code, int32_t source, uint16_t productID) {
  return productID == kFilmMenuProduct && source == 2 ? code + 10 : code;
}

int32_t GetImageMode(int32_t source, int32_t item) {
  if (source != 1) return item;
  for (const auto& row : kImageModes)
    if (row[0] == item) return row[1];
  return 3;
}

int32_t GetImageModePopupNum(int32_t code, int32_t source) {
  if (source != 1) return code;
  for (const auto& row : kImageModes)
    if (row[1] == code) return row[0];
  return 4;
}

bool IsStitchDisregardUI(const ScanRuleState& s, const ScanRuleParams& p) {
  int32_t size = s.controls.size.value;
  return s.controls.mode.value == 1 && size != 0 && std::find(std::begin(p.stitchItems), std::end(p.stitchItems), size) != std::end(p.stitchItems);
}

bool IsStitch(const ScanRuleState& s, const ScanRuleParams& p) { return !UIOn(s, p) && IsStitchDisregardUI(s, p); }

int32_t ResolutionValue(const ScanRuleState& s) {
  return s.controls.mode.value == 3 ? 300 : OutputResolution(s.controls.resl.value);
}

double FitFactor(long width, long height, const std::optional<PageFacts>& page) {
  if (!page) return 1.0;
  double w = CWXUtility::mm10_to_pixel(width, page->resolution);
  double h = CWXUtility::mm10_to_pixel(height, page->resolution);
  if (w <= 0 || h <= 0 || page->width <= 0 || page->height <= 0) return 1.0;
  return w / h > page->width / page->height ? page->width / w : page->height / h;
}

int32_t CalcInputResolutionValue(const ScanRuleState& s, const ScanRuleParams& p, int32_t outputResolution) {
  double f = 1.0;
  if (Field(s, kSource) == 1) {
    int32_t item = Field(s, kScale);
    int32_t code = Code(s);
    if (item == Copy_Popup_Custom) {
      f = Field(s, kCustomPercent) / 100.0;
    } else if (item == Copy_Popup_FitPaper) {
      if (code != 5 && code != 6) {
        PaperSizeRow doc = DocumentSize(s, p);
        f = FitFactor(doc.width, doc.height, Page(p));
      }
    } else {
      f = FixedScalePercent(item, p.japanese) / 100.0;
    }
  } else if (Field(s, kScale2) == kFitScaleItem) {
    PaperSizeRow doc = PaperSizeAt(p.japanese ? Paper_Size_L_Landscape : Paper_Size_Postcard_6X4);
    f = FitFactor(doc.width, doc.height, Page(p));
  }
  return static_cast<int32_t>(outputResolution * f + 0.5);
}

void SetModePopup(ScanRuleState& s, const ScanRuleParams& p) { s.controls.mode.enabled = !UIOn(s, p); }

void SetImageModePopup(ScanRuleState& s, const ScanRuleParams& p) {
  RulePopup& imag = s.controls.imag;
  int32_t source = s.controls.mode.value;
  if (source == 1) {
    ShowLastSourceImageMode(s, p, 1);
    imag.enabled = true;
  } else if (source == 2) {
    if (Field(s, kImageMode2) == 3) SetField(s, kImageMode2, 2);
    ShowLastSourceImageMode(s, p, 2);
    imag.enabled = true;
    imag.DisableItem(3);
  } else {
    ShowLastSourceImageMode(s, p, LastSource(s));
    imag.enabled = false;
  }
  if (UIOn(s, p)) imag.enabled = false;
  if (IsStitch(s, p)) {
    imag.DisableItem(6);
    imag.DisableItem(7);
  }
  if (source != 3) SetField(s, kLastSource, source);
}

void SetResolutionPopup(ScanRuleState& s, const ScanRuleParams& p) {
  RulePopup& resl = s.controls.resl;
  int32_t source = s.controls.mode.value;
  int32_t code = Code(s);
  if (source == 1) {
    SetMenu(resl, p, GlassResolutionMenu(code, p));
    ShowItem(s, resl, kResolution);
    double width = DocumentSize(s, p).width;
    if (IsStitchDisregardUI(s, p)) width *= 2;
    // At this resolution the width is 12288 pixels, the most a scan line may hold.
    if (width > 0) {
      double limit = 3121102.848 / width;
      for (int32_t i = resl.items; i >= 1; --i) {
        int32_t out = OutputResolution(i);
        if (limit < (IsCopy(p) ? CalcInputResolutionValue(s, p, out) : out)) {
          resl.DisableItem(i);
          continue;
        }
        if (Field(s, kResolution) > i) SetField(s, kResolution, i);
        break;
      }
    }
    resl.value = Field(s, kResolution);
    resl.enabled = true;
  } else if (source == 2) {
    SetMenu(resl, p, static_cast<int16_t>(p.menuBase + 5));
    if (IsCopy(p) && code == 3) {
      resl.DisableItem(2);
      resl.DisableItem(3);
      SetField(s, kResolution2, 1);
    }
    ShowItem(s, resl, kResolution2);
    resl.enabled = true;
  } else {
    if (LastSource(s) == 1) {
      SetMenu(resl, p, GlassResolutionMenu(code, p));
      ShowItem(s, resl, kResolution);
    } else {
      SetMenu(resl, p, static_cast<int16_t>(p.menuBase + 5));
      ShowItem(s, resl, kResolution2);
    }
    resl.enabled = false;
  }
  if (UIOn(s, p)) resl.enabled = false;
}

void SetSizePopup(ScanRuleState& s, const ScanRuleParams& p) {
  RulePopup& size = s.controls.size;
  int32_t source = s.controls.mode.value;
  int32_t code = Code(s);
  int32_t shown = source == 3 ? LastSource(s) : source;
  SetMenu(size, p, static_cast<int16_t>(p.menuBase + (shown == 1 ? 7 : 8)));
  ShowItem(s, size, shown == 1 ? kPaperSize : kPaperSize2);
  if (source == 1) size.enabled = code != 5 && code != 6;
  else if (source == 2) size.enabled = code != 3;
  else size.enabled = false;
  if (UIOn(s, p)) size.enabled = false;
}

void SetBrightness(ScanRuleState& s, const ScanRuleParams& p) {
  int32_t code = Code(s);
  bool on = s.controls.mode.value == 1 && code != 5 && code != 6 && !UIOn(s, p);
  s.controls.brightnessEnabled = on;
  s.controls.brightness = on ? Field(s, p.brightnessOffset) : 4;
}

void SetFitPaperButton(ScanRuleState& s, const ScanRuleParams& p) {
  if (!IsCopy(p)) return;
  RulePopup& scal = s.controls.scal;
  int32_t source = s.controls.mode.value;
  if (source == 1) {
    if (scal.menuID == kFitScaleMenu && scal.value == kFitScaleItem) SetField(s, kScale, Copy_Popup_FitPaper);
    SetMenu(scal, p, kScaleMenu);
    ShowItem(s, scal, kScale);
    scal.enabled = true;
  } else if (source == 2) {
    if (scal.menuID == kScaleMenu && !s.initialising)
      SetField(s, kScale2, scal.value == Copy_Popup_FitPaper ? kFitScaleItem : 1);
    SetMenu(scal, p, kFitScaleMenu);
    ShowItem(s, scal, kScale2);
    scal.enabled = true;
  } else {
    bool glass = LastSource(s) == 1;
    SetMenu(scal, p, glass ? kScaleMenu : kFitScaleMenu);
    ShowItem(s, scal, glass ? kScale : kScale2);
    scal.enabled = false;
  }
  if (UIOn(s, p)) scal.enabled = false;
  // At 600 dpi output the copy is always at 100 %.
  if (ResolutionValue(s) > 599) {
    if (source == 1) SetField(s, kScale, Copy_Popup_100Percent);
    if (source == 2) SetField(s, kScale2, 1);
    if (source == 1 || source == 2) scal.value = Field(s, source == 1 ? kScale : kScale2);
    scal.enabled = false;
  }
}

void SetAllControls(ScanRuleState& s, const ScanRuleParams& p) {
  ScanControls& c = s.controls;
  SetMenu(c.mode, p, p.menuBase);
  if (p.productID == kNoFilmProduct || !p.filmAdapter) {
    c.mode.items = 1;
    SetField(s, kSource, 1);
  }
  ShowItem(s, c.mode, kSource);
  SetField(s, kLastSource, LastSource(s));
  if (IsCopy(p)) SetField(s, kCustomPercent, std::clamp(Field(s, kCustomPercent), kMinCustomPercent, kMaxCustomPercent));
  c.imag.value = GetImageModePopupNum(Field(s, kImageMode), 1);
  c.resl.value = Field(s, kResolution);
  c.size.value = Field(s, kPaperSize);
  SetField(s, p.brightnessOffset, std::clamp(Field(s, p.brightnessOffset), 1, p.brightnessMax));
  c.brightness = Field(s, p.brightnessOffset);
  c.scal.value = Field(s, kScale);
  SetModePopup(s, p);
  SetImageModePopup(s, p);
  SetResolutionPopup(s, p);
  SetSizePopup(s, p);
  SetBrightness(s, p);
  SetFitPaperButton(s, p);
}

void OnModeChanged(ScanRuleState& s, const ScanRuleParams& p, int32_t value) {
  if (value != 3) SetField(s, kLastSource, Field(s, kSource));
  SetField(s, kSource, value);
  s.controls.mode.value = value;
  SetImageModePopup(s, p);
  SetResolutionPopup(s, p);
  SetSizePopup(s, p);
  SetBrightness(s, p);
  SetFitPaperButton(s, p);
  SetImageModePopup(s, p);
}

void OnImageModeChanged(ScanRuleState& s, const ScanRuleParams& p, int32_t value) {
  s.controls.imag.value = value;
  StoreBySource(s, kImageMode, kImageMode2, GetImageMode(s.controls.mode.value, value));
  SetResolutionPopup(s, p);
  SetSizePopup(s, p);
  SetBrightness(s, p);
  SetFitPaperButton(s, p);
}

void OnResolutionChanged(ScanRuleState& s, const ScanRuleParams& p, int32_t value) {
  s.controls.resl.value = value;
  StoreBySource(s, kResolution, kResolution2, value);
  SetImageModePopup(s, p);
  SetSizePopup(s, p);
  SetFitPaperButton(s, p);
}

void OnSizeChanged(ScanRuleState& s, const ScanRuleParams& p, int32_t value, const std::function<void()>& askCustom) {
  s.controls.size.value = value;
  StoreBySource(s, kPaperSize, kPaperSize2, value);
  if (value == p.customSizeItem && askCustom) askCustom();
  SetResolutionPopup(s, p);
  SetImageModePopup(s, p);
}

void OnScaleChanged(ScanRuleState& s, const ScanRuleParams& p, int32_t value, const std::function<void()>& askCustom) {
  s.controls.scal.value = value;
  StoreBySource(s, kScale, kScale2, value);
  if (s.controls.mode.value == 1 && value == Copy_Popup_Custom && askCustom) askCustom();
  SetResolutionPopup(s, p);
}

void OnBrightnessChanged(ScanRuleState& s, const ScanRuleParams& p, int32_t value) {
  SetField(s, p.brightnessOffset, value);
  s.controls.brightness = value;
}

void OnUIChanged(ScanRuleState& s, const ScanRuleParams& p, int32_t value) {
  s.work.setU8(p.uionOffset, static_cast<uint8_t>(value != 0));
  SetModePopup(s, p);
  SetImageModePopup(s, p);
  SetResolutionPopup(s, p);
  SetSizePopup(s, p);
  SetFitPaperButton(s, p);
  SetBrightness(s, p);
}
