// A print session for a spec, open for the object's life and closed on every way out.
#pragma once

#include "framework/LPrintSetup.h"

class StPrintSession {
 public:
  explicit StPrintSession(LPrintSpec& spec) : mSpec(spec) { mSpec.BeginSession(); }
  ~StPrintSession() { mSpec.EndSession(); }
  StPrintSession(const StPrintSession&) = delete;
  StPrintSession& operator=(const StPrintSession&) = delete;

 private:
  LPrintSpec& mSpec;
};
