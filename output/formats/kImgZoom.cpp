#include "output/formats/kImgZoom.h"

#include <algorithm>
#include <new>

namespace {

constexpr long kExpandUnit = 65536;

bool IsShortDepth(long bits) { return bits == 16 || bits == 48; }
int ChannelsOf(long bits) { return (bits == 24 || bits == 48) ? 3 : 1; }

// Weight of input index `k` in reduction entry `e`, in 1/m of a pixel.
uint32_t ReduceWeight(const kZoomParam& e, long m, long k) {
  if (k == e.a) return static_cast<uint32_t>(e.b);
  if (k <= e.a + e.c) return static_cast<uint32_t>(m);
  if (k == e.a + e.c + 1) return static_cast<uint32_t>(e.d);
  return 0;
}

// Division rounded to nearest: the two passes of a strong reduction then stay within one
// level of the exact area average.
inline uint64_t DivRound(uint64_t sum, uint64_t div) { return (sum + div / 2) / div; }

template <typename Sample>
void ZoomWidthLine(kZoomInfo* info, uint32_t* acc, const Sample* in) {
  const int ch = ChannelsOf(info->bitsPerPixel);
  const uint64_t div = static_cast<uint64_t>(info->hDivisor);
  const uint64_t m = static_cast<uint64_t>(info->outWidth);
  const kZoomParam* table = info->hTable.data();
  for (int32_t i = 0; i < info->outWidth; ++i) {
    const kZoomParam& e = table[i];
    for (int c = 0; c < ch; ++c) {
      uint64_t sum = 0;
      switch (info->hMode) {
        case kZoomCopy:
          sum = in[i * ch + c];
          break;
        case kZoomReduce: {
          const Sample* p = in + size_t(e.a) * ch + c;
          sum = uint64_t(e.b) * p[0];
          uint64_t middle = 0;
          for (int32_t k = 1; k <= e.c; ++k) middle += p[size_t(k) * ch];
          sum += middle * m;
          if (e.d > 0) sum += uint64_t(e.d) * p[size_t(e.c + 1) * ch];
          break;
        }
        case kZoomExpand:
          sum = uint64_t(e.b) * in[size_t(e.a) * ch + c];
          if (e.c > 0) sum += uint64_t(e.c) * in[size_t(e.a + 1) * ch + c];
          break;
      }
      acc[i * ch + c] = static_cast<uint32_t>(DivRound(sum, div));
    }
  }
}

void AddWeighted(std::vector<uint32_t>& acc, const std::vector<uint32_t>& line, uint32_t weight, int32_t n) {
  uint32_t* a = acc.data();
  const uint32_t* l = line.data();
  for (int32_t k = 0; k < n; ++k) a[k] = static_cast<uint32_t>(a[k] + uint64_t(weight) * l[k]);
}

template <typename Sample>
void StoreLine(Sample* out, int32_t n, uint32_t maxValue, auto valueAt) {
  for (int32_t k = 0; k < n; ++k) {
    uint64_t v = valueAt(k);
    out[k] = static_cast<Sample>(v > maxValue ? maxValue : v);
  }
}

kZoomMode ModeFor(long out, long in) { return out < in ? kZoomReduce : (out > in ? kZoomExpand : kZoomCopy); }

void BuildAxis(std::vector<kZoomParam>& table, kZoomMode mode, long out, long in, int32_t* divisor) {
  table.assign(static_cast<size_t>(out) + 1, kZoomParam{});
  switch (mode) {
    case kZoomCopy:
      for (long i = 0; i < out; ++i) table[i] = kZoomParam{int32_t(i), 1, 0, int32_t(i)};
      *divisor = 1;
      break;
    case kZoomReduce:
      CalcReduceParam(table.data(), out, in);
      *divisor = static_cast<int32_t>(in);
      break;
    case kZoomExpand:
      CalcExpandParam(table.data(), out, in, kExpandUnit);
      *divisor = static_cast<int32_t>(kExpandUnit);
      break;
  }
}

// The last input line output entry `e` needs.
long LastLineOf(const kZoomInfo* info, const kZoomParam& e) {
  switch (info->vMode) {
    case kZoomReduce: return e.a + e.c + (e.d > 0 ? 1 : 0);
    case kZoomExpand: return e.d;
    case kZoomCopy: break;
  }
  return e.a;
}

bool OutputReady(const kZoomInfo* info) {
  return info->vIndex < info->outHeight && LastLineOf(info, info->vTable[info->vIndex]) < info->linesIn;
}

}  // namespace

