#include "paginor/Engines.h"

#include <cstdlib>

const LeptonicaCalls& Leptonica() {
  static LeptonicaCalls calls;
  static LazyLibrary library(WX_LEPT_SONAME, "Page correction");
  if (!library.Load([](LazyLibrary& library) { return true WX_LEPTONICA_CALLS(WX_LAZY_FIND); }))
    throw EngineMissing(library.Error());
  return calls;
}

const TesseractCalls& Tesseract() {
  // One page at a time runs fastest on one thread: the engine's OpenMP threads spin while they
  // wait, costing many times the processor time and, on a busy machine, the time as well
  // (bench/text_threads.sh). Read when the library loads; a limit the user set is kept.
  setenv("OMP_THREAD_LIMIT", "1", 0);
  static TesseractCalls calls;
  static LazyLibrary library(WX_TESSERACT_SONAME, "Text recognition");
  if (!library.Load([](LazyLibrary& library) { return true WX_TESSERACT_CALLS(WX_LAZY_FIND); }))
    throw EngineMissing(library.Error());
  return calls;
}
