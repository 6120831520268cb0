// Event Manager: the event queue the application's loop reads, the live mouse and keyboard
// state that tracking loops poll, and the tick clock.
//
// Input comes from the display (SDL2 with a screen) or from the test driver (headless);
// both feed one raw input queue. Tracking calls (GetMouse, Button, StillDown,
// WaitMouseMoved) take mouse movements from the head of that queue, so a posted drag plays
// out step by step inside a tracking loop just as it would under a real mouse.
#pragma once

#include <string>
#include <vector>

#include "display/Keys.h"
#include "quickdraw/QuickDraw.h"
#include "toolbox/MacTypes.h"

typedef UInt16 EventKind;
typedef UInt16 EventMask;

enum : EventKind {
  nullEvent = 0,
  mouseDown = 1,
  mouseUp = 2,
  keyDown = 3,
  keyUp = 4,
  autoKey = 5,
  updateEvt = 6,
  diskEvt = 7,
  activateEvt = 8,
  osEvt = 15,
  kHighLevelEvent = 23,
};

enum : EventMask {
  mDownMask = 1 << mouseDown,
  mUpMask = 1 << mouseUp,
  keyDownMask = 1 << keyDown,
  keyUpMask = 1 << keyUp,
  autoKeyMask = 1 << autoKey,
  updateMask = 1 << updateEvt,
  diskMask = 1 << diskEvt,
  activMask = 1 << activateEvt,
  highLevelEventMask = 0x0400,
  osMask = static_cast<EventMask>(1 << osEvt),
  everyEvent = 0xFFFF,
};

// message is pointer-wide: update and activate events carry the WindowRef in it.
struct EventRecord {
  EventKind what;
  unsigned long message;
  UInt32 when;   // ticks
  Point where;   // global
  EventModifiers modifiers;
};

// TickCount (60 Hz) comes from the replaceable clock of the toolbox.
UInt32 GetDblTime();  // ticks between the clicks of a double click
UInt32 GetCaretTime();

// Waits up to `sleep` ticks for an event matching `mask`. Updates (for windows with a
// non-empty update region) and activates are made when nothing else is waiting; a null
// event is returned when nothing comes. mouseRgn is accepted and not used.
Boolean WaitNextEvent(EventMask mask, EventRecord* event, UInt32 sleep, RgnHandle mouseRgn);
Boolean GetNextEvent(EventMask mask, EventRecord* event);
Boolean EventAvail(EventMask mask, EventRecord* event);
OSErr PostEvent(EventKind what, unsigned long message);
void FlushEvents(EventMask whichMask, EventMask stopMask);

// Live state for tracking loops. GetMouse gives local coordinates of the current port.
void GetMouse(Point* mouseLoc);
Boolean Button();
Boolean StillDown();
Boolean WaitMouseUp();
// True once the mouse moves more than a few pixels away from `initialGlobalMouse` while the
// button is down; false when the button goes up first.
Boolean WaitMouseMoved(Point initialGlobalMouse);
EventModifiers GetCurrentKeyModifiers();
void SysBeep(SInt16 duration);

// High-level events carry an event class in `message` and an event ID in `where` (the
// four-character code's high half in v, low half in h). The payload pointer stays the
// poster's; it is readable while its event is the one last returned.
OSErr PostHighLevelEvent(UInt32 eventClass, UInt32 eventID, void* payload);
void* CurrentHighLevelEventPayload();

// Event sources above the Event Manager (the single-instance channel, launches waiting for
// the end of a pass) are polled before every look for the next event. Each hook is added
// once.
typedef void (*EventPollHook)();
void AddEventPollHook(EventPollHook hook);

// Files dropped from the desktop arrive as one drop at a global point. The drag layer
// installs a handler that turns a drop into a drag of 'hfs ' items onto the window under
// the point; it runs from WaitNextEvent, in input order. Without a handler drops are
// dropped.
typedef void (*FileDropHandler)(Point globalWhere, const std::vector<std::string>& paths);
void SetFileDropHandler(FileDropHandler handler);

// The desktop's request to close a window (its close button, Alt-F4) goes to a handler the
// framework installs; it runs from WaitNextEvent, in input order. Without one it is ignored.
typedef struct OpaqueWindowPtr* WindowRef;
typedef void (*WindowCloseHandler)(WindowRef window);
void SetWindowCloseHandler(WindowCloseHandler handler);
