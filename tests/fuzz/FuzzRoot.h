// A private root for a fuzz target's files (WENDRIX_ROOT points there), on a memory file
// system where there is one: the file round trips are much of a target's work.
#pragma once

#include <string>

// Made once per process; `name` tells the targets' folders apart.
const std::string& FuzzRoot(const char* name);