void CalcReduceParam(kZoomParam* table, long outCount, long inCount) {
  const int64_t m = outCount, n = inCount;
  for (int64_t i = 0; i < m; ++i) {
    const int64_t start = i * n / m;
    const int64_t lead = m - (i * n) % m;
    const int64_t trail = ((i + 1) * n) % m;
    const int64_t whole = (n - lead - trail) / m;
    table[i] = kZoomParam{int32_t(start), int32_t(lead), int32_t(whole), int32_t(trail)};
  }
  table[m] = kZoomParam{int32_t(n), 0, 0, 0};
}

// Centre-aligned: output j samples the input at ((j + 0.5) * n / m) - 0.5, clamped to the
// first and last input, so both edges keep their values.
void CalcExpandParam(kZoomParam* table, long outCount, long inCount, long unit) {
  const int64_t m = outCount, n = inCount, den = 2 * m;
  for (int64_t j = 0; j < m; ++j) {
    int64_t num = (2 * j + 1) * n - m;
    if (num < 0) num = 0;
    if (num > den * (n - 1)) num = den * (n - 1);
    const int64_t p = num / den;
    const int64_t right = (num % den) * unit / den;
    const int64_t need = right > 0 ? p + 1 : p;
    table[j] = kZoomParam{int32_t(p), int32_t(unit - right), int32_t(right), int32_t(need)};
  }
  table[m] = kZoomParam{int32_t(n), 0, 0, int32_t(n)};
}

long kImg_ZoomOpen(kZoomInfo** info, long outWidth, long outHeight, long inWidth, long inHeight, long bitsPerPixel) {
  if (!info) return kImg_ErrParam;
  *info = nullptr;
  constexpr long kMaxSide = 0x7FFFFFFF / 3;
  if (outWidth <= 0 || outHeight <= 0 || inWidth <= 0 || inHeight <= 0 || outWidth > kMaxSide ||
      inWidth > kMaxSide || outHeight > kMaxSide || inHeight > kMaxSide)
    return kImg_ErrParam;
  if (bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 48) return kImg_ErrParam;

  kZoomInfo* z = new (std::nothrow) kZoomInfo{};
  if (!z) return kImg_ErrMemory;
  try {
    z->bitsPerPixel = static_cast<int32_t>(bitsPerPixel);
    z->inWidth = static_cast<int32_t>(inWidth);
    z->inHeight = static_cast<int32_t>(inHeight);
    z->outWidth = static_cast<int32_t>(outWidth);
    z->outHeight = static_cast<int32_t>(outHeight);
    z->outSamples = static_cast<int32_t>(outWidth * ChannelsOf(bitsPerPixel));
    z->hMode = ModeFor(outWidth, inWidth);
    z->vMode = ModeFor(outHeight, inHeight);
    BuildAxis(z->hTable, z->hMode, outWidth, inWidth, &z->hDivisor);
    BuildAxis(z->vTable, z->vMode, outHeight, inHeight, &z->vDivisor);

    // A sum of samples times weights stays below 2^32 while its divisor stays below this.
    const int64_t limit = IsShortDepth(bitsPerPixel) ? 65536 : 16777216;
    const int64_t product = int64_t(z->hDivisor) * z->vDivisor;
    if (product <= limit) {
      z->vDivisor = static_cast<int32_t>(product);
      z->hDivisor = 1;
    } else if (z->hDivisor > limit || z->vDivisor > limit) {
      delete z;
      return kImg_ErrTooStrong;
    }

    const size_t accSize = static_cast<size_t>(z->outSamples) + 3;
    z->acc[0].assign(accSize, 0);
    z->acc[1].assign(accSize, 0);
    z->line.assign(accSize, 0);
  } catch (const std::bad_alloc&) {
    delete z;
    return kImg_ErrMemory;
  }
  *info = z;
  return kImg_NoErr;
}

