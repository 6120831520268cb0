// File descriptors and the paths they name.
#include <cstring>

#include "appservices/aeItems.h"
#include "toolbox/Aliases.h"
#include "toolbox/FilePaths.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"

namespace {

OSErr PathOfAlias(const std::vector<UInt8>& bytes, std::string* path) {
  Handle alias = nullptr;
  if (PtrToHand(bytes.data(), &alias, static_cast<Size>(bytes.size())) != noErr) return memFullErr;
  FSSpec target{};
  Boolean changed = false;
  OSErr err = ResolveAlias(nullptr, reinterpret_cast<AliasHandle>(alias), &target, &changed);
  DisposeHandle(alias);
  return err == noErr ? FSpGetPOSIXPath(&target, path) : err;
}

OSErr PathOfURL(const std::vector<UInt8>& bytes, std::string* path) {
  return FpPathFromFileURL(std::string(bytes.begin(), bytes.end()), path) ? OSErr(noErr) : OSErr(errAECoercionFail);
}

}  // namespace

OSErr aePathOfDesc(const AEDesc& desc, std::string* path) {
  const std::vector<UInt8> bytes = aeBytes(desc);
  switch (desc.descriptorType) {
    case typeFSS: {
      if (bytes.size() < kFSSpecRecordSize) return errAECorruptData;
      std::vector<UInt8> copy = bytes;
      const FSSpec spec = RecordBytes(copy.data(), copy.size()).fsspec(0);
      return FSpGetPOSIXPath(&spec, path);
    }
    case typeAlias:
      return PathOfAlias(bytes, path);
    case typeFSRef: {
      if (bytes.size() != sizeof(FSRef)) return errAECorruptData;
      FSRef ref;
      std::memcpy(&ref, bytes.data(), sizeof ref);
      char buffer[4096];
      OSStatus err = FSRefMakePath(&ref, reinterpret_cast<UInt8*>(buffer), sizeof buffer);
      if (err == noErr) *path = buffer;
      return static_cast<OSErr>(err);
    }
    case typeFileURL:
      return PathOfURL(bytes, path);
    default:
      return errAECoercionFail;
  }
}

OSErr aePathsOfDesc(const AEDesc& desc, std::vector<std::string>* paths) {
  paths->clear();
  if (desc.descriptorType != typeAEList) {
    std::string path;
    OSErr err = aePathOfDesc(desc, &path);
    if (err == noErr) paths->push_back(path);
    return err;
  }
  std::vector<UInt8> bytes = aeBytes(desc);
  std::vector<aeItem> items;
  if (!aeParseItems(bytes.data(), bytes.size(), &items)) return errAECorruptData;
  for (const aeItem& item : items) {
    AEDesc one;
    aeMake(item.type, item.data, &one);
    std::string path;
    OSErr err = aePathOfDesc(one, &path);
    AEDisposeDesc(&one);
    if (err != noErr) return err;
    paths->push_back(path);
  }
  return noErr;
}
