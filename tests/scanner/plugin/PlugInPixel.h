// The byte the test plug-in delivers at byte `x` of row `y` of page `page` (1-based).
#pragma once

inline unsigned char PlugInPixel(int page, int y, int x) { return static_cast<unsigned char>(y * 11 + x * 5 + page * 17 + 3); }
