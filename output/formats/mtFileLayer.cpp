#include "output/formats/mtFileLayer.h"

#include <cstring>
#include <string>

#include "toolbox/FileReplacement.h"
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

// Marks the file as one that must not be kept, and answers `result`.
int Failed(MTFileHandle file, int result = 0) {
  file->failed = true;
  return result;
}

}  // namespace

MTFileHandle CreateFile(const char* name, uint32_t, uint32_t, void*, uint32_t creation, uint32_t, MTFileHandle) {
  if (!name || !*name || (creation != kMTCreateAlways && creation != kMTOpenExisting)) return nullptr;
  FSSpec spec{};
  OSErr err = SpecFor(name, &spec);
  if (err != noErr && !(err == fnfErr && creation == kMTCreateAlways)) return nullptr;
  auto* cell = new MTFileCell{};
  if (creation == kMTCreateAlways) {
    FSSpec target = spec;
    err = FSpBeginReplacement(&target, kCreator, kType, &cell->replacement, &spec);
  }
  if (err == noErr || err == fnfErr) err = FSpOpenDF(&spec, fsRdWrPerm, &cell->refNum);
  if (err != noErr) {
    FSAbandonReplacement(&cell->replacement);
    delete cell;
    return nullptr;
  }
  return cell;
}

int ReadFile(MTFileHandle file, void* buffer, uint32_t count, uint32_t* countDone, void*, int layout) {
  if (countDone) *countDone = 0;
  if (!file) return 0;
  if (!buffer) return Failed(file);
  if (layout == kMTLayoutBytes) {
    long n = count;
    if (FSRead(file->refNum, &n, buffer) != noErr || n != long(count)) return Failed(file);
  } else {
    uint8_t bytes[kEntryBytes];
    long n = count;
    if (count > sizeof bytes || FSRead(file->refNum, &n, bytes) != noErr || n != long(count)) return Failed(file);
    if (!Deserialise(bytes, count, layout, buffer)) return Failed(file);
  }
  if (countDone) *countDone = count;
  return 1;
}

int WriteFile(MTFileHandle file, const void* buffer, uint32_t count, uint32_t* countDone, void*, int layout) {
  if (countDone) *countDone = 0;
  if (!file) return 0;
  if (!buffer && count) return Failed(file);
  long n = count;
  OSErr err;
  if (layout == kMTLayoutBytes) {
    err = FSWrite(file->refNum, &n, buffer);
  } else {
    uint8_t bytes[kEntryBytes];
    if (!Serialise(buffer, count, layout, bytes)) return Failed(file);
    err = FSWrite(file->refNum, &n, bytes);
  }
  if (err != noErr || n != long(count)) return Failed(file);
  if (countDone) *countDone = count;
  return 1;
}

long SetFilePointer(MTFileHandle file, long offset, long*, uint32_t method) {
  if (!file) return -1;
  long eof = 0;
  if (GetEOF(file->refNum, &eof) != noErr) return Failed(file, -1);
  const long target = method == kMTFromEnd ? eof + offset : offset;
  if (target < 0) return Failed(file, -1);
  if (target > eof && SetEOF(file->refNum, target) != noErr) return Failed(file, -1);
  if (SetFPos(file->refNum, fsFromStart, target) != noErr) return Failed(file, -1);
  return target;
}

int CloseHandle(MTFileHandle file) {
  if (!file) return 0;
  OSErr err = FSClose(file->refNum);
  if (err == noErr && !file->replacement.temp.empty())
    err = file->failed ? OSErr(ioErr) : FSCommitReplacement(&file->replacement);
  FSAbandonReplacement(&file->replacement);
  delete file;
  return err == noErr ? 1 : 0;
}
