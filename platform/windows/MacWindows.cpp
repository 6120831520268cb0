// The Window Manager: the window list front to back, window regions in global
// coordinates, update regions, and the display kept in step with every change.
//
// Standard windows have a title bar above their content (the screen's own frame shows it
// with a display). Custom windows take both regions from their definition procedure.
#include "windows/MacWindows.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "display/Display.h"
#include "quickdraw/QDOffscreen.h"
#include "quickdraw/qdPort.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/TextConvert.h"
#include "windows/wmEventLink.h"

struct OpaqueWindowPtr {
  GrafPtr port = nullptr;
  WindowClass windowClass = kDocumentWindowClass;
  WindowAttributes attributes = 0;
  WindowDefProcPtr defProc = nullptr;
  Rect content = {0, 0, 0, 0};   // global
  Rect expanded = {0, 0, 0, 0};  // content before a collapse
  bool visible = false;
  bool hilited = false;
  bool collapsed = false;
  qdRegion structure;  // global
  qdRegion contentRgn;
  qdRegion update;     // global
  RgnHandle savedVis = nullptr;
  long refCon = 0;
  Str255 title = {0};
  SInt16 kind = kApplicationWindowKind;
};

namespace {

constexpr int kTitleBar = 22;
constexpr int kSmallTitleBar = 16;
constexpr int kBoxSize = 12;  // close and collapse boxes in the title bar

std::vector<WindowRef>& Windows() {
  static std::vector<WindowRef> list;
  return list;
}

bool Known(WindowRef w) { return w && std::find(Windows().begin(), Windows().end(), w) != Windows().end(); }

// Help tags stand above dialogs and alerts, which stand above floating windows, which float
// above the rest: a prompt is never hidden under a palette of its own run. A window comes to
// the front of its own layer only.
int Layer(const OpaqueWindowPtr& w) {
  switch (w.windowClass) {
    case kHelpWindowClass: return 3;
    case kAlertWindowClass:
    case kMovableAlertWindowClass:
    case kModalWindowClass:
    case kMovableModalWindowClass: return 2;
    case kFloatingWindowClass:
    case kUtilityWindowClass: return 1;
    default: return 0;
  }
}

void PutAtFrontOfLayer(WindowRef w) {
  std::erase(Windows(), w);
  auto at = std::find_if(Windows().begin(), Windows().end(), [&](WindowRef other) { return Layer(*other) <= Layer(*w); });
  Windows().insert(at, w);
}

int TitleHeight(const OpaqueWindowPtr& w) {
  switch (w.windowClass) {
    case kFloatingWindowClass:
    case kUtilityWindowClass: return kSmallTitleBar;
    case kModalWindowClass:
    case kAlertWindowClass:
    case kPlainWindowClass:
    case kHelpWindowClass: return 0;
    default: return kTitleBar;
  }
}

Rect TitleBar(const OpaqueWindowPtr& w) {
  return Rect{static_cast<SInt16>(w.content.top - TitleHeight(w)), w.content.left, w.content.top, w.content.right};
}

long PackedPoint(Point p) { return (static_cast<long>(p.v) << 16) | (p.h & 0xFFFF); }

// Regions from the definition procedure, or the standard frame.
void ComputeRegions(OpaqueWindowPtr& w) {
  if (w.defProc) {
    RgnHandle rgn = NewRgn();
    GetWindowRegionRec rec{rgn, kWindowStructureRgn};
    w.defProc(0, &w, kWindowMsgGetRegion, reinterpret_cast<long>(&rec));
    w.structure = qdRegionOf(rgn);
    rec.regionCode = kWindowContentRgn;
    SetEmptyRgn(rgn);
    w.defProc(0, &w, kWindowMsgGetRegion, reinterpret_cast<long>(&rec));
    w.contentRgn = qdRegionOf(rgn);
    DisposeRgn(rgn);
    return;
  }
  Rect frame = w.content;
  frame.top = static_cast<SInt16>(frame.top - TitleHeight(w));
  InsetRect(&frame, -1, -1);
  w.contentRgn = w.collapsed ? qdRegion() : qdRegion::FromRect(w.content);
  w.structure = w.collapsed ? qdRegion::FromRect(TitleBar(w)) : qdRegion::FromRect(frame);
}

void Sync(WindowRef w) {
  DpyWindowState state;
  state.content = w->content;
  state.frameless = w->defProc != nullptr;
  state.tooltip = w->windowClass == kHelpWindowClass;
  state.visible = w->visible;
  RgnHandle shape = nullptr;
  if (state.frameless) {
    shape = NewRgn();
    qdStoreRegion(shape, w->structure);
    state.shape = shape;
  }
  PStringToUTF8(w->title, &state.titleUTF8);
  DpyCurrent().WindowChanged(w, state);
  DisposeRgn(shape);
}

void Restack() {
  std::vector<DpyWindowID> ids(Windows().begin(), Windows().end());
  DpyCurrent().Restack(ids);
}

void Present(WindowRef w) {
  if (w->visible) DpyCurrent().Present(w, GetPortPixMap(w->port));
}

// Global <-> the window port's local coordinates.
Point PortOffset(WindowRef w) {
  return Point{static_cast<SInt16>(w->content.top - w->port->portRect.top), static_cast<SInt16>(w->content.left - w->port->portRect.left)};
}

// Help tags and menus are never the front window: they take no activation.
WindowRef FrontVisible() {
  for (WindowRef w : Windows())
    if (w->visible && w->windowClass != kHelpWindowClass && !(w->attributes & kWindowNoActivatesAttribute)) return w;
  return nullptr;
}

void SetActive(WindowRef w, bool active) {
  if (!w || w->hilited == active) return;
  w->hilited = active;
  evPostActivate(w, active);
}

OSStatus Create(WindowDefProcPtr defProc, WindowClass windowClass, WindowAttributes attributes, const Rect* bounds,
                WindowRef* out) {
  if (!out || !bounds) return paramErr;
  *out = nullptr;
  wmEnsureDisplay();
  int width = bounds->right - bounds->left, height = bounds->bottom - bounds->top;
  OSErr err;
  // Its pixels are made when first drawn or shown: a window built and never shown costs none.
  GrafPtr port = qdNewPort(qdPortKind::Window, 32, Rect{0, 0, static_cast<SInt16>(height), static_cast<SInt16>(width)}, nullptr,
                           false, &err, true);
  if (!port) return err;
  auto w = new OpaqueWindowPtr;
  w->port = port;
  port->window = w;
  w->windowClass = windowClass;
  w->attributes = attributes;
  w->defProc = defProc;
  w->content = *bounds;
  w->expanded = *bounds;
  // A new window opens in front: the user has just asked for it.
  PutAtFrontOfLayer(w);
  if (defProc) {
    defProc(0, w, kWindowMsgInitialize, 0);
    UInt32 features = 0;
    defProc(0, w, kWindowMsgGetFeatures, reinterpret_cast<long>(&features));
  }
  ComputeRegions(*w);
  Sync(w);
  *out = w;
  return noErr;
}

void MovedByScreen(DpyWindowID id, Point topLeft) {
  auto w = static_cast<WindowRef>(const_cast<void*>(id));
  if (!Known(w)) return;
  OffsetRect(&w->content, static_cast<SInt16>(topLeft.h - w->content.left), static_cast<SInt16>(topLeft.v - w->content.top));
  w->expanded = Rect{topLeft.v, topLeft.h, static_cast<SInt16>(topLeft.v + w->expanded.bottom - w->expanded.top),
                     static_cast<SInt16>(topLeft.h + w->expanded.right - w->expanded.left)};
  ComputeRegions(*w);
}

void FlushWindowPort(GrafPtr port) {
  if (auto w = static_cast<WindowRef>(port->window); Known(w)) Present(w);
}

Point GlobalOriginOf(GrafPtr port) {
  auto w = static_cast<WindowRef>(port->window);
  if (!Known(w)) return Point{0, 0};
  return Point{w->content.top, w->content.left};
}

// The mouse in global coordinates, read through the window's port.
Point GlobalMouse(WindowRef window) {
  Point now;
  GrafPtr saved;
  GetPort(&saved);
  SetPort(window->port);
  GetMouse(&now);
  LocalToGlobal(&now);
  SetPort(saved);
  return now;
}

}  // namespace

