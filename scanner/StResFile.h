// Keeps the current resource file for a scope: whatever a driver or plug-in selects while it
// runs, the caller's file is current again afterwards.
#pragma once

#include "toolbox/Resources.h"

class StResFile {
 public:
  StResFile() : mSaved(CurResFile()) {}
  ~StResFile() { UseResFile(mSaved); }
  StResFile(const StResFile&) = delete;
  StResFile& operator=(const StResFile&) = delete;

 private:
  SInt16 mSaved;
};
