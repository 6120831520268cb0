#include "toolbox/FileForks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>

#include "toolbox/FilePaths.h"
#include "toolbox/MacErrors.h"

namespace {

struct OpenFork {
  int fd;
  bool canWrite;
  SInt64 mark;
  dev_t dev;
  ino_t ino;
};

std::map<SInt16, OpenFork> gForks;
SInt16 gNextRefNum = 2;
SInt64 gWriteBudget = -1;
SInt64 gReadBudget = -1;
SInt64 gStopBudget = -1;
void (*gStop)() = nullptr;

OpenFork* Find(SInt16 refNum) {
  auto it = gForks.find(refNum);
  return it == gForks.end() ? nullptr : &it->second;
}

SInt16 FreeRefNum() {
  for (int tries = 0; tries < 32767; ++tries) {
    SInt16 ref = gNextRefNum;
    gNextRefNum = gNextRefNum >= 32766 ? 2 : static_cast<SInt16>(gNextRefNum + 1);
    if (!gForks.count(ref)) return ref;
  }
  return 0;
}

OSErr ForkSize(const OpenFork& f, SInt64* size) {
  struct stat st;
  if (fstat(f.fd, &st) != 0) return FpErrno(errno);
  *size = st.st_size;
  return noErr;
}

// Where (mode, offset) points; posErr before the start.
OSErr Position(const OpenFork& f, UInt16 mode, SInt64 offset, SInt64* position) {
  SInt64 base = 0;
  switch (mode & 0x03) {
    case fsAtMark: *position = f.mark; return noErr;
    case fsFromStart: base = 0; break;
    case fsFromLEOF: {
      OSErr err = ForkSize(f, &base);
      if (err != noErr) return err;
      break;
    }
    case fsFromMark: base = f.mark; break;
  }
  if ((offset < 0 && base + offset < 0)) return posErr;
  *position = base + offset;
  return noErr;
}

// Moves the mark; beyond the end it stops at the end with eofErr.
OSErr Seek(OpenFork& f, UInt16 mode, SInt64 offset) {
  SInt64 target, size;
  OSErr err = Position(f, mode, offset, &target);
  if (err == noErr) err = ForkSize(f, &size);
  if (err != noErr) return err;
  if (target > size) {
    f.mark = size;
    return eofErr;
  }
  f.mark = target;
  return noErr;
}

OSErr Read(OpenFork& f, SInt64 from, ByteCount request, void* buffer, ByteCount* actual) {
  size_t got = 0;
  OSErr err = ForkReadAt(f.fd, buffer, request, from, &got);
  f.mark = from + static_cast<SInt64>(got);
  if (actual) *actual = got;
  if (err == noErr && got < request) err = eofErr;
  return err;
}

OSErr Write(OpenFork& f, SInt64 from, ByteCount request, const void* buffer, ByteCount* actual) {
  if (!f.canWrite) {
    if (actual) *actual = 0;
    return wrPermErr;
  }
  size_t written = 0;
  OSErr err = ForkWriteAt(f.fd, buffer, request, from, &written);
  f.mark = from + static_cast<SInt64>(written);
  if (actual) *actual = written;
  return err;
}

}  // namespace

OSErr ForkOpen(const std::string& path, SInt8 permission, SInt16* refNum) {
  if (!refNum) return paramErr;
  *refNum = 0;
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return FpErrno(errno);
  if (S_ISDIR(st.st_mode)) return fnfErr;
  bool locked = (st.st_mode & S_IWUSR) == 0;
  bool wantWrite = permission != fsRdPerm;
  if (wantWrite && locked && permission != fsCurPerm) return permErr;
  int fd = -1;
  bool canWrite = false;
  if (wantWrite && !locked) {
    fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
    canWrite = fd >= 0;
    if (fd < 0 && permission != fsCurPerm) return FpErrno(errno);
  }
  if (fd < 0) fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return FpErrno(errno);
  SInt16 ref = FreeRefNum();
  if (ref == 0) {
    close(fd);
    return tmfoErr;
  }
  gForks[ref] = {fd, canWrite, 0, st.st_dev, st.st_ino};
  *refNum = ref;
  return noErr;
}

