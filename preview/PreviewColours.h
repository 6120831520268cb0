// The colours of the preview's page view and its cells.
#pragma once

#include "quickdraw/QuickDraw.h"

namespace PreviewColours {
inline constexpr RGBColor kBackground{0x8080, 0x8080, 0x8080};
inline constexpr RGBColor kSelection{0x6666, 0x8787, 0xD6D6};
inline constexpr RGBColor kCell{0xFFFF, 0xFFFF, 0xFFFF};
}  // namespace PreviewColours
