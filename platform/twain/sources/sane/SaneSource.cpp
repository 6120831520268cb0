// The SANE bridge: every SANE device is a data source. Capabilities are kept as the
// application sets them and turned into SANE options when a page starts; each memory
// block carries the whole rows that sane_read has delivered.
#include <sane/sane.h>
#include <sane/saneopts.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "sbCapabilities.h"
#include "sbConfig.h"
#include "sbOptions.h"
#include "sbSession.h"
#include "sbTransfer.h"

namespace {

struct SbDevice {
  std::string saneName;
  std::string product;
};

bool gSaneReady = false;
std::vector<SbDevice> gDevices;

// How many pages the scan takes: several only from a feeder, as the transfer count asks
// (-1, the default, as many as it holds, counting down to its last sheet).
int sbPagesToScan() {
  sbApplyOptions();  // the light path may choose the feeder
  int count = static_cast<int>(static_cast<int16_t>(sbValueOr(CAP_XFERCOUNT, -1)));
  bool feeder = sbCurrentIs(gSession.handle, SANE_NAME_SCAN_SOURCE, {"Automatic", "ADF"});
  return feeder && (count > 1 || count == -1) ? count : 1;
}

bool sbHostHasWindows() {
  return gHost->size >= offsetof(TwainHost, closeSourceWindow) + sizeof gHost->closeSourceWindow && gHost->openSourceWindow;
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
  gSession.pagesLeft = sbPagesToScan();
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
  gSession.pagesLeft = sbPagesToScan();
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
  gSession.documentSource = sbDocumentSource(gDevices[index].saneName);
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
  sbPrepareProductNames();
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
