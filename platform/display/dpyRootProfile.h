// Reading the X root window's colour profile. Kept apart because the X11 headers clash
// with the platform's names.
#pragma once

#include <cstdint>
#include <vector>

// The _ICC_PROFILE property of the root window of the X server DISPLAY names; false
// without a server or without the property.
bool DpyReadRootICCProfile(std::vector<uint8_t>* bytes);
