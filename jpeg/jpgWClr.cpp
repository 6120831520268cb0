#include "jpeg/jpgWClr.h"

#include <array>
#include <cstring>

#include "jpeg/jpgWClrA.h"

namespace {

// Conversion tables in 12-bit fixed point; Y carries the level shift and the rounding term.
struct ConvertTables {
  int32_t redY[256], redCb[256];
  int32_t greenY[256], greenCb[256], greenCr[256];
  int32_t blueY[256], blueCr[256];
};

constexpr ConvertTables makeTables() {
  ConvertTables t{};
  for (int i = 0; i < 256; ++i) {
    t.redY[i] = 1225 * i;
    t.redCb[i] = 691 * i;
    t.greenY[i] = 2404 * i;
    t.greenCb[i] = 1357 * i - 2048;
    t.greenCr[i] = 1715 * i - 2048;
    t.blueY[i] = 467 * i - 522240;
    t.blueCr[i] = 333 * i;
  }
  return t;
}

constexpr ConvertTables kTables = makeTables();

enum ColorKind { kOther = 0, kKeepRGB = 1, kToYCbCr = 2 };

// A cell's mean rounded to nearest, halves away from zero: truncation would bias chroma.
inline int16_t cellMean(int32_t sum, int32_t n) {
  return static_cast<int16_t>((sum + (sum < 0 ? -(n / 2) : n / 2)) / n);
}

inline int16_t* plane(const jpgColorJob* job, int c) { return job->planes + c * job->mcuWidth * job->mcuHeight; }

template <int Kind>
void convert(const jpgColorJob* job, int32_t x, int32_t y, int32_t cols, int32_t rows) {
  if constexpr (Kind == kToYCbCr) {
    GenericYUVConvert8bit(job, x, y, cols, rows);
  } else {
    const int n = job->components;
    for (int32_t r = 0; r < rows; ++r) {
      const uint8_t* src = job->pixels + static_cast<int64_t>(y + r) * job->rowBytes + static_cast<int64_t>(x) * n;
      for (int c = 0; c < n; ++c) {
        // Blue-first pixels give kept RGB in reverse.
        int byte = Kind == kKeepRGB && !job->redFirst ? 2 - c : c;
        int16_t* dst = plane(job, c) + r * job->mcuWidth;
        for (int32_t i = 0; i < cols; ++i) dst[i] = static_cast<int16_t>(src[i * n + byte] - 128);
      }
    }
  }
}

template <int Kind, bool Averaging>
void prepare(const jpgColorJob* job, int32_t x, int32_t y) {
  int32_t cols = job->width - x < job->mcuWidth ? job->width - x : job->mcuWidth;
  int32_t rows = job->lines - y < job->mcuHeight ? job->lines - y : job->mcuHeight;
  if (Kind == kOther && job->components == 1 && cols == 8 && rows == 8) {
    // A whole grey MCU is one block: level-shift the pixels straight into it.
    for (int r = 0; r < 8; ++r) {
      const uint8_t* src = job->pixels + static_cast<int64_t>(y + r) * job->rowBytes + x;
      for (int i = 0; i < 8; ++i) job->blocks[8 * r + i] = static_cast<int16_t>(src[i] - 128);
    }
    return;
  }
  convert<Kind>(job, x, y, cols, rows);
  if (cols == job->mcuWidth && rows == job->mcuHeight) {
    Averaging ? GenericSubSamplingAndBlockDivisionHQ(job) : GenericSubSamplingAndBlockDivision(job);
    return;
  }
  Averaging ? GenericSubSamplingAndBlockDivisionHQEdge(job, cols, rows) : GenericSubSamplingAndBlockDivision(job);
  GenericEdgeOptimize(job, cols, rows);
}

// Runs `f(c, block, bx, by, sx, sy)` for each block of the MCU in buffer order.
template <class F>
void forEachBlock(const jpgColorJob* job, F f) {
  int hmax = 1, vmax = 1;
  for (int c = 0; c < job->components; ++c) {
    if (job->h[c] > hmax) hmax = job->h[c];
    if (job->v[c] > vmax) vmax = job->v[c];
  }
  int16_t* block = job->blocks;
  for (int c = 0; c < job->components; ++c) {
    int sx = hmax / job->h[c], sy = vmax / job->v[c];
    for (int br = 0; br < job->v[c]; ++br)
      for (int bc = 0; bc < job->h[c]; ++bc, block += 64) f(c, block, bc * 8 * sx, br * 8 * sy, sx, sy);
  }
}

}  // namespace

