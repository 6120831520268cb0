// The units and the number form the size dialog and its handler share.
#pragma once

#include <string>

#include "toolbox/MacTypes.h"

namespace CWXUtility {

enum : SInt32 { kUnitCentimetre = 1, kUnitInch = 2 };

// Two decimals with `decimalPoint`, as the fields show numbers.
std::string FormatSizeNumber(double value, char decimalPoint);
// The number a field's text spells (digits with at most one `decimalPoint`, blanks around);
// false when it spells none.
bool ParseSizeNumber(const std::string& text, char decimalPoint, double* value);

}  // namespace CWXUtility
