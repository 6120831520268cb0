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

// Big-endian unsigned integer of `size` bytes at `p`.
uint64_t ReadBE(const UInt8* p, size_t size) {
  uint64_t v = 0;
  for (size_t i = 0; i < size; ++i) v = (v << 8) | p[i];
  return v;
}

// Whether every dictionary key of a binary property list is a string that serves as
// nothing but a key. libplist takes any object as a key, turns the object into a key in
// place, and later aborts when it reads a key that is not one.
bool BinaryKeysAreStrings(const UInt8* data, size_t size) {
  constexpr size_t kHeader = 8, kTrailer = 32;
  if (size < kHeader + kTrailer) return false;
  const UInt8* trailer = data + size - kTrailer;
  const size_t offsetSize = trailer[6], refSize = trailer[7];
  const uint64_t count = ReadBE(trailer + 8, 8), top = ReadBE(trailer + 16, 8), tableOffset = ReadBE(trailer + 24, 8);
  if (offsetSize < 1 || offsetSize > 8 || refSize < 1 || refSize > 8) return false;
  const size_t end = size - kTrailer;
  if (tableOffset > end || count > (end - tableOffset) / offsetSize || top >= count) return false;
  auto offsetOf = [&](uint64_t index, size_t* offset) {
    if (index >= count) return false;
    *offset = static_cast<size_t>(ReadBE(data + tableOffset + index * offsetSize, offsetSize));
    return *offset >= kHeader && *offset < end;
  };
  std::vector<UInt8> use(static_cast<size_t>(count), 0);  // bit 1: a key, bit 2: anything else
  use[static_cast<size_t>(top)] |= 2;
  for (uint64_t i = 0; i < count; ++i) {
    size_t at = 0;
    if (!offsetOf(i, &at)) return false;
    const UInt8 kind = data[at] >> 4;
    if (kind != 0xA && kind != 0xC && kind != 0xD) continue;
    uint64_t entries = data[at] & 0x0F;
    size_t refs = at + 1;
    if (entries == 0x0F) {
      // The count follows as an integer object.
      if (refs >= end || (data[refs] >> 4) != 0x1) return false;
      const size_t bytes = size_t(1) << (data[refs] & 0x0F);
      if (bytes > 8 || bytes > end - refs - 1) return false;
      entries = ReadBE(data + refs + 1, bytes);
      refs += 1 + bytes;
    }
    const uint64_t keys = kind == 0xD ? entries : 0;
    if (refs > end || entries > (end - refs) / refSize / (kind == 0xD ? 2 : 1)) return false;
    for (uint64_t k = 0; k < entries + keys; ++k) {
      const uint64_t ref = ReadBE(data + refs + k * refSize, refSize);
      if (ref >= count) return false;
      use[static_cast<size_t>(ref)] |= k < keys ? 1 : 2;
    }
  }
  for (uint64_t i = 0; i < count; ++i) {
    if (!(use[static_cast<size_t>(i)] & 1)) continue;
    size_t at = 0;
    offsetOf(i, &at);
    const UInt8 kind = data[at] >> 4;
    if (use[static_cast<size_t>(i)] != 1 || (kind != 0x5 && kind != 0x6)) return false;
  }
  return true;
}

}  // namespace

CFPropertyListRef CFPropertyListCreateFromXMLData(CFAllocatorRef, CFDataRef xmlData, CFOptionFlags,
                                                  CFStringRef* errorString) {
  if (errorString) *errorString = nullptr;
  const CFIndex length = CFDataGetLength(xmlData);
  const char* bytes = reinterpret_cast<const char*>(CFDataGetBytePtr(xmlData));
  plist_t root = nullptr;
  if (bytes && length > 0 && length <= UINT32_MAX) {
    const auto size = static_cast<uint32_t>(length);
    if (!plist_is_binary(bytes, size) || BinaryKeysAreStrings(reinterpret_cast<const UInt8*>(bytes), size))
      plist_from_memory(bytes, size, &root);
  }
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