bool ForkIsOpen(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return false;
  return std::any_of(gForks.begin(), gForks.end(),
                     [&](const auto& f) { return f.second.dev == st.st_dev && f.second.ino == st.st_ino; });
}

OSErr ForkReadAt(int fd, void* buffer, size_t count, off_t offset, size_t* got) {
  *got = 0;
  size_t allowed = count;
  if (gReadBudget >= 0 && static_cast<SInt64>(allowed) > gReadBudget) allowed = static_cast<size_t>(gReadBudget);
  auto* out = static_cast<char*>(buffer);
  while (*got < allowed) {
    ssize_t n = pread(fd, out + *got, allowed - *got, offset + static_cast<off_t>(*got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return FpErrno(errno);
    if (n == 0) break;
    *got += static_cast<size_t>(n);
  }
  if (gReadBudget >= 0) gReadBudget -= static_cast<SInt64>(*got);
  return *got == allowed && allowed < count ? ioErr : noErr;
}

OSErr ForkWriteAt(int fd, const void* buffer, size_t count, off_t offset, size_t* written) {
  *written = 0;
  if (gStop && static_cast<SInt64>(count) > gStopBudget) {
    const auto before = static_cast<size_t>(gStopBudget);
    void (*stop)() = gStop;
    gStop = nullptr;
    OSErr err = ForkWriteAt(fd, buffer, before, offset, written);
    if (err != noErr) return err;
    stop();
    size_t rest = 0;
    err = ForkWriteAt(fd, static_cast<const char*>(buffer) + before, count - before, offset + off_t(before), &rest);
    *written += rest;
    return err;
  }
  if (gStop) gStopBudget -= static_cast<SInt64>(count);
  size_t allowed = count;
  if (gWriteBudget >= 0 && static_cast<SInt64>(allowed) > gWriteBudget) allowed = static_cast<size_t>(gWriteBudget);
  const auto* in = static_cast<const char*>(buffer);
  OSErr err = noErr;
  while (*written < allowed) {
    ssize_t n = pwrite(fd, in + *written, allowed - *written, offset + static_cast<off_t>(*written));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      err = n < 0 ? FpErrno(errno) : OSErr(dskFulErr);
      break;
    }
    *written += static_cast<size_t>(n);
  }
  if (gWriteBudget >= 0) gWriteBudget -= static_cast<SInt64>(*written);
  if (err == noErr && *written < count) err = dskFulErr;
  return err;
}

void FSTestSetWriteLimit(SInt64 bytes) { gWriteBudget = bytes; }
void FSTestSetReadLimit(SInt64 bytes) { gReadBudget = bytes; }
void FSTestSetWriteStop(SInt64 bytes, void (*stop)()) {
  gStopBudget = bytes;
  gStop = stop;
}

OSErr FSRead(SInt16 refNum, long* count, void* buffer) {
  OpenFork* f = Find(refNum);
  if (!f) return rfNumErr;
  if (!count || *count < 0 || (!buffer && *count > 0)) return paramErr;
  ByteCount actual = 0;
  OSErr err = Read(*f, f->mark, static_cast<ByteCount>(*count), buffer, &actual);
  *count = static_cast<long>(actual);
  return err;
}

OSErr FSWrite(SInt16 refNum, long* count, const void* buffer) {
  OpenFork* f = Find(refNum);
  if (!f) return rfNumErr;
  if (!count || *count < 0 || (!buffer && *count > 0)) return paramErr;
  ByteCount actual = 0;
  OSErr err = Write(*f, f->mark, static_cast<ByteCount>(*count), buffer, &actual);
  *count = static_cast<long>(actual);
  return err;
}

OSErr SetFPos(SInt16 refNum, SInt16 posMode, long posOff) {
  OpenFork* f = Find(refNum);
  if (!f) return rfNumErr;
  return Seek(*f, static_cast<UInt16>(posMode), posOff);
}

OSErr GetFPos(SInt16 refNum, long* filePos) {
  OpenFork* f = Find(refNum);
  if (!f) return rfNumErr;
  if (!filePos) return paramErr;
  *filePos = static_cast<long>(f->mark);
  return noErr;
}

OSErr GetEOF(SInt16 refNum, long* logEOF) {
  OpenFork* f = Find(refNum);
  if (!f) return rfNumErr;
  if (!logEOF) return paramErr;
  SInt64 size = 0;
  OSErr err = ForkSize(*f, &size);
  *logEOF = static_cast<long>(size);
  return err;
}

OSErr FSpReadDataFork(const FSSpec* spec, std::vector<uint8_t>* bytes) {
  SInt16 ref = 0;
  OSErr err = FSpOpenDF(spec, fsRdPerm, &ref);
  if (err != noErr) return err;
  long size = 0;
  err = GetEOF(ref, &size);
  if (err == noErr) {
    bytes->assign(static_cast<size_t>(size), 0);
    long count = size;
    err = FSRead(ref, &count, bytes->data());
    if (err == noErr && count != size) err = eofErr;
  }
  const OSErr closeErr = FSClose(ref);
  return err != noErr ? err : closeErr;
}

OSErr SetEOF(SInt16 refNum, long logEOF) { return FSSetForkSize(refNum, fsFromStart, logEOF); }

OSErr FSClose(SInt16 refNum) { return FSCloseFork(refNum); }

OSErr FlushVol(ConstStr63Param, SInt16) { return noErr; }

OSErr FSGetDataForkName(HFSUniStr255* dataForkName) {
  if (!dataForkName) return paramErr;
  dataForkName->length = 0;
  return noErr;
}

OSErr FSReadFork(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset, ByteCount requestCount,
                 void* buffer, ByteCount* actualCount) {
  if (actualCount) *actualCount = 0;
  OpenFork* f = Find(forkRefNum);
  if (!f) return rfNumErr;
  if (!buffer && requestCount > 0) return paramErr;
  SInt64 from, size;
  OSErr err = Position(*f, positionMode, positionOffset, &from);
  if (err == noErr) err = ForkSize(*f, &size);
  if (err != noErr) return err;
  if (from > size) {
    f->mark = size;
    return eofErr;
  }
  return Read(*f, from, requestCount, buffer, actualCount);
}

OSErr FSWriteFork(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset, ByteCount requestCount,
                  const void* buffer, ByteCount* actualCount) {
  if (actualCount) *actualCount = 0;
  OpenFork* f = Find(forkRefNum);
  if (!f) return rfNumErr;
  if (!buffer && requestCount > 0) return paramErr;
  SInt64 from;
  OSErr err = Position(*f, positionMode, positionOffset, &from);
  if (err != noErr) return err;
  return Write(*f, from, requestCount, buffer, actualCount);
}

OSErr FSSetForkPosition(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset) {
  OpenFork* f = Find(forkRefNum);
  if (!f) return rfNumErr;
  return Seek(*f, positionMode, positionOffset);
}

OSErr FSGetForkPosition(SInt16 forkRefNum, SInt64* position) {
  OpenFork* f = Find(forkRefNum);
  if (!f) return rfNumErr;
  if (!position) return paramErr;
  *position = f->mark;
  return noErr;
}

OSErr FSGetForkSize(SInt16 forkRefNum, SInt64* forkSize) {
  OpenFork* f = Find(forkRefNum);
  if (!f) return rfNumErr;
  if (!forkSize) return paramErr;
  return ForkSize(*f, forkSize);
}

OSErr FSSetForkSize(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset) {
  OpenFork* f = Find(forkRefNum);
  if (!f) return rfNumErr;
  if (!f->canWrite) return wrPermErr;
  SInt64 size;
  OSErr err = Position(*f, positionMode, positionOffset, &size);
  if (err != noErr) return err;
  if (ftruncate(f->fd, size) != 0) return FpErrno(errno);
  f->mark = std::min(f->mark, size);
  return noErr;
}

OSErr FSCloseFork(SInt16 forkRefNum) {
  auto it = gForks.find(forkRefNum);
  if (it == gForks.end()) return rfNumErr;
  int fd = it->second.fd;
  gForks.erase(it);
  return close(fd) == 0 ? OSErr(noErr) : FpErrno(errno);
}
