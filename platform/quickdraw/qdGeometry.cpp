// Rectangle and point arithmetic (16-bit, QuickDraw's rules), coordinate conversion and
// the region calls over qdRegion values.
#include <algorithm>

#include "quickdraw/qdPort.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"

namespace {
SInt16 S16(long v) { return static_cast<SInt16>(std::clamp<long>(v, -32768, 32767)); }
}  // namespace

void SetRect(Rect* r, SInt16 left, SInt16 top, SInt16 right, SInt16 bottom) { *r = Rect{top, left, bottom, right}; }
void OffsetRect(Rect* r, SInt16 dh, SInt16 dv) {
  *r = Rect{S16(r->top + dv), S16(r->left + dh), S16(r->bottom + dv), S16(r->right + dh)};
}
void InsetRect(Rect* r, SInt16 dh, SInt16 dv) {
  *r = Rect{S16(r->top + dv), S16(r->left + dh), S16(r->bottom - dv), S16(r->right - dh)};
  if (r->bottom <= r->top || r->right <= r->left) *r = Rect{0, 0, 0, 0};
}
Boolean EmptyRect(const Rect* r) { return r->bottom <= r->top || r->right <= r->left; }
Boolean SectRect(const Rect* a, const Rect* b, Rect* result) {
  Rect r{std::max(a->top, b->top), std::max(a->left, b->left), std::min(a->bottom, b->bottom), std::min(a->right, b->right)};
  if (EmptyRect(&r)) r = Rect{0, 0, 0, 0};
  *result = r;
  return !EmptyRect(&r);
}
void UnionRect(const Rect* a, const Rect* b, Rect* result) {
  if (EmptyRect(a)) { *result = *b; return; }
  if (EmptyRect(b)) { *result = *a; return; }
  *result = Rect{std::min(a->top, b->top), std::min(a->left, b->left), std::max(a->bottom, b->bottom), std::max(a->right, b->right)};
}
Boolean PtInRect(Point pt, const Rect* r) { return pt.h >= r->left && pt.h < r->right && pt.v >= r->top && pt.v < r->bottom; }
Boolean EqualRect(const Rect* a, const Rect* b) {
  return a->top == b->top && a->left == b->left && a->bottom == b->bottom && a->right == b->right;
}
Boolean EqualPt(Point a, Point b) { return a.h == b.h && a.v == b.v; }
void SetPt(Point* pt, SInt16 h, SInt16 v) { *pt = Point{v, h}; }
void AddPt(Point src, Point* dst) { *dst = Point{S16(dst->v + src.v), S16(dst->h + src.h)}; }
void SubPt(Point src, Point* dst) { *dst = Point{S16(dst->v - src.v), S16(dst->h - src.h)}; }
void Pt2Rect(Point a, Point b, Rect* r) {
  *r = Rect{std::min(a.v, b.v), std::min(a.h, b.h), std::max(a.v, b.v), std::max(a.h, b.h)};
}

// Global coordinates: a window port's (0,0) before SetOrigin sits at the content's top left.
namespace {
qdGlobalOriginHook sOriginHook = nullptr;
Point PortGlobalOffset(GrafPtr port) {
  Point origin = sOriginHook ? sOriginHook(port) : Point{0, 0};
  return Point{S16(origin.v - port->portRect.top + 0), S16(origin.h - port->portRect.left)};
}
}  // namespace
void qdSetGlobalOriginHook(qdGlobalOriginHook hook) { sOriginHook = hook; }
void LocalToGlobal(Point* pt) {
  Point off = PortGlobalOffset(qdCurrentPort());
  *pt = Point{S16(pt->v + off.v), S16(pt->h + off.h)};
}
void GlobalToLocal(Point* pt) {
  Point off = PortGlobalOffset(qdCurrentPort());
  *pt = Point{S16(pt->v - off.v), S16(pt->h - off.h)};
}

// ---- Regions --------------------------------------------------------------------------------

RgnHandle NewRgn() {
  auto rgn = reinterpret_cast<RgnHandle>(NewHandleClear(sizeof(MacRegion)));
  if (rgn) (*rgn)->rgnSize = sizeof(MacRegion);
  return rgn;
}
void DisposeRgn(RgnHandle rgn) {
  if (rgn) DisposeHandle(reinterpret_cast<Handle>(rgn));
}
void CopyRgn(RgnHandle src, RgnHandle dst) {
  if (src != dst) qdStoreRegion(dst, qdRegionOf(src));
}
void SetEmptyRgn(RgnHandle rgn) { qdStoreRegion(rgn, qdRegion()); }
void SetRectRgn(RgnHandle rgn, SInt16 left, SInt16 top, SInt16 right, SInt16 bottom) {
  qdStoreRegion(rgn, qdRegion::FromRect(Rect{top, left, bottom, right}));
}
void RectRgn(RgnHandle rgn, const Rect* r) { qdStoreRegion(rgn, qdRegion::FromRect(*r)); }
void OffsetRgn(RgnHandle rgn, SInt16 dh, SInt16 dv) { qdStoreRegion(rgn, qdRegionOf(rgn).Translated(dh, dv)); }
void InsetRgn(RgnHandle rgn, SInt16 dh, SInt16 dv) { qdStoreRegion(rgn, qdRegionOf(rgn).Inset(dh, dv)); }
void SectRgn(RgnHandle a, RgnHandle b, RgnHandle dst) { qdStoreRegion(dst, qdRegionOf(a).Intersected(qdRegionOf(b))); }
void UnionRgn(RgnHandle a, RgnHandle b, RgnHandle dst) { qdStoreRegion(dst, qdRegionOf(a).United(qdRegionOf(b))); }
void DiffRgn(RgnHandle a, RgnHandle b, RgnHandle dst) { qdStoreRegion(dst, qdRegionOf(a).Subtracted(qdRegionOf(b))); }
void XorRgn(RgnHandle a, RgnHandle b, RgnHandle dst) { qdStoreRegion(dst, qdRegionOf(a).Xored(qdRegionOf(b))); }
Boolean EmptyRgn(RgnHandle rgn) { return qdRegionOf(rgn).IsEmpty(); }
Boolean EqualRgn(RgnHandle a, RgnHandle b) { return qdRegionOf(a) == qdRegionOf(b); }
Boolean PtInRgn(Point pt, RgnHandle rgn) { return qdRegionOf(rgn).Contains(pt.h, pt.v); }
Boolean RectInRgn(const Rect* r, RgnHandle rgn) { return !qdRegionOf(rgn).IntersectedRect(*r).IsEmpty(); }
Rect* GetRegionBounds(RgnHandle rgn, Rect* bounds) {
  *bounds = qdRegionOf(rgn).Bounds();
  return bounds;
}
Boolean IsRegionRectangular(RgnHandle rgn) {
  qdRegion r = qdRegionOf(rgn);
  return r.IsRect() || r.IsEmpty();
}

OSErr QDRegionFromStoredBytes(const void* data, Size length, RgnHandle dst) {
  qdRegion value;
  if (length < 0 || !qdRegionFromStored(static_cast<const uint8_t*>(data), static_cast<size_t>(length), &value)) return paramErr;
  qdStoreRegion(dst, value);
  return noErr;
}

Handle QDRegionToStoredBytes(RgnHandle rgn) {
  std::vector<uint8_t> bytes;
  if (!qdRegionToStored(qdRegionOf(rgn), &bytes)) {
    qdSetLastError(rgnTooBigErr);
    return nullptr;
  }
  Handle h = nullptr;
  if (PtrToHand(bytes.data(), &h, static_cast<Size>(bytes.size())) != noErr) return nullptr;
  return h;
}
