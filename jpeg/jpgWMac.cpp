#include "jpeg/jpgWMac.h"

#include "jpeg/complibMac.h"
#include "jpeg/jpgShare.h"
#include "jpeg/jpgWCore.h"
#include "quickdraw/QDOffscreen.h"
#include "toolbox/MacMemory.h"

namespace {

int32_t openFile(jpgWContext* ctx, void** context) {
  int32_t status = jpgWriteStartStream(ctx);
  if (status) {
    jpgEpilog(ctx);
    return status;
  }
  *context = ctx;
  return kJpgOK;
}

}  // namespace

int32_t jpgWritePrologToMacOSFile(const FSRef* parentRef, const HFSUniStr255* name, OSType creator, OSType type,
                                  uint32_t, void** context) {
  if (!parentRef || !context) return kJpgBadContext;
  *context = nullptr;
  jpgWContext* ctx = jpgWriteNewContext();
  if (!ctx) return kJpgNoMemory;
  if (complibMacCreateFileNameFromFsRef(&ctx->stream.name, parentRef, name, creator, type) != kJpgOK) {
    jpgEpilog(ctx);
    return kJpgNoMemory;
  }
  return openFile(ctx, context);
}

int32_t jpgWritePrologToFile(const FSSpec* spec, OSType creator, OSType type, uint32_t, void** context) {
  if (!spec || !context) return kJpgBadContext;
  *context = nullptr;
  jpgWContext* ctx = jpgWriteNewContext();
  if (!ctx) return kJpgNoMemory;
  if (complibMacCreateFileNameFromFsSpec(&ctx->stream.name, spec, creator, type) != kJpgOK) {
    jpgEpilog(ctx);
    return kJpgNoMemory;
  }
  return openFile(ctx, context);
}

int32_t jpgWriteEpilogToFile(void* context) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx || (ctx->flags & kJpgFlagMemoryOutput)) return kJpgBadContext;
  int32_t status = jpgWriteFinishStream(ctx);
  if (!status) status = complibCommitBitstreamFile(&ctx->stream);
  _complibFileName name = ctx->stream.name;
  int32_t released = jpgEpilog(ctx);
  complibMacReleaseFileName(&name);
  return status ? status : released;
}

int32_t jpgWriteFromMacPixMap(void* context, PixMapHandle pixMap) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx || !pixMap || !*pixMap) return kJpgBadContext;
  // Pixels that are not there (purged, never allocated) cannot be locked either.
  if (!LockPixels(pixMap)) return kJpgCannotLock;
  if (!(*pixMap)->baseAddr) {
    UnlockPixels(pixMap);
    return kJpgCannotLock;
  }
  SInt8 state = HGetState(reinterpret_cast<Handle>(pixMap));
  HLock(reinterpret_cast<Handle>(pixMap));
  const PixMap& pm = **pixMap;
  const int depth = pm.pixelSize;
  int32_t status = kJpgOK;
  _complibImageRect rect{};
  if (depth != 8 && depth != 32) {
    status = kJpgBadSampling;
  } else {
    if (ctx->components == 0) ctx->components = depth == 8 ? 1 : 3;
    const int32_t width = pm.bounds.right - pm.bounds.left;
    const int32_t height = pm.bounds.bottom - pm.bounds.top;
    status = jpgWriteSetImageSize(ctx, width, height);
    if (!status) {
      rect = _complibImageRect{width, 16, width * ctx->components, 8 * ctx->components, ctx->components, 8, nullptr};
      if (!complibRectAlloc(&rect)) status = kJpgNoMemory;
    }
    for (int32_t y = 0; !status && y < height; y += 16) {
      int32_t lines = height - y < 16 ? height - y : 16;
      status = complibMacSetBitMapBitsToRect(&rect, y, lines, pixMap);
      if (!status) status = jpgWriteFromRect(ctx, &rect, lines);
    }
    if (rect.data) complibRectFree(&rect);
  }
  HSetState(reinterpret_cast<Handle>(pixMap), state);
  UnlockPixels(pixMap);
  return status;
}
