// The string object inside the layer: UTF-8 text.
#pragma once

#include <string>

#include "corefoundation/CFString.h"
#include "corefoundation/cfObject.h"

struct cfString : CFObject {
  explicit cfString(std::string text);
  bool Equal(const CFObject& other) const override;
  CFHashCode Hash() const override;
  const std::string utf8;
};

// A new string holding `utf8` (which must be valid UTF-8).
CFStringRef cfMakeString(std::string utf8);
// The text of `string`, or null when it is no string.
const std::string* cfUTF8(CFStringRef string);
