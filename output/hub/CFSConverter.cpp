#include "output/hub/CFSConverter.h"

#include "framework/LException.h"

CFSConverter::CFSConverter(const FSSpec& spec) { *this = spec; }

CFSConverter::CFSConverter(const FSRef& ref) { *this = ref; }

CFSConverter& CFSConverter::operator=(const FSSpec& spec) {
  FSRef ref, parent;
  ThrowIfOSErr_(FSpMakeFSRef(&spec, &ref));
  ThrowIfOSErr_(FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, nullptr, &parent));
  mSpec = spec;
  mRef = ref;
  mParent = parent;
  return *this;
}

CFSConverter& CFSConverter::operator=(const FSRef& ref) {
  FSSpec spec;
  FSRef parent;
  ThrowIfOSErr_(FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, &parent));
  mSpec = spec;
  mRef = ref;
  mParent = parent;
  return *this;
}
