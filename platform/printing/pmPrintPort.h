// The port a page is drawn into. Each pixel image copied into it with CopyBits becomes its own
// image of the page at its printed pixel size, placed where it was drawn and clipped to the
// printable area; only its visible part is kept. All other drawing lands in the port's own
// pixels and goes over the images as one layer cut to what was drawn.
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
  pmPrintPort(const pmGeometry& geometry, PDFWriter* writer);
  static void CopyBitsToPage(const BitMap* srcBits, const Rect* srcRect, const Rect* dstRect, SInt16 mode,
                             RgnHandle maskRgn);
  void AddImage(const BitMap* srcBits, const Rect& srcRect, const Rect& dstRect);
  OSErr AddDrawnLayer();
  // A rectangle in the port's local coordinates as points from the paper's lower left corner.
  PDFRect ToPoints(const Rect& r) const;

  pmGeometry mGeometry;
  PDFWriter* mWriter;
  GWorldPtr mWorld = nullptr;
  CQDProcs mProcs;
  CGrafPtr mSavedPort = nullptr;
  GDHandle mSavedDevice = nullptr;
  OSErr mError = noErr;
};
