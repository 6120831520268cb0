// Resource Manager: typed, numbered resources read from resource files, and the chain of
// open resource files searched from the current one down to the first one opened.
//
// A resource's data is loaded into a Handle (MacMemory.h) that carries the resource bit of
// HGetState, and stays the same handle until it is released. Changes reach the file on
// WriteResource, UpdateResFile and CloseResFile; every write replaces the fork whole, so a
// failed write leaves the old file as it was. Every call sets the value ResError reports.
#pragma once

#include <string>

#include "toolbox/MacTypes.h"

// The chain.
SInt16 CurResFile();
void UseResFile(SInt16 refNum);  // resFNotFound for a file that is not open
// -1 on failure (ResError tells why: fnfErr, eofErr for an empty fork, mapReadErr for a
// damaged one). Opening a file that is already open returns its reference unchanged;
// otherwise the file goes on top of the chain and becomes current.
SInt16 FSpOpenResFile(const FSSpec* spec, SInt8 permission);
// Gives a file an empty resource fork: a new file holds it in its data fork, a file that
// already has data gets an AppleDouble sidecar. dupFNErr when the fork exists already.
void FSpCreateResFile(const FSSpec* spec, OSType creator, OSType fileType, ScriptCode scriptTag);
// Writes what changed, releases the file's resource handles and leaves the chain; the
// file opened before it becomes current when it was current.
void CloseResFile(SInt16 refNum);
void UpdateResFile(SInt16 refNum);
OSErr ResError();

// Keeps the current resource file for a scope: whatever a driver, plug-in or dialog makes
// current inside it, the file current before is current again afterwards. Given a file, it
// makes that one current for the scope (none for -1, a file that failed to open).
class StCurResFile {
 public:
  StCurResFile() : mSaved(CurResFile()) {}
  explicit StCurResFile(SInt16 refNum) : mSaved(CurResFile()) {
    if (refNum != -1) UseResFile(refNum);
  }
  ~StCurResFile() { UseResFile(mSaved); }
  StCurResFile(const StCurResFile&) = delete;
  StCurResFile& operator=(const StCurResFile&) = delete;

 private:
  SInt16 mSaved;
};

// Finding resources.
Handle GetResource(ResType type, SInt16 id);   // the chain from the current file down
Handle Get1Resource(ResType type, SInt16 id);  // the current file only
SInt16 CountResources(ResType type);
SInt16 Count1Resources(ResType type);
Handle GetIndResource(ResType type, SInt16 index);  // 1-based, over the chain
Handle Get1IndResource(ResType type, SInt16 index);
SInt16 Count1Types();
// Item `index` of 'STR#' `strListID` from the chain; an empty string when either is missing.
void GetIndString(Str255 theString, SInt16 strListID, SInt16 index);

// About a resource handle.
void GetResInfo(Handle h, SInt16* id, ResType* type, Str255 name);
SInt16 HomeResFile(Handle h);

// Changing resources (files opened with write permission only: wrPermErr otherwise).
// A changed resource that was not written is neither released nor detached (resAttrErr),
// so a change is never lost silently.
void ReleaseResource(Handle h);
void DetachResource(Handle h);
void AddResource(Handle h, ResType type, SInt16 id, ConstStr255Param name);
void RemoveResource(Handle h);
void ChangedResource(Handle h);
void WriteResource(Handle h);

// Linux bridge: the same as FSpOpenResFile and FSpCreateResFile for a POSIX path.
SInt16 OpenResFilePath(const std::string& path, SInt8 permission);
OSErr CreateResFilePath(const std::string& path);
// Sets what ResError reports, for the layer's own entry points over these.
void ResSetError(OSErr err);

// The application's own resource file, opened read-only at start-up and kept open.
SInt16 OpenApplicationResFile(const std::string& path);
SInt16 ApplicationResFile();  // -1 before it is opened
// $WX_RESOURCE_FILE when set (tests), else the runtime tree's share/wendrix/Wendrix.rsrc.
std::string FindApplicationResourceFile();
