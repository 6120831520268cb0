#include "output/formats/mtFileLayer.h"

#include <cstring>
#include <string>

#include "toolbox/Files.h"
#include "toolbox/Folders.h"
#include "toolbox/MacErrors.h"
#include "toolbox/RecordAccess.h"

namespace {

constexpr OSType kCreator = 'DR65';
constexpr OSType kType = 'Calb';
constexpr size_t kEntryBytes = 12;

OSErr SpecFor(const char* name, FSSpec* spec) {
  if (name[0] == '/') return FSpMakeFromPOSIXPath(name, spec);
  SInt16 vRef = 0;
  SInt32 dirID = 0;
  OSErr err = FindFolder(kUserDomain, kPreferencesFolderType, kCreateFolder, &vRef, &dirID);
  if (err != noErr) return err;
  const size_t len = std::strlen(name);
  if (len > 255) return bdNamErr;
  Str255 pname;
  pname[0] = static_cast<unsigned char>(len);
  std::memcpy(pname + 1, name, len);
  return FSMakeFSSpec(vRef, dirID, pname, spec);
}

// The bytes a buffer of `layout` stands for, big-endian; false when count and layout disagree.
bool Serialise(const void* buffer, uint32_t count, int layout, uint8_t* out) {
  switch (layout) {
    case kMTLayoutU16:
    case kMTLayoutU16Alt:
      if (count != 2) return false;
      BEPutU16(out, *static_cast<const uint16_t*>(buffer));
      return true;
    case kMTLayoutU32:
    case kMTLayoutU32Alt:
      if (count != 4) return false;
      BEPutU32(out, *static_cast<const uint32_t*>(buffer));
      return true;
    case kMTLayoutEntry: {
      if (count != kEntryBytes) return false;
      const auto* e = static_cast<const MTDirEntry*>(buffer);
      BEPutU16(out, e->tag);
      BEPutU16(out + 2, e->type);
      BEPutU32(out + 4, e->count);
      BEPutU32(out + 8, e->value);
      return true;
    }
    default:
      return false;
  }
}

bool Deserialise(const uint8_t* in, uint32_t count, int layout, void* buffer) {
  switch (layout) {
    case kMTLayoutU16:
    case kMTLayoutU16Alt:
      if (count != 2) return false;
      *static_cast<uint16_t*>(buffer) = BEGetU16(in);
      return true;
    case kMTLayoutU32:
    case kMTLayoutU32Alt:
      if (count != 4) return false;
      *static_cast<uint32_t*>(buffer) = BEGetU32(in);
      return true;
    case kMTLayoutEntry: {
      if (count != kEntryBytes) return false;
      auto* e = static_cast<MTDirEntry*>(buffer);
      e->tag = BEGetU16(in);
      e->type = BEGetU16(in + 2);
      e->count = BEGetU32(in + 4);
      e->value = BEGetU32(in + 8);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace

MTFileHandle CreateFile(const char* name, uint32_t, uint32_t, void*, uint32_t creation, uint32_t, MTFileHandle) {
  if (!name || !*name || (creation != kMTCreateAlways && creation != kMTOpenExisting)) return nullptr;
  FSSpec spec{};
  OSErr err = SpecFor(name, &spec);
  if (err != noErr && !(err == fnfErr && creation == kMTCreateAlways)) return nullptr;
  if (creation == kMTCreateAlways) {
    err = FSpDelete(&spec);
    if (err != noErr && err != fnfErr) return nullptr;
    if (FSpCreate(&spec, kCreator, kType, smSystemScript) != noErr) return nullptr;
  }
  SInt16 refNum = 0;
  if (FSpOpenDF(&spec, fsRdWrPerm, &refNum) != noErr) return nullptr;
  return new MTFileCell{refNum};
}

int ReadFile(MTFileHandle file, void* buffer, uint32_t count, uint32_t* countDone, void*, int layout) {
  if (countDone) *countDone = 0;
  if (!file || !buffer) return 0;
  if (layout == kMTLayoutBytes) {
    long n = count;
    if (FSRead(file->refNum, &n, buffer) != noErr || n != long(count)) return 0;
  } else {
    uint8_t bytes[kEntryBytes];
    long n = count;
    if (count > sizeof bytes || FSRead(file->refNum, &n, bytes) != noErr || n != long(count)) return 0;
    if (!Deserialise(bytes, count, layout, buffer)) return 0;
  }
  if (countDone) *countDone = count;
  return 1;
}

int WriteFile(MTFileHandle file, const void* buffer, uint32_t count, uint32_t* countDone, void*, int layout) {
  if (countDone) *countDone = 0;
  if (!file || (!buffer && count)) return 0;
  long n = count;
  OSErr err;
  if (layout == kMTLayoutBytes) {
    err = FSWrite(file->refNum, &n, buffer);
  } else {
    uint8_t bytes[kEntryBytes];
    if (!Serialise(buffer, count, layout, bytes)) return 0;
    err = FSWrite(file->refNum, &n, bytes);
  }
  if (err != noErr || n != long(count)) return 0;
  if (countDone) *countDone = count;
  return 1;
}

long SetFilePointer(MTFileHandle file, long offset, long*, uint32_t method) {
  if (!file) return -1;
  long eof = 0;
  if (GetEOF(file->refNum, &eof) != noErr) return -1;
  const long target = method == kMTFromEnd ? eof + offset : offset;
  if (target < 0) return -1;
  if (target > eof && SetEOF(file->refNum, target) != noErr) return -1;
  if (SetFPos(file->refNum, fsFromStart, target) != noErr) return -1;
  return target;
}

int CloseHandle(MTFileHandle file) {
  if (!file) return 0;
  const OSErr err = FSClose(file->refNum);
  delete file;
  return err == noErr ? 1 : 0;
}
