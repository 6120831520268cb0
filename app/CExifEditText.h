// The EXIF dialog's text field: with a key filter it refuses every byte of a two-byte
// character (EXIF texts are ASCII); without one, a two-byte character that would not fit
// whole at the length limit is refused, its trail byte dropped silently.
#pragma once

#include "framework/LEditText.h"

class CExifEditText : public LEditText {
 public:
  static constexpr ClassIDT class_ID = 'ExET';
  using Inherited = LEditText;

  explicit CExifEditText(LStream* stream) : LEditText(stream, 'ietx') {}
  using LEditText::LEditText;

  bool HandleKeyPress(const EventRecord& event) override;

 private:
  UInt16 mPreviousChar = 0;
  UInt8 mPendingTrail = 0;
};
