// The byte the fake source puts at data byte `x` of row `y` of page `page` (1-based).
#pragma once

inline unsigned char FakePixel(int page, int y, int x) { return static_cast<unsigned char>(y * 7 + x * 13 + page * 31 + 1); }
