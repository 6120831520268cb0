#include "framework/LTable.h"

#include <algorithm>
#include <cstring>

#include "framework/LStream.h"
#include "framework/ReadLayoutFields.h"

LTable::LTable(const SPaneInfo& paneInfo, const SViewInfo& viewInfo, TableIndexT rows, TableIndexT cols,
               SInt16 rowHeight, SInt16 colWidth, UInt32 cellDataSize)
    : LView(paneInfo, viewInfo), mDefaultRowHeight(rowHeight), mDefaultColWidth(colWidth), mCellDataSize(cellDataSize) {
  InsertCols(cols, 0, nullptr, 0, false);
  InsertRows(rows, 0, nullptr, 0, false);
}

LTable::LTable(LStream* stream) : LView(stream) {
  UInt32 rows = 0, cols = 0;
  ReadLayoutFields<layout::kTable>(*stream, rows, cols, mDefaultRowHeight, mDefaultColWidth, mCellDataSize);
  // A damaged layout must not make a huge table.
  if (rows > 10000 || cols > 1000 || mCellDataSize > 65536) rows = cols = mCellDataSize = 0;
  InsertCols(cols, 0, nullptr, 0, false);
  InsertRows(rows, 0, nullptr, 0, false);
}

void LTable::GetTableSize(TableIndexT& outRows, TableIndexT& outCols) const {
  outRows = static_cast<TableIndexT>(mCells.size());
  outCols = mCols;
}

std::vector<UInt8> LTable::CellBytes(const void* data, UInt32 dataSize) const {
  std::vector<UInt8> bytes(mCellDataSize, 0);
  if (data) std::memcpy(bytes.data(), data, std::min(dataSize, mCellDataSize));
  return bytes;
}

void LTable::InsertRows(UInt32 count, TableIndexT afterRow, const void* data, UInt32 dataSize, bool refresh) {
  if (count == 0) return;
  TableIndexT at = std::min<TableIndexT>(afterRow, static_cast<TableIndexT>(mCells.size()));
  std::vector<std::vector<UInt8>> row(mCols, CellBytes(data, dataSize));
  mCells.insert(mCells.begin() + at, count, row);
  mRowHeights.insert(mRowHeights.begin() + at, count, mDefaultRowHeight);
  if (mSelected.row > at) mSelected.row += count;
  SyncImage();
  if (refresh) Refresh();
}

void LTable::InsertCols(UInt32 count, TableIndexT afterCol, const void* data, UInt32 dataSize, bool refresh) {
  if (count == 0) return;
  TableIndexT at = std::min(afterCol, mCols);
  for (auto& row : mCells) row.insert(row.begin() + at, count, CellBytes(data, dataSize));
  mColWidths.insert(mColWidths.begin() + at, count, mDefaultColWidth);
  mCols += count;
  if (mSelected.col > at) mSelected.col += count;
  SyncImage();
  if (refresh) Refresh();
}

void LTable::RemoveRows(UInt32 count, TableIndexT fromRow, bool refresh) {
  TableIndexT rows = static_cast<TableIndexT>(mCells.size());
  if (count == 0 || fromRow < 1 || fromRow > rows) return;
  TableIndexT last = std::min<TableIndexT>(rows, fromRow + count - 1);
  mCells.erase(mCells.begin() + (fromRow - 1), mCells.begin() + last);
  mRowHeights.erase(mRowHeights.begin() + (fromRow - 1), mRowHeights.begin() + last);
  if (mSelected.row >= fromRow && mSelected.row <= last)
    mSelected = {0, 0};
  else if (mSelected.row > last)
    mSelected.row -= last - fromRow + 1;
  SyncImage();
  if (refresh) Refresh();
}

void LTable::RemoveCols(UInt32 count, TableIndexT fromCol, bool refresh) {
  if (count == 0 || fromCol < 1 || fromCol > mCols) return;
  TableIndexT last = std::min<TableIndexT>(mCols, fromCol + count - 1);
  for (auto& row : mCells) row.erase(row.begin() + (fromCol - 1), row.begin() + last);
  mColWidths.erase(mColWidths.begin() + (fromCol - 1), mColWidths.begin() + last);
  mCols -= last - fromCol + 1;
  if (mSelected.col >= fromCol && mSelected.col <= last)
    mSelected = {0, 0};
  else if (mSelected.col > last)
    mSelected.col -= last - fromCol + 1;
  SyncImage();
  if (refresh) Refresh();
}

