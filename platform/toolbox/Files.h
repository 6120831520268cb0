// File Manager: files named by FSSpec (volume, folder ID, name in the system script) or by
// FSRef (Unicode names), data-fork I/O, Finder info, catalog queries and iteration.
//
// On Linux: volume and folder IDs come from a persistent table keyed by (device, inode), so a
// stored FSSpec resolves again in a later run, and a moved or deleted folder gives fnfErr or
// dirNFErr, never another folder. A '/' in a platform name is stored as ':' on disk and back.
// Finder info lives in the extended attribute user.com.apple.FinderInfo. Deleting a file this
// process holds open fails with fBsyErr.
#pragma once

#include <string>
#include <vector>

#include "toolbox/MacTypes.h"
#include "toolbox/TextConvert.h"

typedef uint32_t ItemCount;
typedef uint64_t ByteCount;
typedef uint32_t FSCatalogInfoBitmap;
typedef uint32_t FSIteratorFlags;
typedef struct OpaqueFSIterator* FSIterator;

// An opaque reference to an existing item.
struct FSRef {
  uint8_t hidden[80];
};

struct HFSUniStr255 {
  UInt16 length;
  UniChar unicode[255];
};

struct FInfo {
  OSType fdType;
  OSType fdCreator;
  UInt16 fdFlags;
  Point fdLocation;
  SInt16 fdFldr;
};

// Finder flags.
enum : UInt16 { kIsAlias = 0x8000, kIsInvisible = 0x4000, kHasBeenInited = 0x0100 };

// Open permissions.
enum : SInt8 { fsCurPerm = 0, fsRdPerm = 1, fsWrPerm = 2, fsRdWrPerm = 3, fsRdWrShPerm = 4 };

// Positioning modes (SetFPos and the fork calls).
enum : UInt16 { fsAtMark = 0, fsFromStart = 1, fsFromLEOF = 2, fsFromMark = 3 };

// ---- FSSpec calls -------------------------------------------------------------------------

// noErr when the item exists, fnfErr when only its name is missing (spec still filled),
// dirNFErr when the folder is missing. (0, 0, "") is the application's own folder; an empty
// name denotes the folder itself; a name may be a relative path with ':' separators.
OSErr FSMakeFSSpec(SInt16 vRefNum, SInt32 dirID, ConstStr255Param fileName, FSSpec* spec);
OSErr FSpCreate(const FSSpec* spec, OSType creator, OSType fileType, ScriptCode scriptTag);
OSErr FSpDirCreate(const FSSpec* spec, ScriptCode scriptTag, SInt32* createdDirID);
OSErr FSpDelete(const FSSpec* spec);
OSErr FSpRename(const FSSpec* spec, ConstStr255Param newName);
// Puts the file `source` in the place of the file `target` in one step (rename(2) over it):
// at every moment `target` names either the old file or the new one. Both must be files on
// the same volume; a locked source or target gives fLckdErr and changes nothing.
OSErr FSpReplaceFile(const FSSpec* source, const FSSpec* target);
OSErr FSpOpenDF(const FSSpec* spec, SInt8 permission, SInt16* refNum);
OSErr FSpGetFInfo(const FSSpec* spec, FInfo* info);
OSErr FSpSetFInfo(const FSSpec* spec, const FInfo* info);
OSErr HGetFInfo(SInt16 vRefNum, SInt32 dirID, ConstStr255Param fileName, FInfo* info);
OSErr FSpRstFLock(const FSSpec* spec);
OSErr FSpSetFLock(const FSSpec* spec);

// Data fork I/O on a reference number. Counts and positions are 64-bit; a short read
// returns eofErr with *count set to what was read, a short write returns dskFulErr.
OSErr FSRead(SInt16 refNum, long* count, void* buffer);
OSErr FSWrite(SInt16 refNum, long* count, const void* buffer);
OSErr SetFPos(SInt16 refNum, SInt16 posMode, long posOff);
OSErr GetFPos(SInt16 refNum, long* filePos);
OSErr GetEOF(SInt16 refNum, long* logEOF);
OSErr SetEOF(SInt16 refNum, long logEOF);
OSErr FSClose(SInt16 refNum);
// Every write already reached the file system when it returned: nothing is left to flush.
OSErr FlushVol(ConstStr63Param volName, SInt16 vRefNum);
// The whole data fork of a file, read in one go (eofErr when less came back than it holds).
OSErr FSpReadDataFork(const FSSpec* spec, std::vector<uint8_t>* bytes);

