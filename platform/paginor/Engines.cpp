#include "paginor/Engines.h"

const LeptonicaCalls& Leptonica() {
  static LeptonicaCalls calls;
  static LazyLibrary library(WX_LEPT_SONAME, "Page correction");
  if (!library.Load([](LazyLibrary& library) { return true WX_LEPTONICA_CALLS(WX_LAZY_FIND); }))
    throw EngineMissing(library.Error());
  return calls;
}

const TesseractCalls& Tesseract() {
  static TesseractCalls calls;
  static LazyLibrary library(WX_TESSERACT_SONAME, "Text recognition");
  if (!library.Load([](LazyLibrary& library) { return true WX_TESSERACT_CALLS(WX_LAZY_FIND); }))
    throw EngineMissing(library.Error());
  return calls;
}
