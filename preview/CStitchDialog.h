// The stitch-assist wizard: scans a document larger than the glass in two halves, lets the
// user align, turn and crop them on screen, and merges them into one raw scan file that it
// hands to the calling dialog as if it were a TWAIN scan ('TEnd' with its scan watcher), or
// tells the caller that nothing was merged ('StCl'). Once it has told the caller either, the
// wizard closes itself.
#pragma once

#include <memory>

#include "prefs/PrefRecords.h"
#include "framework/LDialogBox.h"
#include "framework/PaneTypes.h"
#include "output/export/PageRecords.h"
#include "toolbox/Files.h"

class CStitchCheckImage;
class CStitchPictureView;
class CThreadChecker;
class CTWAIN;
class LPane;
class LControl;

class CStitchDialog : public LDialogBox {
 public:
  static constexpr ClassIDT class_ID = 'StDl';
  enum : ResIDT { kLayout = 11000, kStrings = 11000, kTitles = 11001 };
  enum : MessageT { msg_StitchClosed = 'StCl', msg_Back = 'BkBt', msg_Rotate = 'RtBt' };

  // Fills a scan-information window made from one of the File function's layouts with the
  // File record; the executable installs it, since that window's class lives above us.
  using ScanInfoFiller = void (*)(LWindow* window, PREF_FILE* record);
  static void SetScanInfoFiller(ScanInfoFiller filler);

  static CStitchDialog* ShowStitchDialog(long function, unsigned char isTWAIN, unsigned char* modelName,
                                         SDimension16 customSize, long source, long imageMode, long showDriverUI,
                                         long paperIndex, long resolution, LCommander* super, long level,
                                         unsigned char flag1, long value1, LDialogBox* caller, unsigned char flag2,
                                         unsigned char flag3, FSSpec spec1, FSSpec spec2, StPDFDialog* pdf,
                                         StJPEGDialog* jpeg, StOtherDialog* pict, StOtherDialog* tiff,
                                         unsigned char flag4, long value2, unsigned long fileType, PREF_FILE* file);

  explicit CStitchDialog(LStream* stream);
  ~CStitchDialog() override;

  void ListenToMessage(MessageT message, void* param) override;
  bool HandleKeyPress(const EventRecord& event) override;
  void FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                         Str255 outName) override;

  long GetStep() const { return mStep; }
  long GetMergedCount() const { return mMerged; }
  LWindow* GetScanInfoWindow() const { return mScanInfo; }

 protected:
  void FinishCreateSelf() override;

 private:
  // What the caller hands over, kept unchanged.
  struct Request {
    long caller = 0;
    unsigned char isTWAIN = 0;
    Str255 driver{};
    SDimension16 customSize{};
    long source = 0, imageMode = 0, driverUI = 0, paperIndex = 0, resolution = 0;
    LCommander* commander = nullptr;
    long level = 0;
    unsigned char flag = 0;
    long finishing = 0;
    LDialogBox* dialog = nullptr;
    unsigned char adobeRGB = 0, moreDocuments = 0, preview = 0;
    long fileTab = 0;
    unsigned long fileType = 0;
    StPDFDialog pdf;
    StJPEGDialog jpeg;
    StOtherDialog pict, tiff;
    PREF_FILE file;
    FSSpec destination{}, temp{};
  };

  void SetParameter(const Request& request);
  void NewConnection();
  void DeleteConnection();

  void ShowTexts(long step);
  void ShowPictures(long step);
  void ShowScreen(long step);
  void SetNextLabel(SInt16 item);
  void SetStep(long step);
  void ShowPane(LPane* pane, bool shown);

  void Next();
  void ScanHalf();
  long StartScan();
  void ScanEnded(CThreadChecker* checker);
  bool ShowPicture();
  void DropScanEntries();
  void GoToCropping();
  void Merge();
  void MergeFailed(OSErr err);
  bool MergedName(FSSpec* merged) const;
  void AskForNextDocument(bool checkSpace);
  void StartOver(bool fromMerge);
  void Back();
  void Cancel();
  void ReleaseHalves();
  void HandOver(MessageT message);

  SInt32 NextDocumentPrompt();
  void ShowScanInfoDialog();
  void DeleteScanInfoDialog();

  LControl* mNext = nullptr;
  LControl* mBack = nullptr;
  LControl* mRotate = nullptr;
  LPane* mMessage = nullptr;
  CStitchPictureView* mView = nullptr;
  LPane* mGuide = nullptr;
  LPane* mPicture = nullptr;
  LPane* mStepNumber = nullptr;

  long mStep = 1;
  long mMerged = 0;
  UInt8 mFirstScan = 1;
  UInt8 mScanning = 0;
  Request mRequest;
  CTWAIN* mTWAIN = nullptr;
  CThreadChecker* mChecker = nullptr;
  FSSpec mLeftFile{}, mRightFile{};
  std::unique_ptr<CStitchCheckImage> mLeft, mRight;
  ScanData mRightRecord;
  LWindow* mScanInfo = nullptr;

  static ScanInfoFiller sScanInfoFiller;
};
