#include "jpeg/jpgWCore.h"

#include <cstring>

#include "jpeg/jpgArch.h"
#include "jpeg/jpgShare.h"
#include "jpeg/jpgWClr.h"
#include "jpeg/jpgWVLC.h"

namespace {

constexpr int32_t kMaxDimension = 65535;
constexpr int32_t kMaxSegmentData = 65533;

int32_t writeToStream(void* output, const uint8_t* data, int32_t n) {
  return complibWriteBitstreamFile(static_cast<complibBitstream*>(output), data, n) == n ? kJpgOK : kJpgWriteFailed;
}

bool outputFailed(const jpgWContext* ctx) {
  return ctx->coder.bits.error == kBitstreamWriteFailed || ctx->stream.error != 0;
}

int nibbleHigh(uint8_t b) { return b >> 4; }
int nibbleLow(uint8_t b) { return b & 15; }

// First-strip set-up: frame parameters from the strip, component identifiers and factors,
// MCU geometry, tables and headers.
int32_t startFrame(jpgWContext* ctx, const _complibImageRect* rect) {
  if (rect->channels < 1 || rect->channels > 4 || rect->width < 1 || rect->width > kMaxDimension ||
      rect->bitsPerSample != 8 || static_cast<int64_t>(rect->rowBytes) < int64_t(rect->width) * rect->channels)
    return kJpgBadParameter;
  if (ctx->height == 0) {
    if (rect->height < 1 || rect->height > kMaxDimension) return kJpgBadParameter;
    ctx->height = rect->height;
  }
  ctx->width = rect->width;
  ctx->components = rect->channels;
  ctx->bitsPerSample = rect->bitsPerSample;
  ctx->frameMarker = 0xFFC0;
  bool rgbIDs = (ctx->flags & kJpgFlagNoColorConversion) && !(ctx->flags & kJpgFlagNumericIDs) && ctx->components == 3;
  for (int c = 0; c < 4; ++c) ctx->comp[c].id = rgbIDs ? "RGB"[c < 3 ? c : 0] : c + 1;
  jpgWriteColorConvertTableInit(ctx);

  int32_t status = kJpgOK;
  if (!(ctx->flags & kJpgFlagTablesWritten)) {
    status = jpgWriteCreateTables(ctx);
    if (status) return status;
    ctx->flags |= kJpgFlagTablesWritten;
  }

  const int n = ctx->components;
  uint32_t word = n == 1 ? 0x11 : ctx->sampling;
  ctx->hmax = ctx->vmax = 1;
  int32_t blocks = 0;
  for (int c = 0; c < n; ++c) {
    auto byte = static_cast<uint8_t>(word >> (8 * (n - 1 - c)));
    int h = nibbleHigh(byte), v = nibbleLow(byte);
    if (h == 0 || v == 0) return kJpgZeroFactor;
    if (h > 4 || v > 4) return kJpgBadParameter;
    ctx->comp[c].sampling = byte;
    ctx->coder.comp[c].blocks = h * v;
    blocks += h * v;
    if (h > ctx->hmax) ctx->hmax = h;
    if (v > ctx->vmax) ctx->vmax = v;
  }
  if (blocks > 10) return kJpgBadParameter;
  ctx->mcuWidth = 8 * ctx->hmax;
  ctx->mcuHeight = 8 * ctx->vmax;
  ctx->mcusPerRow = (ctx->width + ctx->mcuWidth - 1) / ctx->mcuWidth;
  ctx->mcuRows = (ctx->height + ctx->mcuHeight - 1) / ctx->mcuHeight;

  if (ctx->flags & kJpgFlagMemoryOutput) {
    int64_t step = (int64_t(ctx->width) * ctx->height / 1024 * ctx->quality / (ctx->hmax * ctx->vmax)) * blocks + 65535;
    step &= ~int64_t(65535);
    ctx->stream.growth = step < 65536 ? 65536 : step;
  }

  status = jpgWriteWriteSOF(ctx);
  if (!status) status = jpgWriteWriteDRI(ctx);
  if (!status) status = jpgWriteWriteSOS(ctx);
  if (status) return status;

  jpgWriteAttachTables(ctx);
  ctx->coder.components = n;
  ctx->coder.restartCounter = 0;
  ctx->coder.nextRestart = 0;
  ctx->coder.mcusLeft = ctx->mcusPerRow * ctx->mcuRows;
  ctx->prepare = jpgGetWriteColorConvertFunc(ctx);
  if (!ctx->prepare) return kJpgBadParameter;
  ctx->state = kJpgStateCoding;
  return kJpgOK;
}

}  // namespace

