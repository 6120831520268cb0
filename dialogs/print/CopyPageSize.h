// The size a written Copy page prints at. The export leaves out a page it could not write,
// so when fewer files than scanned pages come back, each file's own TIFF header gives its
// size rather than the scan's pages taken in step.
#pragma once

#include <vector>

#include "toolbox/Files.h"

struct CopyPageSize {
  long width = 0;       // pixels
  long height = 0;      // pixels
  long resolution = 0;  // whole dots per inch
};

// From the file's TIFF header; false when the file cannot be read or is not such a TIFF.
bool ReadCopyPageSize(const FSSpec& file, CopyPageSize* out);

// One size per file: the scanned pages in step when every page was written, else each
// file's header (a file that cannot be read gets a size of 0, which the printing refuses).
std::vector<CopyPageSize> CopyPageSizes(const std::vector<FSSpec>& files, const std::vector<CopyPageSize>& scanned);
