#include "quickdraw/qdRegion.h"

#include <algorithm>
#include <climits>

#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"

namespace {

// Spans of the band covering y, or an empty list.
const std::vector<int32_t>* SpansAt(const std::vector<qdBand>& bands, int32_t y) {
  static const std::vector<int32_t> kNone;
  auto it = std::upper_bound(bands.begin(), bands.end(), y, [](int32_t v, const qdBand& b) { return v < b.bottom; });
  if (it == bands.end() || y < it->top) return &kNone;
  return &it->xs;
}

// Combines two sorted span lists with a per-point rule.
template <typename Rule>
std::vector<int32_t> CombineSpans(const std::vector<int32_t>& a, const std::vector<int32_t>& b, Rule rule) {
  std::vector<int32_t> edges;
  edges.reserve(a.size() + b.size());
  edges.insert(edges.end(), a.begin(), a.end());
  edges.insert(edges.end(), b.begin(), b.end());
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  std::vector<int32_t> out;
  size_t ia = 0, ib = 0;
  bool inA = false, inB = false, inOut = false;
  for (int32_t x : edges) {
    while (ia < a.size() && a[ia] == x) { inA = !inA; ++ia; }
    while (ib < b.size() && b[ib] == x) { inB = !inB; ++ib; }
    bool now = rule(inA, inB);
    if (now != inOut) {
      out.push_back(x);
      inOut = now;
    }
  }
  return out;
}

Rect ClampedRect(int32_t top, int32_t left, int32_t bottom, int32_t right) {
  auto c = [](int32_t v) { return static_cast<int16_t>(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX)); };
  return Rect{c(top), c(left), c(bottom), c(right)};
}

}  // namespace

qdRegion qdRegion::FromRect(const Rect& r) {
  qdRegion out;
  if (r.bottom > r.top && r.right > r.left) out.mBands.push_back(qdBand{r.top, r.bottom, {r.left, r.right}});
  return out;
}

qdRegion qdRegion::FromBands(std::vector<qdBand> bands) {
  qdRegion out;
  for (auto& b : bands) {
    if (b.bottom <= b.top || b.xs.empty()) continue;
    if (!out.mBands.empty() && out.mBands.back().bottom == b.top && out.mBands.back().xs == b.xs) {
      out.mBands.back().bottom = b.bottom;
    } else {
      out.mBands.push_back(std::move(b));
    }
  }
  return out;
}

Rect qdRegion::Bounds() const {
  if (mBands.empty()) return Rect{0, 0, 0, 0};
  int32_t left = INT32_MAX, right = INT32_MIN;
  for (const auto& b : mBands) {
    left = std::min(left, b.xs.front());
    right = std::max(right, b.xs.back());
  }
  return ClampedRect(mBands.front().top, left, mBands.back().bottom, right);
}

bool qdRegion::Contains(int32_t x, int32_t y) const {
  const auto& xs = *SpansAt(mBands, y);
  for (size_t i = 0; i + 1 < xs.size(); i += 2)
    if (x >= xs[i] && x < xs[i + 1]) return true;
  return false;
}

qdRegion qdRegion::Translated(int32_t dx, int32_t dy) const {
  qdRegion out = *this;
  for (auto& b : out.mBands) {
    b.top += dy;
    b.bottom += dy;
    for (auto& x : b.xs) x += dx;
  }
  return out;
}

qdRegion qdRegion::Combine(const qdRegion& other, Op op) const {
  std::vector<int32_t> ys;
  for (const auto* r : {this, &other})
    for (const auto& b : r->mBands) {
      ys.push_back(b.top);
      ys.push_back(b.bottom);
    }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  std::vector<qdBand> bands;
  for (size_t i = 0; i + 1 < ys.size(); ++i) {
    const auto& a = *SpansAt(mBands, ys[i]);
    const auto& b = *SpansAt(other.mBands, ys[i]);
    std::vector<int32_t> xs;
    switch (op) {
      case Op::Union: xs = CombineSpans(a, b, [](bool p, bool q) { return p || q; }); break;
      case Op::Intersect: xs = CombineSpans(a, b, [](bool p, bool q) { return p && q; }); break;
      case Op::Subtract: xs = CombineSpans(a, b, [](bool p, bool q) { return p && !q; }); break;
      case Op::Xor: xs = CombineSpans(a, b, [](bool p, bool q) { return p != q; }); break;
    }
    bands.push_back(qdBand{ys[i], ys[i + 1], std::move(xs)});
  }
  return FromBands(std::move(bands));
}

