#include "scanner/TWCapabilities.h"

#include <cstring>

#include "scanner/TWGlue.h"
#include "scanner/UTwHelper.h"
#include "toolbox/MacMemory.h"

namespace {

const TW_UINT16 sFilmMode[16] = {0, 5, 4, 6, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 0};
const TW_UINT16 sBitDepthList[] = {1, 8, 16, 24, 48};
const TW_UINT16 sPixelFlavorList[] = {TWPF_CHOCOLATE, TWPF_VANILLA};
const TW_UINT16 sUnitsList[] = {TWUN_INCHES, TWUN_CENTIMETERS, TWUN_PIXELS};
const TW_UINT16 sDescreenEnabled_List[] = {0, 1};
const TW_UINT16 sMulticrop_Slant_List[] = {0, 1};
const long ThresholdTBL[10] = {128, 102, 128, 149, 171, 191, 205, 218, 128, 128};
const long BrightnessTBL[10] = {0, -400, -200, -100, 0, 100, 200, 400, 0, 0};

short TWSendAndFree(unsigned short msg, TW_CAPABILITY* cap) {
  short rc = TWMessageDS(DG_CONTROL, DAT_CAPABILITY, msg, cap);
  DisposeHandle(cap->hContainer);
  return rc;
}

long TWFix32Item(long value) {
  return static_cast<long>(TWFix32ToItem(UTwHelper::FloatToFix32(static_cast<float>(value))));
}

template <size_t N>
short TWSetEnumerationIndex(unsigned short capId, const TW_UINT16 (&list)[N], short defaultIndex, short current) {
  TW_CAPABILITY cap{capId, 0, nullptr};
  if (SetupEnumeration(&cap, TWTY_UINT16, static_cast<short>(N), current, defaultIndex,
                       reinterpret_cast<const unsigned char*>(list)) != 0)
    return TWRC_FAILURE;
  return TWSendAndFree(MSG_SET, &cap);
}

// The current index is that of the first equal entry, or the list's length when none is.
template <size_t N>
short TWSetEnumeration(unsigned short capId, const TW_UINT16 (&list)[N], short defaultIndex, long wanted) {
  short index = static_cast<short>(N);
  for (size_t i = 0; i < N; ++i) {
    if (list[i] == wanted) {
      index = static_cast<short>(i);
      break;
    }
  }
  return TWSetEnumerationIndex(capId, list, defaultIndex, index);
}

short TWGetOneValue(unsigned short msg, unsigned short capId, TW_CAPABILITY* cap) {
  *cap = TW_CAPABILITY{capId, TWON_ONEVALUE, nullptr};
  short rc = TWMessageDS(DG_CONTROL, DAT_CAPABILITY, msg, cap);
  if (rc == 0 && !cap->hContainer) return TWRC_FAILURE;
  return rc;
}

}  // namespace

TW_UINT16 TWFilmModeValue(long filmMode) { return filmMode >= 0 && filmMode < 16 ? sFilmMode[filmMode] : 0; }
long TWThresholdForLevel(long level) { return level >= 0 && level < 10 ? ThresholdTBL[level] : 128; }
long TWBrightnessForLevel(long level) { return level >= 0 && level < 10 ? BrightnessTBL[level] : 0; }

short _TWSetCapabilityOneValue(unsigned short capId, short type, long value) {
  TW_CAPABILITY cap{capId, 0, nullptr};
  if (SetupOneValue(&cap, type, value) != 0) return TWRC_FAILURE;
  return TWSendAndFree(MSG_SET, &cap);
}

short _TWSetScanMode(short mode) { return _TWSetCapabilityOneValue(kCapScanMode, TWTY_UINT16, mode); }
short _TWSetFilmScanMode(long filmMode) { return _TWSetCapabilityOneValue(kCapFilmScanMode, TWTY_UINT16, TWFilmModeValue(filmMode)); }
short _TWSetLightPath(short lightPath) { return _TWSetCapabilityOneValue(ICAP_LIGHTPATH, TWTY_UINT16, lightPath); }
short _TWSetBrightness(long value) { return _TWSetCapabilityOneValue(ICAP_BRIGHTNESS, TWTY_FIX32, TWFix32Item(value)); }
short _TWSetThreshold(long value) { return _TWSetCapabilityOneValue(ICAP_THRESHOLD, TWTY_FIX32, TWFix32Item(value)); }

