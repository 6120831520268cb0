// Line-streaming image scaler: changes width and height by independent factors while the
// image passes through one line at a time. Reduction averages areas (box filter with
// fractional edge weights); enlargement interpolates linearly between neighbours.
//
// Protocol: kImg_ZoomOpen; then for each input line kImg_ZoomSend, and while `ready` (then
// `more`) is 1, kImg_ZoomRead one output line; kImg_ZoomClose at the end.
#pragma once

#include <cstdint>
#include <vector>

enum : long {
  kImg_NoErr = 0,
  kImg_ErrParam = 1776,     // a size is 0, the depth is not 8/16/24/48, or a call out of turn
  kImg_ErrTooStrong = 1777, // the reduction is too strong for 32-bit accumulators
  kImg_ErrMemory = 1778,    // the tables or accumulators could not be allocated
};

// One entry per output pixel or line. Reduction: start, lead, whole, trail (weights in
// 1/m of an input pixel). Enlargement: left neighbour, its weight, the right neighbour's
// weight (in 1/65536), and the last input index the output needs.
struct kZoomParam {
  int32_t a;
  int32_t b;
  int32_t c;
  int32_t d;
};

enum kZoomMode : int32_t { kZoomCopy = 0, kZoomReduce = 1, kZoomExpand = 2 };

struct kZoomInfo {
  int32_t bitsPerPixel;
  int32_t inWidth, inHeight;
  int32_t outWidth, outHeight;
  int32_t outSamples;
  int32_t linesIn, linesOut, lineReady;
  int32_t vIndex;
  std::vector<kZoomParam> hTable, vTable;
  int32_t hDivisor, vDivisor;
  int32_t current;
  std::vector<uint32_t> acc[2];
  int32_t carry;
  // How each axis is handled, and one horizontally scaled line on its way to the
  // vertical stage.
  kZoomMode hMode, vMode;
  std::vector<uint32_t> line;
};

long kImg_ZoomOpen(kZoomInfo** info, long outWidth, long outHeight, long inWidth, long inHeight, long bitsPerPixel);
// Feeds one input line (8-bit or native 16-bit samples, RGB interleaved); `ready` is set to
// 1 when an output line can be read. Sending while a line waits to be read is refused.
long kImg_ZoomSend(kZoomInfo* info, unsigned char* inputLine, long* ready);
// Delivers the next output line; `more` is 1 when another can be read before the next send.
long kImg_ZoomRead(kZoomInfo* info, unsigned char* outputLine, long* more);
void kImg_ZoomClose(kZoomInfo** info);

// The horizontal pass of one line into `accumulatorLine`: weighted sums, divided by the
// horizontal divisor (1 when both divisors were combined into the vertical one), so a
// vertical sum never passes 32 bits.
void kImg_ZoomWidth(kZoomInfo* info, uint32_t* accumulatorLine, const unsigned char* inputLine);

void CalcReduceParam(kZoomParam* table, long outCount, long inCount);
void CalcExpandParam(kZoomParam* table, long outCount, long inCount, long unit);
