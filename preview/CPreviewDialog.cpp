#include "preview/CPreviewDialog.h"

MessageT CPreviewDialog::ShowPreviewDialog(unsigned char, CThreadChecker*, TArray<ScanDataPlus>*, TArray<EXIF_PREF>*,
                                           LCommander*, FSSpec&, unsigned char&, ConstStr255Param, StPDFDialog*,
                                           StJPEGDialog*, StOtherDialog*, StOtherDialog*, long&, long, OSType,
                                           TArray<FSSpec>** writtenFiles, long, long, TArray<unsigned char>*,
                                           TArray<long>*, ConstStr255Param, long, unsigned char, long) {
  if (writtenFiles) *writtenFiles = nullptr;
  return msg_Cancel;
}
