// The PDF side of the framework for the file exporter: mode and language, the output file,
// one call per page, the close. Each call returns 1 for success and 0 for failure; with the
// library flag clear every call but pdf_init answers 0 without reaching the framework.
#pragma once

#include <cstdint>

#include "prefs/PrefRecords.h"
#include "toolbox/MacTypes.h"

// One whole page: rows top-down, `rowBytes` apart (even, at least the row's size).
struct tagRAWBITMAP {
  uint8_t* pixels;
  int32_t rowBytes;
  int32_t width;
  int32_t height;
  int32_t resolution;  // dots per inch, both ways
  int32_t kind;        // 1 bilevel (1 = black), 2 grey (0 = black), 3 colour (B, G, R)
};

// Loads the framework and hands it the system's JPEG encoder for grey and colour pages.
long pdf_init();
long pdf_terminate();
// Mode 23 for a small page, else 2 for high compression (word 4 = 2), else 0; the
// language of word 3, switched off (bit 31) when word 0 is 0.
long pdf_modeset(const StPDFDialog* settings, unsigned char smallPage);
// Opens the output job on `destination` (created by the first page, not here) with the
// text flag (word 0), skew (word 24) and orientation (word 25 = 1).
long pdf_open(FSSpec* destination, const StPDFDialog* settings);
long pdf_make(tagRAWBITMAP* page);
long pdf_close();