void wmEnsureDisplay() {
  static bool done = false;
  if (done) return;
  done = true;
  DpyCurrent();
  DpySetMovedHook(MovedByScreen);
  qdSetFlushHook(FlushWindowPort);
  qdSetGlobalOriginHook(GlobalOriginOf);
}

WindowRef wmWindowNeedingUpdate() {
  for (WindowRef w : Windows())
    if (w->visible && !w->update.IsEmpty()) return w;
  return nullptr;
}

OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes, const Rect* contentBounds, WindowRef* outWindow) {
  return Create(nullptr, windowClass, attributes, contentBounds, outWindow);
}

OSStatus CreateCustomWindow(const WindowDefSpec* def, WindowClass windowClass, WindowAttributes attributes,
                            const Rect* contentBounds, WindowRef* outWindow) {
  if (!def || def->defType != kWindowDefProcPtr || !def->u.defProc) return paramErr;
  return Create(def->u.defProc, windowClass, attributes, contentBounds, outWindow);
}

void DisposeWindow(WindowRef window) {
  if (!Known(window)) return;
  bool wasFront = FrontVisible() == window;
  if (window->defProc) window->defProc(0, window, kWindowMsgCleanUp, 0);
  std::erase(Windows(), window);
  evForgetWindow(window);
  DpyCurrent().WindowRemoved(window);
  GrafPtr current;
  GetPort(&current);
  if (current == window->port) SetPort(nullptr);
  qdDisposePort(window->port);
  DisposeRgn(window->savedVis);
  delete window;
  if (wasFront) SetActive(FrontVisible(), true);
}

