// The SANE bridge: every SANE device is a data source. Capabilities are kept as the
// application sets them and turned into SANE options when a page starts; each memory
// block carries the whole rows that sane_read has delivered.
#include <sane/sane.h>
#include <sane/saneopts.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "sbConfig.h"
#include "sbOptions.h"
#include "twain/TwainSource.h"

namespace {

struct SbDevice {
  std::string saneName;
  std::string product;
};

// The current item of a capability as the application set it.
struct SbValue {
  TW_UINT16 type;
  std::vector<unsigned char> item;
};

struct SbSession {
  SANE_Handle handle = nullptr;
  std::string product;
  bool enabled = false;
  bool transferStarted = false;  // since enabling
  bool pageStarted = false;
  bool pageDone = false;
  int pagesLeft = 0;             // -1 while a feeder decides
  SANE_Parameters params{};
  double xres = 0, yres = 0;  // read before the page starts: devices refuse options while scanning
  std::vector<unsigned char> carry;  // bytes of a row not yet delivered
  long rowsSent = 0;
  TW_UINT16 condition = TWCC_SUCCESS;
  std::map<TW_UINT16, SbValue> values;
  void* window = nullptr;       // the settings window while the source's interface is shown
  bool closeRequested = false;  // the user cancelled in that window
};

const TwainHost* gHost = nullptr;
bool gSaneReady = false;
std::vector<SbDevice> gDevices;
SbSession gSession;

void sbSetPstr(unsigned char* field, size_t capacity, const std::string& s) {
  size_t n = std::min(s.size(), capacity - 1);
  field[0] = static_cast<unsigned char>(n);
  std::memcpy(field + 1, s.data(), n);
}

TW_UINT16 sbFail(TW_UINT16 condition) {
  gSession.condition = condition;
  return TWRC_FAILURE;
}

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

bool sbHas(TW_UINT16 cap) { return gSession.values.count(cap) != 0; }
double sbValueOr(TW_UINT16 cap, double fallback) { return sbHas(cap) ? sbNumber(gSession.values[cap]) : fallback; }

double sbResolution(TW_UINT16 cap) {
  return sbValueOr(cap, sbGetNumber(gSession.handle, SANE_NAME_SCAN_RESOLUTION, 75));
}

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
      sbSetChoice(h, SANE_NAME_SCAN_SOURCE, {"Transparency", "Film", "Negative", "Slide", "TPU"});
    else
      sbSetChoice(h, SANE_NAME_SCAN_SOURCE, {"Flatbed", "Normal"});
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

TW_UINT16 sbStartPage() {
  if (gSession.pageStarted) return TWRC_SUCCESS;
  SANE_Handle h = gSession.handle;
  gSession.xres = sbGetNumber(h, SANE_NAME_SCAN_X_RESOLUTION, sbGetNumber(h, SANE_NAME_SCAN_RESOLUTION, 75));
  gSession.yres = sbGetNumber(h, SANE_NAME_SCAN_Y_RESOLUTION, gSession.xres);
  SANE_Status status = sane_start(h);
  if (status == SANE_STATUS_CANCELLED) return TWRC_CANCEL;
  if (status != SANE_STATUS_GOOD) return sbFail(status == SANE_STATUS_NO_DOCS ? TWCC_BUMMER : TWCC_OPERATIONERROR);
  if (sane_get_parameters(gSession.handle, &gSession.params) != SANE_STATUS_GOOD ||
      (gSession.params.format != SANE_FRAME_GRAY && gSession.params.format != SANE_FRAME_RGB) ||
      !gSession.params.last_frame || gSession.params.bytes_per_line <= 0) {
    sane_cancel(gSession.handle);
    return sbFail(TWCC_OPERATIONERROR);
  }
  gSession.pageStarted = true;
  gSession.pageDone = false;
  gSession.carry.clear();
  gSession.rowsSent = 0;
  return TWRC_SUCCESS;
}

void sbEndScan() {
  if (gSession.pageStarted || gSession.transferStarted) sane_cancel(gSession.handle);
  gSession.pageStarted = false;
  gSession.pagesLeft = 0;
}

int sbBitsPerPixel() {
  return gSession.params.depth * (gSession.params.format == SANE_FRAME_RGB ? 3 : 1);
}

TW_UINT16 sbImageInfo(TW_IMAGEINFO* info) {
  gSession.transferStarted = true;
  TW_UINT16 rc = sbStartPage();
  if (rc != TWRC_SUCCESS) return rc;
  std::memset(info, 0, sizeof *info);
  info->XResolution = TW_FIX32{static_cast<TW_INT16>(gSession.xres), 0};
  info->YResolution = TW_FIX32{static_cast<TW_INT16>(gSession.yres), 0};
  info->ImageWidth = gSession.params.pixels_per_line;
  info->ImageLength = gSession.params.lines;
  bool rgb = gSession.params.format == SANE_FRAME_RGB;
  info->SamplesPerPixel = rgb ? 3 : 1;
  for (int i = 0; i < info->SamplesPerPixel; ++i) info->BitsPerSample[i] = static_cast<TW_INT16>(gSession.params.depth);
  info->BitsPerPixel = static_cast<TW_INT16>(sbBitsPerPixel());
  info->PixelType = rgb ? TWPT_RGB : gSession.params.depth == 1 ? TWPT_BW : TWPT_GRAY;
  info->Compression = TWCP_NONE;
  return TWRC_SUCCESS;
}

// SANE gives 1-bit pixels with 1 = black and grey with 0 = black; the application asks
// which end is zero through the pixel flavour.
void sbApplyFlavour(unsigned char* rows, long count, long bytesPerRow) {
  if (gSession.params.format != SANE_FRAME_GRAY) return;
  bool vanilla = sbValueOr(ICAP_PIXELFLAVOR, TWPF_CHOCOLATE) == TWPF_VANILLA;
  bool invert = gSession.params.depth == 1 ? !vanilla : vanilla && gSession.params.depth == 8;
  if (!invert) return;
  long dataBytes = (long(gSession.params.pixels_per_line) * gSession.params.depth + 7) / 8;
  for (long r = 0; r < count; ++r) {
    for (long x = 0; x < dataBytes && x < bytesPerRow; ++x) rows[r * bytesPerRow + x] ^= 0xFF;
  }
}

// Reads what is left of the frame up to its end, so the device is ready for the next one.
void sbDrainFrame() {
  unsigned char scratch[4096];
  SANE_Int got = 0;
  while (sane_read(gSession.handle, scratch, sizeof scratch, &got) == SANE_STATUS_GOOD && got > 0) {
  }
}

TW_UINT16 sbBlock(TW_IMAGEMEMXFER* xfer) {
  gSession.transferStarted = true;
  TW_UINT16 rc = sbStartPage();
  if (rc != TWRC_SUCCESS) return rc;
  if (gSession.pageDone) return sbFail(TWCC_SEQERROR);
  long bpr = gSession.params.bytes_per_line;
  long capacity = long(xfer->Memory.Length / bpr) * bpr;
  if (capacity == 0 || !xfer->Memory.TheMem) return sbFail(TWCC_LOWMEMORY);
  auto* out = reinterpret_cast<unsigned char*>(xfer->Memory.TheMem);
  long filled = static_cast<long>(std::min<size_t>(gSession.carry.size(), capacity));
  if (filled > 0) std::memcpy(out, gSession.carry.data(), filled);
  gSession.carry.erase(gSession.carry.begin(), gSession.carry.begin() + filled);
  bool eof = false;
  // At least one whole row per block, else whatever one read brings.
  while (filled < bpr) {
    SANE_Int got = 0;
    SANE_Status status = sane_read(gSession.handle, out + filled, static_cast<SANE_Int>(capacity - filled), &got);
    if (status == SANE_STATUS_EOF) {
      eof = true;
      break;
    }
    if (status == SANE_STATUS_CANCELLED) return TWRC_CANCEL;
    if (status != SANE_STATUS_GOOD) return sbFail(TWCC_OPERATIONERROR);
    filled += got;
  }
  long rows = filled / bpr;
  gSession.carry.insert(gSession.carry.begin(), out + rows * bpr, out + filled);
  if (!eof && gSession.params.lines > 0 && gSession.rowsSent + rows >= gSession.params.lines) {
    rows = gSession.params.lines - gSession.rowsSent;
    sbDrainFrame();
    eof = true;
  }
  sbApplyFlavour(out, rows, bpr);
  gSession.rowsSent += rows;
  xfer->Compression = TWCP_NONE;
  xfer->BytesPerRow = static_cast<TW_UINT32>(bpr);
  xfer->Columns = static_cast<TW_UINT32>(gSession.params.pixels_per_line);
  xfer->Rows = static_cast<TW_UINT32>(rows);
  xfer->XOffset = 0;
  xfer->YOffset = static_cast<TW_UINT32>(gSession.rowsSent - rows);
  xfer->BytesWritten = static_cast<TW_UINT32>(rows * bpr);
  if (!eof) return TWRC_SUCCESS;
  gSession.pageDone = true;
  return TWRC_XFERDONE;
}

// Ends the page; on a feeder the next sheet is started at once, so the count is exact.
TW_UINT16 sbEndTransfer(TW_PENDINGXFERS* pending) {
  if (gSession.pagesLeft > 0) --gSession.pagesLeft;
  gSession.pageStarted = false;
  gSession.carry.clear();
  if (gSession.pagesLeft != 0 && sbStartPage() != TWRC_SUCCESS) gSession.pagesLeft = 0;
  if (gSession.pagesLeft == 0) sbEndScan();
  pending->Count = static_cast<TW_UINT16>(gSession.pagesLeft);
  return TWRC_SUCCESS;
}

bool sbHostHasWindows() {
  return gHost->size >= offsetof(TwainHost, closeSourceWindow) + sizeof gHost->closeSourceWindow && gHost->openSourceWindow;
}

void sbSetValue(TW_UINT16 cap, TW_UINT16 type, TW_UINT32 value) {
  SbValue v{type, std::vector<unsigned char>(TWItemSize(type))};
  std::memcpy(v.item.data(), &value, v.item.size());
  gSession.values[cap] = v;
}

// The user's choice in the settings window: a scan of the chosen kind is ready, or the
// source asks to be closed.
void sbWindowDone(void*, int scan, TW_UINT16 pixelType) {
  if (!scan) {
    gSession.closeRequested = true;
    return;
  }
  sbSetValue(ICAP_PIXELTYPE, TWTY_UINT16, pixelType);
  sbSetValue(ICAP_BITDEPTH, TWTY_UINT16, pixelType == TWPT_BW ? 1 : 8);
  sbSetValue(ICAP_PIXELFLAVOR, TWTY_UINT16, TWPF_VANILLA);
  gSession.transferStarted = false;
  gSession.pagesLeft = 1;
}

void sbCloseWindow() {
  if (gSession.window) gHost->closeSourceWindow(gSession.window);
  gSession.window = nullptr;
  gSession.closeRequested = false;
}

TW_UINT16 sbEnable(const TW_USERINTERFACE* ui) {
  gSession.enabled = true;
  gSession.transferStarted = false;
  if (ui->ShowUI && sbHostHasWindows()) {
    TwainSourceWindowInfo info{};
    sbSetPstr(info.productName, 33, gSession.product);
    info.pixelType = static_cast<TW_UINT16>(sbValueOr(ICAP_PIXELTYPE, TWPT_RGB));
    info.resolution = static_cast<int>(sbResolution(ICAP_XRESOLUTION));
    gSession.window = gHost->openSourceWindow(&info, sbWindowDone, nullptr);
    if (gSession.window) {
      gSession.pagesLeft = 0;  // nothing to transfer until the user clicks Scan
      return TWRC_SUCCESS;
    }
  }
  // Several pages only from a feeder; -1 (as many as it holds) counts down to its last sheet.
  int count = static_cast<int>(static_cast<int16_t>(sbValueOr(CAP_XFERCOUNT, 1)));
  bool feeder = sbCurrentIs(gSession.handle, SANE_NAME_SCAN_SOURCE, {"Automatic", "ADF"});
  gSession.pagesLeft = feeder && (count > 1 || count == -1) ? count : 1;
  return TWRC_SUCCESS;
}

void sbNewOneValue(TW_CAPABILITY* cap, TW_UINT16 type, const void* item, size_t size) {
  cap->ConType = TWON_ONEVALUE;
  cap->hContainer = gHost->newHandle(offsetof(TW_ONEVALUE, Item) + std::max(size, sizeof(TW_UINT32)));
  if (!cap->hContainer) return;
  auto* one = reinterpret_cast<TW_ONEVALUE*>(*cap->hContainer);
  one->ItemType = type;
  std::memcpy(&one->Item, item, size);
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
  gSession.values[cap->Cap] = v;
  return TWRC_SUCCESS;
}

TW_UINT16 sbOpen(int index) {
  if (gSession.handle) return sbFail(TWCC_OPERATIONERROR);
  if (index < 0 || index >= static_cast<int>(gDevices.size())) return sbFail(TWCC_NODS);
  SANE_Handle h = nullptr;
  if (sane_open(gDevices[index].saneName.c_str(), &h) != SANE_STATUS_GOOD) return sbFail(TWCC_NODS);
  gSession = SbSession{};
  gSession.handle = h;
  gSession.product = gDevices[index].product;
  return TWRC_SUCCESS;
}

TW_UINT16 sbHandle(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF data) {
  SbSession& s = gSession;
  if (DG == DG_CONTROL && DAT == DAT_IDENTITY && MSG == MSG_CLOSEDS) {
    sbCloseWindow();
    sbEndScan();
    sane_close(s.handle);
    s = SbSession{};
    return TWRC_SUCCESS;
  }
  if (!s.handle) return sbFail(TWCC_SEQERROR);
  if (DG == DG_CONTROL) {
    switch (DAT) {
      case DAT_STATUS:
        reinterpret_cast<TW_STATUS*>(data)->ConditionCode = s.condition;
        s.condition = TWCC_SUCCESS;
        return TWRC_SUCCESS;
      case DAT_CAPABILITY: {
        auto* cap = reinterpret_cast<TW_CAPABILITY*>(data);
        if (MSG == MSG_SET) return sbSetCapability(cap);
        if (MSG == MSG_GET || MSG == MSG_GETCURRENT) return sbGetCapability(cap);
        return sbFail(TWCC_CAPUNSUPPORTED);
      }
      case DAT_USERINTERFACE:
        if (MSG == MSG_ENABLEDS) return sbEnable(reinterpret_cast<TW_USERINTERFACE*>(data));
        sbCloseWindow();
        sbEndScan();
        s.enabled = false;
        return TWRC_SUCCESS;
      case DAT_EVENT: {
        auto* event = reinterpret_cast<TW_EVENT*>(data);
        if (s.closeRequested) {
          s.closeRequested = false;
          event->TWMessage = MSG_CLOSEDSREQ;
          return TWRC_DSEVENT;
        }
        if (!s.enabled || s.transferStarted || s.pagesLeft == 0) return TWRC_NOTDSEVENT;
        sbApplyOptions();
        event->TWMessage = MSG_XFERREADY;
        return TWRC_DSEVENT;
      }
      case DAT_SETUPMEMXFER: {
        auto* setup = reinterpret_cast<TW_SETUPMEMXFER*>(data);
        setup->MinBufSize = 1024;
        setup->MaxBufSize = 1 << 22;
        setup->Preferred = 64 * 1024;
        return TWRC_SUCCESS;
      }
      case DAT_PENDINGXFERS: {
        auto* pending = reinterpret_cast<TW_PENDINGXFERS*>(data);
        if (MSG == MSG_ENDXFER) return sbEndTransfer(pending);
        if (MSG == MSG_RESET) sbEndScan();
        pending->Count = static_cast<TW_UINT16>(s.pagesLeft);
        return TWRC_SUCCESS;
      }
    }
  } else if (DG == DG_IMAGE) {
    if (DAT == DAT_IMAGEINFO) return sbImageInfo(reinterpret_cast<TW_IMAGEINFO*>(data));
    if (DAT == DAT_IMAGEMEMXFER) return sbBlock(reinterpret_cast<TW_IMAGEMEMXFER*>(data));
  }
  return sbFail(TWCC_BADPROTOCOL);
}

}  // namespace

