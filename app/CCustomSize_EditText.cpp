#include "app/CCustomSize_EditText.h"

bool CCustomSize_EditText::TooManyCharacters(SInt32 charsToAdd) {
  SInt16 start = 0, end = 0;
  GetSelection(start, end);
  const SInt32 length = static_cast<SInt32>(GetText().size()) + charsToAdd - (end - start);
  const SInt16 maxChars = GetMaxChars();
  const size_t point = GetText().find('.');
  const SInt32 position = point == std::string::npos ? 0 : static_cast<SInt32>(point) + 1;
  // With a point, two places behind it are the limit (unless the field is shorter).
  if (position == 0 || position + 2 > maxChars) return length > maxChars;
  return length > position + 2;
}