void ShowWindow(WindowRef window) {
  if (!Known(window) || window->visible) return;
  WindowRef oldFront = FrontVisible();
  window->visible = true;
  window->update = window->contentRgn;
  Sync(window);
  Restack();
  if (FrontVisible() == window) {
    SetActive(oldFront, false);
    SetActive(window, true);
  }
}

void HideWindow(WindowRef window) {
  if (!Known(window) || !window->visible) return;
  bool wasFront = FrontVisible() == window;
  window->visible = false;
  SetActive(window, false);
  Sync(window);
  if (wasFront) SetActive(FrontVisible(), true);
}

Boolean IsWindowVisible(WindowRef window) { return Known(window) && window->visible; }

void BringToFront(WindowRef window) {
  if (!Known(window)) return;
  PutAtFrontOfLayer(window);
  Restack();
}

void SelectWindow(WindowRef window) {
  if (!Known(window)) return;
  WindowRef oldFront = FrontVisible();
  BringToFront(window);
  if (oldFront != window) SetActive(oldFront, false);
  if (window->visible) SetActive(window, true);
}

void SendBehind(WindowRef window, WindowRef behindWindow) {
  if (!Known(window)) return;
  WindowRef oldFront = FrontVisible();
  std::erase(Windows(), window);
  auto it = Known(behindWindow) ? std::find(Windows().begin(), Windows().end(), behindWindow) + 1 : Windows().end();
  Windows().insert(it, window);
  Restack();
  if (oldFront == window && FrontVisible() != window) {
    SetActive(window, false);
    SetActive(FrontVisible(), true);
  }
}

void HiliteWindow(WindowRef window, Boolean fHilite) {
  if (Known(window)) window->hilited = fHilite;
}
Boolean IsWindowHilited(WindowRef window) { return Known(window) && window->hilited; }
WindowRef FrontWindow() { return FrontVisible(); }
WindowRef FrontNonFloatingWindow() {
  for (WindowRef w : Windows())
    if (w->visible && w->windowClass != kFloatingWindowClass) return w;
  return nullptr;
}
WindowRef GetWindowList() { return Windows().empty() ? nullptr : Windows().front(); }
WindowRef GetNextWindow(WindowRef window) {
  auto it = std::find(Windows().begin(), Windows().end(), window);
  if (it == Windows().end() || ++it == Windows().end()) return nullptr;
  return *it;
}
Boolean IsValidWindowPtr(WindowRef window) { return Known(window); }

