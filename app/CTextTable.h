// A table of text cells (Pascal strings of up to 255 bytes) drawn on white in one set of
// text traits, each cut to its cell.
#pragma once

#include "framework/LTable.h"

class CTextTable : public LTable {
 public:
  static constexpr ClassIDT class_ID = 'TTbl';
  using Inherited = LTable;

  // Layout data: the table's, then layout::kTraits.
  explicit CTextTable(LStream* stream);

  virtual void RemoveAllRows(Boolean refresh);
  virtual void RemoveAllCols(Boolean refresh);
  virtual ResIDT GetTextTraits() const { return mTextTraitsID; }

 protected:
  void DrawSelf() override;
  void FinishCreateSelf() override;
  void DrawCell(const STableCell& cell) override;

 private:
  ResIDT mTextTraitsID = 0;
};
