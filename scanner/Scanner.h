// The driver plug-in host: finds the plug-ins, loads one, fills its parameter block, drives
// it through its selectors and writes each page it delivers as a raw scan file. The whole
// scan runs inside Scan(), on the main thread.
#pragma once

#include "cfm/CodeFragments.h"
#include "cfm/PlugInEntry.h"
#include "framework/TArray.h"
#include "scanner/OstrelScannerRecord.h"

class Scanner {
 public:
  Scanner();
  virtual ~Scanner();
  Scanner(const Scanner&) = delete;
  Scanner& operator=(const Scanner&) = delete;

  // The acceptable plug-in files of the plug-in folder (the caller deletes the list), or null.
  static TArray<FSSpec>* GetPlugIns();
  // The folder "Plug-Ins" beside the application, created when missing: 1 and its spec, or 0.
  static long GetPlugIn_Dir(FSSpec& folder);
  // The plug-in's version from its 'vers' 1 resource (masked to 0xFFF0), 0 on failure.
  static long GetDriverVersion(FSSpec& file);

  virtual long SetDriverAndOpen(unsigned char* fileName);
  virtual void Setup_Parameter(long callerCode, unsigned char showDriverUI, long source, long imageMode,
                               long resolution, Rect& area, long level);
  virtual long Scan();
  virtual long GetImageCount() const { return mFiles.GetCount(); }
  virtual TArray<FSSpec>* GetTempFileArray() { return &mFiles; }
  virtual TArray<OstrelScannerRecord>* GetAcquireOstrelArray() { return &mRecords; }
  virtual void DriverClose();
  virtual long Dump_To_TempFile();
  virtual long DumpData_Save(SInt16 fileRef);
  virtual void Thread();

  void SetHostSig(long callerCode, unsigned char showDriverUI, long source, long imageMode);
  void SetImageMode(unsigned char showDriverUI, long source, long imageMode);
  void Set_Moire(unsigned char showDriverUI, long source, long imageMode);
  void DataInitialize();

  // Where the raw scan files go: the temporary folder's own specification.
  void SetTempFolder(const FSSpec& folder) { mTempFolder = folder; }
  unsigned char IsDone() const { return mDone; }
  unsigned char LastPageSaved() const { return mLastPageSaved; }
  OstrelScannerRecord& LiveRecord() { return *mRecord; }

 private:
  short Call(short selector);

  TArray<OstrelScannerRecord> mRecords;
  TArray<FSSpec> mFiles;
  CFragConnectionID mConnection = nullptr;
  PlugInEntryProc mMain = nullptr;
  FSSpec mPlugInSpec{};
  SInt16 mResFile = -1;  // the plug-in's resource fork while it is loaded
  OstrelScannerRecord* mRecord;
  unsigned char mDone = 0;
  unsigned char mLastPageSaved = 0;
  long mData = 0;
  FSSpec mTempFolder{};
};
