#include "jpeg/complibMac.h"

#include <cstring>
#include <string>

#include "jpeg/jpgStatus.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"

namespace {

void setName(_complibFileName* record, const UniChar* name, UniCharCount length) {
  record->hasName = kTrue;
  record->name.length = static_cast<UInt16>(length);
  std::memcpy(record->name.unicode, name, length * sizeof(UniChar));
}

std::u16string utf16FromUtf8(const std::string& s) {
  std::u16string out;
  for (size_t i = 0; i < s.size();) {
    auto c = static_cast<unsigned char>(s[i]);
    uint32_t cp = c;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (extra) cp = c & (0x3F >> extra);
    ++i;
    for (int k = 0; k < extra && i < s.size(); ++k, ++i) cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

}  // namespace

int32_t complibMacCreateFileNameFromFsRef(_complibFileName* record, const FSRef* parentRef, const HFSUniStr255* name,
                                          OSType creator, OSType type) {
  if (!record) return kJpgBadContext;
  std::memset(record, 0, sizeof(*record));
  record->creator = creator;
  record->type = type;
  if (!parentRef) return kJpgFailed;
  if (!name || name->length == 0) {
    FSCatalogInfo info{};
    if (FSGetCatalogInfo(parentRef, kFSCatInfoNodeFlags, &info, nullptr, nullptr, nullptr) != noErr) return kJpgFailed;
    record->ref = *parentRef;
    return kJpgOK;
  }
  FSRef file;
  if (FSMakeFSRefUnicode(parentRef, name->length, name->unicode, 0, &file) == noErr) {
    record->ref = file;
    return kJpgOK;
  }
  FSCatalogInfo info{};
  if (FSGetCatalogInfo(parentRef, kFSCatInfoNodeFlags, &info, nullptr, nullptr, nullptr) != noErr ||
      !(info.nodeFlags & kFSNodeIsDirectoryMask))
    return kJpgFailed;
  record->ref = *parentRef;
  setName(record, name->unicode, name->length);
  return kJpgOK;
}

int32_t complibMacCreateFileNameFromFsSpec(_complibFileName* record, const FSSpec* spec, OSType creator,
                                           OSType type) {
  if (!record) return kJpgBadContext;
  std::memset(record, 0, sizeof(*record));
  record->creator = creator;
  record->type = type;
  if (!spec) return kJpgFailed;
  FSRef ref;
  if (FSpMakeFSRef(spec, &ref) == noErr) {
    record->ref = ref;
    return kJpgOK;
  }
  // The file does not exist yet: its folder plus its name.
  std::string path;
  if (FSpGetPOSIXPath(spec, &path) != noErr) return kJpgFailed;
  size_t slash = path.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  std::u16string name = utf16FromUtf8(slash == std::string::npos ? path : path.substr(slash + 1));
  Boolean isDir = 0;
  if (name.empty() || name.size() > 255 ||
      FSPathMakeRef(reinterpret_cast<const UInt8*>(folder.c_str()), &record->ref, &isDir) != noErr || !isDir)
    return kJpgFailed;
  setName(record, reinterpret_cast<const UniChar*>(name.data()), static_cast<UniCharCount>(name.size()));
  return kJpgOK;
}

OSErr complibMacGetFsRef(FSRef* out, const _complibFileName* record) {
  if (!out || !record) return paramErr;
  if (!record->hasName) {
    *out = record->ref;
    return noErr;
  }
  return FSMakeFSRefUnicode(&record->ref, record->name.length, record->name.unicode, 0, out) == noErr ? noErr
                                                                                                   : paramErr;
}

void complibMacReleaseFileName(_complibFileName* record) {
  if (!record) return;
  record->hasName = kFalse;
  record->name.length = 0;
}

SInt16 complibCreateFile(_complibFileName* record, FSReplacement* replacement) {
  FSRef parent = record->ref;
  HFSUniStr255 name = record->name;
  // A record without a name names an existing file: its folder and its name.
  if (!record->hasName &&
      FSGetCatalogInfo(&record->ref, kFSCatInfoNone, nullptr, &name, nullptr, &parent) != noErr)
    return -1;
  FSRef created;
  if (FSBeginReplacementUnicode(&parent, name.length, name.unicode, record->creator, record->type, replacement,
                                &created) != noErr)
    return -1;
  SInt16 fork = -1;
  if (FSOpenFork(&created, 0, nullptr, fsWrPerm, &fork) != noErr) {
    FSAbandonReplacement(replacement);
    return -1;
  }
  return fork;
}

int32_t complibCommitFile(SInt16 fork, FSReplacement* replacement) {
  if (FSCloseFork(fork) != noErr) {
    FSAbandonReplacement(replacement);
    return kJpgWriteFailed;
  }
  return FSCommitReplacement(replacement) == noErr ? kJpgOK : kJpgWriteFailed;
}

SInt16 complibOpenFile(_complibFileName* record, int mode) {
  static constexpr SInt8 kPermission[] = {fsRdPerm, fsWrPerm, fsRdWrPerm};
  if (mode < 0 || mode > 2) return -1;
  FSRef ref;
  if (complibMacGetFsRef(&ref, record) != noErr) return -1;
  FSCatalogInfo info{};
  if (FSGetCatalogInfo(&ref, kFSCatInfoVolume | kFSCatInfoParentDirID, &info, nullptr, nullptr, nullptr) == noErr) {
    record->catalog[0] = static_cast<uint32_t>(info.volume);
    record->catalog[1] = static_cast<uint32_t>(info.parentDirID);
  }
  SInt16 fork = -1;
  if (FSOpenFork(&ref, 0, nullptr, kPermission[mode], &fork) != noErr) return -1;
  return fork;
}

int32_t complibCloseFile(SInt16 fork) { return FSCloseFork(fork) == noErr ? kJpgOK : kJpgFailed; }

int64_t complibReadFile(SInt16 fork, void* buffer, int64_t n) {
  ByteCount got = 0;
  OSErr err = FSReadFork(fork, fsAtMark, 0, static_cast<ByteCount>(n), buffer, &got);
  if (err != noErr && err != eofErr) return -1;
  return static_cast<int64_t>(got);
}

int64_t complibWriteFile(SInt16 fork, const void* buffer, int64_t n) {
  ByteCount put = 0;
  if (FSWriteFork(fork, fsAtMark, 0, static_cast<ByteCount>(n), buffer, &put) != noErr ||
      put != static_cast<ByteCount>(n))
    return -1;
  return n;
}

int64_t complibSeekFile(SInt16 fork, int64_t offset, int whence) {
  static constexpr UInt16 kMode[] = {fsFromStart, fsFromMark, fsFromLEOF};
  if (whence < 0 || whence > 2) return -1;
  SInt64 position = 0;
  if (FSSetForkPosition(fork, kMode[whence], offset) != noErr || FSGetForkPosition(fork, &position) != noErr)
    return -1;
  return position;
}

int64_t complibGetFileSize(_complibFileName* record) {
  FSRef ref;
  FSCatalogInfo info{};
  if (complibMacGetFsRef(&ref, record) != noErr ||
      FSGetCatalogInfo(&ref, kFSCatInfoDataSizes, &info, nullptr, nullptr, nullptr) != noErr)
    return -1;
  return static_cast<int64_t>(info.dataLogicalSize);
}

int32_t complibDeleteFile(_complibFileName* record) {
  if (!record) return kJpgBadContext;
  FSRef ref;
  if (!record->hasName) {
    ref = record->ref;
  } else {
    OSErr err = FSMakeFSRefUnicode(&record->ref, record->name.length, record->name.unicode, 0, &ref);
    if (err != noErr) return err == dirNFErr ? kJpgFolderNotFound : kJpgFileNotFound;
  }
  switch (FSDeleteObject(&ref)) {
    case noErr: return kJpgOK;
    case fnfErr: return kJpgFileNotFound;
    case dirNFErr: return kJpgFolderNotFound;
    case vLckdErr: return kJpgVolumeLocked;
    default: return kJpgFailed;
  }
}

int32_t complibCreateTmpFileName(_complibFileName* record, const _complibFileName* templ) {
  if (!record || !templ) return kJpgBadContext;
  std::memcpy(record->catalog, templ->catalog, sizeof(record->catalog));
  return complibTmpnam(record, templ);
}

int32_t complibMacCopyLastPath(FSRef* parentOut, const _complibFileName* record, HFSUniStr255* name) {
  if (!record || !name) return kJpgBadContext;
  if (record->hasName) {
    *name = record->name;
    if (parentOut) *parentOut = record->ref;
    return kJpgOK;
  }
  FSRef parent;
  if (FSGetCatalogInfo(&record->ref, kFSCatInfoNone, nullptr, name, nullptr, &parent) != noErr) return kJpgFailed;
  if (parentOut) *parentOut = parent;
  return kJpgOK;
}

int32_t complibRenameFile(const _complibFileName* source, _complibFileName* target) {
  if (!source || !target) return kJpgBadContext;
  HFSUniStr255 name;
  FSRef file, renamed;
  if (complibMacCopyLastPath(nullptr, source, &name) != kJpgOK || complibMacGetFsRef(&file, target) != noErr ||
      FSRenameUnicode(&file, name.length, name.unicode, 0, &renamed) != noErr)
    return kJpgFailed;
  target->ref = renamed;
  complibMacReleaseFileName(target);
  return kJpgOK;
}

// ---- PixMaps ------------------------------------------------------------------------------

namespace {

bool isPixMap(const PixMap& pm) { return (pm.rowBytes & kPixMapFlag) != 0; }
int32_t rowBytesOf(const PixMap& pm) { return pm.rowBytes & kRowBytesMask; }
int32_t depthOf(const PixMap& pm) { return isPixMap(pm) ? pm.pixelSize : 1; }

// The columns a row transfer between a PixMap and a rect covers, or -1 when the rows lie
// outside either.
int32_t copyWindow(const PixMap& pm, const _complibImageRect* rect, int32_t firstRow, int32_t rows) {
  const int32_t pmHeight = pm.bounds.bottom - pm.bounds.top;
  const int32_t pmWidth = pm.bounds.right - pm.bounds.left;
  if (rows < 0 || firstRow < 0 || firstRow + rows > pmHeight || rows > rect->height) return -1;
  return pmWidth < rect->width ? pmWidth : rect->width;
}

}  // namespace

int32_t complibMacSetBitMapBitsToRect(_complibImageRect* rect, int32_t firstRow, int32_t rows, PixMapHandle pixMap) {
  if (!rect || !rect->data || !pixMap || !*pixMap || !(*pixMap)->baseAddr) return kJpgBadContext;
  const PixMap& pm = **pixMap;
  const int32_t cols = copyWindow(pm, rect, firstRow, rows);
  if (cols < 0) return kJpgBadParameter;
  const int depth = depthOf(pm);
  const int32_t srcRowBytes = rowBytesOf(pm);
  auto row = [&](int32_t i) { return reinterpret_cast<const uint8_t*>(pm.baseAddr) + int64_t(firstRow + i) * srcRowBytes; };
  auto out = [&](int32_t i) { return rect->data + int64_t(i) * rect->rowBytes; };

  if (depth == 32 && (rect->bitsPerPixel == 24 || rect->bitsPerPixel == 8)) {
    for (int32_t i = 0; i < rows; ++i) {
      const uint8_t* s = row(i);
      uint8_t* d = out(i);
      for (int32_t x = 0; x < cols; ++x, s += 4) {
        if (rect->bitsPerPixel == 24) {
          *d++ = s[3];
          *d++ = s[2];
          *d++ = s[1];
        } else {
          *d++ = s[2];
        }
      }
    }
    return kJpgOK;
  }
  if (depth == 8 && isPixMap(pm) && (rect->bitsPerPixel == 24 || rect->bitsPerPixel == 8)) {
    uint8_t lut[256][3] = {};
    if (pm.pmTable && *pm.pmTable) {
      const ColorTable& t = **pm.pmTable;
      for (int i = 0; i <= t.ctSize && i < 256; ++i) {
        lut[i][0] = static_cast<uint8_t>(t.ctTable[i].rgb.blue >> 8);
        lut[i][1] = static_cast<uint8_t>(t.ctTable[i].rgb.green >> 8);
        lut[i][2] = static_cast<uint8_t>(t.ctTable[i].rgb.red >> 8);
      }
    }
    for (int32_t i = 0; i < rows; ++i) {
      const uint8_t* s = row(i);
      uint8_t* d = out(i);
      for (int32_t x = 0; x < cols; ++x) {
        const uint8_t* c = lut[s[x]];
        if (rect->bitsPerPixel == 24) {
          *d++ = c[0];
          *d++ = c[1];
          *d++ = c[2];
        } else {
          *d++ = c[1];
        }
      }
    }
    return kJpgOK;
  }
  if (depth == 1 && rect->bitsPerPixel == 1) {
    int32_t bytes = (cols + 7) / 8;
    if (bytes > rect->rowBytes) bytes = rect->rowBytes;
    for (int32_t i = 0; i < rows; ++i) std::memcpy(out(i), row(i), static_cast<size_t>(bytes));
    return kJpgOK;
  }
  return kJpgBadParameter;
}

CTabHandle complibMacCreateColorTable(int depth) {
  if (depth != 1 && depth != 8) return nullptr;
  const int entries = 1 << depth;
  auto table = reinterpret_cast<CTabHandle>(
      NewHandleClear(static_cast<Size>(sizeof(ColorTable) + (entries - 1) * sizeof(ColorSpec))));
  if (!table) return nullptr;
  ColorTable& t = **table;
  t.ctSeed = GetCTSeed();
  t.ctFlags = 0;
  t.ctSize = static_cast<SInt16>(entries - 1);
  for (int i = 0; i < entries; ++i) {
    UInt16 level = depth == 1 ? (i == 0 ? 0xFFFF : 0) : static_cast<UInt16>(i * 257);
    t.ctTable[i].value = static_cast<SInt16>(i);
    t.ctTable[i].rgb = RGBColor{level, level, level};
  }
  return table;
}

int32_t complibMacGetBitMapBitsFromRect(const _complibImageRect* rect, int32_t firstRow, int32_t rows,
                                        PixMapHandle pixMap) {
  if (!rect || !pixMap || !*pixMap) return kJpgBadContext;
  PixMap& pm = **pixMap;
  if (rows == 0) {
    const bool direct = rect->bitsPerPixel == 24;
    if (!direct && rect->bitsPerPixel != 8) return kJpgBadParameter;
    int32_t rowBytes = ((direct ? rect->width * 4 : rect->width) + 3) & ~3;
    if (rowBytes > kRowBytesMask || rect->height > 32767 || rect->width > 32767) return kJpgBadParameter;
    pm.rowBytes = static_cast<SInt16>(rowBytes | kPixMapFlag);
    pm.bounds = Rect{0, 0, static_cast<int16_t>(rect->height), static_cast<int16_t>(rect->width)};
    pm.pmVersion = 0;
    pm.packType = 0;
    pm.packSize = 0;
    pm.hRes = pm.vRes = IntToFixed(72);
    pm.pixelType = direct ? RGBDirect : Indexed;
    pm.pixelSize = direct ? 32 : 8;
    pm.cmpCount = direct ? 3 : 1;
    pm.cmpSize = 8;
    if (!direct) {
      pm.pmTable = complibMacCreateColorTable(8);
      if (!pm.pmTable) return kJpgNoMemory;
    }
    return kJpgOK;
  }
  if (!rect->data || !pm.baseAddr) return kJpgBadContext;
  const int32_t cols = copyWindow(pm, rect, firstRow, rows);
  if (cols < 0) return kJpgBadParameter;
  const int depth = depthOf(pm);
  const int32_t rb = rowBytesOf(pm);
  const int pixel = rect->bitsPerPixel;
  for (int32_t i = 0; i < rows; ++i) {
    const uint8_t* s = rect->data + int64_t(i) * rect->rowBytes;
    uint8_t* d = reinterpret_cast<uint8_t*>(pm.baseAddr) + int64_t(firstRow + i) * rb;
    if (depth == 32 && (pixel == 24 || pixel == 8)) {
      for (int32_t x = 0; x < cols; ++x, d += 4) {
        d[0] = 0;
        if (pixel == 24) {
          d[1] = s[3 * x + 2];
          d[2] = s[3 * x + 1];
          d[3] = s[3 * x];
        } else {
          d[1] = d[2] = d[3] = s[x];
        }
      }
    } else if (depth == 16 && (pixel == 24 || pixel == 8)) {
      for (int32_t x = 0; x < cols; ++x) {
        int r = pixel == 24 ? s[3 * x + 2] : s[x], g = pixel == 24 ? s[3 * x + 1] : s[x], b = pixel == 24 ? s[3 * x] : s[x];
        BEPutU16(d + 2 * x, static_cast<uint16_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3)));
      }
    } else if ((depth == 8 && pixel == 8) || (depth == 1 && pixel == 1)) {
      int32_t bytes = depth == 8 ? cols : (cols + 7) / 8;
      std::memcpy(d, s, static_cast<size_t>(bytes));
    } else {
      return kJpgBadParameter;
    }
  }
  return kJpgOK;
}
