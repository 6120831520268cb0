// The Dialog Manager's classic alerts: an 'ALRT' resource (bounds, the 'DITL' item list)
// shown modally with ParamText's ^0..^3 put into its texts. Buttons and static texts are
// shown; other items are left out. The result is the number of the button chosen (-1 when
// the resources are missing); Return chooses item 1, Escape item 2 when it is a button.
#pragma once

#include "toolbox/MacTypes.h"

typedef SInt16 DialogItemIndex;

void ParamText(ConstStr255Param param0, ConstStr255Param param1, ConstStr255Param param2, ConstStr255Param param3);
DialogItemIndex Alert(SInt16 alertID, void* filterProc);
DialogItemIndex StopAlert(SInt16 alertID, void* filterProc);
DialogItemIndex NoteAlert(SInt16 alertID, void* filterProc);

// Item types of a 'DITL'.
enum : UInt8 {
  kUserDialogItem = 0,
  kButtonDialogItem = 4,
  kCheckBoxDialogItem = 5,
  kRadioButtonDialogItem = 6,
  kStaticTextDialogItem = 8,
  kEditTextDialogItem = 16,
  kIconDialogItem = 32,
  kPictureDialogItem = 64,
  kItemDisableBit = 128,
};
