// One file named three ways: its FSSpec, its FSRef and the FSRef of its folder. Filling
// any one fills the other two; an item that does not exist throws the platform error.
#pragma once

#include "toolbox/Files.h"

class CFSConverter {
 public:
  explicit CFSConverter(const FSSpec& spec);
  explicit CFSConverter(const FSRef& ref);
  virtual ~CFSConverter() = default;

  CFSConverter& operator=(const FSSpec& spec);
  CFSConverter& operator=(const FSRef& ref);

  const FSSpec& GetFSSpec() const { return mSpec; }
  const FSRef& GetFSRef() const { return mRef; }
  const FSRef& GetParentFSRef() const { return mParent; }

 private:
  FSSpec mSpec{};
  FSRef mRef{};
  FSRef mParent{};
};
