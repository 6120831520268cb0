// Scanner-button event files: the scanner-button service writes "KVQR.<local time>.plist"
// into the event folder, naming the scanner and the pushed button, then launches or
// reopens the application, which takes the newest fitting file.
#pragma once

#include "prefs/PrefRecords.h"
#include "corefoundation/CFDictionary.h"
#include "toolbox/Files.h"

struct AEDesc;

struct KVQRInfo {
  char path[256];        // UTF-8, NUL-terminated
  char deviceName[32];   // UTF-8, NUL-terminated, at most 31 bytes
  UInt8 eventData[16];   // the first byte is the pushed button, counted from 1
};

// Event files above this size are never read.
constexpr SInt64 kMaxEventFileBytes = 64 * 1024;

// 0 when a fitting event file was found (info, product ID and file filled), else -1. A file
// is taken only when it is a regular file of this user or root, at most 64 KB, and its
// dictionary holds the "FileID" of the service, a "DeviceName" string that names a known
// model and "EventData" data of at least one byte.
long FindKVQR(KVQRInfo* info, unsigned short* productID, FSSpec* file);

// The file's dictionary when its "FileID" is the service's; null otherwise (the caller
// releases it).
CFDictionaryRef loadPushScanInfo(const char* path);

// Copies a loaded event's device name (cut to 31 bytes at a character boundary) and event
// data (zero-padded to 16 bytes) into `info`; false when either is missing or mistyped, or
// the data is empty.
bool ReadPushScanInfo(CFDictionaryRef event, KVQRInfo* info);

// Gives PREF_ALL the button assignments of a scanner with `buttons` buttons.
void ResetButtonAssignments(RecordBytes prefsAll, long buttons);

// The signature of the event's sender; 0 when it is no known process.
OSType AEGetCreatorOfSender(const AEDesc& event);
// The signature of the process that launched this one; platform errors are thrown.
OSType GetMyApplicationFileSpec();
