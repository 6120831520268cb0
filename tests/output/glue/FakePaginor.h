// A stand-in for the PDF and correction framework that records what the glue asks of it,
// so the glue's tables and call order can be checked call by call. Linked instead of the
// framework into the glue's table tests only.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "paginor/Paginor.h"
#include "toolbox/MacErrors.h"

namespace fakepaginor {

struct Call {
  std::string name;
  std::vector<long> args;
  std::optional<std::string> path;  // exopen, changepath, VESK_*: the path as handed in
};

struct State {
  std::vector<Call> calls;
  std::vector<PATIMG> pages;       // spmake's images (pointers as handed in)
  OSErr exopenResult = noErr;
  OSErr detectResult = noErr;
  SInt32 orientation = 0;
  double skew = 0.0;
  OSErr correctResult = noErr;
  OSErr closeResult = noErr;
  OSErr veskOpenResult = noErr;
  OSErr veskAddResult = noErr;
  OSErr veskCloseResult = noErr;
  int openJobs = 0;
  int imagesAllocated = 0;  // by spcorrect, not yet freed
};

State& Get();
void Reset();
// The calls named `name`, in order.
std::vector<Call> CallsNamed(const std::string& name);

}  // namespace fakepaginor
