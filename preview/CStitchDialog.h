// The stitch-assist wizard. Until it is built, starting it tells the caller at once that
// the wizard closed without a result ("StCl") and gives no wizard.
#pragma once

#include "app/prefs/PrefRecords.h"
#include "framework/PaneTypes.h"
#include "toolbox/Files.h"

class LCommander;
class LDialogBox;

class CStitchDialog {
 public:
  enum : MessageT { msg_StitchClosed = 'StCl' };

  static CStitchDialog* ShowStitchDialog(long function, unsigned char isTWAIN, unsigned char* modelName,
                                         SDimension16 customSize, long source, long imageMode, long showDriverUI,
                                         long paperIndex, long resolution, LCommander* super, long level,
                                         unsigned char flag1, long value1, LDialogBox* caller, unsigned char flag2,
                                         unsigned char flag3, FSSpec spec1, FSSpec spec2, StPDFDialog* pdf,
                                         StJPEGDialog* jpeg, StOtherDialog* pict, StOtherDialog* tiff,
                                         unsigned char flag4, long value2, unsigned long fileType, PREF_FILE* file);
};
