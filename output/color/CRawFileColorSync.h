// Converts a raw scan file's colour rows in place from a source to a destination profile.
#pragma once

#include "output/color/CColorSync.h"
#include "output/color/RawFileInfo.h"

class CRawFileColorSync {
 public:
  CRawFileColorSync() = default;
  virtual ~CRawFileColorSync() = default;

  OSErr SetSourceProfile(FSSpec& spec) { return mColorSync.OpenSourceProfile(spec); }
  // For pixels that carry no profile of their own.
  OSErr SetDefaultRGBSourceProfile();
  OSErr SetDestinationPrilfile(FSSpec& spec) { return mColorSync.OpenDestinationProfile(spec); }
  void SetDesitinationProfileForMainDisplay() { mColorSync.SetDestinationForMainDisplay(); }
  void SetRawFile(FSSpec& file, RawFileInfo& info) {
    mFile = file;
    mInfo = info;
  }

  // noErr only when both profiles are set and every row was matched and written back.
  // 1- and 8-bit files give paramErr and a missing profile cmProfileError, the file
  // untouched; a short read (eofErr) or a failed write stops at that row, the rows before
  // it converted and nothing written past them.
  OSErr ColorSync();

 private:
  CColorSync mColorSync;
  FSSpec mFile{};
  RawFileInfo mInfo{};
};
