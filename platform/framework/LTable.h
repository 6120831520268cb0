// A grid of cells with fixed-size data (a Str255, a record, ...), one selected cell at
// most. Subclasses draw cells (DrawCell) and may show the selection their own way
// (HiliteCell / UnhiliteCell). Rows and columns count from 1.
#pragma once

#include <vector>

#include "framework/LView.h"

typedef UInt32 TableIndexT;

struct STableCell {
  TableIndexT row;
  TableIndexT col;
  bool operator==(const STableCell& o) const { return row == o.row && col == o.col; }
};

class LTable : public LView {
 public:
  static constexpr ClassIDT class_ID = 'tabl';
  using Inherited = LView;

  LTable(const SPaneInfo& paneInfo, const SViewInfo& viewInfo, TableIndexT rows, TableIndexT cols,
         SInt16 rowHeight, SInt16 colWidth, UInt32 cellDataSize);
  // Layout data: the view's, then layout::kTable.
  explicit LTable(LStream* stream);

  void GetTableSize(TableIndexT& outRows, TableIndexT& outCols) const;
  // Inserts rows after `afterRow` (0: at the top), each cell holding a copy of `data`
  // (zeros when null).
  virtual void InsertRows(UInt32 count, TableIndexT afterRow, const void* data = nullptr, UInt32 dataSize = 0,
                          bool refresh = true);
  virtual void InsertCols(UInt32 count, TableIndexT afterCol, const void* data = nullptr, UInt32 dataSize = 0,
                          bool refresh = true);
  virtual void RemoveRows(UInt32 count, TableIndexT fromRow, bool refresh = true);
  virtual void RemoveCols(UInt32 count, TableIndexT fromCol, bool refresh = true);

  void SetColWidth(SInt16 width, TableIndexT fromCol, TableIndexT toCol);

  bool IsValidCell(const STableCell& cell) const;
  // Copies at most the cell data size.
  void SetCellData(const STableCell& cell, const void* data, UInt32 dataSize);
  void GetCellData(const STableCell& cell, void* outData, UInt32& ioDataSize) const;

  virtual void SelectCell(const STableCell& cell);
  // False (and cell 0,0) when nothing is selected.
  bool GetSelectedCell(STableCell& outCell) const;

  bool FetchLocalCellFrame(const STableCell& cell, Rect& outFrame) const;
  // The cell under a port point; false when there is none.
  bool GetCellHitBy(Point portPt, STableCell& outCell) const;

 protected:
  void DrawSelf() override;
  void ClickSelf(const SMouseDownEvent& event) override;
  virtual void DrawCell(const STableCell& cell);
  virtual void HiliteCell(const STableCell& cell);
  virtual void UnhiliteCell(const STableCell& cell);
  virtual void ClickCell(const STableCell& cell, const SMouseDownEvent& event);

 private:
  std::vector<UInt8> CellBytes(const void* data, UInt32 dataSize) const;
  void SyncImage();

  TableIndexT mCols = 0;  // rows: mCells.size()
  std::vector<SInt16> mRowHeights;
  std::vector<SInt16> mColWidths;
  SInt16 mDefaultRowHeight = 16;
  SInt16 mDefaultColWidth = 100;
  UInt32 mCellDataSize = 0;
  std::vector<std::vector<std::vector<UInt8>>> mCells;  // [row][column], each cell's bytes
  STableCell mSelected = {0, 0};
};
