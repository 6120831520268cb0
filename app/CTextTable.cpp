#include "app/CTextTable.h"

#include "framework/ReadLayoutFields.h"
#include "framework/UTextDrawing.h"
#include "framework/UTextTraits.h"
#include "quickdraw/QuickDraw.h"

namespace {

// Saves the pen, normalises it and paints in white; puts the pen back on scope exit.
class StWhitePen {
 public:
  StWhitePen() {
    GetPenState(&mPen);
    GetForeColor(&mFore);
    PenNormal();
    const RGBColor white = {0xFFFF, 0xFFFF, 0xFFFF};
    RGBForeColor(&white);
  }
  ~StWhitePen() {
    RGBForeColor(&mFore);
    SetPenState(&mPen);
  }
  StWhitePen(const StWhitePen&) = delete;
  StWhitePen& operator=(const StWhitePen&) = delete;

 private:
  PenState mPen;
  RGBColor mFore;
};

}  // namespace

CTextTable::CTextTable(LStream* stream) : LTable(stream) {
  ReadLayoutFields<layout::kTraits>(*stream, mTextTraitsID);
}

void CTextTable::RemoveAllRows(Boolean) {
  TableIndexT rows = 0, cols = 0;
  GetTableSize(rows, cols);
  if (rows > 0) RemoveRows(rows, 1);
}

void CTextTable::RemoveAllCols(Boolean) {
  TableIndexT rows = 0, cols = 0;
  GetTableSize(rows, cols);
  if (cols > 0) RemoveCols(cols, 1);
}

void CTextTable::FinishCreateSelf() { LPane::FinishCreateSelf(); }

void CTextTable::DrawSelf() {
  {
    StWhitePen pen;
    Rect frame;
    CalcLocalFrameRect(frame);
    PaintRect(&frame);
  }
  LTable::DrawSelf();
}

void CTextTable::DrawCell(const STableCell& cell) {
  Rect frame;
  if (!IsValidCell(cell) || !FetchLocalCellFrame(cell, frame)) return;
  {
    StWhitePen pen;
    PaintRect(&frame);
  }
  Str255 text;
  UInt32 size = sizeof text;
  GetCellData(cell, text, size);
  if (size == 0) return;
  if (text[0] >= size) text[0] = UInt8(size - 1);  // cells narrower than a Str255
  if (text[0] == 0) return;
  PenState pen;
  GetPenState(&pen);
  PenNormal();
  UTextTraits::SetPortTextTraits(ResIDT(0));
  const SInt16 justification = UTextTraits::SetPortTextTraits(mTextTraitsID);
  UTextDrawing::DrawTruncatedWithJust(text, frame, justification, 0);
  SetPenState(&pen);
}
