#include "printing/pmGeometry.h"

#include <cups/cups.h>
#include <cups/pwg.h>

#include <cmath>

namespace {

double Pixels(double points, double dpi) { return std::round(points * dpi / 72.0); }

}  // namespace

pmPaper pmOrientedPaper(const pmGeometry& geometry) {
  if (!geometry.landscape) return geometry.paper;
  const pmPaper& p = geometry.paper;
  // Turned a quarter anticlockwise: the paper's left edge lies at the bottom.
  return pmPaper{p.name, p.height, p.width, p.top, p.right, p.bottom, p.left};
}

PMRect pmPageRect(const pmGeometry& geometry) {
  const pmPaper p = pmOrientedPaper(geometry);
  return PMRect{0, 0, Pixels(p.height - p.top - p.bottom, geometry.dpi),
                Pixels(p.width - p.left - p.right, geometry.dpi)};
}

PMRect pmPaperRect(const pmGeometry& geometry) {
  const pmPaper p = pmOrientedPaper(geometry);
  const double top = -Pixels(p.top, geometry.dpi), left = -Pixels(p.left, geometry.dpi);
  return PMRect{top, left, top + Pixels(p.height, geometry.dpi), left + Pixels(p.width, geometry.dpi)};
}

std::vector<pmPaper> pmStandardPapers(bool metric) {
  std::vector<pmPaper> papers;
  for (const char* name : {"iso_a4_210x297mm", "na_letter_8.5x11in", "iso_a3_297x420mm", "iso_a5_148x210mm",
                           "iso_b5_176x250mm", "na_legal_8.5x14in"}) {
    const pwg_media_t* media = pwgMediaForPWG(name);
    papers.push_back(pmPaper{name, media->width * 72.0 / 2540.0, media->length * 72.0 / 2540.0});
  }
  if (!metric) std::swap(papers[0], papers[1]);
  return papers;
}

std::string pmPaperDisplayName(const std::string& name) {
  const pwg_media_t* media = pwgMediaForPWG(name.c_str());
  if (!media || !media->ppd) return name;
  // ISO B sizes carry their series in the PPD name ("ISOB5"); people say "B5".
  const std::string ppd = media->ppd;
  return ppd.rfind("ISO", 0) == 0 ? ppd.substr(3) : ppd;
}
