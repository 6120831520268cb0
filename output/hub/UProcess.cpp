#include "output/hub/UProcess.h"

#include "framework/LException.h"
#include "toolbox/MacErrors.h"

void UProcess::SetFront(const ProcessSerialNumber& psn) { ThrowIfOSErr_(SetFrontProcess(&psn)); }

ProcessSerialNumber UProcess::GetFront() {
  ProcessSerialNumber psn{};
  ThrowIfOSErr_(GetFrontProcess(&psn));
  return psn;
}

bool UProcess::IsSame(const ProcessSerialNumber& a, const ProcessSerialNumber& b) {
  Boolean same = false;
  ThrowIfOSErr_(SameProcess(&a, &b, &same));
  return same;
}

ProcessSerialNumber UProcess::GetMyPSN() {
  ProcessSerialNumber psn{};
  ThrowIfOSErr_(GetCurrentProcess(&psn));
  return psn;
}

bool UProcess::BringSelfToFront() {
  ProcessSerialNumber self{0, kCurrentProcess}, front{};
  Boolean same = false;
  if (GetFrontProcess(&front) == noErr && SameProcess(&front, &self, &same) == noErr && same) return false;
  return SetFrontProcess(&self) == noErr;
}

ProcessSerialNumber UProcess::GetPSN(UInt32 type, UInt32 creator) {
  ProcessSerialNumber psn{0, kNoProcess};
  while (GetNextProcess(&psn) == noErr) {
    Str31 name;
    FSSpec spec{};
    ProcessInfoRec info{};
    info.processInfoLength = kProcessInfoRecLength;
    info.processName = name;
    info.processAppSpec = &spec;
    if (GetProcessInformation(&psn, &info) != noErr || info.processType != type) continue;
    if (info.processSignature == creator) return psn;
  }
  Throw_(procNotFound);
}

ProcessSerialNumber UProcess::LaunchApp(const FSSpec& app, UInt16 flags) {
  FSSpec spec = app;
  LaunchParamBlockRec block{};
  block.launchBlockID = extendedBlock;
  block.launchEPBLength = extendedBlockLen;
  block.launchControlFlags = static_cast<LaunchFlags>(flags | launchNoFileFlags);
  block.launchAppSpec = &spec;
  ThrowIfOSErr_(LaunchApplication(&block));
  return block.launchProcessSN;
}
