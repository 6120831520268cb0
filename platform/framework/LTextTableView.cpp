#include "framework/LTextTableView.h"

#include "framework/LStream.h"
#include "framework/ReadLayoutFields.h"
#include "framework/UTextDrawing.h"
#include "framework/UTextTraits.h"

LTextTableView::LTextTableView(LStream* stream) : LTable(stream) { ReadLayoutFields<layout::kTraits>(*stream, mTextTraitsID); }

void LTextTableView::DrawCell(const STableCell& cell) {
  Rect frame;
  if (!FetchLocalCellFrame(cell, frame)) return;
  Str255 text;
  UInt32 size = sizeof text;
  text[0] = 0;
  GetCellData(cell, text, size);
  if (size == 0) return;
  if (text[0] > size - 1) text[0] = static_cast<unsigned char>(size - 1);
  SInt16 just = UTextTraits::SetPortTextTraits(mTextTraitsID);
  InsetRect(&frame, 2, 0);
  UTextDrawing::DrawTruncatedWithJust(text, frame, just);
}
