#include "corefoundation/CFPropertyList.h"

#include <plist/plist.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "corefoundation/CFArray.h"
#include "corefoundation/CFDictionary.h"
#include "corefoundation/CFNumber.h"
#include "corefoundation/CFURLAccess.h"

namespace {

// Deeper nesting than any real property list, refused before it can exhaust the stack.
constexpr int kMaxDepth = 128;

// Holds every object made so far and lets go of them when the conversion ends.
struct Holds {
  ~Holds() {
    for (CFTypeRef object : objects) CFRelease(object);
  }
  CFTypeRef Keep(CFTypeRef object) {
    if (object) objects.push_back(object);
    return object;
  }
  std::vector<CFTypeRef> objects;
};

CFTypeRef Convert(plist_t node, int depth, Holds& holds);

CFTypeRef ConvertArray(plist_t node, int depth, Holds& holds) {
  const uint32_t count = plist_array_get_size(node);
  std::vector<const void*> values;
  for (uint32_t i = 0; i < count; ++i) {
    CFTypeRef value = Convert(plist_array_get_item(node, i), depth + 1, holds);
    if (!value) return nullptr;
    values.push_back(value);
  }
  return holds.Keep(CFArrayCreate(nullptr, values.data(), static_cast<CFIndex>(values.size()), &kCFTypeArrayCallBacks));
}

CFTypeRef ConvertDictionary(plist_t node, int depth, Holds& holds) {
  std::vector<const void*> keys, values;
  plist_dict_iter iter = nullptr;
  plist_dict_new_iter(node, &iter);
  if (!iter) return nullptr;
  bool ok = true;
  for (;;) {
    char* key = nullptr;
    plist_t value = nullptr;
    plist_dict_next_item(node, iter, &key, &value);
    std::unique_ptr<char, decltype(&std::free)> keyHold(key, &std::free);
    if (!value || !key) break;
    CFTypeRef k = holds.Keep(CFStringCreateWithCString(nullptr, key, kCFStringEncodingUTF8));
    CFTypeRef v = Convert(value, depth + 1, holds);
    if (!k || !v) {
      ok = false;
      break;
    }
    keys.push_back(k);
    values.push_back(v);
  }
  std::free(iter);
  if (!ok) return nullptr;
  return holds.Keep(CFDictionaryCreate(nullptr, keys.data(), values.data(), static_cast<CFIndex>(keys.size()),
                                       &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
}

CFTypeRef Convert(plist_t node, int depth, Holds& holds) {
  if (!node || depth > kMaxDepth) return nullptr;
  switch (plist_get_node_type(node)) {
    case PLIST_DICT:
      return ConvertDictionary(node, depth, holds);
    case PLIST_ARRAY:
      return ConvertArray(node, depth, holds);
    case PLIST_STRING: {
      uint64_t length = 0;
      const char* text = plist_get_string_ptr(node, &length);
      if (!text) return nullptr;
      return holds.Keep(CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8*>(text), static_cast<CFIndex>(length),
                                                kCFStringEncodingUTF8, false));
    }
    case PLIST_DATA: {
      uint64_t length = 0;
      const char* bytes = plist_get_data_ptr(node, &length);
      return holds.Keep(CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(bytes), bytes ? static_cast<CFIndex>(length) : 0));
    }
    case PLIST_BOOLEAN: {
      uint8_t value = 0;
      plist_get_bool_val(node, &value);
      return value ? kCFBooleanTrue : kCFBooleanFalse;
    }
    case PLIST_UINT: {
      uint64_t value = 0;
      plist_get_uint_val(node, &value);
      // Negative integers are kept in two's complement.
      const SInt64 signedValue = static_cast<SInt64>(value);
      return holds.Keep(CFNumberCreate(nullptr, kCFNumberSInt64Type, &signedValue));
    }
    case PLIST_REAL: {
      double value = 0;
      plist_get_real_val(node, &value);
      return holds.Keep(CFNumberCreate(nullptr, kCFNumberDoubleType, &value));
    }
    case PLIST_DATE: {
      int32_t sec = 0, usec = 0;
      plist_get_date_val(node, &sec, &usec);
      // libplist counts from 2001 as CFAbsoluteTime does.
      return holds.Keep(CFDateCreate(nullptr, sec + usec / 1e6));
    }
    default:
      return nullptr;
  }
}

// The tree of a property list in XML or binary form, or null. A binary list goes through
// XML once: libplist's binary reader accepts dictionaries whose keys are not keys (and its
// key reading then aborts), while its XML reader refuses them.
plist_t ParseTree(const char* bytes, uint32_t size) {
  plist_t tree = nullptr;
  if (!plist_is_binary(bytes, size)) {
    plist_from_xml(bytes, size, &tree);
    return tree;
  }
  plist_t binary = nullptr;
  plist_from_bin(bytes, size, &binary);
  if (!binary) return nullptr;
  char* xml = nullptr;
  uint32_t length = 0;
  plist_to_xml(binary, &xml, &length);
  plist_free(binary);
  if (xml) plist_from_xml(xml, length, &tree);
  plist_to_xml_free(xml);
  return tree;
}

}  // namespace

CFPropertyListRef CFPropertyListCreateFromXMLData(CFAllocatorRef, CFDataRef xmlData, CFOptionFlags,
                                                  CFStringRef* errorString) {
  if (errorString) *errorString = nullptr;
  const CFIndex length = CFDataGetLength(xmlData);
  const char* bytes = reinterpret_cast<const char*>(CFDataGetBytePtr(xmlData));
  plist_t root = nullptr;
  if (bytes && length > 0 && length <= UINT32_MAX) root = ParseTree(bytes, static_cast<uint32_t>(length));
  CFTypeRef result = nullptr;
  if (root) {
    Holds holds;
    result = Convert(root, 0, holds);
    CFRetain(result);
    plist_free(root);
  }
  if (!result && errorString) *errorString = CFStringCreateWithCString(nullptr, "not a property list", kCFStringEncodingUTF8);
  return result;
}

CFDictionaryRef CFPropertyListCreateDictionaryFromFile(const std::string& path) {
  CFURLRef url = CFURLCreateFromFileSystemRepresentation(nullptr, reinterpret_cast<const UInt8*>(path.c_str()),
                                                         static_cast<CFIndex>(path.size()), false);
  CFDataRef data = nullptr;
  CFPropertyListRef list = nullptr;
  if (CFURLCreateDataAndPropertiesFromResource(nullptr, url, &data, nullptr, nullptr, nullptr))
    list = CFPropertyListCreateFromXMLData(nullptr, data, kCFPropertyListImmutable, nullptr);
  CFRelease(data);
  CFRelease(url);
  if (list && CFGetTypeID(list) != CFDictionaryGetTypeID()) {
    CFRelease(list);
    list = nullptr;
  }
  return static_cast<CFDictionaryRef>(list);
}