void GenericYUVConvert8bit(const jpgColorJob* job, int32_t x, int32_t y, int32_t cols, int32_t rows) {
  int16_t* py = plane(job, 0);
  int16_t* pcb = plane(job, 1);
  int16_t* pcr = plane(job, 2);
  for (int32_t r = 0; r < rows; ++r) {
    const uint8_t* src = job->pixels + static_cast<int64_t>(y + r) * job->rowBytes + static_cast<int64_t>(x) * 3;
    const int blue = job->redFirst ? 2 : 0;
    int off = r * job->mcuWidth;
    for (int32_t i = 0; i < cols; ++i, src += 3) {
      int b = src[blue], g = src[1], rd = src[2 - blue];
      py[off + i] = static_cast<int16_t>((kTables.redY[rd] + kTables.greenY[g] + kTables.blueY[b]) >> 12);
      pcb[off + i] = static_cast<int16_t>((2048 * b - kTables.redCb[rd] - kTables.greenCb[g]) >> 12);
      pcr[off + i] = static_cast<int16_t>((2048 * rd - kTables.greenCr[g] - kTables.blueCr[b]) >> 12);
    }
  }
}

void GenericSubSamplingAndBlockDivision(const jpgColorJob* job) {
  const int w = job->mcuWidth;
  forEachBlock(job, [&](int c, int16_t* block, int bx, int by, int sx, int sy) {
    const int16_t* p = plane(job, c);
    for (int j = 0; j < 8; ++j) {
      const int16_t* row = p + (by + j * sy) * w + bx;
      if (sx == 1) {
        std::memcpy(block + j * 8, row, 8 * sizeof(int16_t));
      } else {
        for (int i = 0; i < 8; ++i) block[j * 8 + i] = row[i * sx];
      }
    }
  });
}

void GenericSubSamplingAndBlockDivisionHQ(const jpgColorJob* job) {
  const int w = job->mcuWidth;
  forEachBlock(job, [&](int c, int16_t* block, int bx, int by, int sx, int sy) {
    const int16_t* p = plane(job, c);
    const int n = sx * sy;
    for (int j = 0; j < 8; ++j)
      for (int i = 0; i < 8; ++i) {
        const int16_t* cell = p + (by + j * sy) * w + bx + i * sx;
        int32_t sum = 0;
        for (int yy = 0; yy < sy; ++yy)
          for (int xx = 0; xx < sx; ++xx) sum += cell[yy * w + xx];
        block[j * 8 + i] = cellMean(sum, n);
      }
  });
}

void GenericSubSamplingAndBlockDivisionHQEdge(const jpgColorJob* job, int32_t cols, int32_t rows) {
  const int w = job->mcuWidth;
  forEachBlock(job, [&](int c, int16_t* block, int bx, int by, int sx, int sy) {
    const int16_t* p = plane(job, c);
    for (int j = 0; j < 8; ++j) {
      int y0 = by + j * sy;
      if (y0 >= rows) break;
      int ny = rows - y0 < sy ? rows - y0 : sy;
      for (int i = 0; i < 8; ++i) {
        int x0 = bx + i * sx;
        if (x0 >= cols) break;
        int nx = cols - x0 < sx ? cols - x0 : sx;
        int32_t sum = 0;
        for (int yy = 0; yy < ny; ++yy)
          for (int xx = 0; xx < nx; ++xx) sum += p[(y0 + yy) * w + x0 + xx];
        block[j * 8 + i] = cellMean(sum, nx * ny);
      }
    }
  });
}

