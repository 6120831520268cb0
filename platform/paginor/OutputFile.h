// A file the framework writes: created only where no file is, its bytes written through the
// File Manager's forks (so the full-disk and short-write hooks reach them), and cut back or
// removed when a step fails.
#pragma once

#include <sys/types.h>

#include <string>

#include "toolbox/MacTypes.h"

class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Creates `path`, empty: dupFNErr when something is there, dirNFErr when its folder is missing.
  OSErr Create(const std::string& path, mode_t mode = 0666);
  // Appends the bytes; on a short write the file keeps what was written.
  OSErr Append(const void* bytes, size_t count);
  // Cuts the file back to `length` bytes.
  OSErr Truncate(off_t length);
  // Flushes and closes; the file stays.
  OSErr Close();
  // Closes and deletes the file.
  void Remove();

  bool IsOpen() const { return mFd >= 0; }
  off_t Length() const { return mLength; }
  const std::string& Path() const { return mPath; }

 private:
  int mFd = -1;
  off_t mLength = 0;
  std::string mPath;
};
