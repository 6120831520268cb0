#include "twain/twManager.h"

#include <cstring>
#include <string>
#include <vector>

#include "toolbox/MacMemory.h"
#include "twain/twModules.h"
#include "twain/twSourceWindow.h"

namespace {

struct TwSource {
  TW_IDENTITY identity;
  size_t module;
  int index;   // in the module's last listing
  int state;   // 0 closed, else 4..7
  bool listed; // offered by the last listing
  TW_UINT16 refusedCondition;  // a condition the manager set on a refused message
};

struct TwManager {
  int state = 2;
  std::vector<TwModule> modules;
  std::vector<TwSource> sources;
  size_t nextListed = 0;
  TW_UINT16 condition = TWCC_SUCCESS;
  TW_UINT32 nextId = 1;
};

TwManager& twManager() {
  static TwManager manager;
  return manager;
}

Handle twHostNewHandle(Size size) { return NewHandleClear(size); }
void twHostDisposeHandle(Handle h) { DisposeHandle(h); }
Size twHostHandleSize(Handle h) { return GetHandleSize(h); }

const TwainHost kTwHost = {sizeof(TwainHost), twHostNewHandle, twHostDisposeHandle, twHostHandleSize,
                           twOpenSourceWindow, twCloseSourceWindow};

bool twSameName(const TW_STR32 a, const TW_STR32 b) { return a[0] == b[0] && std::memcmp(a + 1, b + 1, a[0]) == 0; }

// Asks every module for its sources. Sources keep their Id across listings (same module,
// same product name); an open source stays even when its module no longer lists it.
void twListSources(TwManager& m) {
  twLoadModules(m.modules);
  for (TwSource& s : m.sources) s.listed = false;
  for (size_t mod = 0; mod < m.modules.size(); ++mod) {
    TW_IDENTITY ids[kTwainMaxSourcesPerModule];
    std::memset(ids, 0, sizeof ids);
    int count = m.modules[mod].list(&kTwHost, ids, kTwainMaxSourcesPerModule);
    if (count > kTwainMaxSourcesPerModule) count = kTwainMaxSourcesPerModule;
    for (int i = 0; i < count; ++i) {
      ids[i].ProductName[0] = std::min<unsigned char>(ids[i].ProductName[0], 32);
      TwSource* found = nullptr;
      for (TwSource& s : m.sources) {
        if (s.module == mod && twSameName(s.identity.ProductName, ids[i].ProductName)) found = &s;
      }
      if (!found) {
        m.sources.push_back(TwSource{ids[i], mod, i, 0, true, TWCC_SUCCESS});
        found = &m.sources.back();
        found->identity.Id = m.nextId++;
      } else {
        TW_UINT32 id = found->identity.Id;
        if (found->state == 0) found->identity = ids[i];
        found->identity.Id = id;
        found->index = i;
        found->listed = true;
      }
    }
  }
  m.nextListed = 0;
}

TwSource* twSourceById(TwManager& m, TW_UINT32 id) {
  for (TwSource& s : m.sources) {
    if (s.identity.Id == id) return &s;
  }
  return nullptr;
}

TW_UINT16 twFail(TW_UINT16& conditionSlot, TW_UINT16 condition) {
  conditionSlot = condition;
  return TWRC_FAILURE;
}

bool twAnySourceOpen(const TwManager& m) {
  for (const TwSource& s : m.sources) {
    if (s.state != 0) return true;
  }
  return false;
}

TW_UINT16 twNextIdentity(TwManager& m, TW_IDENTITY* out) {
  while (m.nextListed < m.sources.size()) {
    const TwSource& s = m.sources[m.nextListed++];
    if (s.listed) {
      *out = s.identity;
      return TWRC_SUCCESS;
    }
  }
  return TWRC_ENDOFLIST;
}

static TwSource* twFindSource(TwManager& m, const TW_IDENTITY& wanted) {
  for (TwSource& s : m.sources) {
    bool match = wanted.Id != 0 ? s.identity.Id == wanted.Id
                                : (wanted.ProductName[0] == 0 || twSameName(s.identity.ProductName, wanted.ProductName));
    if (match && (s.listed || s.state != 0)) return &s;
  }
  return nullptr;
}

TW_UINT16 twOpenSource(TwManager& m, pTW_IDENTITY origin, TW_IDENTITY* wanted) {
  if (m.sources.empty()) twListSources(m);
  TwSource* source = twFindSource(m, *wanted);
  // A scanner attached since the last listing is asked for by name before any listing.
  if (!source && wanted->Id == 0) {
    twListSources(m);
    source = twFindSource(m, *wanted);
  }
  if (!source) return twFail(m.condition, TWCC_NODS);
  if (source->state != 0) return twFail(m.condition, TWCC_SEQERROR);
  TW_IDENTITY self = source->identity;
  TW_UINT16 rc = m.modules[source->module].entry(source->index, origin, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS,
                                                 reinterpret_cast<TW_MEMREF>(&self));
  if (rc != TWRC_SUCCESS) return twFail(m.condition, TWCC_OPERATIONERROR);
  source->state = 4;
  source->refusedCondition = TWCC_SUCCESS;
  *wanted = source->identity;
  return TWRC_SUCCESS;
}

TW_UINT16 twManagerMessage(TwManager& m, pTW_IDENTITY origin, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG,
                           TW_MEMREF data) {
  if (DG != DG_CONTROL) return twFail(m.condition, TWCC_BADPROTOCOL);
  if (DAT == DAT_PARENT) {
    if (MSG == MSG_OPENDSM) {
      // A second open (the application registers again after ending a session) is fine.
      if (m.state == 2) twLoadModules(m.modules);
      m.state = 3;
      return TWRC_SUCCESS;
    }
    if (MSG == MSG_CLOSEDSM) {
      if (m.state != 3 || twAnySourceOpen(m)) return twFail(m.condition, TWCC_SEQERROR);
      m.state = 2;
      return TWRC_SUCCESS;
    }
    return twFail(m.condition, TWCC_BADPROTOCOL);
  }
  if (DAT == DAT_STATUS && MSG == MSG_GET) {
    if (!data) return twFail(m.condition, TWCC_BADVALUE);
    auto* status = reinterpret_cast<TW_STATUS*>(data);
    status->ConditionCode = m.condition;
    status->Reserved = 0;
    m.condition = TWCC_SUCCESS;
    return TWRC_SUCCESS;
  }
  if (m.state != 3) return twFail(m.condition, TWCC_SEQERROR);
  if (DAT != DAT_IDENTITY) return twFail(m.condition, TWCC_BADPROTOCOL);
  auto* identity = reinterpret_cast<TW_IDENTITY*>(data);
  if (!identity) return twFail(m.condition, TWCC_BADVALUE);
  switch (MSG) {
    case MSG_GETFIRST:
      twListSources(m);
      return twNextIdentity(m, identity);
    case MSG_GETNEXT:
      return twNextIdentity(m, identity);
    case MSG_OPENDS:
      return twOpenSource(m, origin, identity);
    case MSG_CLOSEDS: {
      TwSource* source = twSourceById(m, identity->Id);
      if (!source || source->state == 0) return twFail(m.condition, TWCC_NODS);
      if (source->state != 4) return twFail(m.condition, TWCC_SEQERROR);
      TW_UINT16 rc = m.modules[source->module].entry(source->index, origin, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, data);
      if (rc == TWRC_SUCCESS) source->state = 0;
      return rc;
    }
    default:
      return twFail(m.condition, TWCC_BADPROTOCOL);
  }
}

// The states in which a source accepts a message; 0 for a message the manager does not know.
struct TwAllowed {
  int low;
  int high;
};

TwAllowed twAllowedStates(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG) {
  if (DG == DG_CONTROL) {
    switch (DAT) {
      case DAT_CAPABILITY:
        if (MSG == MSG_GET || MSG == MSG_GETCURRENT || MSG == MSG_GETDEFAULT) return {4, 7};
        if (MSG == MSG_SET || MSG == MSG_RESET) return {4, 4};
        break;
      case DAT_EVENT:
        if (MSG == MSG_PROCESSEVENT) return {5, 7};
        break;
      case DAT_USERINTERFACE:
        if (MSG == MSG_ENABLEDS) return {4, 4};
        if (MSG == MSG_DISABLEDS) return {5, 5};
        break;
      case DAT_PENDINGXFERS:
        if (MSG == MSG_GET) return {4, 7};
        // Reset is taken in the middle of a page too, so an aborted transfer can always end.
        if (MSG == MSG_ENDXFER || MSG == MSG_RESET) return {6, 7};
        break;
      case DAT_SETUPMEMXFER:
        if (MSG == MSG_GET) return {4, 6};
        break;
      case DAT_STATUS:
        if (MSG == MSG_GET) return {4, 7};
        break;
    }
  } else if (DG == DG_IMAGE) {
    if (DAT == DAT_IMAGEINFO && MSG == MSG_GET) return {6, 7};
    if (DAT == DAT_IMAGEMEMXFER && MSG == MSG_GET) return {6, 7};
  }
  return {0, 0};
}

void twAdvance(TwSource& s, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF data, TW_UINT16 rc) {
  if (DG == DG_CONTROL && DAT == DAT_USERINTERFACE && rc == TWRC_SUCCESS) {
    s.state = MSG == MSG_ENABLEDS ? 5 : 4;
  } else if (DG == DG_CONTROL && DAT == DAT_EVENT && s.state == 5 && data) {
    if (reinterpret_cast<TW_EVENT*>(data)->TWMessage == MSG_XFERREADY) s.state = 6;
  } else if (DG == DG_CONTROL && DAT == DAT_PENDINGXFERS && MSG != MSG_GET && rc == TWRC_SUCCESS) {
    bool more = MSG == MSG_ENDXFER && data && reinterpret_cast<TW_PENDINGXFERS*>(data)->Count != 0;
    s.state = more ? 6 : 5;
  } else if (DG == DG_IMAGE && DAT == DAT_IMAGEMEMXFER &&
             (rc == TWRC_SUCCESS || rc == TWRC_XFERDONE || rc == TWRC_CANCEL)) {
    s.state = 7;
  }
}

TW_UINT16 twSourceMessage(TwManager& m, pTW_IDENTITY origin, pTW_IDENTITY dest, TW_UINT32 DG, TW_UINT16 DAT,
                          TW_UINT16 MSG, TW_MEMREF data) {
  TwSource* source = twSourceById(m, dest->Id);
  if (!source || source->state == 0) return twFail(m.condition, TWCC_BADDEST);
  if (DG == DG_CONTROL && DAT == DAT_STATUS && MSG == MSG_GET && source->refusedCondition != TWCC_SUCCESS) {
    if (!data) return twFail(m.condition, TWCC_BADVALUE);
    auto* status = reinterpret_cast<TW_STATUS*>(data);
    status->ConditionCode = source->refusedCondition;
    status->Reserved = 0;
    source->refusedCondition = TWCC_SUCCESS;
    return TWRC_SUCCESS;
  }
  TwAllowed allowed = twAllowedStates(DG, DAT, MSG);
  if (allowed.low == 0) return twFail(source->refusedCondition, TWCC_BADPROTOCOL);
  if (source->state < allowed.low || source->state > allowed.high) return twFail(source->refusedCondition, TWCC_SEQERROR);
  if (!data) return twFail(source->refusedCondition, TWCC_BADVALUE);
  if (DG == DG_CONTROL && DAT == DAT_EVENT) reinterpret_cast<TW_EVENT*>(data)->TWMessage = MSG_NULL;
  TW_UINT16 rc = m.modules[source->module].entry(source->index, origin, DG, DAT, MSG, data);
  twAdvance(*source, DG, DAT, MSG, data, rc);
  return rc;
}

}  // namespace

extern "C" TW_UINT16 DSM_Entry(pTW_IDENTITY pOrigin, pTW_IDENTITY pDest, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG,
                               TW_MEMREF pData) {
  TwManager& m = twManager();
  if (!pOrigin) return twFail(m.condition, TWCC_BADPROTOCOL);
  if (!pDest) return twManagerMessage(m, pOrigin, DG, DAT, MSG, pData);
  if (m.state != 3) return twFail(m.condition, TWCC_SEQERROR);
  return twSourceMessage(m, pOrigin, pDest, DG, DAT, MSG, pData);
}

int TWManagerState() { return twManager().state; }

int TWManagerSourceState(TW_UINT32 sourceId) {
  TwSource* s = twSourceById(twManager(), sourceId);
  return s ? s->state : 0;
}
