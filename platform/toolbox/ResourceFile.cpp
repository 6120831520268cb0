#include "toolbox/ResourceFile.h"

#include <map>

#include "toolbox/ByteReader.h"
#include "toolbox/MacErrors.h"
#include "toolbox/RecordAccess.h"

namespace {

// Map header fields, from the start of the map.
constexpr size_t kMapAttrs = 22;
constexpr size_t kMapTypeListOffset = 24;
constexpr size_t kMapNameListOffset = 26;
static_assert(kMapNameListOffset + 2 == kResMapHeaderSize);

constexpr size_t kMaxDataOffset = 0xFFFFFF;  // reference entries hold 24-bit data offsets

}  // namespace

OSErr ResFileParse(const uint8_t* bytes, size_t size, ResFileImage* out) {
  *out = ResFileImage{};
  if (size < kResHeaderSize) return mapReadErr;
  const ByteReader file(bytes, size);
  const size_t dataOff = file.U32At(0), mapOff = file.U32At(4);
  const size_t dataLen = file.U32At(8), mapLen = file.U32At(12);
  const ByteReader data = file.Sub(dataOff, dataLen);
  const ByteReader map = file.Sub(mapOff, mapLen);
  if (!file.ok() || mapLen < kResMapHeaderSize + 2) return mapReadErr;

  out->attrs = map.U16At(kMapAttrs);
  const size_t typeList = map.U16At(kMapTypeListOffset);
  const size_t nameList = map.U16At(kMapNameListOffset);
  if (!map.Has(typeList, 2) || nameList > mapLen) return mapReadErr;
  // The count is stored less one; an empty map stores 0xFFFF.
  const size_t nTypes = (map.U16At(typeList) + 1) & 0xFFFF;
  if (!map.Has(typeList + 2, nTypes * kResTypeEntrySize)) return mapReadErr;

  // Reference lists and data areas never share bytes in a sound file; refusing more
  // references or data than the file can hold keeps a hostile file from multiplying memory.
  size_t totalRefs = 0, totalData = 0;
  for (size_t t = 0; t < nTypes; ++t) {
    const size_t entry = typeList + 2 + t * kResTypeEntrySize;
    const ResType type = map.U32At(entry);
    const size_t nRefs = size_t(map.U16At(entry + 4)) + 1;
    const size_t refList = typeList + map.U16At(entry + 6);
    totalRefs += nRefs;
    if (totalRefs * kResRefEntrySize > mapLen || !map.Has(refList, nRefs * kResRefEntrySize)) return mapReadErr;
    for (size_t r = 0; r < nRefs; ++r) {
      const size_t ref = refList + r * kResRefEntrySize;
      ResRecord rec;
      rec.type = type;
      rec.id = static_cast<SInt16>(map.U16At(ref));
      const SInt16 nameOff = static_cast<SInt16>(map.U16At(ref + 2));
      rec.attrs = map.U8At(ref + 4);
      const size_t at = map.U32At(ref + 4) & kMaxDataOffset;
      if (!data.Has(at, 4)) return mapReadErr;
      const size_t len = data.U32At(at);
      totalData += 4 + len;
      const uint8_t* body = data.BytesAt(at + 4, len);
      if (!body || totalData > dataLen) return mapReadErr;
      rec.data.assign(body, body + len);
      if (nameOff != -1) {
        const size_t n = nameList + static_cast<UInt16>(nameOff);
        const uint8_t* name = nameOff < 0 || !map.Has(n, 1) ? nullptr : map.BytesAt(n + 1, map.U8At(n));
        if (!name) return mapReadErr;
        rec.named = true;
        rec.name.assign(reinterpret_cast<const char*>(name), map.U8At(n));
      }
      out->records.push_back(std::move(rec));
    }
  }
  return noErr;
}