short _TWSetResolution(long resolution) {
  short rc = TWRC_FAILURE;
  for (unsigned short capId : {ICAP_XRESOLUTION, ICAP_YRESOLUTION}) {
    TW_CAPABILITY cap{capId, 0, nullptr};
    if (SetupRange(&cap, TWTY_FIX32, TWFix32Item(25), TWFix32Item(9600), TWFix32Item(1), TWFix32Item(75),
                   TWFix32Item(resolution)) != 0) {
      rc = TWRC_FAILURE;
      continue;
    }
    rc = TWSendAndFree(MSG_SET, &cap);
  }
  return rc;
}

short _TWSetBitDepth(short depth) { return TWSetEnumeration(ICAP_BITDEPTH, sBitDepthList, 4, depth); }
short _TWSetPixelFlavor(short flavor) { return TWSetEnumeration(ICAP_PIXELFLAVOR, sPixelFlavorList, 0, flavor); }
short _TWSetUnits(short units) { return TWSetEnumeration(ICAP_UNITS, sUnitsList, 0, units); }
short _TWSetDescreen(short index) { return TWSetEnumerationIndex(kCapDescreen, sDescreenEnabled_List, 1, index); }
short _TWSetMulticrop_Slant(short index) { return TWSetEnumerationIndex(kCapMulticropSlant, sMulticrop_Slant_List, 0, index); }

short _TWSetFrames(const TW_FRAME& frame) {
  TW_FRAME sFramesList[1] = {frame};
  TW_CAPABILITY cap{ICAP_FRAMES, 0, nullptr};
  if (SetupEnumeration(&cap, TWTY_FRAME, 1, 0, 0, reinterpret_cast<const unsigned char*>(sFramesList)) != 0)
    return TWRC_FAILURE;
  return TWSendAndFree(MSG_SET, &cap);
}

short _TWGetCurrentCapabilityOneValue(unsigned short capId, short, unsigned long* value) {
  TW_CAPABILITY cap;
  short rc = TWGetOneValue(MSG_GETCURRENT, capId, &cap);
  if (rc != 0) return rc;
  if (cap.ConType == TWON_ONEVALUE && GetHandleSize(cap.hContainer) >= static_cast<Size>(sizeof(TW_ONEVALUE)))
    *value = reinterpret_cast<TW_ONEVALUE*>(*cap.hContainer)->Item;
  else
    rc = TWRC_FAILURE;
  DisposeHandle(cap.hContainer);
  return rc;
}

short _TWGetStringCapabilityOneValue(unsigned short capId, short type, unsigned char* buffer) {
  TW_CAPABILITY cap;
  short rc = TWGetOneValue(MSG_GET, capId, &cap);
  if (rc != 0) return rc;
  const size_t itemAt = offsetof(TW_ONEVALUE, Item);
  const auto* one = reinterpret_cast<TW_ONEVALUE*>(*cap.hContainer);
  if (cap.ConType == TWON_ONEVALUE && one->ItemType == TWTY_STR255 && type == TWTY_STR255 &&
      GetHandleSize(cap.hContainer) >= static_cast<Size>(itemAt + 255)) {
    std::memcpy(buffer, *cap.hContainer + itemAt, 255);
    buffer[255] = 0;
    if (buffer[0] > 254) buffer[0] = 254;
  } else {
    rc = TWRC_FAILURE;
  }
  DisposeHandle(cap.hContainer);
  return rc;
}

short _TWGetGetMaxImageLayout(long* width, long* height) {
  short rc = TWRC_FAILURE;
  for (int axis = 0; axis < 2; ++axis) {
    long* out = axis == 0 ? width : height;
    unsigned long item = 0;
    TW_CAPABILITY cap;
    rc = TWGetOneValue(MSG_GET, axis == 0 ? ICAP_PHYSICALWIDTH : ICAP_PHYSICALHEIGHT, &cap);
    if (rc == 0) {
      if (cap.ConType == TWON_ONEVALUE && GetHandleSize(cap.hContainer) >= static_cast<Size>(sizeof(TW_ONEVALUE)))
        item = reinterpret_cast<TW_ONEVALUE*>(*cap.hContainer)->Item;
      else
        rc = TWRC_FAILURE;
      DisposeHandle(cap.hContainer);
    }
    *out = rc == 0 ? TWItemToFix32(static_cast<TW_UINT32>(item)).Whole : -1;
  }
  return rc;
}
