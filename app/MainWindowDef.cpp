#include "app/MainWindowDef.h"

#include "quickdraw/QuickDraw.h"

namespace {
constexpr UInt32 kFeatures = 0x40000012;
constexpr WindowRegionCode kStructureRegion = 32, kContentRegion = 33, kGlobalPortRegion = 40;
}  // namespace

long MainWindowDef(short, WindowRef window, short message, long param) {
  switch (message) {
    case kWindowMsgHitTest:
      return 1;
    case kWindowMsgGetFeatures:
      *reinterpret_cast<UInt32*>(param) = kFeatures;
      return 1;
    case kWindowMsgGetRegion: {
      auto* request = reinterpret_cast<GetWindowRegionRec*>(param);
      if (request->regionCode != kStructureRegion && request->regionCode != kContentRegion) return 0;
      Rect bounds;
      GetWindowBounds(window, kGlobalPortRegion, &bounds);
      const SInt16 id = bounds.bottom - bounds.top > 100 ? kMainWindowRegion : kMainWindowTitleRegion;
      RgnHandle shape = GetRegionResource(id);
      if (!shape) return 0;
      OffsetRgn(shape, bounds.left, bounds.top);
      CopyRgn(shape, request->winRgn);
      DisposeRgn(shape);
      return 0;
    }
    default:
      return 0;
  }
}
