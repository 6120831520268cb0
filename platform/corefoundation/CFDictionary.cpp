#include "corefoundation/CFDictionary.h"

#include <unordered_map>
#include <vector>

#include "corefoundation/cfObject.h"

namespace {

struct cfDictionary : CFObject {
  cfDictionary() : CFObject(kCFTypeIDDictionary) {}
  ~cfDictionary() override {
    for (auto& [key, value] : entries) {
      CFRelease(key);
      CFRelease(value);
    }
  }
  // The entry's index, or -1.
  long Find(CFTypeRef key) const {
    auto [first, last] = byHash.equal_range(CFHash(key));
    for (auto it = first; it != last; ++it)
      if (CFEqual(entries[it->second].first, key)) return static_cast<long>(it->second);
    return -1;
  }
  void Put(CFTypeRef key, CFTypeRef value) {
    CFRetain(value);
    long at = Find(key);
    if (at >= 0) {
      CFRelease(entries[static_cast<size_t>(at)].second);
      entries[static_cast<size_t>(at)].second = value;
      return;
    }
    CFRetain(key);
    byHash.emplace(CFHash(key), entries.size());
    entries.emplace_back(key, value);
  }
  bool Equal(const CFObject& other) const override {
    auto& o = static_cast<const cfDictionary&>(other);
    if (entries.size() != o.entries.size()) return false;
    for (auto& [key, value] : entries) {
      long at = o.Find(key);
      if (at < 0 || !CFEqual(value, o.entries[static_cast<size_t>(at)].second)) return false;
    }
    return true;
  }
  CFHashCode Hash() const override { return entries.size(); }

  std::vector<std::pair<CFTypeRef, CFTypeRef>> entries;
  std::unordered_multimap<CFHashCode, size_t> byHash;
};

const cfDictionary* Dictionary(CFDictionaryRef dict) { return cfCast<cfDictionary>(dict, kCFTypeIDDictionary); }

}  // namespace

const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks = {0};
const CFDictionaryKeyCallBacks kCFCopyStringDictionaryKeyCallBacks = {0};
const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks = {0};

CFTypeID CFDictionaryGetTypeID() { return kCFTypeIDDictionary; }

CFDictionaryRef CFDictionaryCreate(CFAllocatorRef, const void** keys, const void** values, CFIndex numValues,
                                   const CFDictionaryKeyCallBacks*, const CFDictionaryValueCallBacks*) {
  if (numValues < 0 || ((!keys || !values) && numValues > 0)) return nullptr;
  for (CFIndex i = 0; i < numValues; ++i)
    if (!keys[i] || !values[i]) return nullptr;
  auto* d = new cfDictionary;
  for (CFIndex i = 0; i < numValues; ++i) d->Put(keys[i], values[i]);
  return cfRef<CFDictionaryRef>(d);
}

CFIndex CFDictionaryGetCount(CFDictionaryRef dict) {
  const cfDictionary* d = Dictionary(dict);
  return d ? static_cast<CFIndex>(d->entries.size()) : 0;
}

const void* CFDictionaryGetValue(CFDictionaryRef dict, const void* key) {
  const void* value = nullptr;
  CFDictionaryGetValueIfPresent(dict, key, &value);
  return value;
}

Boolean CFDictionaryGetValueIfPresent(CFDictionaryRef dict, const void* key, const void** value) {
  const cfDictionary* d = Dictionary(dict);
  long at = d && key ? d->Find(key) : -1;
  if (at < 0) return false;
  if (value) *value = d->entries[static_cast<size_t>(at)].second;
  return true;
}

Boolean CFDictionaryContainsKey(CFDictionaryRef dict, const void* key) {
  return CFDictionaryGetValueIfPresent(dict, key, nullptr);
}

void CFDictionaryGetKeysAndValues(CFDictionaryRef dict, const void** keys, const void** values) {
  const cfDictionary* d = Dictionary(dict);
  if (!d) return;
  for (size_t i = 0; i < d->entries.size(); ++i) {
    if (keys) keys[i] = d->entries[i].first;
    if (values) values[i] = d->entries[i].second;
  }
}
