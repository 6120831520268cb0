// The Event Manager over the display's raw input queue.
//
// Raw input becomes events in order. Mouse moves are never events; they move the live
// mouse, which tracking loops read. A tracking call takes at most the moves at the head of
// the queue and stops at a button release, which WaitNextEvent then delivers, so the loop
// above sees the same order of things a person's hand would produce.
#include "windows/Events.h"

#include <algorithm>
#include <cstdlib>
#include <deque>

#include "display/Display.h"
#include "toolbox/Clock.h"
#include "toolbox/MacErrors.h"
#include "windows/wmEventLink.h"

namespace {

struct Posted {
  EventRecord event;
  void* payload = nullptr;
};

struct Live {
  Point mouse = {0, 0};
  bool button = false;
  EventModifiers modifiers = 0;
};

Live sLive;
std::deque<Posted> sPosted;
std::deque<std::pair<WindowRef, bool>> sActivates;
void* sCurrentPayload = nullptr;
FileDropHandler sDropHandler = nullptr;
std::vector<EventPollHook> sPollHooks;
WindowCloseHandler sCloseHandler = nullptr;

constexpr int kDragSlop = 2;

EventModifiers Modifiers() { return static_cast<EventModifiers>(sLive.modifiers | (sLive.button ? 0 : btnState)); }

EventRecord Make(EventKind what, unsigned long message) {
  return EventRecord{what, message, TickCount(), sLive.mouse, Modifiers()};
}

// Applies moves at the head of the raw queue: all of them, or only the first.
void TakeMoves(bool all) {
  DpyInput in;
  while (DpyPeekInput(&in) && in.kind == DpyInputKind::MouseMove) {
    sLive.mouse = in.where;
    DpyPopInput();
    if (!all) break;
  }
}

bool ReleaseWaiting() {
  DpyInput in;
  return DpyPeekInput(&in) && in.kind == DpyInputKind::MouseUp;
}

EventMask MaskOf(EventKind what) { return what == kHighLevelEvent ? static_cast<EventMask>(highLevelEventMask) : static_cast<EventMask>(1u << what); }

// The next event from raw input, if one is waiting and wanted.
bool FromInput(EventMask mask, EventRecord* event, bool remove) {
  DpyInput in;
  while (DpyPeekInput(&in)) {
    switch (in.kind) {
      case DpyInputKind::MouseMove:
        sLive.mouse = in.where;
        DpyPopInput();
        continue;
      case DpyInputKind::FileDrop:
        if (!remove) return false;
        DpyPopInput();
        sLive.mouse = in.where;
        if (sDropHandler) sDropHandler(in.where, in.paths);
        continue;
      case DpyInputKind::CloseWindow:
        if (!remove) return false;
        DpyPopInput();
        if (sCloseHandler) sCloseHandler(static_cast<WindowRef>(const_cast<void*>(in.window)));
        continue;
      case DpyInputKind::Quit: {
        if (!(mask & highLevelEventMask)) return false;
        if (remove) DpyPopInput();
        EventRecord e = Make(kHighLevelEvent, 'aevt');
        e.where = Point{static_cast<SInt16>('quit' >> 16), static_cast<SInt16>('quit' & 0xFFFF)};
        *event = e;
        if (remove) sCurrentPayload = nullptr;
        return true;
      }
      default: break;
    }
    EventKind what = in.kind == DpyInputKind::MouseDown ? mouseDown
                     : in.kind == DpyInputKind::MouseUp ? mouseUp
                     : in.kind == DpyInputKind::KeyUp   ? keyUp
                     : in.kind == DpyInputKind::AutoKey ? autoKey
                                                        : keyDown;
    if (!(mask & MaskOf(what))) return false;
    bool isMouse = what == mouseDown || what == mouseUp;
    if (remove) {
      DpyPopInput();
      if (isMouse) {
        sLive.mouse = in.where;
        sLive.button = what == mouseDown;
      }
      sLive.modifiers = in.modifiers;
    }
    EventRecord e = Make(what, isMouse ? 0 : in.message);
    if (isMouse) e.where = in.where;
    e.modifiers = static_cast<EventModifiers>(in.modifiers | (what == mouseDown ? 0 : btnState));
    *event = e;
    return true;
  }
  return false;
}

bool NextEvent(EventMask mask, EventRecord* event, bool remove) {
  wmEnsureDisplay();
  for (auto it = sPosted.begin(); it != sPosted.end(); ++it)
    if (mask & MaskOf(it->event.what)) {
      *event = it->event;
      if (remove) {
        sCurrentPayload = it->payload;
        sPosted.erase(it);
      }
      return true;
    }
  if (!sActivates.empty() && (mask & activMask)) {
    auto [window, active] = sActivates.front();
    if (remove) sActivates.pop_front();
    *event = Make(activateEvt, reinterpret_cast<unsigned long>(window));
    event->modifiers = static_cast<EventModifiers>((event->modifiers & ~activeFlag) | (active ? activeFlag : 0));
    return true;
  }
  if (FromInput(mask, event, remove)) return true;
  if (mask & updateMask) {
    if (WindowRef w = wmWindowNeedingUpdate()) {
      *event = Make(updateEvt, reinterpret_cast<unsigned long>(w));
      return true;
    }
  }
  return false;
}

}  // namespace

