// Font faces: family numbers to fontconfig matches, FreeType faces sized and cached.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

#include "quickdraw/QuickDraw.h"

struct qdFace {
  FT_Face face = nullptr;
  bool synthBold = false;    // the match has no bold: embolden the outlines
  bool synthItalic = false;  // no italic: slant the outlines
  int ascent = 0, descent = 0, leading = 0, widMax = 0;
};

// The face for a family number, size (0 = 12) and face bits; null when no font is found.
const qdFace* qdFindFace(SInt16 family, SInt16 size, Style face);
// The family name fontconfig uses for a number ("" when unknown).
std::string qdFamilyName(SInt16 family);
