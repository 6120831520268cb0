#include "dialogs/print/layout/CPrintSizePane.h"

#include "dialogs/print/layout/PageGeometry.h"
#include "framework/LPrintSetup.h"
#include "framework/LView.h"
#include "framework/StColorPenState.h"
#include "framework/StPrintSession.h"

CPrintSizePane::CPrintSizePane(const SPaneInfo& info, LPrintSpec* spec) : LPane(info), mSpec(spec) {
  if (!mSpec) return;
  StPrintSession session(*mSpec);
  PMResolution resolution{0, 0};
  if (PMGetResolution(mSpec->GetPageFormat(), &resolution) == noErr)
    mPrinterResolution = static_cast<SInt16>(resolution.hRes);
}

void CPrintSizePane::FinishCreateSelf() {
  if (!mSpec) return;
  PMRect paper{}, page{};
  {
    StPrintSession session(*mSpec);
    PMPageFormat format = mSpec->GetPageFormat();
    PMGetAdjustedPaperRect(format, &paper);
    PMGetAdjustedPageRect(format, &page);
  }
  const pagegeom::PaperLayout layout = pagegeom::LayOutPaper(paper, page);
  mScale = layout.scale;
  mPrintable = layout.printable;
  if (!HasPaper()) return;
  ResizeFrameTo(layout.size.width, layout.size.height, false);
  // Centred in the page area.
  SDimension16 super{0, 0};
  if (GetSuperView()) GetSuperView()->GetFrameSize(super);
  PlaceInSuperFrameAt((super.width - layout.size.width) / 2, (super.height - layout.size.height) / 2, true);
}

void CPrintSizePane::GetPrintRangeRect(Rect& outRect, UInt8) const {
  outRect = mPrintable;
  OffsetRect(&outRect, static_cast<SInt16>(mFrameLocation.h), static_cast<SInt16>(mFrameLocation.v));
}

double CPrintSizePane::GetReSizeRatio() const {
  if (!mSpec || !mSpec->IsValid()) return 0.0;
  PMRect paper{};
  if (PMGetAdjustedPaperRect(mSpec->GetPageFormat(), &paper) != noErr) return 0.0;
  return pagegeom::ResizeRatio(paper);
}

void CPrintSizePane::DrawSelf() {
  StColorPenState saved;
  StColorPenState::Normalize();
  Rect frame;
  CalcLocalFrameRect(frame);
  EraseRect(&frame);
  FrameRect(&frame);
  if (!HasPaper()) return;
  Rect printable;
  GetPrintRangeRect(printable, 0);
  const RGBColor red = {0xFFFF, 0, 0};
  RGBForeColor(&red);
  FrameRect(&printable);
}
