#include "corefoundation/CFURLAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace {

// The whole file, when it is a regular file of at most the limit.
SInt32 ReadWhole(const char* path, std::vector<UInt8>* bytes) {
  int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? kCFURLResourceNotFoundError : kCFURLResourceAccessViolationError;
  struct stat st;
  SInt32 result = 0;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kCFURLResourceDataLimit) {
    result = kCFURLResourceAccessViolationError;
  } else {
    bytes->resize(static_cast<size_t>(st.st_size));
    size_t done = 0;
    while (done < bytes->size()) {
      ssize_t n = read(fd, bytes->data() + done, bytes->size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    // A file that shrank meanwhile gives what it holds now.
    bytes->resize(done);
  }
  close(fd);
  return result;
}

}  // namespace

Boolean CFURLCreateDataAndPropertiesFromResource(CFAllocatorRef alloc, CFURLRef url, CFDataRef* resourceData,
                                                 CFDictionaryRef* properties, CFArrayRef, SInt32* errorCode) {
  if (properties) *properties = nullptr;
  if (resourceData) *resourceData = nullptr;
  SInt32 error = 0;
  UInt8 path[4096];
  std::vector<UInt8> bytes;
  if (!url || CFGetTypeID(url) != CFURLGetTypeID()) {
    error = kCFURLUnknownError;
  } else if (!CFURLGetFileSystemRepresentation(url, true, path, sizeof path)) {
    error = kCFURLResourceNotFoundError;
  } else {
    error = ReadWhole(reinterpret_cast<const char*>(path), &bytes);
  }
  if (error == 0 && resourceData) *resourceData = CFDataCreate(alloc, bytes.data(), static_cast<CFIndex>(bytes.size()));
  if (errorCode) *errorCode = error;
  return error == 0;
}
