#include "toolbox/Resources.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "toolbox/Files.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/ResourceFork.h"

namespace {

struct Slot {
  ResRecord rec;            // as the file holds it (data last written)
  Handle handle = nullptr;  // the loaded copy, when loaded
};

struct OpenFile {
  SInt16 refNum = 0;
  std::string path;  // the file whose fork this is, as opened
  ResFork fork;
  bool writable = false;
  bool dirty = false;
  UInt16 attrs = 0;
  std::vector<Slot> slots;
};

std::vector<OpenFile> gChain;  // oldest first; the newest is on top
SInt16 gCurrent = -1;
SInt16 gNextRef = 0x4000;  // apart from the File Manager's numbers, so a mix-up shows
SInt16 gAppFile = -1;
OSErr gResErr = noErr;

OSErr setErr(OSErr e) { return gResErr = e; }

std::string canonical(const std::string& path) {
  std::error_code ec;
  auto p = std::filesystem::weakly_canonical(path, ec);
  return ec ? path : p.string();
}

int indexOf(SInt16 refNum) {
  for (size_t i = 0; i < gChain.size(); ++i)
    if (gChain[i].refNum == refNum) return static_cast<int>(i);
  return -1;
}

OpenFile* currentFile() {
  const int i = indexOf(gCurrent);
  return i < 0 ? nullptr : &gChain[static_cast<size_t>(i)];
}

// The files a chain search visits: the current one, then those opened before it.
std::vector<OpenFile*> searchOrder() {
  std::vector<OpenFile*> files;
  for (int i = indexOf(gCurrent); i >= 0; --i) files.push_back(&gChain[static_cast<size_t>(i)]);
  return files;
}

struct Found {
  OpenFile* file = nullptr;
  Slot* slot = nullptr;
};

Found findHandle(Handle h) {
  if (h)
    for (OpenFile& f : gChain)
      for (Slot& s : f.slots)
        if (s.handle == h) return {&f, &s};
  return {};
}

// The slot of a loaded resource that may leave memory (a changed one may not), with the
// Resource Manager's error set either way.
Slot* unchangedSlot(Handle h) {
  Found found = findHandle(h);
  if (!found.slot) {
    setErr(resNotFound);
    return nullptr;
  }
  if (found.slot->rec.attrs & resChanged) {
    setErr(resAttrErr);
    return nullptr;
  }
  setErr(noErr);
  return found.slot;
}

Handle load(Slot& s) {
  if (!s.handle) {
    Handle h = nullptr;
    if (PtrToHand(s.rec.data.data(), &h, static_cast<Size>(s.rec.data.size())) != noErr) {
      setErr(memFullErr);
      return nullptr;
    }
    HSetState(h, static_cast<SInt8>(HGetState(h) | kHandleResourceBit));
    s.handle = h;
  }
  setErr(noErr);
  return s.handle;
}

void forget(Handle h) { HSetState(h, static_cast<SInt8>(HGetState(h) & ~kHandleResourceBit)); }

template <typename Match>
Handle findIn(const std::vector<OpenFile*>& files, Match match) {
  for (OpenFile* f : files)
    for (Slot& s : f->slots)
      if (match(s.rec)) return load(s);
  setErr(resNotFound);
  return nullptr;
}

std::vector<OpenFile*> current1() {
  OpenFile* f = currentFile();
  return f ? std::vector<OpenFile*>{f} : std::vector<OpenFile*>{};
}

// The index-th (1-based) resource of `type` over `files`.
Handle indexed(const std::vector<OpenFile*>& files, ResType type, SInt16 index) {
  int left = index;
  if (left < 1) {
    setErr(resNotFound);
    return nullptr;
  }
  return findIn(files, [&](const ResRecord& r) { return r.type == type && --left == 0; });
}

SInt16 count(const std::vector<OpenFile*>& files, ResType type) {
  long n = 0;
  for (OpenFile* f : files) n += std::count_if(f->slots.begin(), f->slots.end(), [&](const Slot& s) { return s.rec.type == type; });
  setErr(noErr);
  return static_cast<SInt16>(std::min(n, long(SHRT_MAX)));
}

// Copies every changed, loaded resource into its record.
void commitChanges(OpenFile& f) {
  for (Slot& s : f.slots)
    if ((s.rec.attrs & resChanged) && s.handle) {
      s.rec.data.assign(*s.handle, *s.handle + GetHandleSize(s.handle));
      s.rec.attrs &= static_cast<UInt8>(~resChanged);
      f.dirty = true;
    }
}

OSErr flush(OpenFile& f) {
  commitChanges(f);
  if (!f.dirty) return noErr;
  ResFileImage image;
  image.attrs = f.attrs;
  for (const Slot& s : f.slots) image.records.push_back(s.rec);
  std::vector<uint8_t> bytes;
  if (OSErr err = ResFileBuild(image, &bytes); err != noErr) return err;
  if (OSErr err = ResForkWrite(f.fork, bytes); err != noErr) return err;
  f.dirty = false;
  return noErr;
}

// The file that changes go to: the current one, open for writing.
OpenFile* writableCurrent() {
  OpenFile* f = currentFile();
  if (!f) setErr(resFNotFound);
  else if (!f->writable) setErr(wrPermErr);
  return f && f->writable ? f : nullptr;
}

bool requireWritable(const Found& found) {
  if (!found.slot) {
    setErr(resNotFound);
    return false;
  }
  if (!found.file->writable) {
    setErr(wrPermErr);
    return false;
  }
  return true;
}

void writeEmptyFork(const ResFork& fork) {
  std::vector<uint8_t> bytes;
  ResFileBuild(ResFileImage{}, &bytes);
  setErr(ResForkWrite(fork, bytes));
}

}  // namespace

