// A table whose cells hold texts (Pascal strings), drawn in one set of text traits.
#pragma once

#include "framework/LTable.h"

class LTextTableView : public LTable {
 public:
  static constexpr ClassIDT class_ID = 'Ttab';
  using Inherited = LTable;

  // Layout data: the table's, then layout::kTraits.
  explicit LTextTableView(LStream* stream);

 protected:
  void DrawCell(const STableCell& cell) override;

 private:
  ResIDT mTextTraitsID = 0;
};

// One column of texts.
class LTextColumn : public LTextTableView {
 public:
  static constexpr ClassIDT class_ID = 'txcl';
  using Inherited = LTextTableView;
  using LTextTableView::LTextTableView;
};
