// Makes the application's own resource file current for a scope, so layouts and string
// lists come from it whatever file a caller had made current.
#pragma once

#include "toolbox/Resources.h"

class StApplicationResFile {
 public:
  StApplicationResFile() : mSaved(CurResFile()) {
    if (ApplicationResFile() != -1) UseResFile(ApplicationResFile());
  }
  ~StApplicationResFile() { UseResFile(mSaved); }
  StApplicationResFile(const StApplicationResFile&) = delete;
  StApplicationResFile& operator=(const StApplicationResFile&) = delete;

 private:
  SInt16 mSaved;
};
