// Parses arbitrary bytes as a property list (XML or binary); whatever parses must be a tree
// of the known types that can be walked, compared with itself and released without a leak.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "corefoundation/CoreFoundation.h"

namespace {

void Walk(CFTypeRef object) {
  const CFTypeID type = CFGetTypeID(object);
  if (type == CFDictionaryGetTypeID()) {
    auto dict = static_cast<CFDictionaryRef>(object);
    const CFIndex count = CFDictionaryGetCount(dict);
    std::vector<const void*> keys(static_cast<size_t>(count)), values(static_cast<size_t>(count));
    CFDictionaryGetKeysAndValues(dict, keys.data(), values.data());
    for (CFIndex i = 0; i < count; ++i) {
      if (CFGetTypeID(keys[i]) != CFStringGetTypeID() || CFDictionaryGetValue(dict, keys[i]) != values[i]) std::abort();
      Walk(values[i]);
    }
  } else if (type == CFArrayGetTypeID()) {
    auto array = static_cast<CFArrayRef>(object);
    for (CFIndex i = 0; i < CFArrayGetCount(array); ++i) Walk(CFArrayGetValueAtIndex(array, i));
  } else if (type == CFStringGetTypeID()) {
    char buffer[64];
    CFStringGetCString(static_cast<CFStringRef>(object), buffer, sizeof buffer, kCFStringEncodingMacRoman);
    CFStringGetLength(static_cast<CFStringRef>(object));
  } else if (type == CFDataGetTypeID()) {
    auto data = static_cast<CFDataRef>(object);
    UInt8 first[16];
    const CFIndex length = CFDataGetLength(data);
    CFDataGetBytes(data, CFRangeMake(0, length < 16 ? length : 16), first);
  } else if (type != CFNumberGetTypeID() && type != CFBooleanGetTypeID() && type != CFDateGetTypeID()) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const CFIndex live = CFLiveObjectCount();
  CFDataRef bytes = CFDataCreate(nullptr, data, static_cast<CFIndex>(size));
  CFPropertyListRef list = CFPropertyListCreateFromXMLData(nullptr, bytes, kCFPropertyListImmutable, nullptr);
  if (list) {
    Walk(list);
    if (!CFEqual(list, list)) std::abort();
  }
  CFRelease(list);
  CFRelease(bytes);
  if (CFLiveObjectCount() != live) std::abort();
  return 0;
}