jpgWContext* jpgWriteNewContext() {
  jpgWContext* ctx = jpgProlog();
  if (ctx) jpgSelectKernels(ctx, 0xFFFFFFFFu);
  return ctx;
}

int32_t jpgWriteStartStream(jpgWContext* ctx) {
  ctx->coder.bits.writeOut = writeToStream;
  ctx->coder.bits.output = &ctx->stream;
  ctx->coder.bits.freeBits = 32;
  int32_t status = complibCreateBitstreamFile(&ctx->stream);
  if (status) return status;
  return jpgWritePutMarkerCode(ctx, 0xFFD8);
}

int32_t jpgWriteFinishStream(jpgWContext* ctx) {
  if (outputFailed(ctx)) return kJpgWriteFailed;
  int32_t status = kJpgOK;
  if (ctx->height == 0) status = writeDNL(ctx);
  if (!status) status = jpgWritePutMarkerCode(ctx, 0xFFD9);
  if (int32_t s = jpgWriteFlushBits(ctx); s && !status) status = s;
  if (status) return status;
  // A file without a frame, or with fewer lines than its frame announces, is not an image.
  if (ctx->linesCoded == 0 || ctx->linesCoded < ctx->height) return kJpgBadState;
  return kJpgOK;
}

int32_t jpgWritePrologToMemory(uint32_t options, void** context) {
  if (!context) return kJpgBadContext;
  *context = nullptr;
  jpgWContext* ctx = jpgWriteNewContext();
  if (!ctx) return kJpgNoMemory;
  ctx->flags |= kJpgFlagMemoryOutput;
  if (options & 2) ctx->flags |= kJpgFlagPartialOutput;
  ctx->stream.mode = kBitstreamMemory;
  int32_t status = jpgWriteStartStream(ctx);
  if (status) {
    jpgEpilog(ctx);
    return status;
  }
  *context = ctx;
  return kJpgOK;
}

int32_t jpgWriteEpilogToMemory(void* context, void** data, int64_t* size) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx || !data || !size || !(ctx->flags & kJpgFlagMemoryOutput)) return kJpgBadContext;
  *data = nullptr;
  *size = 0;
  int32_t status = jpgWriteFinishStream(ctx);
  if (!status) {
    *data = ctx->stream.block;
    *size = ctx->stream.used;
    ctx->stream.block = nullptr;
  }
  int32_t released = jpgEpilog(ctx);
  return status ? status : released;
}

int32_t jpgWriteFreeBitstream(void* data) {
  if (!data) return kJpgBadContext;
  complibMemFree(data);
  return kJpgOK;
}

int32_t jpgWriteGetPartialBitstream(void* context, void** data, int64_t* size) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx || !data || !size) return kJpgBadContext;
  if (!(ctx->flags & kJpgFlagMemoryOutput) || !(ctx->flags & kJpgFlagPartialOutput)) return kJpgBadState;
  if (outputFailed(ctx)) return kJpgFailed;
  int32_t status = kJpgOK;
  if (ctx->state == kJpgStateOpened && !(ctx->flags & kJpgFlagTablesWritten)) {
    status = jpgWriteCreateTables(ctx);
    if (status) return status;
    ctx->flags |= kJpgFlagTablesWritten;
  }
  status = jpgWritePutMarkerCode(ctx, 0xFFD9);
  if (int32_t s = jpgWriteFlushBits(ctx); s && !status) status = s;
  if (status) return status;
  *data = ctx->stream.block;
  *size = ctx->stream.used;
  for (auto& comp : ctx->coder.comp) comp.prevDC = 0;
  ctx->coder.bits.acc = 0;
  ctx->coder.bits.freeBits = 32;
  ctx->coder.bits.count = 0;
  ctx->coder.bits.error = 0;
  ctx->stream.growth = 0;
  return kJpgOK;
}

