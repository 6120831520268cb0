#include "sbCapabilities.h"

#include <sane/saneopts.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "sbOptions.h"

namespace {

// The source choices that carry light through the original, and those that reflect it.
const std::vector<std::string> kTransmissiveSources{"Transparency", "Film", "Negative", "Slide", "TPU"};
const std::vector<std::string> kReflectiveSources{"Flatbed", "Normal"};

double sbNumber(const SbValue& v) {
  auto* p = v.item.data();
  switch (v.type) {
    case TWTY_FIX32: {
      TW_FIX32 f;
      std::memcpy(&f, p, sizeof f);
      return TWFix32ToDouble(f);
    }
    case TWTY_INT8: return *reinterpret_cast<const int8_t*>(p);
    case TWTY_UINT8: return *p;
    case TWTY_INT16: { int16_t x; std::memcpy(&x, p, 2); return x; }
    case TWTY_UINT16: case TWTY_BOOL: { uint16_t x; std::memcpy(&x, p, 2); return x; }
    case TWTY_INT32: { int32_t x; std::memcpy(&x, p, 4); return x; }
    case TWTY_UINT32: { uint32_t x; std::memcpy(&x, p, 4); return x; }
    default: return 0;
  }
}

}  // namespace

bool sbHas(TW_UINT16 cap) { return gSession.values.count(cap) != 0; }
double sbValueOr(TW_UINT16 cap, double fallback) { return sbHas(cap) ? sbNumber(gSession.values[cap]) : fallback; }

double sbResolution(TW_UINT16 cap) {
  return sbValueOr(cap, sbGetNumber(gSession.handle, SANE_NAME_SCAN_RESOLUTION, 75));
}

namespace {

// Millimetres of a length given in the application's units along an axis.
double sbToMM(double v, TW_UINT16 resolutionCap) {
  switch (static_cast<int>(sbValueOr(ICAP_UNITS, TWUN_INCHES))) {
    case TWUN_CENTIMETERS: return v * 10;
    case TWUN_PIXELS: return v / sbResolution(resolutionCap) * 25.4;
    default: return v * 25.4;
  }
}

double sbFromMM(double mm, TW_UINT16 resolutionCap) {
  switch (static_cast<int>(sbValueOr(ICAP_UNITS, TWUN_INCHES))) {
    case TWUN_CENTIMETERS: return mm / 10;
    case TWUN_PIXELS: return mm / 25.4 * sbResolution(resolutionCap);
    default: return mm / 25.4;
  }
}

void sbNewOneValue(TW_CAPABILITY* cap, TW_UINT16 type, const void* item, size_t size) {
  cap->ConType = TWON_ONEVALUE;
  cap->hContainer = gHost->newHandle(offsetof(TW_ONEVALUE, Item) + std::max(size, sizeof(TW_UINT32)));
  if (!cap->hContainer) return;
  auto* one = reinterpret_cast<TW_ONEVALUE*>(*cap->hContainer);
  one->ItemType = type;
  std::memcpy(&one->Item, item, size);
}

}  // namespace

void sbSetValue(TW_UINT16 cap, TW_UINT16 type, TW_UINT32 value) {
  SbValue v{type, std::vector<unsigned char>(std::min(TWItemSize(type), sizeof value))};
  std::memcpy(v.item.data(), &value, v.item.size());
  gSession.values[cap] = v;
}

// Turns the negotiated capabilities into the device's options.
void sbApplyOptions() {
  SANE_Handle h = gSession.handle;
  int pixelType = static_cast<int>(sbValueOr(ICAP_PIXELTYPE, -1));
  if (pixelType == TWPT_BW) {
    if (!sbSetChoice(h, SANE_NAME_SCAN_MODE, {"Lineart", "Binary", "Black"})) sbSetChoice(h, SANE_NAME_SCAN_MODE, {"Gray", "Grey"});
    sbSetNumber(h, SANE_NAME_BIT_DEPTH, 1);
  } else if (pixelType == TWPT_GRAY || pixelType == TWPT_RGB) {
    if (pixelType == TWPT_GRAY) sbSetChoice(h, SANE_NAME_SCAN_MODE, {"Gray", "Grey"});
    else sbSetChoice(h, SANE_NAME_SCAN_MODE, {"Color", "Colour"});
    int depth = static_cast<int>(sbValueOr(ICAP_BITDEPTH, 8));
    sbSetNumber(h, SANE_NAME_BIT_DEPTH, depth == 16 || depth == 48 ? 16 : 8);
  }
  if (sbHas(ICAP_LIGHTPATH)) {
    if (sbValueOr(ICAP_LIGHTPATH, 0) == TWLP_TRANSMISSIVE)
      sbSetChoice(h, SANE_NAME_SCAN_SOURCE, kTransmissiveSources);
    else if (gSession.documentSource.empty() || !sbSetChoice(h, SANE_NAME_SCAN_SOURCE, {gSession.documentSource}))
      sbSetChoice(h, SANE_NAME_SCAN_SOURCE, kReflectiveSources);
  }
  if (sbHas(ICAP_XRESOLUTION)) {
    sbSetNumber(h, SANE_NAME_SCAN_RESOLUTION, sbValueOr(ICAP_XRESOLUTION, 75));
    sbSetNumber(h, SANE_NAME_SCAN_X_RESOLUTION, sbValueOr(ICAP_XRESOLUTION, 75));
  }
  if (sbHas(ICAP_YRESOLUTION)) sbSetNumber(h, SANE_NAME_SCAN_Y_RESOLUTION, sbValueOr(ICAP_YRESOLUTION, 75));
  if (sbHas(ICAP_FRAMES) && gSession.values[ICAP_FRAMES].type == TWTY_FRAME) {
    TW_FRAME frame;
    std::memcpy(&frame, gSession.values[ICAP_FRAMES].item.data(), sizeof frame);
    // Bottom right first, so the top left is never refused for lying past an old corner.
    sbSetNumber(h, SANE_NAME_SCAN_BR_X, sbToMM(TWFix32ToDouble(frame.Right), ICAP_XRESOLUTION));
    sbSetNumber(h, SANE_NAME_SCAN_BR_Y, sbToMM(TWFix32ToDouble(frame.Bottom), ICAP_YRESOLUTION));
    sbSetNumber(h, SANE_NAME_SCAN_TL_X, sbToMM(TWFix32ToDouble(frame.Left), ICAP_XRESOLUTION));
    sbSetNumber(h, SANE_NAME_SCAN_TL_Y, sbToMM(TWFix32ToDouble(frame.Top), ICAP_YRESOLUTION));
  }
  // The protocol's brightness and contrast run from -1000 to 1000, its threshold from 0 to 255.
  if (sbHas(ICAP_BRIGHTNESS)) sbSetFraction(h, SANE_NAME_BRIGHTNESS, (sbValueOr(ICAP_BRIGHTNESS, 0) + 1000) / 2000);
  if (sbHas(ICAP_CONTRAST)) sbSetFraction(h, SANE_NAME_CONTRAST, (sbValueOr(ICAP_CONTRAST, 0) + 1000) / 2000);
  if (sbHas(ICAP_THRESHOLD)) sbSetFraction(h, SANE_NAME_THRESHOLD, sbValueOr(ICAP_THRESHOLD, 128) / 255);
}

