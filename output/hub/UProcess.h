// Helpers over the Process Manager: the front process, this process, finding a running
// application and launching one. Failures are thrown as LException with the platform code.
#pragma once

#include "appservices/Processes.h"

class UProcess {
 public:
  static void SetFront(const ProcessSerialNumber& psn);
  static ProcessSerialNumber GetFront();
  static bool IsSame(const ProcessSerialNumber& a, const ProcessSerialNumber& b);
  static ProcessSerialNumber GetMyPSN();
  // Brings this application to the front when another process is there; true when it did.
  static bool BringSelfToFront();
  // The first process with this file type and signature; throws procNotFound.
  static ProcessSerialNumber GetPSN(UInt32 type, UInt32 creator);
  // Launches the application with `flags` plus launchNoFileFlags.
  static ProcessSerialNumber LaunchApp(const FSSpec& app, UInt16 flags);
};
