// The modal preview-and-save dialog. Until the preview is built, showing it shows nothing:
// it answers Cancel (901), writes no file and leaves the pages and their raw files pending.
#pragma once

#include "app/prefs/PrefRecords.h"
#include "framework/TArray.h"
#include "toolbox/Files.h"

class CThreadChecker;
class LCommander;
struct ScanDataPlus;

class CPreviewDialog {
 public:
  enum : MessageT { msg_Send = 'SEND', msg_Cancel = 901 };

  static MessageT ShowPreviewDialog(unsigned char isTWAIN, CThreadChecker* checker, TArray<ScanDataPlus>* pages,
                                    TArray<EXIF_PREF>* exifs, LCommander* caller, FSSpec& folder,
                                    unsigned char& useDaySubFolder, ConstStr255Param baseName, StPDFDialog* pdf,
                                    StJPEGDialog* jpeg, StOtherDialog* pict, StOtherDialog* tiff, long& fileTypePopup,
                                    long dialogType, OSType creator, TArray<FSSpec>** writtenFiles, long jpegSizeLimit,
                                    long reserved1, TArray<unsigned char>* chosenPages, TArray<long>* pageLayout,
                                    ConstStr255Param addToPDFName, long reserved2, unsigned char noTargetApplication,
                                    long targetNameLength);

  // The settings the preview used last.
  static inline FSSpec sFolderSpec{};
  static inline unsigned char sUseDaySubFolder = 0;
  static inline StPDFDialog sPDFSetting{};
  static inline StJPEGDialog sJPEGSetting{};
  static inline StOtherDialog sPICTSetting{};
  static inline StOtherDialog sTIFFSetting{};
  static inline long sFileTypePopup = 0;
};
