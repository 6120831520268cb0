#include "preview/CStitchDialog.h"

#include "framework/LDialogBox.h"

CStitchDialog* CStitchDialog::ShowStitchDialog(long, unsigned char, unsigned char*, SDimension16, long, long, long, long,
                                               long, LCommander*, long, unsigned char, long, LDialogBox* caller,
                                               unsigned char, unsigned char, FSSpec, FSSpec, StPDFDialog*,
                                               StJPEGDialog*, StOtherDialog*, StOtherDialog*, unsigned char, long,
                                               unsigned long, PREF_FILE*) {
  if (caller) caller->ListenToMessage(msg_StitchClosed, nullptr);
  return nullptr;
}