void MoveWindow(WindowRef window, SInt16 h, SInt16 v, Boolean front) {
  if (!Known(window)) return;
  SInt16 dh = static_cast<SInt16>(h - window->content.left), dv = static_cast<SInt16>(v - window->content.top);
  OffsetRect(&window->content, dh, dv);
  OffsetRect(&window->expanded, dh, dv);
  window->update = window->update.Translated(dh, dv);
  ComputeRegions(*window);
  Sync(window);
  if (front) SelectWindow(window);
}

void SizeWindow(WindowRef window, SInt16 width, SInt16 height, Boolean fUpdate) {
  if (!Known(window) || width <= 0 || height <= 0) return;
  window->content.right = static_cast<SInt16>(window->content.left + width);
  window->content.bottom = static_cast<SInt16>(window->content.top + height);
  window->expanded = window->content;
  Rect local = window->port->portRect;
  local.right = static_cast<SInt16>(local.left + width);
  local.bottom = static_cast<SInt16>(local.top + height);
  qdResizePort(window->port, local);
  ComputeRegions(*window);
  if (fUpdate) window->update = window->contentRgn;
  Sync(window);
}

// The window follows the mouse while the button is down; the mouse is kept inside the
// bounds. Headless, the drag ends when the posted input runs out.
void DragWindow(WindowRef window, Point startPt, const Rect* boundsRect) {
  if (!Known(window)) return;
  Rect limit = boundsRect ? *boundsRect : qdScreenBounds();
  Rect start = window->content;
  auto place = [&](Point p) {
    p.h = std::clamp(p.h, limit.left, static_cast<SInt16>(limit.right - 1));
    p.v = std::clamp(p.v, limit.top, static_cast<SInt16>(limit.bottom - 1));
    MoveWindow(window, static_cast<SInt16>(start.left + p.h - startPt.h), static_cast<SInt16>(start.top + p.v - startPt.v), false);
  };
  Point last = startPt;
  while (StillDown()) {
    Point now = GlobalMouse(window);
    if (!EqualPt(now, last)) {
      last = now;
      place(last);
      continue;
    }
    // Other input ahead of the mouse's (a key) ends the drag where it is.
    DpyInput pending;
    bool waiting = DpyPeekInput(&pending);
    if (waiting && pending.kind != DpyInputKind::MouseMove) break;
    if (!waiting && DpyCurrent().IsHeadless()) break;
    if (!waiting) DpyCurrent().WaitForInput(20);
  }
  place(last);
}

OSStatus CollapseWindow(WindowRef window, Boolean collapse) {
  if (!Known(window)) return errInvalidWindowRef;
  if (static_cast<bool>(collapse) == window->collapsed) return noErr;
  window->collapsed = collapse;
  if (collapse) {
    window->expanded = window->content;
    // A custom window keeps its title strip: its definition shapes a short window so.
    if (window->defProc) window->content.bottom = static_cast<SInt16>(window->content.top + 30);
  } else {
    window->content = window->expanded;
    window->update = qdRegion::FromRect(window->content);
  }
  ComputeRegions(*window);
  Sync(window);
  return noErr;
}

Boolean IsWindowCollapsed(WindowRef window) { return Known(window) && window->collapsed; }
Boolean IsWindowCollapsable(WindowRef window) { return Known(window) && (window->attributes & kWindowCollapseBoxAttribute); }

WindowPartCode FindWindow(Point pt, WindowRef* window) {
  wmEnsureDisplay();
  if (window) *window = nullptr;
  for (WindowRef w : Windows()) {
    if (!w->visible || w->windowClass == kHelpWindowClass || !w->structure.Contains(pt.h, pt.v)) continue;
    if (window) *window = w;
    if (w->defProc) {
      switch (w->defProc(0, w, kWindowMsgHitTest, PackedPoint(pt))) {
        case wInContent: return inContent;
        case wInDrag: return inDrag;
        case wInGrow: return inGrow;
        case wInGoAway: return inGoAway;
        case wInZoomIn: return inZoomIn;
        case wInZoomOut: return inZoomOut;
        case wInCollapseBox: return inCollapseBox;
        case wInProxyIcon: return inProxyIcon;
        default: return inStructure;
      }
    }
    if (w->contentRgn.Contains(pt.h, pt.v)) {
      if ((w->attributes & kWindowResizableAttribute) && pt.h >= w->content.right - 15 && pt.v >= w->content.bottom - 15)
        return inGrow;
      return inContent;
    }
    Rect bar = TitleBar(*w);
    if (PtInRect(pt, &bar)) {
      if ((w->attributes & kWindowCloseBoxAttribute) && pt.h < bar.left + 8 + kBoxSize && pt.h >= bar.left + 8) return inGoAway;
      if ((w->attributes & kWindowCollapseBoxAttribute) && pt.h >= bar.right - 8 - kBoxSize && pt.h < bar.right - 8)
        return inCollapseBox;
      return inDrag;
    }
    return inStructure;
  }
  return inDesk;
}

