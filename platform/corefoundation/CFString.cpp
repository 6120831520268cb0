#include "corefoundation/CFString.h"

#include <cstring>
#include <map>
#include <string>

#include "corefoundation/cfObject.h"
#include "corefoundation/cfString.h"
#include "toolbox/TextConvert.h"

namespace {

bool ValidUTF8(std::string_view s) {
  std::u16string units;
  return UTF8ToUTF16(s, &units);
}

bool Decode(std::string_view bytes, CFStringEncoding encoding, std::string* utf8) {
  switch (encoding) {
    case kCFStringEncodingUTF8:
      if (!ValidUTF8(bytes)) return false;
      *utf8 = bytes;
      return true;
    case kCFStringEncodingASCII:
      for (unsigned char c : bytes)
        if (c >= 0x80) return false;
      *utf8 = bytes;
      return true;
    case kCFStringEncodingMacRoman:
      return ScriptToUTF8(bytes, utf8, smRoman);
    case kCFStringEncodingMacJapanese:
      return ScriptToUTF8(bytes, utf8, smJapanese);
    default:
      return false;
  }
}

bool Encode(const std::string& utf8, CFStringEncoding encoding, std::string* bytes) {
  switch (encoding) {
    case kCFStringEncodingUTF8:
      *bytes = utf8;
      return true;
    case kCFStringEncodingASCII:
      for (unsigned char c : utf8)
        if (c >= 0x80) return false;
      *bytes = utf8;
      return true;
    case kCFStringEncodingMacRoman:
      return UTF8ToScript(utf8, bytes, smRoman);
    case kCFStringEncodingMacJapanese:
      return UTF8ToScript(utf8, bytes, smJapanese);
    default:
      return false;
  }
}

unsigned char Fold(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }

}  // namespace

cfString::cfString(std::string text) : CFObject(kCFTypeIDString), utf8(std::move(text)) {}

bool cfString::Equal(const CFObject& other) const { return utf8 == static_cast<const cfString&>(other).utf8; }

CFHashCode cfString::Hash() const { return cfHashBytes(utf8.data(), utf8.size()); }

CFStringRef cfMakeString(std::string utf8) {
  return cfRef<CFStringRef>(new cfString(std::move(utf8)));
}

const std::string* cfUTF8(CFStringRef string) {
  const cfString* s = cfCast<cfString>(string, kCFTypeIDString);
  return s ? &s->utf8 : nullptr;
}

CFTypeID CFStringGetTypeID() { return kCFTypeIDString; }

CFStringRef CFStringCreateWithBytes(CFAllocatorRef, const UInt8* bytes, CFIndex numBytes, CFStringEncoding encoding,
                                    Boolean) {
  if ((!bytes && numBytes > 0) || numBytes < 0) return nullptr;
  std::string utf8;
  if (!Decode(std::string_view(reinterpret_cast<const char*>(bytes), static_cast<size_t>(numBytes)), encoding, &utf8))
    return nullptr;
  return cfMakeString(std::move(utf8));
}

CFStringRef CFStringCreateWithCString(CFAllocatorRef alloc, const char* cStr, CFStringEncoding encoding) {
  if (!cStr) return nullptr;
  return CFStringCreateWithBytes(alloc, reinterpret_cast<const UInt8*>(cStr), static_cast<CFIndex>(std::strlen(cStr)),
                                 encoding, false);
}

CFStringRef CFStringCreateWithPascalString(CFAllocatorRef alloc, ConstStr255Param pStr, CFStringEncoding encoding) {
  if (!pStr) return nullptr;
  return CFStringCreateWithBytes(alloc, pStr + 1, pStr[0], encoding, false);
}

CFStringRef CFStringCreateCopy(CFAllocatorRef, CFStringRef string) {
  return static_cast<CFStringRef>(cfUTF8(string) ? CFRetain(string) : nullptr);
}

CFIndex CFStringGetLength(CFStringRef string) {
  const std::string* s = cfUTF8(string);
  if (!s) return 0;
  std::u16string units;
  UTF8ToUTF16(*s, &units);
  return static_cast<CFIndex>(units.size());
}

Boolean CFStringGetCString(CFStringRef string, char* buffer, CFIndex bufferSize, CFStringEncoding encoding) {
  const std::string* s = cfUTF8(string);
  std::string bytes;
  if (!s || !buffer || bufferSize <= 0 || !Encode(*s, encoding, &bytes)) return false;
  if (static_cast<CFIndex>(bytes.size()) >= bufferSize) return false;
  std::memcpy(buffer, bytes.c_str(), bytes.size() + 1);
  return true;
}

Boolean CFStringGetPascalString(CFStringRef string, StringPtr buffer, CFIndex bufferSize, CFStringEncoding encoding) {
  const std::string* s = cfUTF8(string);
  std::string bytes;
  if (!s || !buffer || bufferSize <= 0 || !Encode(*s, encoding, &bytes)) return false;
  if (bytes.size() > 255 || static_cast<CFIndex>(bytes.size()) >= bufferSize) return false;
  buffer[0] = static_cast<unsigned char>(bytes.size());
  std::memcpy(buffer + 1, bytes.data(), bytes.size());
  return true;
}

const char* CFStringGetCStringPtr(CFStringRef string, CFStringEncoding encoding) {
  const std::string* s = cfUTF8(string);
  return s && encoding == kCFStringEncodingUTF8 ? s->c_str() : nullptr;
}

CFComparisonResult CFStringCompare(CFStringRef a, CFStringRef b, CFStringCompareFlags options) {
  static const std::string kEmpty;
  const std::string* x = cfUTF8(a);
  const std::string* y = cfUTF8(b);
  const std::string& l = x ? *x : kEmpty;
  const std::string& r = y ? *y : kEmpty;
  // UTF-8 byte order is code point order.
  const size_t n = std::min(l.size(), r.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char p = static_cast<unsigned char>(l[i]), q = static_cast<unsigned char>(r[i]);
    if (options & kCFCompareCaseInsensitive) p = Fold(p), q = Fold(q);
    if (p != q) return p < q ? kCFCompareLessThan : kCFCompareGreaterThan;
  }
  if (l.size() == r.size()) return kCFCompareEqualTo;
  return l.size() < r.size() ? kCFCompareLessThan : kCFCompareGreaterThan;
}

Boolean CFStringHasSuffix(CFStringRef string, CFStringRef suffix) {
  const std::string* s = cfUTF8(string);
  const std::string* t = cfUTF8(suffix);
  return s && t && s->size() >= t->size() && s->compare(s->size() - t->size(), t->size(), *t) == 0;
}

CFStringEncoding CFStringGetSystemEncoding() {
  return GetSystemScript() == smJapanese ? kCFStringEncodingMacJapanese : kCFStringEncodingMacRoman;
}

CFStringRef __CFStringMakeConstantString(const char* cStr) {
  // Never destroyed, so the constants stay reachable until the very end.
  static auto& constants = *new std::map<std::string, cfString*>;
  auto it = constants.find(cStr);
  if (it == constants.end()) {
    auto* s = new cfString(cStr);
    cfMakeConstant(s);
    it = constants.emplace(cStr, s).first;
  }
  return cfRef<CFStringRef>(it->second);
}
