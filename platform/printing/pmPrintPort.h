// The port a page is drawn into. Each pixel image copied into it with CopyBits becomes its own
// image of the page at its printed pixel size, placed where it was drawn and clipped to the
// printable area; only its visible part is kept, compressed as it comes. Copies that continue
// the last image straight below it, as rows of the same width, are rows of that image: an
// importer draws a page into the port row by row and the page is never whole in memory. All
// other drawing lands in the port's own pixels and goes over the images as one layer cut to
// what was drawn.
#pragma once

#include <memory>

#include "paginor/PDFWriter.h"
#include "printing/pmGeometry.h"
#include "quickdraw/QDOffscreen.h"
#include "toolbox/MacErrors.h"

class pmPrintPort {
 public:
  // A page of `geometry` in `writer`, its port made current; memFullErr.
  static OSErr Open(const pmGeometry& geometry, PDFWriter* writer, std::unique_ptr<pmPrintPort>* page);
  ~pmPrintPort();
  pmPrintPort(const pmPrintPort&) = delete;
  pmPrintPort& operator=(const pmPrintPort&) = delete;

  GrafPtr Port() const { return mWorld; }
  // Writes the page and gives back the port that was current before it; the first error of
  // its drawing or of the writer.
  OSErr Close();

 private:
  class Deflater;
  struct OpenImage;

  pmPrintPort(const pmGeometry& geometry, PDFWriter* writer);
  static void CopyBitsToPage(const BitMap* srcBits, const Rect* srcRect, const Rect* dstRect, SInt16 mode,
                             RgnHandle maskRgn);
  void AddImage(const BitMap* srcBits, const Rect& srcRect, const Rect& dstRect);
  // Hands the image being written to the writer.
  void FinishImage();
  OSErr AddDrawnLayer();
  // A rectangle in the port's local coordinates in the page's, which start at its top left.
  Rect OnPage(const Rect& local) const;
  // A rectangle in the page's coordinates as points from the paper's lower left corner.
  PDFRect ToPoints(const Rect& r) const;

  pmGeometry mGeometry;
  PDFWriter* mWriter;
  GWorldPtr mWorld = nullptr;
  CQDProcs mProcs;
  CGrafPtr mSavedPort = nullptr;
  GDHandle mSavedDevice = nullptr;
  std::unique_ptr<OpenImage> mImage;
  OSErr mError = noErr;
};
