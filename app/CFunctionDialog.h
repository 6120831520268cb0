// What the main window needs of the function dialog it opens: the start flag (1 when a
// scanner button opened it, so it scans at once) and the link to its button. Every
// function dialog implements it; app/ names no dialog class.
#pragma once

#include "toolbox/MacTypes.h"

class CAppButton;

class CFunctionDialog {
 public:
  virtual ~CFunctionDialog() = default;
  virtual void SetStartFlag(UInt8 flag) = 0;
  // The Mail, OCR, File, Scan-1 and Scan-2 dialogs show and change their button's target
  // application; the others take no button.
  virtual void SetMainWindowButton(CAppButton*) {}
};
