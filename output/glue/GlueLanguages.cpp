#include "output/glue/GlueLanguages.h"

#include <array>
#include <span>

#include "prefs/LanguageTables.h"

namespace {

constexpr std::array<uint32_t, 2> language_value_J = {3, 2};
constexpr std::array<long, 2> language_codepage_J = {11, 0};
constexpr std::array<uint32_t, 11> language_value_E = {2, 8, 16, 32, 64, 128, 256, 8, 64, 16, 32};
constexpr std::array<long, 11> language_codepage_E = {0, 1, 3, 2, 6, 4, 8, 32, 25, 38, 26};

GlueLanguage Lookup(std::span<const uint32_t> values, std::span<const long> codes, long item) {
  const size_t index = item >= 1 && static_cast<size_t>(item) <= values.size() ? static_cast<size_t>(item - 1) : 0;
  return {values[index], GlueCodePageClass(codes[index]), codes[index]};
}

}  // namespace

int32_t GlueCodePageClass(long code) {
  if (code == 32) return 3;
  if (code == 25 || code == 26 || code == 38) return 1;
  return 0;
}

GlueLanguage GlueLanguageForItem(long item) {
  return IS_J ? Lookup(language_value_J, language_codepage_J, item) : Lookup(language_value_E, language_codepage_E, item);
}