// ---- FSRef and Unicode calls --------------------------------------------------------------

enum : FSCatalogInfoBitmap {
  kFSCatInfoNone = 0,
  kFSCatInfoTextEncoding = 0x00000001,
  kFSCatInfoNodeFlags = 0x00000002,
  kFSCatInfoVolume = 0x00000004,
  kFSCatInfoParentDirID = 0x00000008,
  kFSCatInfoNodeID = 0x00000010,
  kFSCatInfoCreateDate = 0x00000020,
  kFSCatInfoContentMod = 0x00000040,
  kFSCatInfoPermissions = 0x00000400,
  kFSCatInfoFinderInfo = 0x00000800,
  kFSCatInfoDataSizes = 0x00004000,
  kFSCatInfoUserPrivs = 0x00020000,
  kFSCatInfoUserAccess = 0x00080000,
  kFSCatInfoGettableInfo = 0x0003FFFF,
};

enum : UInt16 { kFSNodeLockedMask = 0x0001, kFSNodeIsDirectoryMask = 0x0010 };
// User access bits (FSCatalogInfo::userAccess).
enum : UInt8 { kioACUserNoSeeFolderMask = 0x01, kioACUserNoSeeFilesMask = 0x02, kioACUserNoMakeChangesMask = 0x04 };

struct FSPermissionInfo {
  UInt32 userID;
  UInt32 groupID;
  UInt8 reserved1;
  UInt8 userAccess;
  UInt16 mode;
  UInt32 reserved2;
};

struct FSCatalogInfo {
  UInt16 nodeFlags;
  SInt16 volume;
  SInt32 parentDirID;
  SInt32 nodeID;
  UInt8 sharingFlags;
  UInt8 userPrivileges;
  SInt64 createDate;       // seconds since 1904
  SInt64 contentModDate;   // seconds since 1904
  FSPermissionInfo permissions;
  FInfo finderInfo;
  UInt64 dataLogicalSize;
  UInt64 dataPhysicalSize;
  TextEncoding textEncodingHint;
};

enum : FSIteratorFlags { kFSIterateFlat = 0, kFSIterateSubtree = 1 };

OSErr FSpMakeFSRef(const FSSpec* source, FSRef* newRef);
OSErr FSMakeFSRefUnicode(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name,
                         TextEncoding textEncodingHint, FSRef* newRef);
OSErr FSGetCatalogInfo(const FSRef* ref, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* catalogInfo,
                       HFSUniStr255* outName, FSSpec* fsSpec, FSRef* parentRef);
OSErr FSCreateFileUnicode(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name,
                          FSCatalogInfoBitmap whichInfo, const FSCatalogInfo* catalogInfo, FSRef* newRef,
                          FSSpec* newSpec);
OSErr FSRenameUnicode(const FSRef* ref, UniCharCount nameLength, const UniChar* name,
                      TextEncoding textEncodingHint, FSRef* newRef);
OSErr FSDeleteObject(const FSRef* ref);

OSErr FSOpenIterator(const FSRef* container, FSIteratorFlags iteratorFlags, FSIterator* iterator);
OSErr FSCloseIterator(FSIterator iterator);
// errFSNoMoreItems at the end.
OSErr FSGetCatalogInfoBulk(FSIterator iterator, ItemCount maximumObjects, ItemCount* actualObjects,
                           Boolean* containerChanged, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* catalogInfos,
                           FSRef* refs, FSSpec* specs, HFSUniStr255* names);

OSErr FSGetDataForkName(HFSUniStr255* dataForkName);
OSErr FSOpenFork(const FSRef* ref, UniCharCount forkNameLength, const UniChar* forkName, SInt8 permissions,
                 SInt16* forkRefNum);
OSErr FSReadFork(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset, ByteCount requestCount,
                 void* buffer, ByteCount* actualCount);
OSErr FSWriteFork(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset, ByteCount requestCount,
                  const void* buffer, ByteCount* actualCount);
OSErr FSSetForkPosition(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset);
OSErr FSGetForkPosition(SInt16 forkRefNum, SInt64* position);
OSErr FSGetForkSize(SInt16 forkRefNum, SInt64* forkSize);
OSErr FSSetForkSize(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset);
OSErr FSCloseFork(SInt16 forkRefNum);

