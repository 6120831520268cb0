// The Scan-2 function's dialog (layout 7000): the custom-scan dialog over the second scan
// record.
#pragma once

#include "dialogs/file/CCustomScanDialogBox.h"

class CScan2DialogBox : public CCustomScanDialogBox {
 public:
  static constexpr ClassIDT class_ID = 'S2lg';
  explicit CScan2DialogBox(LStream* stream);
};
