// The resource compiler: readable resource sources in, the records of a resource file out.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "toolbox/ResourceFile.h"

struct RcSource {
  std::string fileName;  // for messages
  std::string text;      // UTF-8
};

struct RcOptions {
  char language = 'E';  // selects the script that strings are written in
  std::map<std::string, std::string> defines;
};

// false with "file:line: error: message" in `diagnostic` at the first error.
bool rcCompile(const std::vector<RcSource>& sources, const RcOptions& options, ResFileImage* image,
               std::string* diagnostic);
