#include "dialogs/file/ScanSettingRules.h"

#include <algorithm>

namespace ScanSettingRules {

namespace {

struct ModePair {
  long item;
  long code;
};
constexpr ModePair kPlatenModes[] = {{1, 1}, {2, 2}, {3, 7}, {4, 3}, {5, 4}, {6, 5}, {7, 6}};

constexpr long kPlatenResolutions[kResolutionItems] = {75, 100, 150, 200, 300, 400, 600, 800, 1200};
constexpr long kFilmResolutions[] = {150, 300, 600};

// 4,096 pixels over a width in tenths of a millimetre, as dots per inch times the width.
constexpr double kPictPixelsTimesTenthMM = 1040367.616;

uint16_t Items(std::initializer_list<uint32_t> items) {
  uint16_t mask = 0;
  for (uint32_t n : items) mask = uint16_t(mask | (1u << n));
  return mask;
}

// Disables `items` and lowers the stored item to `cap` when it is above it.
void Limit(ResolutionChoice& choice, uint16_t items, uint32_t cap) {
  choice.disabled = uint16_t(choice.disabled | items);
  choice.item = std::min(choice.item, cap);
}

}  // namespace

long ImageModeOfItem(long item, long source) {
  if (source != kSourcePlaten) return item;
  for (const ModePair& pair : kPlatenModes)
    if (pair.item == item) return pair.code;
  return 3;
}

long ItemOfImageMode(long code, long source) {
  if (source != kSourcePlaten) return code;
  for (const ModePair& pair : kPlatenModes)
    if (pair.code == code) return pair.item;
  return 4;
}

long ResolutionOfItem(long item, long source) {
  if (source == kSourcePlaten) return kPlatenResolutions[std::clamp<long>(item, 1, kResolutionItems) - 1];
  if (source == kSourceFilm) return kFilmResolutions[std::clamp<long>(item, 1, 3) - 1];
  return 300;
}

bool AdobeRGBAllowed(long source, long imageMode, uint32_t fileType) {
  const bool colourless = source == kSourcePlaten && (imageMode == 1 || imageMode == 2 || imageMode == 7);
  return !colourless && fileType == kTypeJPEG;
}

ResolutionChoice ChooseResolution(const ResolutionSetting& setting) {
  ResolutionChoice choice{std::clamp<uint32_t>(setting.item, 1, kResolutionItems), 0};
  if (setting.fileType >= kTypeFirstPDF)
    Limit(choice, Items({7, 8, 9}), 6);
  else if (setting.stitch)
    Limit(choice, Items({8, 9}), 7);

  const bool pict = setting.fileType == kTypePICT;
  if (pict && setting.widthTenthMM > 0) {
    const long width = setting.stitchSize ? 2 * setting.widthTenthMM : setting.widthTenthMM;
    const double most = kPictPixelsTimesTenthMM / double(width);
    uint32_t fits = kResolutionItems;
    while (fits > 1 && double(kPlatenResolutions[fits - 1]) > most) --fits;
    for (uint32_t n = fits + 1; n <= kResolutionItems; ++n) Limit(choice, Items({n}), fits);
  }

  if (setting.imageMode == 4 || setting.imageMode == 7) {
    Limit(choice, Items({8, 9}), 7);
  } else if (setting.imageMode == 5 || setting.imageMode == 6) {
    Limit(choice, Items({2, 4, 6, 8, 9}), 7);
    if (choice.item % 2 == 0) --choice.item;
    if (pict) Limit(choice, Items({7}), 5);
  }
  return choice;
}

}  // namespace ScanSettingRules
