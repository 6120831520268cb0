// The modal preview of scanned pages before they are written: one thumbnail per page,
// chosen, renamed, reordered and turned, with the output format, the folder or the PDF to
// append to, and EXIF data per page; then the chosen pages are written, or handed back to
// the caller to scan more. A page that is not written stays in the caller's lists with its
// files. The folder and format choices carry over from call to call until a job ends.
#pragma once

#include "prefs/PrefRecords.h"
#include "framework/LDialogBox.h"
#include "framework/TArray.h"
#include "output/export/PageRecords.h"
#include "toolbox/Files.h"

class CThreadChecker;
class CPopupButton;
class CPreviewView;
class LCommander;
class LControl;
class LPane;

class CPreviewDialog : public LDialogBox {
 public:
  static constexpr ClassIDT class_ID = 'DPRE';
  enum : ResIDT { kLayout = 500, kControlLinks = 500, kTexts = 500 };
  enum : MessageT { msg_Send = 'SEND', msg_Return = 'RTUN', msg_Cancel = 901 };
  // The callers, as dialog types.
  enum : long { type_PrintLayout = 2, type_Mail = 3, type_Save = 5, type_File = 6, type_Scan1 = 7, type_Scan2 = 8 };

  explicit CPreviewDialog(LStream* stream);
  ~CPreviewDialog() override;

  // Arguments: scan path (1 TWAIN, 0 plug-in), the finished scan or null, the caller's page
  // and EXIF lists, the super commander, folder, day subfolder, base name, PDF, JPEG, PICT
  // and TIFF settings, file-type popup value, dialog type, creator, the written files' list
  // (out, the caller's), the mail size limit, the Adobe RGB switch, the print layout's
  // include flags and rotations, the name for a PDF append, the stitch flag, the Save label
  // on the send button, the standard label kept on the cancel button. Answers 'SEND',
  // 'RTUN' or 901.
  static MessageT ShowPreviewDialog(unsigned char isTWAIN, CThreadChecker* checker, TArray<ScanDataPlus>* pages,
                                    TArray<EXIF_PREF>* exifs, LCommander* caller, FSSpec& folder,
                                    unsigned char& useDaySubFolder, ConstStr255Param baseName, StPDFDialog* pdf,
                                    StJPEGDialog* jpeg, StOtherDialog* pict, StOtherDialog* tiff, long& fileTypePopup,
                                    long dialogType, OSType creator, TArray<FSSpec>** writtenFiles, long jpegSizeLimit,
                                    long adobeRGB, TArray<unsigned char>* includeFlags, TArray<long>* rotations,
                                    ConstStr255Param addToPDFName, long stitched, unsigned char saveLabel,
                                    long keepCancelLabel);

  // The file type of a popup item for a dialog type ('TIFF' for anything else).
  static OSType FileTypeFor(long dialogType, long popupValue);
  // The popup menu of a dialog type, or 0.
  static ResIDT MenuFor(long dialogType);

  virtual void SettingThumbnailName();
  virtual long IsPDFAdd() const;
  virtual long SetSansyoButton();
  virtual void SetSaveToStaticText();
  virtual void SetFolderNameEditText();
  virtual void SetSettingButton();
  virtual void SetExifSettingButton();
  virtual void SetSelectAndDay();
  virtual void SetBefore_IsPDFMultiAndPDFAdd();
  virtual void SetTransButton();
  virtual void ShowExifSettingDialog();
  virtual void ShowSettingDialog();
  void SetFileTypePopup();
  void SetDialogType(long dialogType, long popupValue, unsigned char saveLabel, long keepCancelLabel);
  void SetThumbnail(TArray<ScanDataPlus>* pages, TArray<EXIF_PREF>* exifs, ArrayIndexT selected);
  void SetPdfPref(const StPDFDialog& pdf) { mPDF = pdf; }
  void SetJpegPref(const StJPEGDialog& jpeg) { mJPEG = jpeg; }
  void SetPictPref(const StOtherDialog& pict) { mPICT = pict; }
  void SetTiffPref(const StOtherDialog& tiff) { mTIFF = tiff; }
  OSType GetFileType() const;
  // The pages and EXIF records in the dialog's order, each named by its caption.
  void GetImageArray(TArray<ScanDataPlus>& pages, TArray<EXIF_PREF>& exifs) const;

  bool IsPDFMulti() const;
  // The PDF to append to, as the PDF settings name it.
  FSSpec AppendTarget() const;
  CPreviewView* GetView() const { return mView; }
  CPopupButton* GetFileTypePopup() const { return mFileType; }
  const StPDFDialog& GetPDFSettings() const { return mPDF; }

  void ListenToMessage(MessageT message, void* param) override;
  bool HandleKeyPress(const EventRecord& event) override;
  void FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                         Str255 outName) override;

  // The dialog while it is open: the page view's alerts stand over it.
  static inline CPreviewDialog* sPreviewDialog = nullptr;
  // The next call takes its settings from the caller.
  static inline unsigned char sFirstCall = 1;
  // The settings the preview used last.
  static inline FSSpec sFolderSpec{};
  static inline unsigned char sUseDaySubFolder = 0;
  static inline StPDFDialog sPDFSetting{};
  static inline StJPEGDialog sJPEGSetting{};
  static inline StOtherDialog sPICTSetting{};
  static inline StOtherDialog sTIFFSetting{};
  static inline long sFileTypePopup = 0;

 protected:
  // A click while another application is in front brings this one forward first.
  void Click(SMouseDownEvent& event) override;
  void ClickInTitleBar(const EventRecord& event) override;
  void FinishCreateSelf() override;

 private:
  struct ExportFlags {
    long adobeRGB, stitched, skew, orientation;
    OSType creator;
  };
  void FileTypeChanged();
  void SelectionChanged();
  void KeepInStatics() const;
  TArray<FSSpec>* Export(TArray<ScanDataPlus>* pages, TArray<EXIF_PREF>* exifs, bool deleteSources,
                         const ExportFlags& flags);
  TArray<FSSpec>* AppendToPDF(TArray<ScanDataPlus>* pages, TArray<EXIF_PREF>* exifs, bool deleteSources,
                              const ExportFlags& flags);
  bool SendChecksPass();
  bool DiscardConfirmed();
  long IncludedCount() const;

  LControl* mBrowse = nullptr;
  CPreviewView* mView = nullptr;
  CPopupButton* mFileType = nullptr;
  StPDFDialog mPDF;
  StJPEGDialog mJPEG;
  StOtherDialog mPICT;
  StOtherDialog mTIFF;
  LControl* mDayFolder = nullptr;
  LPane* mFolderText = nullptr;
  LPane* mSaveToText = nullptr;
  long mDialogType = 0;
  FSSpec mFolder{};
  long mCallerPopup = 0;
  UInt8 mWasMulti = 0;
  UInt8 mWasAppend = 0;
};
