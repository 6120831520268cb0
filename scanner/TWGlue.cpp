#include "scanner/TWGlue.h"

#include <algorithm>
#include <cstring>

#include "toolbox/MacMemory.h"

namespace {

short sInitialized = 0;
short sDSMOpen = 0;
TW_IDENTITY sAppIdentity;
short sDSOpen = 0;
short sDSSelected = 0;
short sDSEnabled = 0;
TW_IDENTITY sDSIdentity;

short TWWiden(unsigned short rc) { return static_cast<short>(rc); }

}  // namespace

unsigned short DSM_Glue_Entry(TW_IDENTITY* origin, TW_IDENTITY* dest, unsigned long group, unsigned short dat,
                              unsigned short msg, char* data) {
  if (sInitialized != 1 || sDSMOpen != 1) return 0xFFFF;
  return DSM_Entry(origin, dest, static_cast<TW_UINT32>(group), dat, msg, data);
}

short TWInitialize(TW_IDENTITY* app) {
  if (&DSM_Entry == nullptr) return 1;
  sInitialized = 1;
  sAppIdentity = *app;
  sDSIdentity.Id = 0;
  return 0;
}

short TWOpenDSM() {
  sDSMOpen = 1;
  short rc = TWWiden(DSM_Glue_Entry(&sAppIdentity, nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, nullptr));
  // A manager that did not open is not open: the next call tries again.
  if (rc != 0) sDSMOpen = 0;
  return rc;
}

short TWMessageDSM(unsigned long group, unsigned short dat, unsigned short msg, void* data) {
  return TWWiden(DSM_Glue_Entry(&sAppIdentity, nullptr, group, dat, msg, static_cast<char*>(data)));
}

static bool TWEnsureDSM() { return sDSMOpen == 1 || TWOpenDSM() == 0; }

short TWSetDS(TW_IDENTITY* source) {
  if (!TWEnsureDSM()) return -1;
  sDSIdentity = *source;
  sDSSelected = 1;
  return 0;
}

short TWOpenDS() {
  if (!TWEnsureDSM()) return -1;
  short rc = TWMessageDSM(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &sDSIdentity);
  if (rc == 0) sDSOpen = 1;
  return rc;
}

short TWCloseDS() {
  short rc = TWMessageDSM(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &sDSIdentity);
  sDSEnabled = 0;
  sDSOpen = 0;
  return rc;
}

short TWMessageDS(unsigned long group, unsigned short dat, unsigned short msg, void* data) {
  return TWWiden(DSM_Glue_Entry(&sAppIdentity, &sDSIdentity, group, dat, msg, static_cast<char*>(data)));
}

short TWEnableDS(TW_USERINTERFACE* ui) {
  short rc = TWMessageDS(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, ui);
  if (rc == 0) sDSEnabled = 1;
  return rc;
}

short TWDisableDS(TW_USERINTERFACE* ui) {
  short rc = TWMessageDS(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, ui);
  if (rc == 0) sDSEnabled = 0;
  return rc;
}

short ProcessTWMessage(unsigned short msg) {
  if (msg != MSG_CLOSEDSREQ) return 0;
  TW_USERINTERFACE ui{};
  TWDisableDS(&ui);
  return TWCloseDS();
}

short TWAcquire(unsigned char showUI) {
  TW_USERINTERFACE ui{showUI, 1, nullptr};
  short rc = TWEnableDS(&ui);
  if (rc != 0) return rc;
  TW_EVENT event{nullptr, MSG_NULL};
  TWMessageDS(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
  return ProcessTWMessage(event.TWMessage);
}

short TWEventDS(EventRecord* event, short* msgOut) {
  if (sDSOpen != 1 || sDSEnabled != 1) return TWRC_NOTDSEVENT;
  TW_EVENT twEvent{reinterpret_cast<TW_MEMREF>(event), MSG_NULL};
  short rc = TWMessageDS(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &twEvent);
  if (twEvent.TWMessage == MSG_NULL) return rc;
  if (twEvent.TWMessage == MSG_XFERREADY) {
    if (msgOut) *msgOut = static_cast<short>(twEvent.TWMessage);
    return rc;
  }
  short result = ProcessTWMessage(twEvent.TWMessage);
  if (msgOut) *msgOut = static_cast<short>(twEvent.TWMessage);
  return result;
}

short TWSetDSCapability(unsigned short capId, short value) {
  TW_CAPABILITY cap{capId, 0, nullptr};
  if (SetupOneValue(&cap, TWTY_UINT16, value) != 0) return TWRC_FAILURE;
  short rc = TWMessageDS(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &cap);
  DisposeHandle(cap.hContainer);
  return rc;
}

short TWSetPixelType(short pixelType) { return TWSetDSCapability(ICAP_PIXELTYPE, pixelType); }

short GetItemSize(short type) { return static_cast<short>(TWItemSize(static_cast<TW_UINT16>(type))); }

void CopyItems(const void* src, void* dst, short type, long count) {
  std::memcpy(dst, src, static_cast<size_t>(count) * GetItemSize(type));
}

short SetupOneValue(TW_CAPABILITY* cap, short type, long value) {
  cap->ConType = TWON_ONEVALUE;
  cap->hContainer = NewHandleClear(sizeof(TW_ONEVALUE));
  if (!cap->hContainer) return -1;
  auto* one = reinterpret_cast<TW_ONEVALUE*>(*cap->hContainer);
  one->ItemType = static_cast<TW_UINT16>(type);
  one->Item = static_cast<TW_UINT32>(value);
  return 0;
}

short SetupRange(TW_CAPABILITY* cap, short type, long min, long max, long step, long def, long cur) {
  cap->ConType = TWON_RANGE;
  cap->hContainer = NewHandleClear(sizeof(TW_RANGE));
  if (!cap->hContainer) return -1;
  auto* range = reinterpret_cast<TW_RANGE*>(*cap->hContainer);
  range->ItemType = static_cast<TW_UINT16>(type);
  range->MinValue = static_cast<TW_UINT32>(min);
  range->MaxValue = static_cast<TW_UINT32>(max);
  range->StepSize = static_cast<TW_UINT32>(step);
  range->DefaultValue = static_cast<TW_UINT32>(def);
  range->CurrentValue = static_cast<TW_UINT32>(cur);
  return 0;
}

short SetupEnumeration(TW_CAPABILITY* cap, short type, short count, short current, short def, const unsigned char* items) {
  cap->ConType = TWON_ENUMERATION;
  size_t itemBytes = static_cast<size_t>(count > 0 ? count : 0) * GetItemSize(type);
  cap->hContainer = NewHandleClear(static_cast<Size>(std::max(sizeof(TW_ENUMERATION), kTWEnumerationHeader + itemBytes)));
  if (!cap->hContainer) return -1;
  auto* e = reinterpret_cast<TW_ENUMERATION*>(*cap->hContainer);
  e->ItemType = static_cast<TW_UINT16>(type);
  e->NumItems = static_cast<TW_UINT32>(count > 0 ? count : 0);
  e->CurrentIndex = static_cast<TW_UINT32>(current);
  e->DefaultIndex = static_cast<TW_UINT32>(def);
  if (itemBytes) CopyItems(items, e->ItemList, type, count);
  return 0;
}

bool TWIsDSOpen() { return sDSOpen == 1; }
bool TWIsDSEnabled() { return sDSEnabled == 1; }