// A box is chosen when the button goes up over the same box.
Boolean TrackBox(WindowRef window, Point, WindowPartCode part) {
  while (WaitMouseUp()) {
    DpyInput pending;
    if (DpyCurrent().IsHeadless() || DpyPeekInput(&pending)) break;
    DpyCurrent().WaitForInput(20);
  }
  Point now = GlobalMouse(window);
  WindowRef hit = nullptr;
  return FindWindow(now, &hit) == part && hit == window;
}

Boolean TrackGoAway(WindowRef window, Point pt) { return TrackBox(window, pt, inGoAway); }

OSStatus GetWindowBounds(WindowRef window, WindowRegionCode code, Rect* globalBounds) {
  if (!Known(window)) return errInvalidWindowRef;
  switch (code) {
    case kWindowGlobalPortRgn: *globalBounds = window->content; break;
    case kWindowContentRgn: *globalBounds = window->contentRgn.IsEmpty() ? window->content : window->contentRgn.Bounds(); break;
    case kWindowStructureRgn: *globalBounds = window->structure.Bounds(); break;
    case kWindowTitleBarRgn:
    case kWindowDragRgn: *globalBounds = TitleBar(*window); break;
    case kWindowUpdateRgn: *globalBounds = window->update.Bounds(); break;
    default: return errWindowRegionCodeInvalid;
  }
  return noErr;
}

OSStatus SetWindowBounds(WindowRef window, WindowRegionCode code, const Rect* globalBounds) {
  if (!Known(window)) return errInvalidWindowRef;
  if (code != kWindowContentRgn && code != kWindowStructureRgn && code != kWindowGlobalPortRgn) return errWindowRegionCodeInvalid;
  Rect r = *globalBounds;
  if (code == kWindowStructureRgn && !window->defProc) {
    r.top = static_cast<SInt16>(r.top + TitleHeight(*window) + 1);
    InsetRect(&r, 1, 0);
    r.bottom = static_cast<SInt16>(r.bottom - 1);
  }
  MoveWindow(window, r.left, r.top, false);
  SizeWindow(window, static_cast<SInt16>(r.right - r.left), static_cast<SInt16>(r.bottom - r.top), true);
  return noErr;
}

OSStatus GetWindowRegion(WindowRef window, WindowRegionCode code, RgnHandle rgn) {
  if (!Known(window) || !rgn) return errInvalidWindowRef;
  switch (code) {
    case kWindowStructureRgn: qdStoreRegion(rgn, window->structure); break;
    case kWindowContentRgn: qdStoreRegion(rgn, window->contentRgn); break;
    case kWindowUpdateRgn: qdStoreRegion(rgn, window->update); break;
    case kWindowGlobalPortRgn: qdStoreRegion(rgn, qdRegion::FromRect(window->content)); break;
    case kWindowTitleBarRgn:
    case kWindowDragRgn: qdStoreRegion(rgn, window->defProc ? qdRegion() : qdRegion::FromRect(TitleBar(*window))); break;
    default: return errWindowRegionCodeInvalid;
  }
  return noErr;
}

OSStatus ReshapeCustomWindow(WindowRef window) {
  if (!Known(window)) return errInvalidWindowRef;
  ComputeRegions(*window);
  Sync(window);
  return noErr;
}