SInt16 CurResFile() {
  setErr(noErr);
  return gCurrent;
}

void UseResFile(SInt16 refNum) {
  if (indexOf(refNum) < 0) {
    setErr(resFNotFound);
    return;
  }
  gCurrent = refNum;
  setErr(noErr);
}

OSErr ResError() { return gResErr; }
void ResSetError(OSErr err) { gResErr = err; }

SInt16 OpenResFilePath(const std::string& path, SInt8 permission) {
  const std::string key = canonical(path);
  for (const OpenFile& f : gChain)
    if (f.path == key) {
      setErr(noErr);
      return f.refNum;
    }
  OpenFile f;
  f.path = key;
  f.writable = permission != fsRdPerm;
  std::vector<uint8_t> bytes;
  if (OSErr err = ResForkLocate(key, &f.fork); err != noErr) return setErr(err), -1;
  if (OSErr err = ResForkRead(&f.fork, &bytes); err != noErr) return setErr(err), -1;
  if (bytes.empty()) return setErr(eofErr), -1;
  ResFileImage image;
  if (OSErr err = ResFileParse(bytes.data(), bytes.size(), &image); err != noErr) return setErr(err), -1;
  if (f.writable && access(f.fork.container.c_str(), W_OK) != 0) return setErr(permErr), -1;
  f.attrs = image.attrs;
  for (ResRecord& r : image.records) f.slots.push_back(Slot{std::move(r), nullptr});
  f.refNum = gNextRef++;
  if (gNextRef <= 0) gNextRef = 0x4000;
  gChain.push_back(std::move(f));
  gCurrent = gChain.back().refNum;
  setErr(noErr);
  return gCurrent;
}

OSErr CreateResFilePath(const std::string& path) {
  ResFork fork;
  OSErr err = ResForkLocate(path, &fork);
  if (err == fnfErr) {
    writeEmptyFork(fork);
    return gResErr;
  }
  std::vector<uint8_t> bytes;
  if (err == noErr) err = ResForkRead(&fork, &bytes);
  if (err != noErr) return setErr(err);
  if (fork.place == ResForkPlace::Sidecar || !bytes.empty()) {
    // A data fork that is a resource file already, or a sidecar that holds a fork, is taken.
    ResFileImage image;
    if (!bytes.empty() && (fork.place == ResForkPlace::Sidecar || ResFileParse(bytes.data(), bytes.size(), &image) == noErr))
      return setErr(dupFNErr);
    if (fork.place == ResForkPlace::DataFork) {
      fork.place = ResForkPlace::Sidecar;
      fork.container = AppleDoublePathFor(path);
    }
  }
  writeEmptyFork(fork);
  return gResErr;
}

void UpdateResFile(SInt16 refNum) {
  const int i = indexOf(refNum);
  if (i < 0) {
    setErr(resFNotFound);
    return;
  }
  OpenFile& f = gChain[static_cast<size_t>(i)];
  setErr(f.writable ? flush(f) : OSErr(noErr));
}

void CloseResFile(SInt16 refNum) {
  const int i = indexOf(refNum);
  if (i < 0) {
    setErr(resFNotFound);
    return;
  }
  OpenFile& f = gChain[static_cast<size_t>(i)];
  const OSErr err = f.writable ? flush(f) : OSErr(noErr);
  for (Slot& s : f.slots)
    if (s.handle) DisposeHandle(s.handle);
  if (gCurrent == refNum) gCurrent = i > 0 ? gChain[static_cast<size_t>(i - 1)].refNum : -1;
  if (gAppFile == refNum) gAppFile = -1;
  gChain.erase(gChain.begin() + i);
  setErr(err);
}

