// A page image as a PDF image: bilevel pages with Flate, grey and colour pages through the
// installed JPEG encoder (Flate when none is installed).
#pragma once

#include "paginor/PDFWriter.h"
#include "paginor/Paginor.h"

// The JPEG quality of a job mode: text stays crisp in the normal and small-page modes.
SInt32 PageJPEGQuality(SInt32 mode);
// `image` (valid) as a PDF image, or the encoder's error; std::bad_alloc without memory.
OSErr EncodePage(const PATIMG& image, SInt32 mode, PaginorJPEGEncoderProc encoder, PDFImage* out);
