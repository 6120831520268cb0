// Skew and orientation of page images: detection through Leptonica's skew search and
// Tesseract's orientation detection, correction by Leptonica's rotations (see Paginor.h for
// the sign convention).
#pragma once

#include "paginor/PageImage.h"

// Tesseract's orientation detector, loaded on first use and kept; null while its data is
// not installed.
TessBaseAPI* OrientationDetector();
// The clockwise turn that makes `binary` (1 bpp) upright; 0 when the page has too little text.
OSErr DetectOrientation(PIX* binary, SInt32* orientation);
// The clockwise turn in degrees that levels the lines of `binary`; 0.0 when it has none.
OSErr DetectSkew(PIX* binary, double* skew);
// Detects what a non-null pointer asks for; skew is measured after the orientation turn.
OSErr DetectPage(const PATIMG& page, SInt32* orientation, double* skew);
// `pix` turned clockwise by `orientation` (a multiple of 90) and then by `skew` degrees,
// uncovered areas white; the same size unless the quarter turns swap it. Null without memory.
PixPtr CorrectPix(PIX* pix, SInt32 orientation, double skew);
// A grey or colour page turned clockwise by `skew` degrees as CorrectPix turns it, straight
// from the page's rows into a new page from malloc: no Leptonica copy either side. memFullErr.
OSErr SkewPage(const PATIMG& page, double skew, PATIMG* out);