qdRegion qdRegion::United(const qdRegion& other) const { return Combine(other, Op::Union); }
qdRegion qdRegion::Intersected(const qdRegion& other) const { return Combine(other, Op::Intersect); }
qdRegion qdRegion::Subtracted(const qdRegion& other) const { return Combine(other, Op::Subtract); }
qdRegion qdRegion::Xored(const qdRegion& other) const { return Combine(other, Op::Xor); }

namespace {

// The union (or intersection) of the region moved by 0, 1, ... count-1 steps of (dx, dy),
// built by doubling so a large count costs only its number of bits.
qdRegion Sweep(const qdRegion& r, int32_t count, int32_t dx, int32_t dy, bool unite) {
  auto combine = [unite](const qdRegion& a, const qdRegion& b) { return unite ? a.United(b) : a.Intersected(b); };
  qdRegion acc = r;  // covers `have` steps
  int32_t have = 1;
  int bit = 30;
  while (bit >= 0 && !((count >> bit) & 1)) --bit;
  for (--bit; bit >= 0; --bit) {
    acc = combine(acc, acc.Translated(dx * have, dy * have));
    have *= 2;
    if ((count >> bit) & 1) {
      acc = combine(acc, r.Translated(dx * have, dy * have));
      ++have;
    }
  }
  return acc;
}

}  // namespace

// Shrinking (positive) keeps the points whose whole neighbourhood lies inside; growing
// (negative) takes every point within reach. One axis at a time.
qdRegion qdRegion::Inset(int32_t dh, int32_t dv) const {
  qdRegion out = *this;
  if (dh != 0) {
    int32_t k = std::abs(dh);
    out = Sweep(out, 2 * k + 1, 1, 0, dh < 0).Translated(-k, 0);
  }
  if (dv != 0) {
    int32_t k = std::abs(dv);
    out = Sweep(out, 2 * k + 1, 0, 1, dv < 0).Translated(0, -k);
  }
  return out;
}

// ---- RgnHandle storage: MacRegion header, then per band: top, bottom, count, xs (int32).

qdRegion qdRegionOf(RgnHandle rgn) {
  if (!rgn || !*rgn) return {};
  Size size = GetHandleSize(reinterpret_cast<Handle>(rgn));
  const char* p = reinterpret_cast<const char*>(*rgn) + sizeof(MacRegion);
  const char* end = reinterpret_cast<const char*>(*rgn) + size;
  std::vector<qdBand> bands;
  auto take = [&](int32_t* v) {
    if (end - p < 4) return false;
    std::memcpy(v, p, 4);
    p += 4;
    return true;
  };
  int32_t top, bottom, count;
  while (take(&top) && take(&bottom) && take(&count)) {
    qdBand b{top, bottom, {}};
    for (int32_t i = 0; i < count; ++i) {
      int32_t x;
      if (!take(&x)) break;
      b.xs.push_back(x);
    }
    bands.push_back(std::move(b));
  }
  return qdRegion::FromBands(std::move(bands));
}

void qdStoreRegion(RgnHandle rgn, const qdRegion& value) {
  if (!rgn) return;
  std::vector<int32_t> words;
  for (const auto& b : value.Bands()) {
    words.push_back(b.top);
    words.push_back(b.bottom);
    words.push_back(static_cast<int32_t>(b.xs.size()));
    words.insert(words.end(), b.xs.begin(), b.xs.end());
  }
  Size size = static_cast<Size>(sizeof(MacRegion) + words.size() * 4);
  SetHandleSize(reinterpret_cast<Handle>(rgn), size);
  if (MemError() != noErr) return;
  (*rgn)->rgnSize = static_cast<UInt16>(std::min<Size>(size, 0xFFFF));
  (*rgn)->rgnBBox = value.Bounds();
  if (!words.empty()) std::memcpy(reinterpret_cast<char*>(*rgn) + sizeof(MacRegion), words.data(), words.size() * 4);
}

// ---- The stored format ------------------------------------------------------------------

