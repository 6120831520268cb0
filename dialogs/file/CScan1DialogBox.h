// The Scan-1 function's dialog (layout 6000): the custom-scan dialog over the first scan
// record, which also forgets the last pushed scanner button once its scan starts.
#pragma once

#include "dialogs/file/CCustomScanDialogBox.h"

class CScan1DialogBox : public CCustomScanDialogBox {
 public:
  static constexpr ClassIDT class_ID = 'S1lg';
  explicit CScan1DialogBox(LStream* stream);
};