void LTable::SyncImage() {
  SInt32 width = 0, height = 0;
  for (SInt16 w : mColWidths) width += w;
  for (SInt16 h : mRowHeights) height += h;
  mImageSize = {width, height};
}

void LTable::SetColWidth(SInt16 width, TableIndexT fromCol, TableIndexT toCol) {
  for (TableIndexT c = std::max<TableIndexT>(1, fromCol); c <= toCol && c <= mColWidths.size(); ++c)
    mColWidths[c - 1] = width;
  SyncImage();
  Refresh();
}

bool LTable::IsValidCell(const STableCell& cell) const {
  return cell.row >= 1 && cell.row <= mCells.size() && cell.col >= 1 && cell.col <= mCols;
}

void LTable::SetCellData(const STableCell& cell, const void* data, UInt32 dataSize) {
  if (!IsValidCell(cell)) return;
  mCells[cell.row - 1][cell.col - 1] = CellBytes(data, dataSize);
  Rect frame;
  if (FetchLocalCellFrame(cell, frame)) InvalPortRect(frame);
}

void LTable::GetCellData(const STableCell& cell, void* outData, UInt32& ioDataSize) const {
  if (!IsValidCell(cell)) {
    ioDataSize = 0;
    return;
  }
  ioDataSize = std::min(ioDataSize, mCellDataSize);
  std::memcpy(outData, mCells[cell.row - 1][cell.col - 1].data(), ioDataSize);
}

void LTable::SelectCell(const STableCell& cell) {
  if (cell == mSelected) return;
  if (IsValidCell(mSelected) && FocusDraw()) UnhiliteCell(mSelected);
  mSelected = IsValidCell(cell) ? cell : STableCell{0, 0};
  if (IsValidCell(mSelected) && FocusDraw()) HiliteCell(mSelected);
  Refresh();
}

bool LTable::GetSelectedCell(STableCell& outCell) const {
  outCell = mSelected;
  return IsValidCell(mSelected);
}

bool LTable::FetchLocalCellFrame(const STableCell& cell, Rect& outFrame) const {
  if (!IsValidCell(cell)) return false;
  SInt32 left = mImageLocation.h, top = mImageLocation.v;
  for (TableIndexT c = 1; c < cell.col; ++c) left += mColWidths[c - 1];
  for (TableIndexT r = 1; r < cell.row; ++r) top += mRowHeights[r - 1];
  outFrame = Rect{static_cast<SInt16>(top), static_cast<SInt16>(left),
                  static_cast<SInt16>(top + mRowHeights[cell.row - 1]), static_cast<SInt16>(left + mColWidths[cell.col - 1])};
  Rect frame, visible;
  CalcLocalFrameRect(frame);
  return SectRect(&outFrame, &frame, &visible);
}

bool LTable::GetCellHitBy(Point portPt, STableCell& outCell) const {
  SInt32 left = mImageLocation.h, top = mImageLocation.v;
  outCell = {0, 0};
  for (TableIndexT c = 1; c <= mCols; ++c) {
    if (portPt.h >= left && portPt.h < left + mColWidths[c - 1]) outCell.col = c;
    left += mColWidths[c - 1];
  }
  for (TableIndexT r = 1; r <= mCells.size(); ++r) {
    if (portPt.v >= top && portPt.v < top + mRowHeights[r - 1]) outCell.row = r;
    top += mRowHeights[r - 1];
  }
  return IsValidCell(outCell);
}

void LTable::DrawSelf() {
  for (TableIndexT r = 1; r <= mCells.size(); ++r)
    for (TableIndexT c = 1; c <= mCols; ++c) {
      STableCell cell = {r, c};
      Rect frame;
      if (!FetchLocalCellFrame(cell, frame)) continue;
      DrawCell(cell);
      if (cell == mSelected) HiliteCell(cell);
    }
}

void LTable::DrawCell(const STableCell&) {}

void LTable::HiliteCell(const STableCell& cell) {
  Rect frame;
  if (!FetchLocalCellFrame(cell, frame)) return;
  RGBColor hilite;
  LMGetHiliteRGB(&hilite);
  RGBForeColor(&hilite);
  FrameRect(&frame);
}

void LTable::UnhiliteCell(const STableCell& cell) {
  Rect frame;
  if (FetchLocalCellFrame(cell, frame)) InvalPortRect(frame);
}

void LTable::ClickSelf(const SMouseDownEvent& event) {
  STableCell cell;
  if (GetCellHitBy(event.whereLocal, cell)) ClickCell(cell, event);
}

void LTable::ClickCell(const STableCell& cell, const SMouseDownEvent&) { SelectCell(cell); }
