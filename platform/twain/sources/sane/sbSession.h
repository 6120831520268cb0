// What the SANE bridge keeps while a source is open: the capabilities the application set
// and the state of the page being transferred.
#pragma once

#include <sane/sane.h>

#include <map>
#include <string>
#include <vector>

#include "twain/TwainSource.h"

// The current item of a capability as the application set it.
struct SbValue {
  TW_UINT16 type;
  std::vector<unsigned char> item;
};

struct SbSession {
  SANE_Handle handle = nullptr;
  std::string product;
  std::string documentSource;  // the configured feeder a reflective light path selects
  bool enabled = false;
  bool transferStarted = false;  // since enabling
  bool pageStarted = false;
  bool pageDone = false;
  int pagesLeft = 0;             // -1 while a feeder decides
  SANE_Parameters params{};
  double xres = 0, yres = 0;  // read before the page starts: devices refuse options while scanning
  std::vector<unsigned char> carry;  // bytes of a row not yet delivered
  long rowsSent = 0;
  TW_UINT16 condition = TWCC_SUCCESS;
  std::map<TW_UINT16, SbValue> values;
  void* window = nullptr;       // the settings window while the source's interface is shown
  bool closeRequested = false;  // the user cancelled in that window
};

extern const TwainHost* gHost;
extern SbSession gSession;  // one source of the bridge is open at a time

void sbSetPstr(unsigned char* field, size_t capacity, const std::string& s);
// Keeps the condition for the status message and answers failure.
TW_UINT16 sbFail(TW_UINT16 condition);
