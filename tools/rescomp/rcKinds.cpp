#include "tools/rescomp/rcKinds.h"

namespace {

// A new kind of resource: one file defining its descriptor, and one line here.
const std::vector<RcKind>& kinds() {
  static const std::vector<RcKind> table = {
      rcKindStrings(),
      rcKindData(),
      rcKindLayout(),
      rcKindPicture(),
      rcKindColorIcon(),
      rcKindCursor(),
      rcKindRegion(),
      rcKindColorTable(),
  };
  return table;
}

}  // namespace

const RcKind* rcFindKind(const std::string& keyword) {
  for (const RcKind& k : kinds())
    if (keyword == k.keyword) return &k;
  return nullptr;
}

std::vector<const char*> rcKindKeywords() {
  std::vector<const char*> words;
  for (const RcKind& k : kinds()) words.push_back(k.keyword);
  return words;
}