int32_t jpgWriteWriteMarkerSegment(void* context, uint32_t marker, const void* data, int32_t length) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx || !data) return kJpgBadContext;
  if (marker < 0xFFC0 || marker > 0xFFFE || length <= 0 || length > kMaxSegmentData) return kJpgBadParameter;
  return jpgWritePutSegment(ctx, static_cast<uint16_t>(marker), static_cast<const uint8_t*>(data), length);
}

int32_t jpgWriteWriteMarkerCode(void* context, uint32_t marker, int32_t length) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx) return kJpgBadContext;
  if (marker < 0xFFC0 || marker > 0xFFFE || length < 0 || length > kMaxSegmentData) return kJpgBadParameter;
  uint8_t field[2];
  complibValToMem(field, 2, static_cast<uint32_t>(length + 2));
  int32_t status = jpgWritePutMarkerCode(ctx, static_cast<uint16_t>(marker));
  if (!status) status = jpgWritePutBytes(ctx, field, 2);
  ctx->markerRemaining = status ? 0 : length;
  return status;
}

int32_t jpgWriteWriteMarkerData(void* context, const void* data, int32_t count, int32_t* written) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx || !data) return kJpgBadContext;
  if (written) *written = 0;
  if (count <= 0) return kJpgBadParameter;
  if (ctx->markerRemaining <= 0) return kJpgMarkerOverrun;
  int32_t n = count < ctx->markerRemaining ? count : ctx->markerRemaining;
  int32_t status = jpgWritePutBytes(ctx, static_cast<const uint8_t*>(data), n);
  if (status) return status;
  ctx->markerRemaining -= n;
  if (written) *written = n;
  return kJpgOK;
}

int32_t jpgWriteSetQuantizationFactor(void* context, int32_t quality) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx) return kJpgBadContext;
  if (quality < 1 || quality > 100) return kJpgBadParameter;
  ctx->quality = quality;
  return kJpgOK;
}

int32_t jpgWriteSetSubsamplingFactor(void* context, uint32_t word) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx) return kJpgBadContext;
  int hmax = 1, vmax = 1, sum = 0;
  for (int i = 0; i < 4; ++i) {
    auto byte = static_cast<uint8_t>(word >> (8 * i));
    int h = nibbleHigh(byte), v = nibbleLow(byte);
    if (h > 4 || v > 4) return kJpgBadParameter;
    if (h > hmax) hmax = h;
    if (v > vmax) vmax = v;
    sum += h * v;
  }
  if (sum > 10) return kJpgBadParameter;
  for (int i = 0; i < 4; ++i) {
    auto byte = static_cast<uint8_t>(word >> (8 * i));
    int h = nibbleHigh(byte), v = nibbleLow(byte);
    if ((h && hmax % h) || (v && vmax % v)) return kJpgBadParameter;
  }
  ctx->sampling = word;
  return kJpgOK;
}

int32_t jpgWriteSetNumberOfChannels(void* context, int32_t channels) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx) return kJpgBadContext;
  if (channels < 1 || channels > 4) return kJpgBadParameter;
  ctx->components = channels;
  return kJpgOK;
}

int32_t jpgWriteSetRestartInterval(void* context, uint32_t interval) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx) return kJpgBadContext;
  ctx->coder.restartInterval = static_cast<int32_t>(interval & 0xFFFF);
  return kJpgOK;
}

int32_t jpgWriteSetImageSize(void* context, int32_t width, int32_t height) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx) return kJpgBadContext;
  if (width < 1 || height < 1 || width > kMaxDimension || height > kMaxDimension) return kJpgBadParameter;
  ctx->width = width;
  ctx->height = height;
  return kJpgOK;
}