void evPostActivate(WindowRef window, bool active) {
  // A deactivate followed by an activate of the same window cancel out.
  for (auto it = sActivates.begin(); it != sActivates.end(); ++it)
    if (it->first == window && it->second != active) {
      sActivates.erase(it);
      return;
    }
  sActivates.emplace_back(window, active);
}

void evForgetWindow(WindowRef window) {
  std::erase_if(sActivates, [window](const auto& a) { return a.first == window; });
}

UInt32 GetDblTime() { return 30; }
UInt32 GetCaretTime() { return 30; }

void AddEventPollHook(EventPollHook hook) {
  if (std::find(sPollHooks.begin(), sPollHooks.end(), hook) == sPollHooks.end()) sPollHooks.push_back(hook);
}

Boolean WaitNextEvent(EventMask mask, EventRecord* event, UInt32 sleep, RgnHandle) {
  for (EventPollHook hook : sPollHooks) hook();
  if (NextEvent(mask, event, true)) return true;
  if (sleep > 0 && !DpyCurrent().IsHeadless()) {
    DpyCurrent().WaitForInput(static_cast<int>(std::min<UInt32>(sleep, 6) * 1000 / 60));
    if (NextEvent(mask, event, true)) return true;
  }
  *event = Make(nullEvent, 0);
  return false;
}

Boolean GetNextEvent(EventMask mask, EventRecord* event) { return WaitNextEvent(mask, event, 0, nullptr); }

Boolean EventAvail(EventMask mask, EventRecord* event) {
  if (NextEvent(mask, event, false)) return true;
  *event = Make(nullEvent, 0);
  return false;
}

OSErr PostEvent(EventKind what, unsigned long message) {
  sPosted.push_back(Posted{Make(what, message), nullptr});
  return noErr;
}

OSErr PostHighLevelEvent(UInt32 eventClass, UInt32 eventID, void* payload) {
  EventRecord e = Make(kHighLevelEvent, eventClass);
  e.where = Point{static_cast<SInt16>(eventID >> 16), static_cast<SInt16>(eventID & 0xFFFF)};
  sPosted.push_back(Posted{e, payload});
  return noErr;
}

void* CurrentHighLevelEventPayload() { return sCurrentPayload; }

void SetFileDropHandler(FileDropHandler handler) { sDropHandler = handler; }

void SetWindowCloseHandler(WindowCloseHandler handler) { sCloseHandler = handler; }

void FlushEvents(EventMask whichMask, EventMask) {
  std::erase_if(sPosted, [whichMask](const Posted& p) { return (whichMask & MaskOf(p.event.what)) != 0; });
  DpyInput in;
  while (DpyPeekInput(&in)) {
    EventKind what = in.kind == DpyInputKind::MouseDown ? mouseDown
                     : in.kind == DpyInputKind::MouseUp ? mouseUp
                     : in.kind == DpyInputKind::MouseMove ? nullEvent
                                                          : keyDown;
    if (what == nullEvent || !(whichMask & MaskOf(what))) break;
    DpyPopInput();
  }
}

// GetMouse reads; Button and StillDown step the mouse along, one move per call, so a
// `while (StillDown()) GetMouse(...)` loop sees every position.
void GetMouse(Point* mouseLoc) {
  *mouseLoc = sLive.mouse;
  GlobalToLocal(mouseLoc);
}

Boolean Button() {
  if (ReleaseWaiting()) return false;
  TakeMoves(false);
  return sLive.button;
}

Boolean StillDown() { return Button(); }

Boolean WaitMouseUp() {
  TakeMoves(true);
  if (ReleaseWaiting()) {
    DpyPopInput();
    sLive.button = false;
    return false;
  }
  return sLive.button;
}

Boolean WaitMouseMoved(Point initial) {
  wmEnsureDisplay();
  for (;;) {
    if (std::abs(sLive.mouse.h - initial.h) > kDragSlop || std::abs(sLive.mouse.v - initial.v) > kDragSlop) return sLive.button;
    DpyInput in;
    if (!sLive.button || !DpyPeekInput(&in)) {
      // Nothing more will come from a test driver; a screen is asked again.
      if (!sLive.button || DpyCurrent().IsHeadless()) return false;
      DpyCurrent().WaitForInput(20);
      continue;
    }
    if (in.kind != DpyInputKind::MouseMove) return false;
    sLive.mouse = in.where;
    DpyPopInput();
  }
}

EventModifiers GetCurrentKeyModifiers() { return sLive.modifiers; }

void SysBeep(SInt16) { DpyCurrent().Beep(); }
