// The TWAIN connection: registers the application with the data source manager, opens a
// source by product name, negotiates the scan settings, routes the application's events to
// the source while a scan runs, and moves each page in memory blocks into a raw scan file
// from a cooperative thread.
#pragma once

#include "framework/LAttachment.h"
#include "framework/LStr255.h"
#include "framework/TArray.h"
#include "twain/Twain.h"
#include "windows/Events.h"

class LAttachable;
class LThread;

class CTWAIN : public LAttachment {
 public:
  typedef void (*IdleProc)();

  // Attaches itself to the application host (SetApplicationHost), active and registered.
  CTWAIN();
  ~CTWAIN() override;

  // The application object that offers every event to its attachments; set once at start-up.
  static void SetApplicationHost(LAttachable* host) { sApplicationHost = host; }

  static long InitializeTWAIN();
  static long TerminateTWAIN();
  static TArray<TW_IDENTITY>* Get_DataSources();

  virtual long SetDriverAndOpen(const unsigned char* productName);
  virtual void Setup_Parameter(long callerCode, unsigned long fileType, unsigned char showDriverUI, long source,
                               long imageMode, long resolution, Rect& area, long level, unsigned char flag);
  virtual long Scan();
  virtual long Scan_Next(const unsigned char* productName);
  virtual void Scan_Continue();
  virtual void Thread();
  virtual void SetDoCheckImageSize(unsigned char on) { mCheckImageSize = on; }
  virtual void SetImageSizeOver(unsigned char on) { mImageSizeOver = on; }
  virtual void SetImageResOver(unsigned char on) { mImageResOver = on; }

  unsigned short SetCapability();
  unsigned short TWMemTransferImage(short fileRef, TW_IMAGEINFO* info);
  void DisableDS();
  short EnableColorMatching(unsigned char on);
  short SetLightPath();
  short GetLightPath() const { return mLightPath; }
  void DataInitialize();

  // Where the raw scan files go: the temporary folder's own specification.
  void SetTempFolder(const FSSpec& folder) { mTempFolder = folder; }
  void SetIdleHook(IdleProc hook) { mIdleHook = hook; }
  void SetActive(unsigned char active) { mActive = active; }

  unsigned char IsDone() const { return mDone; }
  short GetResult() const { return mResult; }
  TArray<TW_IMAGEINFO>* GetImageInfoArray() { return &mImageInfoList; }
  TArray<FSSpec>* GetTempFileArray() { return &mFileList; }
  long GetImageCount() const { return mImageInfoList.GetCount(); }
  const LStr255& GetModelString() const { return mModelString; }
  // The pages' profile name after a dialog has converted them to another profile.
  void SetModelString(ConstStr255Param name) { mModelString = name; }
  unsigned char GetShowDriverUI() const { return mShowDriverUI; }
  // The function that asked for the scan (3 is Mail) and the image mode it asked for.
  long GetCallerCode() const { return mCallerCode; }
  long GetImageMode() const { return mImageMode; }
  unsigned char IsDeepImage() const { return mDeepImage; }
  // The source's condition code when it failed a transfer (a jam, an open cover), else 0.
  unsigned short GetSourceCondition() const { return mSourceCondition; }
  unsigned char IsImageSizeOver() const { return mImageSizeOver; }
  unsigned char IsImageResOver() const { return mImageResOver; }
  unsigned char GetMulticropSlant() const { return mMulticropSlant; }
  static unsigned char IsRegistered() { return mInit; }

 protected:
  void ExecuteSelf(MessageT message, void* param) override;

 private:
  static void Scan_Thread(LThread& thread, void* arg);
  void ClearForScan();
  void ResetPendingTransfers();
  void EndWithError(short fileRef);
  short SourceFailed(short rc);
  unsigned short NegotiateSource1(unsigned short rc);

  unsigned long mFileType = 0;
  long mCallerCode = 0;
  unsigned char mShowDriverUI = 0;
  long mSource = 0;
  long mImageMode = 0;
  long mResolution = 0;
  Rect mArea{};
  long mLevel = 0;
  unsigned char mFlag = 0;
  LThread* mThread = nullptr;
  unsigned char mDone = 0;
  short mResult = 0;
  TArray<TW_IMAGEINFO> mImageInfoList;
  TArray<FSSpec> mFileList;
  unsigned char mActive = 0;
  short mLightPath = 0;
  IdleProc mIdleHook = nullptr;
  unsigned char mDeepImage = 0;
  unsigned short mSourceCondition = 0;
  unsigned char mMulticropSlant = 0;
  LStr255 mModelString;
  unsigned char mCheckImageSize = 0;
  unsigned char mImageSizeOver = 0;
  unsigned char mImageResOver = 0;
  FSSpec mTempFolder{};
  SInt16 mAppResFile = -1;
  short mColorMatching = -1;  // the value to send once a source is open, -1 when none is asked

  static unsigned char mInit;
  static LAttachable* sApplicationHost;
};
