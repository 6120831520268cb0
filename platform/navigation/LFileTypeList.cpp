#include "navigation/LFileTypeList.h"

#include <algorithm>

LFileTypeList::LFileTypeList(OSType type) : mTypes{type} {}

LFileTypeList::LFileTypeList(SInt16 count, const OSType* types) {
  if (types && count > 0) mTypes.assign(types, types + count);
}

bool LFileTypeList::Accepts(OSType type) const {
  return mTypes.empty() || std::find(mTypes.begin(), mTypes.end(), type) != mTypes.end();
}