Rect* GetWindowPortBounds(WindowRef window, Rect* bounds) {
  *bounds = Known(window) ? window->port->portRect : Rect{0, 0, 0, 0};
  return bounds;
}
WindowClass GetWindowClassOf(WindowRef window) { return Known(window) ? window->windowClass : 0; }
OSStatus GetWindowClass(WindowRef window, WindowClass* outClass) {
  if (!Known(window)) return errInvalidWindowRef;
  *outClass = window->windowClass;
  return noErr;
}
OSStatus GetWindowAttributes(WindowRef window, WindowAttributes* out) {
  if (!Known(window)) return errInvalidWindowRef;
  *out = window->attributes;
  return noErr;
}
OSStatus ChangeWindowAttributes(WindowRef window, WindowAttributes setThese, WindowAttributes clearThese) {
  if (!Known(window)) return errInvalidWindowRef;
  window->attributes = (window->attributes | setThese) & ~clearThese;
  return noErr;
}

OSStatus InvalWindowRect(WindowRef window, const Rect* bounds) {
  if (!Known(window)) return errInvalidWindowRef;
  Point off = PortOffset(window);
  window->update = window->update.United(qdRegion::FromRect(*bounds).Translated(off.h, off.v).Intersected(window->contentRgn));
  return noErr;
}
OSStatus InvalWindowRgn(WindowRef window, RgnHandle region) {
  if (!Known(window)) return errInvalidWindowRef;
  Point off = PortOffset(window);
  window->update = window->update.United(qdRegionOf(region).Translated(off.h, off.v).Intersected(window->contentRgn));
  return noErr;
}
OSStatus ValidWindowRect(WindowRef window, const Rect* bounds) {
  if (!Known(window)) return errInvalidWindowRef;
  Point off = PortOffset(window);
  window->update = window->update.Subtracted(qdRegion::FromRect(*bounds).Translated(off.h, off.v));
  return noErr;
}
OSStatus ValidWindowRgn(WindowRef window, RgnHandle region) {
  if (!Known(window)) return errInvalidWindowRef;
  Point off = PortOffset(window);
  window->update = window->update.Subtracted(qdRegionOf(region).Translated(off.h, off.v));
  return noErr;
}

void BeginUpdate(WindowRef window) {
  if (!Known(window)) return;
  if (!window->savedVis) window->savedVis = NewRgn();
  CopyRgn(window->port->visRgn, window->savedVis);
  Point off = PortOffset(window);
  qdRegion local = window->update.Translated(-off.h, -off.v);
  qdStoreRegion(window->port->visRgn, qdRegionOf(window->port->visRgn).Intersected(local));
  window->update = qdRegion();
}

void EndUpdate(WindowRef window) {
  if (!Known(window)) return;
  if (window->savedVis) CopyRgn(window->savedVis, window->port->visRgn);
  Present(window);
}

// The frame (and its size box) is the screen's; nothing of it is drawn into the port.
void DrawGrowIcon(WindowRef) {}

CGrafPtr GetWindowPort(WindowRef window) { return Known(window) ? window->port : nullptr; }
WindowRef GetWindowFromPort(CGrafPtr port) {
  auto w = port ? static_cast<WindowRef>(port->window) : nullptr;
  return Known(w) ? w : nullptr;
}
void SetPortWindowPort(WindowRef window) {
  if (Known(window)) SetPort(window->port);
}
void SetWRefCon(WindowRef window, long data) {
  if (Known(window)) window->refCon = data;
}
long GetWRefCon(WindowRef window) { return Known(window) ? window->refCon : 0; }
void SetWTitle(WindowRef window, ConstStr255Param title) {
  if (!Known(window) || !title) return;
  std::memcpy(window->title, title, title[0] + 1u);
  Sync(window);
}
void GetWTitle(WindowRef window, Str255 title) {
  if (Known(window)) std::memcpy(title, window->title, window->title[0] + 1u);
  else title[0] = 0;
}
void SetWindowKind(WindowRef window, SInt16 kind) {
  if (Known(window)) window->kind = kind;
}
SInt16 GetWindowKind(WindowRef window) { return Known(window) ? window->kind : 0; }

// No menu bar on this desktop: the whole screen is the desktop.
SInt16 GetMBarHeight() { return 0; }

RgnHandle GetGrayRgn() {
  wmEnsureDisplay();
  static RgnHandle gray = NewRgn();
  Rect screen = qdScreenBounds();
  screen.top = static_cast<SInt16>(screen.top + GetMBarHeight());
  RectRgn(gray, &screen);
  return gray;
}
