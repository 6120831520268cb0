#include "pelmora/Pelmora.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "pelmora/PelmoraBits.h"
#include "pelmora/PelmoraFDCT.h"
#include "toolbox/MacErrors.h"

namespace {

constexpr int32_t kFailed = static_cast<int32_t>(0xC0000000);
constexpr int32_t kBadContext = static_cast<int32_t>(0xC0000009);

// A 16-bit lane whose sums wrap, as the vector coders' lanes do.
struct Lane16 {
  int16_t v;
};
inline Lane16 operator+(Lane16 a, Lane16 b) { return {static_cast<int16_t>(a.v + b.v)}; }
inline Lane16 operator-(Lane16 a, Lane16 b) { return {static_cast<int16_t>(a.v - b.v)}; }
inline Lane16 mulQ15(Lane16 x, int16_t c) {
  int32_t p = (static_cast<int32_t>(x.v) * c + 16384) >> 15;
  return {static_cast<int16_t>(p > 32767 ? 32767 : p < -32768 ? -32768 : p)};
}

template <class V, void (*Pass)(V&, V&, V&, V&, V&, V&, V&, V&)>
void rowsThenColumns(V* t) {
  for (int r = 0; r < 64; r += 8) Pass(t[r], t[r + 1], t[r + 2], t[r + 3], t[r + 4], t[r + 5], t[r + 6], t[r + 7]);
  for (int c = 0; c < 8; ++c) Pass(t[c], t[c + 8], t[c + 16], t[c + 24], t[c + 32], t[c + 40], t[c + 48], t[c + 56]);
}

void fdctShort(int16_t* block) {
  Lane16 t[64];
  for (int i = 0; i < 64; ++i) t[i].v = static_cast<int16_t>((block[i] > 127 ? 127 : block[i]) * 4);
  rowsThenColumns<Lane16, pelmora_fdct::Short1D<Lane16, mulQ15>>(t);
  for (int i = 0; i < 64; ++i) block[i] = static_cast<int16_t>(static_cast<int16_t>(t[i].v + 2) >> 2);
}

void fdctFloat(int16_t* block) {
  float t[64];
  for (int i = 0; i < 64; ++i) t[i] = block[i];
  rowsThenColumns<float, pelmora_fdct::Float1D<float>>(t);
  for (int i = 0; i < 64; ++i) {
    // Round to nearest even through the float format's own rounding, as vector lanes do.
    float r = (t[i] + 12582912.0f) - 12582912.0f;
    r = r > 32767.0f ? 32767.0f : r < -32768.0f ? -32768.0f : r;
    block[i] = static_cast<int16_t>(r);
  }
}

int32_t writeMCUGeneric(void* context) {
  if (!context) return kBadContext;
  jpgMCUCoderState* s = jpgCoderStateOf(context);
  void (*fdct)(int16_t*) = s->dctMethod == 1 ? fdctFloat : fdctShort;
  int16_t* block = s->blocks;
  int32_t status = 0;
  for (int c = 0; c < s->components; ++c) {
    jpgCoderComponent* comp = &s->comp[c];
    for (int b = 0; b < comp->blocks; ++b, block += 64) {
      fdct(block);
      if (int32_t st = pelmora_bits::EncodeBlock(&s->bits, comp, block); st && !status) status = st;
    }
  }
  if (int32_t st = pelmora_bits::EndMCU(s); st && !status) status = st;
  return status;
}

}  // namespace

int32_t complibRectAlloc(_complibImageRect* rect) {
  if (!rect || rect->height <= 0 || rect->rowBytes <= 0) return 0;
  auto bytes = static_cast<size_t>(rect->height) * static_cast<size_t>(rect->rowBytes);
  rect->data = static_cast<uint8_t*>(std::calloc(bytes, 1));
  return rect->data ? 1 : 0;
}

void complibRectFree(_complibImageRect* rect) {
  if (!rect) return;
  std::free(rect->data);
  rect->data = nullptr;
}

int32_t complibTmpnam(_complibFileName* record, const _complibFileName* templ) {
  if (!record || !templ) return kFailed;
  // The folder: the template's parent when it names a file by reference, else its folder.
  FSRef folder = templ->ref;
  if (!templ->hasName) {
    FSCatalogInfo info{};
    if (FSGetCatalogInfo(&templ->ref, kFSCatInfoNodeFlags, &info, nullptr, nullptr, nullptr) != noErr) return kFailed;
    if (!(info.nodeFlags & kFSNodeIsDirectoryMask) &&
        FSGetCatalogInfo(&templ->ref, kFSCatInfoNone, nullptr, nullptr, nullptr, &folder) != noErr)
      return kFailed;
  }
  static unsigned serial = 0;
  for (int attempt = 0; attempt < 10000; ++attempt) {
    std::string name = "jpgtmp" + std::to_string(static_cast<unsigned>(std::rand()) % 100000u) + "_" +
                       std::to_string(++serial);
    UniChar uni[64];
    for (size_t i = 0; i < name.size(); ++i) uni[i] = static_cast<UniChar>(name[i]);
    FSRef existing;
    if (FSMakeFSRefUnicode(&folder, static_cast<UniCharCount>(name.size()), uni, 0, &existing) == noErr) continue;
    record->ref = folder;
    record->hasName = kTrue;
    record->name.length = static_cast<UInt16>(name.size());
    for (size_t i = 0; i < name.size(); ++i) record->name.unicode[i] = uni[i];
    return 0;
  }
  return kFailed;
}

jpgWriteMCUFunc jpgGetWriteMCUGenericFunc(int32_t selector, uint32_t /*architecture*/) {
  return selector == 769 || selector == 771 ? writeMCUGeneric : nullptr;
}

int32_t jpgReadSetProcessorArchitectureFlag(void* context, uint32_t /*mask*/) {
  // The decoder keeps no vector paths of its own here; its contexts accept any mask.
  return context ? 0 : kBadContext;
}

const int32_t tableTestShift[16][2] = {
    {0, 0},        {1, -1},        {2, -3},        {4, -7},         {8, -15},        {16, -31},
    {32, -63},     {64, -127},     {128, -255},    {256, -511},     {512, -1023},    {1024, -2047},
    {2048, -4095}, {4096, -8191},  {8192, -16383}, {16384, -32767},
};