Handle GetResource(ResType type, SInt16 id) {
  return findIn(searchOrder(), [&](const ResRecord& r) { return r.type == type && r.id == id; });
}

Handle Get1Resource(ResType type, SInt16 id) {
  return findIn(current1(), [&](const ResRecord& r) { return r.type == type && r.id == id; });
}

SInt16 CountResources(ResType type) { return count(searchOrder(), type); }
SInt16 Count1Resources(ResType type) { return count(current1(), type); }
Handle GetIndResource(ResType type, SInt16 index) { return indexed(searchOrder(), type, index); }
Handle Get1IndResource(ResType type, SInt16 index) { return indexed(current1(), type, index); }

SInt16 Count1Types() {
  std::vector<ResType> types;
  if (OpenFile* f = currentFile())
    for (const Slot& s : f->slots)
      if (std::find(types.begin(), types.end(), s.rec.type) == types.end()) types.push_back(s.rec.type);
  setErr(noErr);
  return static_cast<SInt16>(types.size());
}

void GetIndString(Str255 theString, SInt16 strListID, SInt16 index) {
  theString[0] = 0;
  Handle h = GetResource('STR#', strListID);
  std::string item;
  if (h && ResStringListItem(reinterpret_cast<const uint8_t*>(*h), static_cast<size_t>(GetHandleSize(h)), index, &item)) {
    theString[0] = static_cast<unsigned char>(item.size());
    std::memcpy(theString + 1, item.data(), item.size());
  }
}

void GetResInfo(Handle h, SInt16* id, ResType* type, Str255 name) {
  Found found = findHandle(h);
  if (!found.slot) {
    setErr(resNotFound);
    return;
  }
  const ResRecord& r = found.slot->rec;
  if (id) *id = r.id;
  if (type) *type = r.type;
  if (name) {
    name[0] = static_cast<unsigned char>(r.name.size());
    std::memcpy(name + 1, r.name.data(), r.name.size());
  }
  setErr(noErr);
}

SInt16 HomeResFile(Handle h) {
  Found found = findHandle(h);
  setErr(found.slot ? noErr : resNotFound);
  return found.slot ? found.file->refNum : -1;
}

void ReleaseResource(Handle h) {
  if (Slot* slot = unchangedSlot(h)) {
    DisposeHandle(h);
    slot->handle = nullptr;
  }
}

void DetachResource(Handle h) {
  if (Slot* slot = unchangedSlot(h)) {
    forget(h);
    slot->handle = nullptr;
  }
}

void AddResource(Handle h, ResType type, SInt16 id, ConstStr255Param name) {
  if (!h || findHandle(h).slot) {
    setErr(addResFailed);
    return;
  }
  OpenFile* f = writableCurrent();
  if (!f) return;
  for (const Slot& s : f->slots)
    if (s.rec.type == type && s.rec.id == id) {
      setErr(addResFailed);
      return;
    }
  Slot s;
  s.rec.type = type;
  s.rec.id = id;
  s.rec.attrs = resChanged;
  if (name && name[0]) {
    s.rec.named = true;
    s.rec.name.assign(reinterpret_cast<const char*>(name + 1), name[0]);
  }
  s.handle = h;
  HSetState(h, static_cast<SInt8>(HGetState(h) | kHandleResourceBit));
  f->slots.push_back(std::move(s));
  f->dirty = true;
  setErr(noErr);
}

void RemoveResource(Handle h) {
  Found found = findHandle(h);
  if (!requireWritable(found)) return;
  if (found.file->refNum != gCurrent) {
    setErr(rmvResFailed);
    return;
  }
  forget(h);
  OpenFile& f = *found.file;
  f.slots.erase(f.slots.begin() + (found.slot - f.slots.data()));
  f.dirty = true;
  setErr(noErr);
}

void ChangedResource(Handle h) {
  Found found = findHandle(h);
  if (!requireWritable(found)) return;
  found.slot->rec.attrs |= resChanged;
  setErr(noErr);
}

void WriteResource(Handle h) {
  Found found = findHandle(h);
  if (!requireWritable(found)) return;
  setErr(flush(*found.file));
}

SInt16 OpenApplicationResFile(const std::string& path) {
  const SInt16 ref = OpenResFilePath(path, fsRdPerm);
  if (ref != -1) gAppFile = ref;
  return ref;
}

SInt16 ApplicationResFile() { return gAppFile; }

std::string FindApplicationResourceFile() {
  if (const char* env = std::getenv("WX_RESOURCE_FILE"); env && *env) return env;
  return FolderRuntimePath(kRuntimeResourceFile);
}
