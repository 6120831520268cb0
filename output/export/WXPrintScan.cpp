#include "output/export/WXPrintScan.h"

#include <memory>

#include "framework/LException.h"
#include "framework/LPlaceHolder.h"
#include "framework/LPrintout.h"
#include "framework/StPrintSession.h"
#include "framework/UEnvironment.h"
#include "output/export/CCopyImagePane.h"

namespace CWXUtility {

namespace {

// The first system version whose Printing Manager takes a printer object.
constexpr SInt32 kPrinterObjectSystem = 0x1030;

// Holds a printer for the length of a print.
class StPrinterHold {
 public:
  explicit StPrinterHold(PMPrinter printer) : mPrinter(printer) {
    if (mPrinter) PMRetain(mPrinter);
  }
  ~StPrinterHold() {
    if (mPrinter) PMRelease(mPrinter);
  }
  StPrinterHold(const StPrinterHold&) = delete;
  StPrinterHold& operator=(const StPrinterHold&) = delete;

 private:
  PMPrinter mPrinter;
};

}  // namespace

void SetCurrentPrinter(PMPrintSession session, PMPrinter printer) {
  if (!printer) return;
  if (UEnvironment::GetOSVersion() >= kPrinterObjectSystem) {
    PMSessionSetCurrentPMPrinter(session, printer);
    return;
  }
  if (CFStringRef name = PMPrinterGetID(printer)) PMSessionSetCurrentPrinter(session, name);
}

void PrintScanImage(const ScanData& page, LPrintSpec* spec, const unsigned char& fitToPaper, long magnification,
                    PMPrinter printer) {
  ThrowIfNil_(spec);
  // The sizing divides by both; such a page has nothing to print.
  if (page.width <= 0 || page.height <= 0 || page.resolution < 0x10000) ThrowOSErr_(paramErr);
  auto pane = std::make_unique<CCopyImagePane>(page.imageFile);

  StPrintSession session(*spec);
  SetCurrentPrinter(spec->GetPrintSession(), printer);
  StPrinterHold hold(printer);

  std::unique_ptr<LPrintout> printout(LPrintout::CreatePrintout(kCopyPrintoutLayout));
  printout->SetPrintSpec(*spec);
  auto* place = dynamic_cast<LPlaceHolder*>(printout->FindPaneByID(kCopyPrintoutPlace));
  ThrowIfNil_(place);

  spec->GetPageFormat();
  Rect pageRect, paperRect;
  spec->GetPageRect(pageRect);
  spec->GetPaperRect(paperRect);
  const SInt16 width = SInt16(pageRect.right - pageRect.left), height = SInt16(pageRect.bottom - pageRect.top);
  place->ResizeFrameTo(width, height, false);
  place->ResizeImageTo(width, height, false);
  place->PlaceInSuperFrameAt(pageRect.left - paperRect.left, pageRect.top - paperRect.top, false);
  place->InstallOccupant(pane.get());

  if (fitToPaper)
    pane->DoAdjustPaperSize(page, *spec);
  else if (magnification == 100)
    pane->DoSameRateSize(page, *spec);
  else
    pane->DoOtherRateSize(page, *spec, magnification);

  printout->DoPrintJob();
  place->RemoveOccupant();
}

}  // namespace CWXUtility
