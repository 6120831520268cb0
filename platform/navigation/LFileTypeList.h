// The Finder types a file chooser offers; an empty list offers every file.
#pragma once

#include <vector>

#include "toolbox/MacTypes.h"

class LFileTypeList {
 public:
  LFileTypeList() = default;
  explicit LFileTypeList(OSType type);
  LFileTypeList(SInt16 count, const OSType* types);

  SInt16 NumberOfTypes() const { return SInt16(mTypes.size()); }
  bool Accepts(OSType type) const;

 private:
  std::vector<OSType> mTypes;
};
