#include "corefoundation/CFData.h"

#include <cstring>
#include <vector>

#include "corefoundation/cfObject.h"

namespace {

struct cfData : CFObject {
  explicit cfData(std::vector<UInt8> b) : CFObject(kCFTypeIDData), bytes(std::move(b)) {}
  bool Equal(const CFObject& other) const override { return bytes == static_cast<const cfData&>(other).bytes; }
  CFHashCode Hash() const override { return cfHashBytes(bytes.data(), bytes.size()); }
  const std::vector<UInt8> bytes;
};

const cfData* Data(CFDataRef data) { return cfCast<cfData>(data, kCFTypeIDData); }

}  // namespace

CFTypeID CFDataGetTypeID() { return kCFTypeIDData; }

CFDataRef CFDataCreate(CFAllocatorRef, const UInt8* bytes, CFIndex length) {
  if (length < 0 || (!bytes && length > 0)) return nullptr;
  return cfRef<CFDataRef>(new cfData(std::vector<UInt8>(bytes, bytes + length)));
}

CFIndex CFDataGetLength(CFDataRef data) {
  const cfData* d = Data(data);
  return d ? static_cast<CFIndex>(d->bytes.size()) : 0;
}

const UInt8* CFDataGetBytePtr(CFDataRef data) {
  const cfData* d = Data(data);
  return d ? d->bytes.data() : nullptr;
}

void CFDataGetBytes(CFDataRef data, CFRange range, UInt8* buffer) {
  const cfData* d = Data(data);
  if (!d || !buffer || range.location < 0 || range.length < 0) return;
  const size_t size = d->bytes.size();
  if (static_cast<size_t>(range.location) > size || static_cast<size_t>(range.length) > size - range.location) return;
  if (range.length > 0) std::memcpy(buffer, d->bytes.data() + range.location, static_cast<size_t>(range.length));
}
