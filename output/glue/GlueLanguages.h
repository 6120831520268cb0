// The language tables of the PDF and JPEG glues: a format's language popup item (1-based)
// gives the framework's language value and the code-page class of the item's language code.
#pragma once

#include <cstdint>

struct GlueLanguage {
  uint32_t value;
  int32_t codePageClass;  // 1 Polish, Czech, Hungarian; 3 Russian; 0 others
  long codePage;          // the language code the class is taken from
};

// The item's entry in the build's table (the J table in the Japanese build); an item outside
// the table (stored records can hold anything) takes item 1.
GlueLanguage GlueLanguageForItem(long item);
// The class of a language code: 1 for 25, 26 and 38; 3 for 32; 0 for any other.
int32_t GlueCodePageClass(long code);
