// Whether the process table knows an application: tests of roads that launch one first.
#pragma once

#include <string>

#include "appservices/Processes.h"
#include "toolbox/TextUtils.h"

namespace wxtest {

inline bool ProcessLaunched(const std::string& appName) {
  ProcessSerialNumber psn{0, kNoProcess};
  while (GetNextProcess(&psn) == noErr) {
    FSSpec app{};
    ProcessInfoRec info{};
    info.processInfoLength = kProcessInfoRecLength;
    info.processAppSpec = &app;
    if (GetProcessInformation(&psn, &info) == noErr && PStrToString(app.name) == appName) return true;
  }
  return false;
}

}  // namespace wxtest
