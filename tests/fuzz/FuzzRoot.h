// A private root for a fuzz target's files (WENDRIX_ROOT points there), on a memory file
// system where there is one: the file round trips are much of a target's work.
#pragma once

#include <string>

// A folder of the target's own, made once per `name` and removed with what it holds when the
// process ends.
const std::string& FuzzScratch(const char* name);
// The scratch folder, made the root. Made once per process; `name` tells the targets' folders apart.
const std::string& FuzzRoot(const char* name);
