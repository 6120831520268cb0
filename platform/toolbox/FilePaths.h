// The boundary between the platform's names and Linux paths, shared by the File, Folder
// and Alias Managers (not for the system's code).
//
// A platform name is bytes in the system script; on disk it is UTF-8 with '/' written as
// ':' (a platform name never holds ':', a Linux one never holds '/'), so a typed name can
// never leave its folder.
#pragma once

#include <string>
#include <string_view>

#include "toolbox/Files.h"
#include "toolbox/PathNames.h"

// The platform's error for an errno value.
OSErr FpErrno(int err);

// A platform name (system script) as a disk name; bdNamErr when it has no UTF-8 form, is
// empty, "." or "..", or holds a NUL.
OSErr FpDiskName(std::string_view macName, std::string* disk);
// A disk name as a platform name in a Pascal string of `capacity` bytes; bdNamErr when the
// script cannot write it or it does not fit.
OSErr FpMacName(const std::string& disk, StringPtr out, size_t capacity);
// UTF-16 names (FSRef calls); errFSNameTooLong above 255 units or 255 bytes on disk.
OSErr FpDiskNameFromUnicode(const UniChar* name, UniCharCount length, std::string* disk);
void FpUnicodeName(const std::string& disk, HFSUniStr255* out);

// The folder (vRefNum, dirID) names: (0, 0) is the application's folder, (v, 0) the root
// of volume v. dirNFErr / nsvErr when it does not resolve.
OSErr FpFolderPath(SInt16 vRefNum, SInt32 dirID, std::string* path);
// Resolves a name relative to (vRefNum, dirID) with the platform's path syntax (':' leads a
// partial path, "::" climbs one folder, "Volume:a:b" is a full path) into the folder that
// holds the item and the item's disk name ("" when the name denotes the folder itself).
// dirNFErr when a folder on the way is missing or the path climbs above its volume.
OSErr FpResolve(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, std::string* folder, std::string* leaf);
// The FSSpec of `leaf` inside the existing folder `folder` ("" leaf: of the folder itself).
// An existing item whose name the script cannot write, or that is too long for a Str63, gets
// the platform's mangled form ("start#1A2B3.ext"), which FpResolve finds again.
OSErr FpMakeSpec(const std::string& folder, const std::string& leaf, FSSpec* spec);

// The "file://" URL of an absolute path, percent-encoding every byte but letters, digits
// and "/-_.~".
std::string FpFileURL(const std::string& path);
// The absolute path a "file://" (or "file://localhost/") URL names; false for anything
// else, a bad escape, or an escaped NUL.
bool FpPathFromFileURL(const std::string& url, std::string* path);

// Finder info: 32 bytes in the platform's layout, zeros where none is stored. Setting it
// where the file system refuses extended attributes silently does nothing.
constexpr size_t kFinderInfoSize = 32;
void FpGetFinderInfo(const std::string& path, uint8_t info[kFinderInfoSize]);
OSErr FpSetFinderInfo(const std::string& path, const uint8_t info[kFinderInfoSize]);
void FpFInfoFromBytes(const uint8_t info[kFinderInfoSize], FInfo* out);
void FpFInfoToBytes(const FInfo& in, uint8_t info[kFinderInfoSize]);
