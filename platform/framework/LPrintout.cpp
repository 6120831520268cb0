#include "framework/LPrintout.h"

#include "framework/StPrintSession.h"
#include "framework/UReanimator.h"

namespace {

void ThrowIfPMError(OSStatus status) {
  if (status != noErr) Throw_(ExceptionCode(status));
}

}  // namespace

LPrintout::LPrintout(LStream* stream) : LView(stream) {}

LPrintout::~LPrintout() = default;

LPrintout* LPrintout::CreatePrintout(ResIDT layoutID) { return UReanimator::CreateFromLayout<LPrintout>(layoutID, nullptr); }

CGrafPtr LPrintout::GetOwnPort(Point& origin) const {
  origin = mPortOrigin;
  return mPrintPort;
}

void LPrintout::DoPrintJob() {
  ThrowIfNil_(mPrintSpec);
  StPrintSession session(*mPrintSpec);
  PMPrintSession printSession = mPrintSpec->GetPrintSession();
  PMPageFormat format = mPrintSpec->GetPageFormat();
  PMPrintSettings settings = mPrintSpec->GetPrintSettings();
  UInt32 first, last, copies;
  mPrintSpec->GetPrintJobParams(first, last, copies);

  ThrowIfPMError(PMSessionBeginDocument(printSession, settings, format));
  try {
    if (first <= 1 && last >= 1) PrintPage(printSession, format);
  } catch (...) {
    mPrintPort = nullptr;
    PMSessionSetError(printSession, kPMCancel);
    PMSessionEndDocument(printSession);
    throw;
  }
  ThrowIfPMError(PMSessionEndDocument(printSession));
}

void LPrintout::PrintPage(PMPrintSession session, PMPageFormat format) {
  Rect paper;
  mPrintSpec->GetPaperRect(paper);
  // The whole sheet is the printout's frame; the printable area starts inside it by the margins.
  ResizeFrameTo(SInt16(paper.right - paper.left), SInt16(paper.bottom - paper.top), false);
  ThrowIfPMError(PMSessionBeginPage(session, format, nullptr));
  void* port = nullptr;
  OSStatus status = PMSessionGetGraphicsContext(session, kPMGraphicsContextQuickDraw, &port);
  if (status == noErr) {
    mPrintPort = static_cast<CGrafPtr>(port);
    mPortOrigin = Point{SInt16(-paper.top), SInt16(-paper.left)};
    PrintPanel(PanelSpec{});
    mPrintPort = nullptr;
  }
  const OSStatus pageStatus = PMSessionEndPage(session);
  ThrowIfPMError(status != noErr ? status : pageStatus);
}
