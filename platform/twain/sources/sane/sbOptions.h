// Reading and setting a SANE device's options by name.
#pragma once

#include <sane/sane.h>

#include <string>
#include <vector>

// The option's number, or -1 when the device has no such (active) option.
int sbFindOption(SANE_Handle h, const char* name);

// Sets a numeric option (integer or fixed), clamped to its range. False when it cannot be set.
bool sbSetNumber(SANE_Handle h, const char* name, double value);

// Sets a numeric option at `fraction` (0..1) of its range.
bool sbSetFraction(SANE_Handle h, const char* name, double fraction);

// Sets a string option to the first of `wanted` its list offers (compared without case,
// a wanted text matching the start of a listed value). False when none is offered.
bool sbSetChoice(SANE_Handle h, const char* name, const std::vector<std::string>& wanted);

// True when the string option's list offers one of `wanted` (compared as sbSetChoice does).
bool sbOffers(SANE_Handle h, const char* name, const std::vector<std::string>& wanted);

// The numeric option's value, or `fallback`.
double sbGetNumber(SANE_Handle h, const char* name, double fallback);

// The largest value the numeric option's range allows, or `fallback`.
double sbRangeMax(SANE_Handle h, const char* name, double fallback);

// True when the string option's current value starts with one of `wanted` (without case).
bool sbCurrentIs(SANE_Handle h, const char* name, const std::vector<std::string>& wanted);
