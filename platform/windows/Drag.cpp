#include "windows/Drag.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"

struct DragFlavor {
  FlavorType type;
  FlavorFlags flags;
  std::vector<UInt8> data;
};

struct DragItem {
  DragItemRef ref;
  Rect bounds;
  std::vector<DragFlavor> flavors;
};

struct OpaqueDragRef {
  std::vector<DragItem> items;
  Point origin = {0, 0};
  Point mouse = {0, 0};
  bool accepted = false;
  WindowRef hiliteWindow = nullptr;
  Rect hiliteBounds = {0, 0, 0, 0};
};

namespace {

template <typename Handler>
struct Installed {
  Handler handler;
  WindowRef window;
  void* refCon;
};

std::vector<Installed<DragTrackingHandlerUPP>>& Trackers() {
  static std::vector<Installed<DragTrackingHandlerUPP>> list;
  return list;
}

std::vector<Installed<DragReceiveHandlerUPP>>& Receivers() {
  static std::vector<Installed<DragReceiveHandlerUPP>> list;
  return list;
}

DragItem* FindItem(DragRef drag, DragItemRef ref) {
  if (!drag) return nullptr;
  for (DragItem& item : drag->items)
    if (item.ref == ref) return &item;
  return nullptr;
}

DragFlavor* FindFlavor(DragRef drag, DragItemRef ref, FlavorType type) {
  DragItem* item = FindItem(drag, ref);
  if (!item) return nullptr;
  for (DragFlavor& f : item->flavors)
    if (f.type == type) return &f;
  return nullptr;
}

void Track(DragRef drag, DragTrackingMessage message, WindowRef window) {
  // A handler may remove handlers: work on a copy.
  const auto trackers = Trackers();
  for (const auto& t : trackers)
    if (!t.window || t.window == window) t.handler(message, window, t.refCon, drag);
}

OSErr Receive(DragRef drag, WindowRef window) {
  const auto receivers = Receivers();
  for (const auto& r : receivers)
    if ((!r.window || r.window == window) && r.handler(window, r.refCon, drag) == noErr) return noErr;
  return dragNotAcceptedErr;
}

WindowRef WindowAt(Point global) {
  WindowRef window = nullptr;
  return FindWindow(global, &window) == inContent ? window : nullptr;
}

// Ends a drag over `window`: the receiver gets it, and the window is left.
OSErr Drop(DragRef drag, WindowRef window) {
  OSErr result = window ? Receive(drag, window) : static_cast<OSErr>(dragNotAcceptedErr);
  if (window) Track(drag, kDragTrackingLeaveWindow, window);
  HideDragHilite(drag);
  return result;
}

// Files from the desktop: one drag of 'hfs ' items dropped on the window under the point.
void DropFiles(Point where, const std::vector<std::string>& paths) {
  DragRef drag = nullptr;
  NewDrag(&drag);
  DragItemRef ref = 1;
  for (const std::string& path : paths) {
    HFSFlavor flavor{};
    if (FSpMakeFromPOSIXPath(path, &flavor.fileSpec) != noErr) continue;
    FInfo info{};
    if (FSpGetFInfo(&flavor.fileSpec, &info) == noErr) {
      flavor.fileType = info.fdType;
      flavor.fileCreator = info.fdCreator;
      flavor.fdFlags = info.fdFlags;
    }
    AddDragItemFlavor(drag, ref++, kDragFlavorTypeHFS, &flavor, sizeof flavor, 0);
  }
  drag->origin = drag->mouse = where;
  if (WindowRef window = WindowAt(where); window && !drag->items.empty()) {
    Track(drag, kDragTrackingEnterWindow, window);
    Track(drag, kDragTrackingInWindow, window);
    Drop(drag, window);
  }
  DisposeDrag(drag);
}

}  // namespace

OSErr InstallTrackingHandler(DragTrackingHandlerUPP handler, WindowRef window, void* refCon) {
  Trackers().push_back({handler, window, refCon});
  return noErr;
}

OSErr RemoveTrackingHandler(DragTrackingHandlerUPP handler, WindowRef window) {
  std::erase_if(Trackers(), [&](const auto& t) { return t.handler == handler && t.window == window; });
  return noErr;
}

OSErr InstallReceiveHandler(DragReceiveHandlerUPP handler, WindowRef window, void* refCon) {
  Receivers().push_back({handler, window, refCon});
  SetFileDropHandler(&DropFiles);  // from now on, desktop drops reach the receivers
  return noErr;
}

OSErr RemoveReceiveHandler(DragReceiveHandlerUPP handler, WindowRef window) {
  std::erase_if(Receivers(), [&](const auto& r) { return r.handler == handler && r.window == window; });
  return noErr;
}

OSErr NewDrag(DragRef* drag) {
  *drag = new OpaqueDragRef;
  return noErr;
}

OSErr DisposeDrag(DragRef drag) {
  if (!drag) return badDragRefErr;
  delete drag;
  return noErr;
}