TW_UINT16 sbGetCapability(TW_CAPABILITY* cap) {
  if (cap->Cap == ICAP_PHYSICALWIDTH || cap->Cap == ICAP_PHYSICALHEIGHT) {
    bool width = cap->Cap == ICAP_PHYSICALWIDTH;
    double mm = sbRangeMax(gSession.handle, width ? SANE_NAME_SCAN_BR_X : SANE_NAME_SCAN_BR_Y, 0);
    if (mm <= 0) return sbFail(TWCC_CAPUNSUPPORTED);
    double v = sbFromMM(mm, width ? ICAP_XRESOLUTION : ICAP_YRESOLUTION);
    TW_FIX32 f{static_cast<TW_INT16>(v), static_cast<TW_UINT16>((v - std::floor(v)) * 65536)};
    sbNewOneValue(cap, TWTY_FIX32, &f, sizeof f);
  } else if (cap->Cap == 0x8423 && !sbHas(cap->Cap)) {
    TW_STR255 model{};
    sbSetPstr(model, sizeof model, gSession.product);
    sbNewOneValue(cap, TWTY_STR255, model, sizeof model);
  } else if (sbHas(cap->Cap)) {
    const SbValue& v = gSession.values[cap->Cap];
    sbNewOneValue(cap, v.type, v.item.data(), v.item.size());
  } else if (cap->Cap == ICAP_LIGHTPATH) {
    TW_UINT32 reflective = TWLP_REFLECTIVE;
    sbNewOneValue(cap, TWTY_UINT16, &reflective, sizeof reflective);
  } else {
    return sbFail(TWCC_CAPUNSUPPORTED);
  }
  return cap->hContainer ? TWRC_SUCCESS : sbFail(TWCC_LOWMEMORY);
}

// Keeps the current item of any container kind the application sends.
TW_UINT16 sbSetCapability(const TW_CAPABILITY* cap) {
  if (!cap->hContainer || !*cap->hContainer) return sbFail(TWCC_BADVALUE);
  const char* p = *cap->hContainer;
  size_t have = static_cast<size_t>(gHost->handleSize(cap->hContainer));
  TW_UINT16 type = *reinterpret_cast<const TW_UINT16*>(p);
  size_t size = TWItemSize(type);
  const void* item = nullptr;
  if (cap->ConType == TWON_ONEVALUE && have >= offsetof(TW_ONEVALUE, Item) + size) {
    item = p + offsetof(TW_ONEVALUE, Item);
  } else if (cap->ConType == TWON_RANGE && have >= sizeof(TW_RANGE) && size <= 4) {
    item = &reinterpret_cast<const TW_RANGE*>(p)->CurrentValue;
  } else if (cap->ConType == TWON_ENUMERATION && have >= kTWEnumerationHeader) {
    auto* e = reinterpret_cast<const TW_ENUMERATION*>(p);
    if (e->CurrentIndex >= e->NumItems || have < kTWEnumerationHeader + size_t(e->NumItems) * size) return sbFail(TWCC_BADVALUE);
    item = e->ItemList + size_t(e->CurrentIndex) * size;
  }
  if (!item || size == 0) return sbFail(TWCC_BADVALUE);
  SbValue v{type, std::vector<unsigned char>(size)};
  std::memcpy(v.item.data(), item, size);
  if (cap->ConType == TWON_RANGE && size < 4) {
    // A range keeps 32-bit values; narrow items sit in their low bytes.
    TW_UINT32 current = reinterpret_cast<const TW_RANGE*>(p)->CurrentValue;
    std::memcpy(v.item.data(), &current, size);
  }
  // Callers take an accepted transmissive light path as the sign of a film adapter.
  if (cap->Cap == ICAP_LIGHTPATH && sbNumber(v) == TWLP_TRANSMISSIVE &&
      !sbOffers(gSession.handle, SANE_NAME_SCAN_SOURCE, kTransmissiveSources))
    return sbFail(TWCC_BADVALUE);
  gSession.values[cap->Cap] = v;
  return TWRC_SUCCESS;
}
