// The engines behind Paginor, opened at their first use: Leptonica for page images, skew
// and rotation, Tesseract (through its C interface) for the text layer and orientation. A
// program that only writes PDFs never loads them, nor the many libraries they pull in.
//
// Leptonica() and Tesseract() throw EngineMissing when their library cannot be opened;
// the C calls turn that into kPaginorEngineErr (NoThrow), and the reason, naming the
// library, is written once on the standard error.
#pragma once

#include <leptonica/allheaders.h>
#include <tesseract/capi.h>

#include <memory>
#include <stdexcept>

#include "toolbox/LazyLibrary.h"

struct EngineMissing : std::runtime_error {
  using std::runtime_error::runtime_error;
};

#define WX_LEPTONICA_CALLS(X)                                                                                \
  X(pixCreateNoInit) X(pixDestroy) X(pixSetResolution) X(pixGetData) X(pixGetWpl) X(pixGetWidth)            \
  X(pixGetHeight) X(pixGetDepth) X(pixEndianByteSwap) X(pixConvertTo1) X(pixFindSkew) X(pixRotateOrth)      \
  X(pixRotate)

#define WX_TESSERACT_CALLS(X)                                                                                \
  X(TessBaseAPICreate) X(TessBaseAPIDelete) X(TessBaseAPIInit2) X(TessBaseAPIEnd)                           \
  X(TessBaseAPIGetLoadedLanguagesAsVector) X(TessDeleteTextArray) X(TessBaseAPISetVariable)                 \
  X(TessBaseAPISetPageSegMode) X(TessBaseAPISetImage2) X(TessBaseAPIRecognize) X(TessBaseAPIGetIterator)    \
  X(TessBaseAPIClear) X(TessBaseAPIGetDatapath) X(TessBaseAPIDetectOrientationScript)                       \
  X(TessResultIteratorDelete) X(TessResultIteratorGetUTF8Text) X(TessResultIteratorGetPageIterator)         \
  X(TessResultIteratorNext) X(TessPageIteratorBoundingBox) X(TessPageIteratorIsAtBeginningOf)                \
  X(TessPageIteratorBaseline) X(TessDeleteText)

struct LeptonicaCalls {
  WX_LEPTONICA_CALLS(WX_LAZY_CALL)
};
struct TesseractCalls {
  WX_TESSERACT_CALLS(WX_LAZY_CALL)
};

const LeptonicaCalls& Leptonica();
const TesseractCalls& Tesseract();

struct TessDeleter {
  void operator()(TessBaseAPI* api) const { Tesseract().TessBaseAPIDelete(api); }
};
using TessPtr = std::unique_ptr<TessBaseAPI, TessDeleter>;
