// A run that grows one PDF over several scan passes: either the PDF its first pass wrote, or
// a new copy of a PDF the user chose. Each later pass goes into a temporary PDF first and is
// appended to the run PDF only then, so a pass that fails never costs the pages already in it.
#pragma once

#include "prefs/PrefRecords.h"
#include "framework/TArray.h"
#include "toolbox/MacTypes.h"

class CThreadChecker;
class LCommander;

namespace PdfAppendRoad {

// The run PDF and how far it is.
struct RunPDF {
  FSSpec file{};
  bool copyMade = false;    // the new copy of the chosen PDF exists
  bool holdsPages = false;  // pages of this run are in it
};

// One pass's pages (TWAIN when `kind` is not 0, else the plug-in's) appended to the run PDF.
// With `copyName` the run PDF is a new copy of the PDF the options name, made beside it on
// the first pass. A pass's temporary PDFs go only once their pages are in; after a failure
// they stay in the temporary folder and alert 3 shows (a copy that got no page goes).
// Returns the list holding the run PDF when it exists, else null; the caller owns it.
TArray<FSSpec>* AppendPass(long kind, CThreadChecker* checker, StPDFDialog& pdf, const unsigned char* copyName,
                           UInt8 numberFlag, OSType creator, RunPDF& run, LCommander* alertOwner);

// The run PDF in a one-item list, when it has a name and still exists; else null.
TArray<FSSpec>* ExistingRunPDF(const RunPDF& run);

}  // namespace PdfAppendRoad