OSErr ResFileBuild(const ResFileImage& image, std::vector<uint8_t>* out) {
  // Types in order of first appearance, each with its records in order.
  std::vector<ResType> types;
  std::map<ResType, std::vector<const ResRecord*>> byType;
  for (const ResRecord& r : image.records) {
    if (r.name.size() > 255) return addResFailed;
    auto& list = byType[r.type];
    if (list.empty()) types.push_back(r.type);
    list.push_back(&r);
  }

  std::vector<uint8_t> dataArea;
  std::vector<uint8_t> names;
  const size_t typeListSize = 2 + types.size() * kResTypeEntrySize;
  const size_t refListsSize = image.records.size() * kResRefEntrySize;
  std::vector<uint8_t> map(kResMapHeaderSize + typeListSize + refListsSize);
  RecordBytes m(map.data(), map.size());
  m.setU16(kMapAttrs, image.attrs & ~mapChanged);
  m.setU16(kMapTypeListOffset, kResMapHeaderSize);
  m.setU16(kResMapHeaderSize, static_cast<uint16_t>(types.size() - 1));

  size_t refAt = kResMapHeaderSize + typeListSize;
  for (size_t t = 0; t < types.size(); ++t) {
    const auto& list = byType[types[t]];
    const size_t entry = kResMapHeaderSize + 2 + t * kResTypeEntrySize;
    if (refAt - kResMapHeaderSize > 0xFFFF) return addResFailed;
    m.setU32(entry, types[t]);
    m.setU16(entry + 4, static_cast<uint16_t>(list.size() - 1));
    m.setU16(entry + 6, static_cast<uint16_t>(refAt - kResMapHeaderSize));
    for (const ResRecord* r : list) {
      if (dataArea.size() > kMaxDataOffset) return addResFailed;
      m.setI16(refAt, r->id);
      if (r->named) {
        if (names.size() > 0x7FFF) return addResFailed;
        m.setU16(refAt + 2, static_cast<uint16_t>(names.size()));
        names.push_back(static_cast<uint8_t>(r->name.size()));
        names.insert(names.end(), r->name.begin(), r->name.end());
      } else {
        m.setI16(refAt + 2, -1);
      }
      m.setU32(refAt + 4, static_cast<uint32_t>(dataArea.size()));
      m.setU8(refAt + 4, r->attrs & ~resChanged);
      const size_t at = dataArea.size();
      dataArea.resize(at + 4 + r->data.size());
      BEPutU32(dataArea.data() + at, static_cast<uint32_t>(r->data.size()));
      std::copy(r->data.begin(), r->data.end(), dataArea.begin() + at + 4);
      refAt += kResRefEntrySize;
    }
  }
  if (map.size() > 0xFFFF) return addResFailed;
  m.setU16(kMapNameListOffset, static_cast<uint16_t>(map.size()));
  map.insert(map.end(), names.begin(), names.end());
  if (dataArea.size() > 0xFFFFFFFFu - kResDataStart - map.size()) return addResFailed;

  std::vector<uint8_t> file(kResDataStart, 0);
  const uint32_t mapOff = static_cast<uint32_t>(kResDataStart + dataArea.size());
  BEPutU32(file.data(), kResDataStart);
  BEPutU32(file.data() + 4, mapOff);
  BEPutU32(file.data() + 8, static_cast<uint32_t>(dataArea.size()));
  BEPutU32(file.data() + 12, static_cast<uint32_t>(map.size()));
  std::copy(file.begin(), file.begin() + kResHeaderSize, map.begin());  // the map starts with a copy of the header
  file.insert(file.end(), dataArea.begin(), dataArea.end());
  file.insert(file.end(), map.begin(), map.end());
  *out = std::move(file);
  return noErr;
}

std::vector<uint8_t> ResStringListBuild(const std::vector<std::string>& items) {
  std::vector<uint8_t> out(2);
  BEPutU16(out.data(), static_cast<uint16_t>(items.size()));
  for (const std::string& s : items) {
    const size_t n = s.size() > 255 ? 255 : s.size();
    out.push_back(static_cast<uint8_t>(n));
    out.insert(out.end(), s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n));
  }
  return out;
}

bool ResStringListItem(const uint8_t* data, size_t size, int index, std::string* item) {
  if (size < 2 || index < 1 || index > BEGetU16(data)) return false;
  size_t at = 2;
  for (int i = 1;; ++i) {
    if (at >= size || data[at] > size - at - 1) return false;
    if (i == index) {
      item->assign(reinterpret_cast<const char*>(data + at + 1), data[at]);
      return true;
    }
    at += 1 + data[at];
  }
}
