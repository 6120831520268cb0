#include "framework/LFile.h"

#include <cstring>

#include "framework/LException.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"

LFile::LFile() { std::memset(&mSpec, 0, sizeof mSpec); }

LFile::LFile(const FSSpec& spec) : mSpec(spec) {}

LFile::~LFile() {
  // Destructors must not throw: close quietly.
  if (mDataForkRefNum != refNum_Undefined) FSClose(mDataForkRefNum);
  if (mResourceForkRefNum != refNum_Undefined) CloseResFile(mResourceForkRefNum);
}

void LFile::SetSpecifier(const FSSpec& spec) {
  CloseDataFork();
  CloseResourceFork();
  mSpec = spec;
}

AliasHandle LFile::MakeAlias(const FSSpec* fromFile) {
  AliasHandle alias = nullptr;
  ThrowIfOSErr_(NewAlias(fromFile, &mSpec, &alias));
  return alias;
}

void LFile::CreateNewFile(OSType creator, OSType fileType, ScriptCode script) {
  FSpCreateResFile(&mSpec, creator, fileType, script);
  ThrowIfOSErr_(ResError());
}

void LFile::CreateNewDataFile(OSType creator, OSType fileType, ScriptCode script) {
  ThrowIfOSErr_(FSpCreate(&mSpec, creator, fileType, script));
}

SInt16 LFile::OpenDataFork(SInt16 permissions) {
  if (mDataForkRefNum != refNum_Undefined) return mDataForkRefNum;
  SInt16 refNum = refNum_Undefined;
  ThrowIfOSErr_(FSpOpenDF(&mSpec, static_cast<SInt8>(permissions), &refNum));
  mDataForkRefNum = refNum;
  return refNum;
}

void LFile::CloseDataFork() {
  if (mDataForkRefNum == refNum_Undefined) return;
  SInt16 refNum = mDataForkRefNum;
  mDataForkRefNum = refNum_Undefined;
  ThrowIfOSErr_(FSClose(refNum));
}

Handle LFile::ReadDataFork() {
  bool openedHere = mDataForkRefNum == refNum_Undefined;
  if (openedHere) OpenDataFork(fsRdPerm);
  Handle data = nullptr;
  try {
    long length = 0;
    ThrowIfOSErr_(GetEOF(mDataForkRefNum, &length));
    data = NewHandle(length);
    ThrowIfNil_(data);
    ThrowIfOSErr_(SetFPos(mDataForkRefNum, fsFromStart, 0));
    long count = length;
    HLock(data);
    OSErr err = FSRead(mDataForkRefNum, &count, *data);
    HUnlock(data);
    ThrowIfOSErr_(err);
  } catch (...) {
    if (data) DisposeHandle(data);
    if (openedHere) {
      FSClose(mDataForkRefNum);
      mDataForkRefNum = refNum_Undefined;
    }
    throw;
  }
  if (openedHere) CloseDataFork();
  return data;
}

SInt32 LFile::WriteDataFork(const void* buffer, SInt32 count) {
  if (mDataForkRefNum == refNum_Undefined) Throw_(fnOpnErr);
  ThrowIfOSErr_(SetFPos(mDataForkRefNum, fsFromStart, 0));
  long written = count;
  ThrowIfOSErr_(FSWrite(mDataForkRefNum, &written, buffer));
  ThrowIfOSErr_(SetEOF(mDataForkRefNum, written));
  return static_cast<SInt32>(written);
}

SInt16 LFile::OpenResourceFork(SInt16 permissions) {
  if (mResourceForkRefNum != refNum_Undefined) return mResourceForkRefNum;
  SInt16 refNum = FSpOpenResFile(&mSpec, static_cast<SInt8>(permissions));
  if (refNum == -1) {
    OSErr err = ResError();
    Throw_(err != noErr ? err : static_cast<OSErr>(resFNotFound));
  }
  mResourceForkRefNum = refNum;
  return refNum;
}

void LFile::CloseResourceFork() {
  if (mResourceForkRefNum == refNum_Undefined) return;
  SInt16 refNum = mResourceForkRefNum;
  mResourceForkRefNum = refNum_Undefined;
  CloseResFile(refNum);
  ThrowIfOSErr_(ResError());
}

SInt16 LFile::OpenOrCreateResourceFork(SInt16 permissions, OSType creator, OSType fileType, ScriptCode script) {
  if (mResourceForkRefNum != refNum_Undefined) return mResourceForkRefNum;
  SInt16 refNum = FSpOpenResFile(&mSpec, static_cast<SInt8>(permissions));
  if (refNum == -1) {
    FSpCreateResFile(&mSpec, creator, fileType, script);
    OSErr err = ResError();
    if (err != noErr && err != dupFNErr) Throw_(err);
    return OpenResourceFork(permissions);
  }
  mResourceForkRefNum = refNum;
  return refNum;
}