// UTF-8 POSIX paths.
OSStatus FSRefMakePath(const FSRef* ref, UInt8* path, UInt32 maxPathSize);
OSStatus FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory);

// Free and total bytes of the volume that holds `vRefNum`.
OSErr FSGetVolumeFreeBytes(SInt16 vRefNum, UInt64* freeBytes, UInt64* totalBytes);

// ---- Helpers over the File Manager --------------------------------------------------------

OSErr FSpGetDirectoryID(const FSSpec* spec, SInt32* theDirID, Boolean* isDirectory);
// A POSIX path in a new handle (no terminating zero).
OSErr FSpGetFullPath(const FSSpec* spec, SInt16* fullPathLength, Handle* fullPath);
// Copies a file's data fork and Finder info into folder `dstSpec` (named copyName, or the
// source's name). dskFulErr when the disk fills; no partial copy is ever left.
OSErr FSpFileCopy(const FSSpec* srcSpec, const FSSpec* dstSpec, ConstStr255Param copyName, void* copyBufferPtr,
                  long copyBufferSize, Boolean preflight);
// Items of a folder by 1-based index: files only, folders only, or both. Symbolic links are
// reported as files, so a walk never leaves the folder.
OSErr GetDirItems(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, Boolean getFiles, Boolean getDirectories,
                  FSSpec* items, SInt16 reqItemCount, SInt16* actItemCount, SInt16* itemIndex);

// Catalog information about one item, as a file's view and as a folder's view of the same
// block. In: ioNamePtr, ioVRefNum, ioFDirIndex and ioDirID; out: the rest (and ioNamePtr's
// name when the item was asked for by index). ioFDirIndex > 0 asks for the n-th item of the
// folder ioDirID; 0 for the item named by ioNamePtr in it (empty: the folder itself); < 0
// for the folder ioDirID itself. A folder's ioDrDirID takes the place of ioDirID.
enum : SInt8 { kioFlAttribLockedMask = 0x01, kioFlAttribDirMask = 0x10 };
struct HFileInfo {
  StringPtr ioNamePtr;
  SInt16 ioVRefNum;
  OSErr ioResult;
  SInt16 ioFDirIndex;
  SInt8 ioFlAttrib;
  SInt32 ioDirID;    // in: the folder; out: the file's number
  SInt32 ioFlParID;  // the folder that holds the file
  FInfo ioFlFndrInfo;
  long ioFlLgLen;
  long ioFlPyLen;
};
struct DirInfo {
  StringPtr ioNamePtr;
  SInt16 ioVRefNum;
  OSErr ioResult;
  SInt16 ioFDirIndex;
  SInt8 ioFlAttrib;
  SInt32 ioDrDirID;  // the folder's own ID
  SInt32 ioDrParID;  // the folder that holds it (1 above a volume's root)
  UInt16 ioDrNmFls;  // items inside it
};
union CInfoPBRec {
  HFileInfo hFileInfo;
  DirInfo dirInfo;
};
typedef CInfoPBRec* CInfoPBPtr;
OSErr PBGetCatInfoSync(CInfoPBPtr pb);
// Catalog information of (vRefNum, dirID, name) without returning a name (empty name: the
// folder dirID itself).
OSErr GetCatInfoNoName(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, CInfoPBPtr pb);

// ---- Linux bridge (for the platform layer itself) -----------------------------------------

// The POSIX path an FSSpec names (the item need not exist; its folder must).
OSErr FSpGetPOSIXPath(const FSSpec* spec, std::string* path);
// The FSSpec of a POSIX path (fnfErr with the FSSpec filled when only the last element is missing).
OSErr FSpMakeFromPOSIXPath(const std::string& path, FSSpec* spec);

// ---- Test hooks ---------------------------------------------------------------------------

// From now on, writes through the File Manager fail with dskFulErr once `bytes` more have
// been written, and reads fail with ioErr once `bytes` more have been read (-1: no limit).
void FSTestSetWriteLimit(SInt64 bytes);
void FSTestSetReadLimit(SInt64 bytes);
// Once `bytes` more have been written through the File Manager, `stop` is called (once) in
// the middle of the write, with what came before it on the disk (null: no stop).
void FSTestSetWriteStop(SInt64 bytes, void (*stop)());
// From now on, no volume reports more than `bytes` free (-1: what the disk has).
void FSTestSetFreeSpace(SInt64 bytes);
