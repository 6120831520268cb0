// The rules the Save and custom-scan dialogs share for their popups: image-mode items and
// codes, the resolution of an item, and which resolution items a setting allows.
#pragma once

#include <cstdint>

namespace ScanSettingRules {

// Document sources ('MODE' items).
enum : long { kSourcePlaten = 1, kSourceFilm = 2, kSourceLast = 3 };
// File types of the popups ('FTYP' items); PDF types exist only in the Save dialog.
enum : uint32_t { kTypePICT = 1, kTypeJPEG = 2, kTypeTIFF = 3, kTypeFirstPDF = 4 };
inline constexpr uint32_t kResolutionItems = 9;

// The image-mode code of an 'IMAG' item: through the platen's table for source 1 (3 for an
// item outside it), the item itself for the other sources.
long ImageModeOfItem(long item, long source);
// The reverse: the platen's item of a code (4 for a code outside the table), else the code.
long ItemOfImageMode(long code, long source);

// Dots per inch of a 'RESL' item: the platen's nine, the film adapter's three, 300 for the
// last source. Items past their menu count as its last item.
long ResolutionOfItem(long item, long source);

// Whether a setting may convert to Adobe RGB: colour pages (never the platen's black and
// white, text or grey modes) written as JPEG.
bool AdobeRGBAllowed(long source, long imageMode, uint32_t fileType);

// What the platen's resolution popup allows for a setting.
struct ResolutionSetting {
  uint32_t item;           // the stored item, 1..9
  uint32_t fileType;
  long imageMode;          // code
  bool stitch;             // a stitch size with the driver's window off
  bool stitchSize;         // a stitch size, whatever the driver's window
  long widthTenthMM;       // the document's width (one half of a stitch size)
};
struct ResolutionChoice {
  uint32_t item;           // the stored item, lowered onto an allowed one
  uint16_t disabled;       // bit n: item n is disabled
  bool Enabled(uint32_t n) const { return (disabled & (1u << n)) == 0; }
};
// PDF types stop at 400 dpi, a stitch at 600; a PICT stays under 4,096 pixels across (a
// width of 0 or less sets no limit); codes 4 and 7 stop at 600 dpi, codes 5 and 6 take
// only 75, 150, 300 and (not for PICT) 600 dpi. The item is lowered after each rule, so
// it always ends on an allowed item.
ResolutionChoice ChooseResolution(const ResolutionSetting& setting);

}  // namespace ScanSettingRules