extern "C" int TwainSourceList(const TwainHost* host, TW_IDENTITY* ids, int max) {
  gHost = host;
  if (!gSaneReady) {
    sbPrepareSaneConfig();
    SANE_Int version = 0;
    if (sane_init(&version, nullptr) != SANE_STATUS_GOOD) return 0;
    gSaneReady = true;
  }
  // An open device keeps its place: the manager addresses it by its index.
  if (gSession.handle) return static_cast<int>(std::min<size_t>(gDevices.size(), max));
  const SANE_Device** list = nullptr;
  gDevices.clear();
  if (sane_get_devices(&list, SANE_FALSE) == SANE_STATUS_GOOD) {
    for (int i = 0; list[i] && static_cast<int>(gDevices.size()) < max; ++i) {
      std::string fallback = std::string(list[i]->model) + " (" + list[i]->name + ")";
      gDevices.push_back(SbDevice{list[i]->name, sbProductName(list[i]->name, fallback)});
    }
  }
  for (size_t i = 0; i < gDevices.size(); ++i) {
    TW_IDENTITY& id = ids[i];
    id.Version.MajorNum = 1;
    id.ProtocolMajor = 1;
    id.SupportedGroups = DG_SUPPORTED;
    sbSetPstr(id.Manufacturer, sizeof id.Manufacturer, "SANE");
    sbSetPstr(id.ProductFamily, sizeof id.ProductFamily, "SANE bridge");
    sbSetPstr(id.ProductName, 33, gDevices[i].product);
  }
  return static_cast<int>(gDevices.size());
}

extern "C" TW_UINT16 TwainSourceEntry(int index, pTW_IDENTITY, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF data) {
  if (DG == DG_CONTROL && DAT == DAT_IDENTITY && MSG == MSG_OPENDS) return sbOpen(index);
  return sbHandle(DG, DAT, MSG, data);
}