bool qdRegionFromStored(const uint8_t* data, size_t length, qdRegion* out) {
  *out = {};
  if (!data || length < 10) return false;
  RecordBytes rec(const_cast<uint8_t*>(data), length);
  size_t size = rec.u16(0);
  if (size < 10 || size > length) return false;
  Rect box{rec.i16(2), rec.i16(4), rec.i16(6), rec.i16(8)};
  if (size == 10) {
    *out = qdRegion::FromRect(box);
    return true;
  }
  constexpr int16_t kEnd = 0x7FFF;
  size_t at = 10;
  auto next = [&](int16_t* v) {
    if (at + 2 > size) return false;
    *v = rec.i16(at);
    at += 2;
    return true;
  };
  std::vector<qdBand> bands;
  std::vector<int32_t> current;
  int32_t lastY = INT32_MIN;
  for (;;) {
    int16_t y;
    if (!next(&y)) return false;
    if (y == kEnd) break;
    if (y <= lastY) return false;
    std::vector<int32_t> inversions;
    for (;;) {
      int16_t x;
      if (!next(&x)) return false;
      if (x == kEnd) break;
      if (!inversions.empty() && x <= inversions.back()) return false;
      inversions.push_back(x);
    }
    if (inversions.size() % 2 != 0) return false;
    if (!bands.empty()) bands.back().bottom = y;
    std::vector<int32_t> merged;
    std::set_symmetric_difference(current.begin(), current.end(), inversions.begin(), inversions.end(),
                                  std::back_inserter(merged));
    current = std::move(merged);
    bands.push_back(qdBand{y, y, current});
    lastY = y;
  }
  if (at != size || !current.empty()) return false;
  qdRegion value = qdRegion::FromBands(std::move(bands));
  Rect b = value.Bounds();
  if (!value.IsEmpty() && !EqualRect(&b, &box)) return false;
  *out = std::move(value);
  return true;
}

namespace {

constexpr int16_t kStoredEnd = 0x7FFF;

// Rows and inversion points are words that must not be read as the end marker.
bool CoordinatesFit(const qdRegion& value) {
  int32_t highest = value.IsRect() ? INT16_MAX : kStoredEnd - 1;
  for (const auto& b : value.Bands()) {
    if (b.top < INT16_MIN || b.bottom > highest) return false;
    if (b.xs.front() < INT16_MIN || b.xs.back() > highest) return false;
  }
  return true;
}

std::vector<uint8_t> Encode(const qdRegion& value) {
  std::vector<int16_t> words;
  Rect box = value.Bounds();
  if (!value.IsRect() && !value.IsEmpty()) {
    std::vector<int32_t> previous;
    auto emitRow = [&](int32_t y, const std::vector<int32_t>& next) {
      std::vector<int32_t> inv;
      std::set_symmetric_difference(previous.begin(), previous.end(), next.begin(), next.end(), std::back_inserter(inv));
      if (inv.empty()) return;
      words.push_back(static_cast<int16_t>(y));
      for (int32_t x : inv) words.push_back(static_cast<int16_t>(x));
      words.push_back(kStoredEnd);
      previous = next;
    };
    int32_t lastBottom = INT32_MIN;
    for (const auto& b : value.Bands()) {
      if (b.top != lastBottom && lastBottom != INT32_MIN) emitRow(lastBottom, {});
      emitRow(b.top, b.xs);
      lastBottom = b.bottom;
    }
    emitRow(lastBottom, {});
    words.push_back(kStoredEnd);
  }
  std::vector<uint8_t> out(10 + words.size() * 2);
  RecordBytes rec(out.data(), out.size());
  rec.setU16(0, static_cast<uint16_t>(std::min<size_t>(out.size(), 0xFFFF)));
  rec.setI16(2, box.top);
  rec.setI16(4, box.left);
  rec.setI16(6, box.bottom);
  rec.setI16(8, box.right);
  for (size_t i = 0; i < words.size(); ++i) rec.setI16(10 + i * 2, words[i]);
  return out;
}

}  // namespace

bool qdRegionToStored(const qdRegion& value, std::vector<uint8_t>* out) {
  if (!CoordinatesFit(value)) return false;
  std::vector<uint8_t> bytes = Encode(value);
  if (bytes.size() > kMaxStoredRegion) return false;
  *out = std::move(bytes);
  return true;
}
