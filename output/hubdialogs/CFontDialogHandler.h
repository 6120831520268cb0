// The modal handler of the font dialog: keeps the size field and the little arrows beside
// it in step, and the size within 1 to 100 points.
#pragma once

#include "framework/StDialogHandler.h"

class LEditText;
class LLittleArrows;

class CFontDialogHandler : public StDialogHandler {
 public:
  CFontDialogHandler(ResIDT layoutID, LCommander* super);
  CFontDialogHandler(LWindow* window, LCommander* super);

  // Sets the size shown by the field and the arrows (and held as the last valid one).
  void SetSize(SInt32 size);
  SInt32 GetHeldSize() const { return mHeldSize; }

  void ListenToMessage(MessageT message, void* param) override;

 private:
  void Init();
  void ShowHeldSize();

  LEditText* mSizeField = nullptr;
  LLittleArrows* mSizeArrows = nullptr;
  SInt32 mHeldSize = 12;
};
