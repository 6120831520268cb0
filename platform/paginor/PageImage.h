// Page images between the framework's callers and its engines: the checks every call makes,
// and copies to and from Leptonica's images.
#pragma once

#include <memory>

#include "paginor/Engines.h"
#include "paginor/Paginor.h"

struct PixDeleter {
  void operator()(PIX* pix) const { Leptonica().pixDestroy(&pix); }
};
using PixPtr = std::unique_ptr<PIX, PixDeleter>;

// Bytes of one row of `width` pixels of `type`, without padding (0 for an unknown type).
SInt32 PageRowLength(SInt32 type, SInt32 width);
// True for a known type with data, row bytes covering a row, and positive size and resolution.
bool PageIsValid(const PATIMG* image);
// A Leptonica copy of a valid image: 1 bpp (1 = black), 8 bpp grey or 32 bpp RGB, with its
// resolution. Null without memory.
PixPtr PageToPix(const PATIMG& image);
// The 1 bpp image Leptonica's pixConvertTo1 makes of PageToPix's copy, made a band of rows at
// a time so that no 32-bit copy of a colour page is held. Null without memory.
PixPtr PageToBinary(const PATIMG& image, l_int32 threshold);
// A new image of `type` from `pix` (of the depth PageToPix gives for that type), with
// unpadded rows in memory from malloc; memFullErr.
OSErr PageFromPix(PIX* pix, SInt32 type, SInt32 xResolution, SInt32 yResolution, PATIMG* out);