void kImg_ZoomWidth(kZoomInfo* info, uint32_t* accumulatorLine, const unsigned char* inputLine) {
  if (IsShortDepth(info->bitsPerPixel))
    ZoomWidthLine(info, accumulatorLine, reinterpret_cast<const uint16_t*>(inputLine));
  else
    ZoomWidthLine(info, accumulatorLine, inputLine);
}

long kImg_ZoomSend(kZoomInfo* info, unsigned char* inputLine, long* ready) {
  if (!info || !inputLine || !ready || info->lineReady || info->linesIn >= info->inHeight) return kImg_ErrParam;
  const int32_t y = info->linesIn;
  const int32_t n = info->outSamples;

  switch (info->vMode) {
    case kZoomCopy:
      kImg_ZoomWidth(info, info->acc[info->current].data(), inputLine);
      break;
    case kZoomExpand:
      // The two most recent lines stay, line y in accumulator y & 1.
      kImg_ZoomWidth(info, info->acc[y & 1].data(), inputLine);
      break;
    case kZoomReduce:
      if (info->vIndex < info->outHeight) {
        kImg_ZoomWidth(info, info->line.data(), inputLine);
        const kZoomParam& e = info->vTable[info->vIndex];
        AddWeighted(info->acc[info->current], info->line, ReduceWeight(e, info->outHeight, y), n);
        // A line shared with the next output carries the rest of its weight there.
        if (e.d > 0 && y == e.a + e.c + 1) {
          AddWeighted(info->acc[1 - info->current], info->line, static_cast<uint32_t>(info->vTable[info->vIndex + 1].b), n);
          info->carry = 1;
        }
      }
      break;
  }
  info->linesIn = y + 1;
  info->lineReady = OutputReady(info) ? 1 : 0;
  *ready = info->lineReady;
  return kImg_NoErr;
}

long kImg_ZoomRead(kZoomInfo* info, unsigned char* outputLine, long* more) {
  if (!info || !outputLine || !more || !info->lineReady) return kImg_ErrParam;
  const int32_t n = info->outSamples;
  const uint64_t div = static_cast<uint64_t>(info->vDivisor);
  const uint32_t maxValue = IsShortDepth(info->bitsPerPixel) ? 65535 : 255;

  auto store = [&](auto valueAt) {
    if (IsShortDepth(info->bitsPerPixel))
      StoreLine(reinterpret_cast<uint16_t*>(outputLine), n, maxValue, valueAt);
    else
      StoreLine(outputLine, n, maxValue, valueAt);
  };

  if (info->vMode == kZoomExpand) {
    const kZoomParam& e = info->vTable[info->vIndex];
    const std::vector<uint32_t>& a = info->acc[e.a & 1];
    const std::vector<uint32_t>& b = info->acc[(e.a + 1) & 1];
    store([&](int32_t k) {
      uint64_t sum = uint64_t(e.b) * a[k];
      if (e.c > 0) sum += uint64_t(e.c) * b[k];
      return DivRound(sum, div);
    });
  } else {
    std::vector<uint32_t>& acc = info->acc[info->current];
    store([&](int32_t k) { return DivRound(acc[k], div); });
    if (info->vMode == kZoomReduce) {
      std::fill(acc.begin(), acc.end(), 0);
      info->current = 1 - info->current;
      info->carry = 0;
    }
  }
  info->vIndex += 1;
  info->linesOut += 1;
  info->lineReady = OutputReady(info) ? 1 : 0;
  *more = info->lineReady;
  return kImg_NoErr;
}

void kImg_ZoomClose(kZoomInfo** info) {
  if (!info) return;
  delete *info;
  *info = nullptr;
}