int32_t jpgWriteSetDefaultQuantizationTable(void* context, int32_t index, const uint16_t* table) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx || !table) return kJpgBadContext;
  if (index < 0 || index > 1) return kJpgBadParameter;
  for (int i = 0; i < 64; ++i)
    if (table[i] < 1 || table[i] > 255) return kJpgBadParameter;
  for (int k = 0; k < 64; ++k) ctx->quantBase[index][k] = table[kJpgZigZag[k]];
  return kJpgOK;
}

static int32_t setSelector(void* context, int32_t component, int32_t table, int32_t jpgComponentInfo::*field) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx) return kJpgBadContext;
  if (component < 0 || component > 3 || table < 0 || table > 1) return kJpgBadParameter;
  ctx->comp[component].*field = table;
  return kJpgOK;
}

int32_t jpgWriteSetQuantizationTableSelector(void* context, int32_t component, int32_t table) {
  return setSelector(context, component, table, &jpgComponentInfo::quantSel);
}
int32_t jpgWriteSetDCEntropyTableSelector(void* context, int32_t component, int32_t table) {
  return setSelector(context, component, table, &jpgComponentInfo::dcSel);
}
int32_t jpgWriteSetACEntropyTableSelector(void* context, int32_t component, int32_t table) {
  return setSelector(context, component, table, &jpgComponentInfo::acSel);
}

int32_t jpgWriteSetNoColorConversion(void* context) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx) return kJpgBadContext;
  ctx->flags |= kJpgFlagNoColorConversion;
  return kJpgOK;
}

int32_t jpgWriteSetRedFirst(void* context) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx) return kJpgBadContext;
  ctx->flags |= kJpgFlagRedFirst;
  return kJpgOK;
}

int32_t jpgWriteSetInternalColorSpace(void* context, int32_t kind) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx) return kJpgBadContext;
  if (kind == 0) {
    ctx->flags |= kJpgFlagNumericIDs;
  } else if (kind == 1) {
    ctx->flags &= ~kJpgFlagNumericIDs;
  } else {
    return kJpgBadParameter;
  }
  return kJpgOK;
}

int32_t jpgWriteSetSubsamplingMethod(void* context, int32_t method) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx) return kJpgBadContext;
  if (method < 0 || method > 1) return kJpgBadParameter;
  ctx->subsamplingMethod = method;
  return kJpgOK;
}

int32_t jpgWriteGetSubsamplingMethod(void* context, int32_t* method) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx || !method) return kJpgBadContext;
  *method = ctx->subsamplingMethod;
  return kJpgOK;
}

int32_t jpgWriteSetSpatialPredictor(void* context, int32_t predictor) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx) return kJpgBadContext;
  if (predictor < 1 || predictor > 7) return kJpgBadParameter;
  ctx->predictor = predictor;
  return kJpgOK;
}

int64_t jpgGetJPEGBlockMemorySize(void* context, int32_t lines) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx || ctx->components == 0 || ctx->mcuHeight == 0 || lines <= 0) return 0;
  int64_t mcus = int64_t((lines + ctx->mcuHeight - 1) / ctx->mcuHeight) * ctx->mcusPerRow;
  int64_t blocks = 0;
  for (int c = 0; c < ctx->components; ++c) {
    switch (ctx->comp[c].sampling) {
      case 0x11: blocks += mcus; break;
      case 0x12:
      case 0x21: blocks += 2 * mcus; break;
      case 0x22: blocks += 4 * mcus; break;
      default: break;
    }
  }
  return 64 * blocks;
}

