#include "output/export/CCopyImagePane.h"

#include <cmath>

#include "framework/LException.h"
#include "quicktime/QuickTime.h"

namespace {

SInt32 HalfUp(double value) { return SInt32(std::floor(value + 0.5)); }

}  // namespace

CCopyImagePane::CCopyImagePane(const FSSpec& imageFile) : mImageFile(imageFile) {}

CCopyImagePane::~CCopyImagePane() = default;

CopyImagePlacement CCopyImagePane::Place(const AcqRecord& image, double printerDpi, double formatDpi,
                                         const Rect& page, long percent) {
  const double dpi = printerDpi < 1 ? formatDpi : std::floor(printerDpi);
  const double imageDpi = image.resolution / 65536.0;
  const double width = HalfUp(image.width * dpi / imageDpi), height = HalfUp(image.height * dpi / imageDpi);
  const SInt32 pageWidth = page.right - page.left, pageHeight = page.bottom - page.top;
  CopyImagePlacement p;
  if (percent == 0) {
    const double ratio = std::min(pageWidth / width, pageHeight / height);
    p.width = HalfUp(width * ratio);
    p.height = HalfUp(height * ratio);
  } else {
    p.width = percent == 100 ? SInt32(width) : HalfUp(width * percent / 100.0);
    p.height = percent == 100 ? SInt32(height) : HalfUp(height * percent / 100.0);
    if (p.width <= pageWidth && p.height <= pageHeight) return p;
  }
  // Integer division rounds toward zero, as the offsets of a larger image must.
  p.left = (pageWidth - p.width) / 2;
  p.top = (pageHeight - p.height) / 2;
  return p;
}

OSStatus CCopyImagePane::Size(const AcqRecord& image, LPrintSpec& spec, long percent) {
  PMPageFormat format = spec.GetPageFormat();
  PMResolution formatRes{0, 0}, printerRes{0, 0};
  PMGetResolution(format, &formatRes);
  PMPrinter printer = nullptr;
  if (spec.GetPrintSession() && PMSessionGetCurrentPrinter(spec.GetPrintSession(), &printer) == noErr)
    PMPrinterGetIndexedPrinterResolution(printer, 1, &printerRes);
  Rect page;
  spec.GetPageRect(page);
  PMRect pageRect;
  const OSStatus status = PMGetAdjustedPageRect(format, &pageRect);
  mPlacement = Place(image, printerRes.hRes, formatRes.hRes, page, percent);
  // The pane covers the page; an image larger than the page is cut at its edges.
  ResizeFrameTo(SInt16(page.right - page.left), SInt16(page.bottom - page.top), false);
  return status;
}

OSStatus CCopyImagePane::DoAdjustPaperSize(const AcqRecord& image, LPrintSpec& spec) { return Size(image, spec, 0); }

OSStatus CCopyImagePane::DoSameRateSize(const AcqRecord& image, LPrintSpec& spec) { return Size(image, spec, 100); }

OSStatus CCopyImagePane::DoOtherRateSize(const AcqRecord& image, LPrintSpec& spec, long percent) {
  return Size(image, spec, percent);
}

void CCopyImagePane::PrintPanelSelf(const PanelSpec&) {
  GraphicsImportComponent importer = nullptr;
  ThrowIfOSErr_(GetGraphicsImporterForFile(&mImageFile, &importer));
  Rect frame;
  CalcLocalFrameRect(frame);
  const Rect printed{SInt16(frame.top + mPlacement.top), SInt16(frame.left + mPlacement.left),
                     SInt16(frame.top + mPlacement.top + mPlacement.height),
                     SInt16(frame.left + mPlacement.left + mPlacement.width)};
  // Drawn row by row straight into the printer's port, each pixel the one a copy of the
  // whole page scaled to the printed size would take: the page is never whole in memory.
  CGrafPtr port;
  GDHandle device;
  GetGWorld(&port, &device);
  GraphicsImportSetQuality(importer, codecLowQuality);
  GraphicsImportSetBoundsRect(importer, &printed);
  GraphicsImportSetGWorld(importer, port, device);
  const OSErr drawn = OSErr(GraphicsImportDraw(importer));
  SetGWorld(port, device);
  CloseComponent(importer);
  ThrowIfOSErr_(drawn);
}