void LineSymmetry(int16_t* block, int32_t c, int32_t r) {
  for (int row = 0; row < r; ++row) {
    int16_t* s = block + row * 8;
    for (int k = c; k < 8; k *= 2)
      for (int j = 0; j < k && k + j < 8; ++j) s[k + j] = s[k - 1 - j];
  }
  for (int k = r; k < 8; k *= 2)
    for (int j = 0; j < k && k + j < 8; ++j) std::memcpy(block + (k + j) * 8, block + (k - 1 - j) * 8, 16);
}

void GenericEdgeOptimize(const jpgColorJob* job, int32_t cols, int32_t rows) {
  const int16_t* previous = nullptr;
  bool previousInside = false;
  int16_t mean = 0;
  forEachBlock(job, [&](int, int16_t* block, int bx, int by, int sx, int sy) {
    int c = cols > bx ? (cols - bx + sx - 1) / sx : 0;
    int r = rows > by ? (rows - by + sy - 1) / sy : 0;
    if (c > 8) c = 8;
    if (r > 8) r = 8;
    if (c > 0 && r > 0) {
      if (c != 8 || r != 8) LineSymmetry(block, c, r);
      previousInside = true;
    } else {
      if (previousInside) {
        int32_t sum = 0;
        for (int i = 0; i < 64; ++i) sum += previous[i];
        mean = static_cast<int16_t>(sum >> 6);
        previousInside = false;
      }
      for (int i = 0; i < 64; ++i) block[i] = mean;
    }
    previous = block;
  });
}

void jpgWriteRGB2YUVRect(const jpgColorJob* job, int32_t x, int32_t y) { prepare<kToYCbCr, false>(job, x, y); }
void jpgWriteRGB2YUVRectHQ(const jpgColorJob* job, int32_t x, int32_t y) { prepare<kToYCbCr, true>(job, x, y); }
void jpgWriteRGB2RGBRect(const jpgColorJob* job, int32_t x, int32_t y) { prepare<kKeepRGB, false>(job, x, y); }
void jpgWriteRGB2RGBRectHQ(const jpgColorJob* job, int32_t x, int32_t y) { prepare<kKeepRGB, true>(job, x, y); }
void jpgWriteXXX2Rect(const jpgColorJob* job, int32_t x, int32_t y) { prepare<kOther, false>(job, x, y); }
void jpgWriteXXX2RectHQ(const jpgColorJob* job, int32_t x, int32_t y) { prepare<kOther, true>(job, x, y); }

static int colorKind(const jpgWContext* ctx) {
  if (ctx->components != 3) return kOther;
  return (ctx->flags & kJpgFlagNoColorConversion) ? kKeepRGB : kToYCbCr;
}

uint32_t jpgWriteMakeClrCvtID(const jpgWContext* ctx) {
  return (static_cast<uint32_t>(ctx->subsamplingMethod & 1) << 31) | (uint32_t(ctx->bitsPerSample != 8) << 29) |
         (static_cast<uint32_t>(colorKind(ctx)) << 24) | (static_cast<uint32_t>(ctx->hmax) << 16) |
         (static_cast<uint32_t>(ctx->vmax) << 8) | static_cast<uint32_t>(ctx->components);
}

jpgPrepareFunc jpgGetWriteColorConvertFunc(const jpgWContext* ctx) {
  uint32_t id = jpgWriteMakeClrCvtID(ctx);
  if (id & (1u << 29)) return nullptr;
  bool averaging = (id >> 31) != 0;
  int kind = static_cast<int>((id >> 24) & 3);
  if ((kind == kToYCbCr || ctx->components == 1) && (ctx->architecture & kJpgArchVector))
    return jpgGetWriteColorConvertAltiVecFunc(ctx, averaging);
  static constexpr std::array<std::array<jpgPrepareFunc, 2>, 3> kPlain = {{
      {jpgWriteXXX2Rect, jpgWriteXXX2RectHQ},
      {jpgWriteRGB2RGBRect, jpgWriteRGB2RGBRectHQ},
      {jpgWriteRGB2YUVRect, jpgWriteRGB2YUVRectHQ},
  }};
  return kPlain[kind][averaging];
}

void jpgWriteColorConvertTableInit(jpgWContext*) {}
void jpgWriteColorConvertTableClear(jpgWContext*) {}
