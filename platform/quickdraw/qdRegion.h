// Regions as values: a sorted list of horizontal bands, each with sorted, disjoint x-spans.
// Bands never touch with equal spans (they are merged), so equal shapes are equal values.
// RgnHandles store this form after their MacRegion header.
#pragma once

#include <cstdint>
#include <vector>

#include "quickdraw/QuickDraw.h"

struct qdBand {
  int32_t top = 0;
  int32_t bottom = 0;
  std::vector<int32_t> xs;  // pairs of [left, right)
  bool operator==(const qdBand&) const = default;
};

class qdRegion {
 public:
  qdRegion() = default;
  static qdRegion FromRect(const Rect& r);
  static qdRegion FromBands(std::vector<qdBand> bands);  // merges and drops empties

  bool IsEmpty() const { return mBands.empty(); }
  bool IsRect() const { return mBands.size() == 1 && mBands[0].xs.size() == 2; }
  Rect Bounds() const;
  bool Contains(int32_t x, int32_t y) const;
  const std::vector<qdBand>& Bands() const { return mBands; }

  qdRegion Translated(int32_t dx, int32_t dy) const;
  qdRegion United(const qdRegion& other) const;
  qdRegion Intersected(const qdRegion& other) const;
  qdRegion Subtracted(const qdRegion& other) const;
  qdRegion Xored(const qdRegion& other) const;
  qdRegion Inset(int32_t dh, int32_t dv) const;
  qdRegion IntersectedRect(const Rect& r) const { return Intersected(FromRect(r)); }

  bool operator==(const qdRegion&) const = default;

 private:
  enum class Op { Union, Intersect, Subtract, Xor };
  qdRegion Combine(const qdRegion& other, Op op) const;
  std::vector<qdBand> mBands;
};

// Between a region value and a RgnHandle.
qdRegion qdRegionOf(RgnHandle rgn);
void qdStoreRegion(RgnHandle rgn, const qdRegion& value);

// The stored (big-endian) region format: inversion points per changing row.
bool qdRegionFromStored(const uint8_t* data, size_t length, qdRegion* out);
// Storing fails (false, `out` untouched) when the region does not fit the format: a
// coordinate outside 16 bits or on the end marker, or more than kMaxStoredRegion bytes.
constexpr size_t kMaxStoredRegion = 0x7FFF;  // readers take the size word as signed
bool qdRegionToStored(const qdRegion& value, std::vector<uint8_t>* out);
