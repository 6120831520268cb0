// The Drag Manager, within this process: a drag carries items, each with flavours of data;
// TrackDrag follows the mouse until the button goes up, telling the windows' tracking
// handlers where it is and the receive handler of the window it ends over. Files dropped
// from the desktop arrive the same way, as items with an 'hfs ' flavour.
#pragma once

#include "quickdraw/QuickDraw.h"
#include "windows/Events.h"
#include "windows/MacWindows.h"

typedef struct OpaqueDragRef* DragRef;
typedef DragRef DragReference;
typedef UInt32 DragItemRef;
typedef OSType FlavorType;
typedef UInt32 FlavorFlags;
typedef SInt16 DragTrackingMessage;

enum : FlavorFlags { flavorSenderOnly = 1, flavorSenderTranslated = 2, flavorNotSaved = 4, flavorSystemTranslated = 0x100 };
enum : FlavorType { kDragFlavorTypeHFS = 'hfs ' };
enum : OSErr {
  badDragRefErr = -1850,
  badDragItemErr = -1851,
  badDragFlavorErr = -1852,
  duplicateFlavorErr = -1853,
  dragNotAcceptedErr = -1857,
};
enum : DragTrackingMessage {
  kDragTrackingEnterHandler = 1,
  kDragTrackingEnterWindow = 2,
  kDragTrackingInWindow = 3,
  kDragTrackingLeaveWindow = 4,
  kDragTrackingLeaveHandler = 5,
};

// A file item from the desktop.
struct HFSFlavor {
  OSType fileType;
  OSType fileCreator;
  UInt16 fdFlags;
  FSSpec fileSpec;
};

typedef OSErr (*DragTrackingHandlerUPP)(DragTrackingMessage message, WindowRef window, void* refCon, DragRef drag);
typedef OSErr (*DragReceiveHandlerUPP)(WindowRef window, void* refCon, DragRef drag);

// A null window installs for every window.
OSErr InstallTrackingHandler(DragTrackingHandlerUPP handler, WindowRef window, void* refCon);
OSErr RemoveTrackingHandler(DragTrackingHandlerUPP handler, WindowRef window);
OSErr InstallReceiveHandler(DragReceiveHandlerUPP handler, WindowRef window, void* refCon);
OSErr RemoveReceiveHandler(DragReceiveHandlerUPP handler, WindowRef window);

OSErr NewDrag(DragRef* drag);
OSErr DisposeDrag(DragRef drag);
OSErr AddDragItemFlavor(DragRef drag, DragItemRef item, FlavorType type, const void* data, Size size, FlavorFlags flags);
OSErr SetDragItemBounds(DragRef drag, DragItemRef item, const Rect* globalBounds);
OSErr GetDragItemBounds(DragRef drag, DragItemRef item, Rect* globalBounds);
// Accepted but not drawn yet: a drag shows only the mouse and the highlights.
OSErr SetDragImage(DragRef drag, PixMapHandle image, RgnHandle mask, Point offset, UInt32 flags);
// noErr when a receiver took the drag, dragNotAcceptedErr otherwise.
OSErr TrackDrag(DragRef drag, const EventRecord* startEvent, RgnHandle outline);

OSErr CountDragItems(DragRef drag, UInt16* count);
OSErr GetDragItemReferenceNumber(DragRef drag, UInt16 index, DragItemRef* item);
OSErr GetFlavorFlags(DragRef drag, DragItemRef item, FlavorType type, FlavorFlags* flags);
OSErr GetFlavorDataSize(DragRef drag, DragItemRef item, FlavorType type, Size* size);
OSErr GetFlavorData(DragRef drag, DragItemRef item, FlavorType type, void* data, Size* size, UInt32 offset);
// The mouse now and where the drag started, global.
OSErr GetDragMouse(DragRef drag, Point* mouse, Point* globalPinnedMouse);

// The drop-location handshake: the receiver says it took the items; the sender reads it.
OSErr SetDropLocationAccepted(DragRef drag, Boolean accepted);
OSErr GetDropLocationAccepted(DragRef drag, Boolean* accepted);

// The standard drop highlight: a frame around `region` (port coordinates of the current
// port), and its removal.
OSErr ShowDragHilite(DragRef drag, RgnHandle region, Boolean inside);
OSErr HideDragHilite(DragRef drag);
