#include "quicktime/qtMappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "toolbox/MacErrors.h"

QTMappedFile::~QTMappedFile() {
  if (mSize) munmap(const_cast<uint8_t*>(mData), mSize);
}

OSErr QTMappedFile::Open(const FSSpec* spec) {
  std::string path;
  if (FSpGetPOSIXPath(spec, &path) != noErr) return fnfErr;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return fnfErr;
  struct stat st{};
  OSErr err = noErr;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    err = ioErr;
  } else if (st.st_size > 0) {
    void* p = mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (p == MAP_FAILED) {
      err = memFullErr;
    } else {
      mData = static_cast<const uint8_t*>(p);
      mSize = size_t(st.st_size);
    }
  }
  close(fd);
  return err;
}

// Each hand-back flushes the processors' page tables: handed back a few MiB at a time, not
// row by row.
constexpr size_t kReleaseBytes = size_t(4) << 20;

void QTMappedFile::Release(size_t offset) const {
  const size_t page = size_t(sysconf(_SC_PAGESIZE));
  const size_t end = std::min(offset / page * page, mSize / page * page);
  if (end < mReleased + kReleaseBytes) return;
  madvise(const_cast<uint8_t*>(mData) + mReleased, end - mReleased, MADV_DONTNEED);
  mReleased = end;
}