OSErr AddDragItemFlavor(DragRef drag, DragItemRef ref, FlavorType type, const void* data, Size size, FlavorFlags flags) {
  if (!drag) return badDragRefErr;
  if (size < 0) return paramErr;
  if (FindFlavor(drag, ref, type)) return duplicateFlavorErr;
  DragItem* item = FindItem(drag, ref);
  if (!item) {
    drag->items.push_back(DragItem{ref, Rect{0, 0, 0, 0}, {}});
    item = &drag->items.back();
  }
  const auto* bytes = static_cast<const UInt8*>(data);
  item->flavors.push_back(DragFlavor{type, flags, bytes ? std::vector<UInt8>(bytes, bytes + size) : std::vector<UInt8>()});
  return noErr;
}

OSErr SetDragItemBounds(DragRef drag, DragItemRef ref, const Rect* bounds) {
  DragItem* item = FindItem(drag, ref);
  if (!item) return badDragItemErr;
  item->bounds = *bounds;
  return noErr;
}

OSErr GetDragItemBounds(DragRef drag, DragItemRef ref, Rect* bounds) {
  DragItem* item = FindItem(drag, ref);
  if (!item) return badDragItemErr;
  *bounds = item->bounds;
  return noErr;
}

OSErr SetDragImage(DragRef drag, PixMapHandle, RgnHandle, Point, UInt32) {
  return drag ? static_cast<OSErr>(noErr) : static_cast<OSErr>(badDragRefErr);
}

OSErr TrackDrag(DragRef drag, const EventRecord* startEvent, RgnHandle) {
  if (!drag) return badDragRefErr;
  drag->origin = drag->mouse = startEvent ? startEvent->where : Point{0, 0};
  drag->accepted = false;
  WindowRef over = nullptr;
  auto follow = [&](Point global) {
    drag->mouse = global;
    WindowRef now = WindowAt(global);
    if (now != over) {
      if (over) Track(drag, kDragTrackingLeaveWindow, over);
      over = now;
      if (over) Track(drag, kDragTrackingEnterWindow, over);
    }
    if (over) Track(drag, kDragTrackingInWindow, over);
  };
  follow(drag->origin);
  while (StillDown()) {
    Point global;
    GetMouse(&global);
    LocalToGlobal(&global);
    follow(global);
  }
  return Drop(drag, over);
}

OSErr CountDragItems(DragRef drag, UInt16* count) {
  if (!drag) return badDragRefErr;
  *count = static_cast<UInt16>(drag->items.size());
  return noErr;
}

OSErr GetDragItemReferenceNumber(DragRef drag, UInt16 index, DragItemRef* ref) {
  if (!drag) return badDragRefErr;
  if (index < 1 || index > drag->items.size()) return badDragItemErr;
  *ref = drag->items[index - 1].ref;
  return noErr;
}

OSErr GetFlavorFlags(DragRef drag, DragItemRef ref, FlavorType type, FlavorFlags* flags) {
  DragFlavor* f = FindFlavor(drag, ref, type);
  if (!f) return badDragFlavorErr;
  *flags = f->flags;
  return noErr;
}

OSErr GetFlavorDataSize(DragRef drag, DragItemRef ref, FlavorType type, Size* size) {
  DragFlavor* f = FindFlavor(drag, ref, type);
  if (!f) return badDragFlavorErr;
  *size = static_cast<Size>(f->data.size());
  return noErr;
}

OSErr GetFlavorData(DragRef drag, DragItemRef ref, FlavorType type, void* data, Size* size, UInt32 offset) {
  DragFlavor* f = FindFlavor(drag, ref, type);
  if (!f) return badDragFlavorErr;
  Size available = offset < f->data.size() ? static_cast<Size>(f->data.size() - offset) : 0;
  Size n = std::min(*size, available);
  if (n > 0) std::memcpy(data, f->data.data() + offset, static_cast<size_t>(n));
  *size = n;
  return noErr;
}

OSErr GetDragMouse(DragRef drag, Point* mouse, Point* pinned) {
  if (!drag) return badDragRefErr;
  if (mouse) *mouse = drag->mouse;
  if (pinned) *pinned = drag->mouse;
  return noErr;
}

OSErr SetDropLocationAccepted(DragRef drag, Boolean accepted) {
  if (!drag) return badDragRefErr;
  drag->accepted = accepted != 0;
  return noErr;
}

OSErr GetDropLocationAccepted(DragRef drag, Boolean* accepted) {
  if (!drag) return badDragRefErr;
  *accepted = drag->accepted;
  return noErr;
}

OSErr ShowDragHilite(DragRef drag, RgnHandle region, Boolean inside) {
  if (!drag) return badDragRefErr;
  HideDragHilite(drag);
  GrafPtr port;
  GetPort(&port);
  Rect r;
  GetRegionBounds(region, &r);
  if (!inside) InsetRect(&r, -3, -3);
  RGBColor hilite;
  LMGetHiliteRGB(&hilite);
  PenState pen;
  GetPenState(&pen);
  PenSize(2, 2);
  RGBForeColor(&hilite);
  FrameRect(&r);
  SetPenState(&pen);
  drag->hiliteWindow = port ? GetWindowFromPort(port) : nullptr;
  drag->hiliteBounds = r;
  return noErr;
}

OSErr HideDragHilite(DragRef drag) {
  if (!drag) return badDragRefErr;
  if (drag->hiliteWindow) InvalWindowRect(drag->hiliteWindow, &drag->hiliteBounds);
  drag->hiliteWindow = nullptr;
  return noErr;
}
