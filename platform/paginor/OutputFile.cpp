#include "paginor/OutputFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "toolbox/FileForks.h"
#include "toolbox/FilePaths.h"
#include "toolbox/MacErrors.h"

OutputFile::~OutputFile() {
  if (mFd >= 0) close(mFd);
}

OSErr OutputFile::Create(const std::string& path, mode_t mode) {
  if (mFd >= 0) return opWrErr;
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? OSErr(dirNFErr) : FpErrno(errno);
  mFd = fd;
  mLength = 0;
  mPath = path;
  return noErr;
}

OSErr OutputFile::Append(const void* bytes, size_t count) {
  if (mFd < 0) return rfNumErr;
  size_t written = 0;
  const OSErr err = ForkWriteAt(mFd, bytes, count, mLength, &written);
  mLength += off_t(written);
  return err;
}

OSErr OutputFile::Truncate(off_t length) {
  if (mFd < 0) return rfNumErr;
  if (ftruncate(mFd, length) != 0) return FpErrno(errno);
  mLength = length;
  return noErr;
}

OSErr OutputFile::Close() {
  if (mFd < 0) return rfNumErr;
  OSErr err = fsync(mFd) == 0 || errno == EINVAL ? OSErr(noErr) : FpErrno(errno);
  if (close(mFd) != 0 && err == noErr) err = FpErrno(errno);
  mFd = -1;
  return err;
}

void OutputFile::Remove() {
  if (mFd >= 0) close(mFd);
  mFd = -1;
  if (!mPath.empty()) unlink(mPath.c_str());
  mPath.clear();
}
