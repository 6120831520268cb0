// The fixed 15-entry big-endian TIFF header of the corrected and stitched copies: one
// uncompressed strip that the caller writes right behind it.
#pragma once

#include "output/formats/tiffRecognition.h"
#include "toolbox/MacTypes.h"

// Header bytes before the strip: 210, or 216 for colour.
uint32_t InitMakeTIFFHeaderSize(uint32_t kind);

// Writes the header for `info` (width, length, photometric interpretation, strip byte
// count, the two resolutions, kind 0 to 5; 1, 3 and 4 are written as bilevel) at the
// current position of the open data fork `file`, and leaves the position at the first
// pixel byte. noErr, the first failing write's error, or paramErr for a kind above 5.
OSErr Init_Make_TIFF(short file, const tagIMAGEINFO* info);
