// The rules that keep the scan controls of the Copy and Print dialogs consistent with the
// scanner, the source and the image mode: plain functions over the dialog's working record
// and a description of its popups, so both dialogs share them and a test can drive them
// without a window. A dialog copies the resulting popup states onto its panes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "toolbox/RecordAccess.h"

// What a popup shows: its menu, the chosen item, and which items can be chosen.
struct RulePopup {
  int16_t menuID = 0;
  int32_t value = 0;
  int32_t items = 0;
  bool enabled = true;
  uint32_t disabledItems = 0;  // bit i - 1 for item i

  bool ItemEnabled(int32_t item) const;
  void DisableItem(int32_t item);
};

struct ScanControls {
  RulePopup mode, imag, resl, size, scal;
  int32_t brightness = 0;
  bool brightnessEnabled = true;
};

// The printer's page as the fit-to-paper factor needs it: horizontal resolution and the
// page rectangle in printer pixels.
struct PageFacts {
  int16_t resolution = 0;
  double width = 0, height = 0;
};

enum class ScanDialogKind { Copy, Print };

// What differs between the dialogs, and what the dialog knows of the scanner and language.
struct ScanRuleParams {
  ScanDialogKind kind = ScanDialogKind::Copy;
  int16_t menuBase = 1000;          // source menu; image modes +1, film image modes +2, ...
  int16_t filmImageMenu1120 = 1014;  // the film image modes of product 0x1120
  size_t customSizeOffset = 312;    // u16 width, u16 height, u32 unit
  size_t brightnessOffset = 32;
  int32_t brightnessMax = 7;  // levels run from 1
  size_t uionOffset = 48;
  uint16_t productID = 0;
  bool filmAdapter = false;
  int32_t stitchItems[3] = {0, 0, 0};
  int32_t customSizeItem = 0;
  int32_t (*menuItems)(int16_t menuID) = nullptr;
  // The page of the current print settings; nothing when no session can be opened.
  std::optional<PageFacts> (*pageFacts)() = nullptr;
  bool japanese = false;
};

struct ScanRuleState {
  RecordBytes work;
  ScanControls controls;
  bool initialising = false;
};

// Copy's magnification menus: percent of each fixed item, by language.
extern const int16_t Percent_J[9];
extern const int16_t Percent_E[7];

// Percent of a fixed item of Copy's magnification menu; 100 for any other item.
int32_t FixedScalePercent(int32_t item, bool japanese);

// A custom magnification typed by the user (text that reads as no number is 0): accepted
// from 25 to 400 percent; otherwise `value` is the nearer bound the field is to show.
struct CustomPercentCheck {
  bool accepted;
  int32_t value;
};
CustomPercentCheck CheckCustomPercent(long typed);

// The image-mode code handed to the scan: the film modes of product 0x1120 count from 11.
int32_t ScanImageModeCode(int32_t code, int32_t source, uint16_t productID);

int32_t GetImageMode(int32_t source, int32_t item);
int32_t GetImageModePopupNum(int32_t code, int32_t source);
bool IsStitch(const ScanRuleState& s, const ScanRuleParams& p);
bool IsStitchDisregardUI(const ScanRuleState& s, const ScanRuleParams& p);

// Output resolution of the chosen "RESL" item (300 for the third source).
int32_t ResolutionValue(const ScanRuleState& s);
// Scan resolution for an output resolution at Copy's magnification.
int32_t CalcInputResolutionValue(const ScanRuleState& s, const ScanRuleParams& p, int32_t outputResolution);
// Factor that fits a document of `width` x `height` tenths of a millimetre into the page;
// 1.0 when there is no page or any side is 0.
double FitFactor(long width, long height, const std::optional<PageFacts>& page);

void SetModePopup(ScanRuleState& s, const ScanRuleParams& p);
void SetImageModePopup(ScanRuleState& s, const ScanRuleParams& p);
void SetResolutionPopup(ScanRuleState& s, const ScanRuleParams& p);
void SetSizePopup(ScanRuleState& s, const ScanRuleParams& p);
void SetBrightness(ScanRuleState& s, const ScanRuleParams& p);
void SetFitPaperButton(ScanRuleState& s, const ScanRuleParams& p);

// Every control from the working record (one pass; the dialog runs two).
void SetAllControls(ScanRuleState& s, const ScanRuleParams& p);

// The control handlers: the record takes the control's new value, the others follow.
void OnModeChanged(ScanRuleState& s, const ScanRuleParams& p, int32_t value);
void OnImageModeChanged(ScanRuleState& s, const ScanRuleParams& p, int32_t value);
void OnResolutionChanged(ScanRuleState& s, const ScanRuleParams& p, int32_t value);
// `askCustom` runs the custom-size or custom-percent dialog when that item is chosen.
void OnSizeChanged(ScanRuleState& s, const ScanRuleParams& p, int32_t value, const std::function<void()>& askCustom);
void OnScaleChanged(ScanRuleState& s, const ScanRuleParams& p, int32_t value, const std::function<void()>& askCustom);
void OnBrightnessChanged(ScanRuleState& s, const ScanRuleParams& p, int32_t value);
void OnUIChanged(ScanRuleState& s, const ScanRuleParams& p, int32_t value);