int32_t jpgWriteFromRect(void* context, const _complibImageRect* rect, int32_t lines) {
  jpgWContext* ctx = jpgCheckParam(context);
  if (!ctx || !rect || !rect->data) return kJpgBadContext;
  if (lines <= 0) return kJpgBadParameter;
  if (outputFailed(ctx)) return kJpgWriteFailed;
  if (ctx->state == kJpgStateOpened) {
    if (int32_t status = startFrame(ctx, rect)) return status;
  }
  if (static_cast<int64_t>(rect->rowBytes) < int64_t(ctx->width) * ctx->components) return kJpgBadParameter;
  // Each strip starts an MCU row: only the image's last strip may end inside one.
  int64_t after = int64_t(ctx->linesCoded) + lines;
  if (after > ctx->height || (after < ctx->height && lines % ctx->mcuHeight != 0)) return kJpgBadParameter;

  const int n = ctx->components;
  int32_t blocks = 0;
  jpgColorJob job{};
  for (int c = 0; c < n; ++c) {
    job.h[c] = nibbleHigh(ctx->comp[c].sampling);
    job.v[c] = nibbleLow(ctx->comp[c].sampling);
    if (ctx->hmax % job.h[c] || ctx->vmax % job.v[c]) return kJpgBadSampling;
    blocks += job.h[c] * job.v[c];
  }
  // MCUs of one block go two at a time through the transform of block pairs.
  const bool pairs = blocks == 1 && ctx->fdctPair;
  // Whole grey pairs skip the preparation: the transform takes them from the strip itself.
  const jpgGreyPairsFunc greyPairs = pairs ? ctx->kernels->codeGreyPairs : nullptr;
  int64_t planeBytes = int64_t(ctx->mcuWidth) * ctx->mcuHeight * n * int64_t(sizeof(int16_t));
  auto* planes = static_cast<int16_t*>(jpgMemAlloc(ctx, planeBytes));
  auto* blockBuffer =
      static_cast<int16_t*>(jpgMemAlloc(ctx, int64_t(pairs ? 2 : 1) * blocks * 64 * int64_t(sizeof(int16_t))));
  if (!planes || !blockBuffer) {
    jpgMemFree(ctx, planes);
    jpgMemFree(ctx, blockBuffer);
    return kJpgNoMemory;
  }
  std::memset(planes, 0, static_cast<size_t>(planeBytes));
  job.pixels = rect->data;
  job.blocks = blockBuffer;
  job.planes = planes;
  job.lines = lines;
  job.width = ctx->width;
  job.rowBytes = rect->rowBytes;
  job.components = n;
  job.mcuWidth = ctx->mcuWidth;
  job.mcuHeight = ctx->mcuHeight;
  job.kernels = ctx->kernels;
  job.redFirst = (ctx->flags & kJpgFlagRedFirst) != 0;
  ctx->coder.blocks = blockBuffer;

  int32_t status = kJpgOK;
  for (int32_t y = 0; y < lines && !status; y += ctx->mcuHeight)
    for (int32_t x = 0; x < ctx->width && !status; x += ctx->mcuWidth) {
      if (!pairs) {
        ctx->prepare(&job, x, y);
        status = ctx->writeMCU(ctx);
        continue;
      }
      if (greyPairs && x + 16 <= ctx->width && y + 8 <= lines) {
        // The band's whole pairs in one call, the loop going on past them.
        const int32_t count = (ctx->width - x) / 16;
        status = greyPairs(rect->data + int64_t(y) * rect->rowBytes + x, rect->rowBytes, count, &ctx->coder,
                           ctx->quantDivisors[ctx->comp[0].quantSel]);
        x += 16 * count - ctx->mcuWidth;
        continue;
      }
      job.blocks = blockBuffer;
      ctx->prepare(&job, x, y);
      int32_t count = 1;
      if (x + ctx->mcuWidth < ctx->width) {
        x += ctx->mcuWidth;
        job.blocks = blockBuffer + 64;
        ctx->prepare(&job, x, y);
        count = 2;
      }
      jpgWriteTransformBlocks(ctx, blockBuffer, count);
      status = jpgWriteCodeOneBlockMCUs(ctx, blockBuffer, count);
    }
  ctx->coder.blocks = nullptr;
  jpgMemFree(ctx, planes);
  jpgMemFree(ctx, blockBuffer);
  if (!status) ctx->linesCoded += lines;
  return status;
}
