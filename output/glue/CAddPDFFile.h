// Appending the pages of one PDF (written by the export) to a PDF the user chose, and the
// check that a chosen PDF can be appended to at all.
#pragma once

#include "toolbox/MacTypes.h"

class CAddPDFFile {
 public:
  CAddPDFFile(FSSpec& target, FSSpec& source);
  virtual ~CAddPDFFile();
  CAddPDFFile(const CAddPDFFile&) = delete;
  CAddPDFFile& operator=(const CAddPDFFile&) = delete;

  // 1 when the pages were appended. The target changes only then: it is written as a new
  // file renamed over it.
  long AddToSourceFile();
  // 0, or the framework's failing status, also left as the next alert's first parameter.
  SInt32 CheckVeskLibrary(FSSpec* target, FSSpec* source);
  // 1 when `pdf` can be appended to, else 0 after an alert (list 400: 35 not writable or
  // refused, 47 disk full, 33 other). Only a scratch copy in the temporary folder is tried,
  // and it is always deleted.
  static long CheckPDFFile(FSSpec& pdf);

  // The framework is linked in: nothing to load.
  long InitLib(unsigned char*) { return 1; }
  long TermLib() { return 1; }

  SInt32 Error() const { return mError; }

 private:
  FSSpec mTarget;
  FSSpec mSource;
  SInt32 mError = 0;
};
