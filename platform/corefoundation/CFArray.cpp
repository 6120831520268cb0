#include "corefoundation/CFArray.h"

#include <vector>

#include "corefoundation/cfObject.h"

namespace {

struct cfArray : CFObject {
  explicit cfArray(std::vector<CFTypeRef> v) : CFObject(kCFTypeIDArray), values(std::move(v)) {
    for (CFTypeRef value : values) CFRetain(value);
  }
  ~cfArray() override {
    for (CFTypeRef value : values) CFRelease(value);
  }
  bool Equal(const CFObject& other) const override {
    auto& o = static_cast<const cfArray&>(other);
    if (values.size() != o.values.size()) return false;
    for (size_t i = 0; i < values.size(); ++i)
      if (!CFEqual(values[i], o.values[i])) return false;
    return true;
  }
  CFHashCode Hash() const override { return values.size(); }
  const std::vector<CFTypeRef> values;
};

const cfArray* Array(CFArrayRef array) { return cfCast<cfArray>(array, kCFTypeIDArray); }

}  // namespace

const CFArrayCallBacks kCFTypeArrayCallBacks = {0};

CFTypeID CFArrayGetTypeID() { return kCFTypeIDArray; }

CFArrayRef CFArrayCreate(CFAllocatorRef, const void** values, CFIndex numValues, const CFArrayCallBacks*) {
  if (numValues < 0 || (!values && numValues > 0)) return nullptr;
  std::vector<CFTypeRef> v;
  for (CFIndex i = 0; i < numValues; ++i) {
    if (!values[i]) return nullptr;
    v.push_back(values[i]);
  }
  return cfRef<CFArrayRef>(new cfArray(std::move(v)));
}

CFIndex CFArrayGetCount(CFArrayRef array) {
  const cfArray* a = Array(array);
  return a ? static_cast<CFIndex>(a->values.size()) : 0;
}

const void* CFArrayGetValueAtIndex(CFArrayRef array, CFIndex index) {
  const cfArray* a = Array(array);
  if (!a || index < 0 || static_cast<size_t>(index) >= a->values.size()) return nullptr;
  return a->values[static_cast<size_t>(index)];
}
