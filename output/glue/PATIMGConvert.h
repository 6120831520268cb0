// Page images between an uncompressed one-strip TIFF held in memory and the framework's
// PATIMG: grey rows with 0 = black, bilevel rows as stored, colour pixels as B, G, R.
#pragma once

#include "output/formats/tiffRecognition.h"
#include "paginor/Paginor.h"

// A new PATIMG of the file's strip, which `info` (from Recognition_TIFF) describes; grey
// stored with 0 = white is inverted and `info` then says so. 0 without memory.
long FromTIFFToPATIMG(unsigned char* file, tagIMAGEINFO* info, PATIMG* out);
// A new block of the image's rows in TIFF order, unpadded, and `info` describing it (size,
// samples, strip length, and the resolution when the image's differs). 0 without memory.
long FromPATIMGToTIFF(PATIMG* img, unsigned char** outData, tagIMAGEINFO* info);
void FreePATIMGBuffer(PATIMG* img);
void FreeTiffBuffer(unsigned char* data);
// Bytes in one unpadded row of a PATIMG type (0 for an unknown type).
long PATIMGRowLength(SInt32 type, SInt32 width);
