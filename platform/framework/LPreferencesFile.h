// A file in the user's Preferences folder, named by its name alone. When the folder cannot
// be found the file keeps the bare name (the application's own folder).
#pragma once

#include "framework/LFile.h"

class LPreferencesFile : public LFile {
 public:
  LPreferencesFile(ConstStr255Param fileName, bool createFolder = false);
};
