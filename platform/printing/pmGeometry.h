// A sheet as the printer takes it: the paper in points, its margins, the orientation and
// the resolution, and the rectangles the Printing Manager answers in pixels at that resolution.
#pragma once

#include <string>
#include <vector>

#include "printing/Printing.h"

// A paper as a printer lists it, portrait: size and unprintable margins in points.
struct pmPaper {
  std::string name;  // PWG media name
  double width = 0, height = 0;
  double left = 0, top = 0, right = 0, bottom = 0;
};

struct pmGeometry {
  pmPaper paper;
  bool landscape = false;
  double dpi = 300;
};

// The paper as it lies for printing: landscape turns it (its left margin becomes the top).
pmPaper pmOrientedPaper(const pmGeometry& geometry);
// The printable area from (0, 0), and the paper around it, in pixels.
PMRect pmPageRect(const pmGeometry& geometry);
PMRect pmPaperRect(const pmGeometry& geometry);
// The folder printer's papers: A4 or Letter first as `metric` says, then the others.
std::vector<pmPaper> pmStandardPapers(bool metric);
// "A4", "Letter"...; the media name when it has no short one.
std::string pmPaperDisplayName(const std::string& name);
