#include "output/hubdialogs/WXSizeNumbers.h"

#include <cstdio>

namespace CWXUtility {

std::string FormatSizeNumber(double value, char decimalPoint) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.2f", value);
  std::string text(buffer);
  // snprintf follows the C locale, which the process never changes: its point is '.'.
  for (char& c : text)
    if (c == '.') c = decimalPoint;
  return text;
}

bool ParseSizeNumber(const std::string& text, char decimalPoint, double* value) {
  size_t begin = text.find_first_not_of(' ');
  size_t end = text.find_last_not_of(' ');
  if (begin == std::string::npos) return false;
  double whole = 0, fraction = 0, scale = 1;
  bool digits = false, point = false;
  for (size_t i = begin; i <= end; ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      digits = true;
      if (point) {
        scale /= 10;
        fraction += (c - '0') * scale;
      } else {
        whole = whole * 10 + (c - '0');
      }
    } else if (c == decimalPoint && !point) {
      point = true;
    } else {
      return false;
    }
  }
  if (!digits) return false;
  *value = whole + fraction;
  return true;
}

}  // namespace CWXUtility
