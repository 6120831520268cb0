// A file's data fork mapped read-only, so the importer reads a large scan without holding a
// copy of it: pages come in as the decoder reaches them and go again once it is past them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "toolbox/Files.h"

class QTMappedFile {
 public:
  QTMappedFile() = default;
  QTMappedFile(const QTMappedFile&) = delete;
  QTMappedFile& operator=(const QTMappedFile&) = delete;
  ~QTMappedFile();

  OSErr Open(const FSSpec* spec);
  const uint8_t* data() const { return mData; }
  size_t size() const { return mSize; }
  // Hands back the pages wholly before `offset`, once they come to a few MiB; reading them
  // again fetches them anew.
  void Release(size_t offset) const;

 private:
  const uint8_t* mData = nullptr;
  size_t mSize = 0;
  mutable size_t mReleased = 0;
};
