#include "framework/LEventDispatcher.h"

#include "framework/LCommander.h"
#include "framework/LMouseTracker.h"
#include "framework/LPeriodical.h"
#include "framework/LWindow.h"
#include "framework/UMenus.h"
#include "windows/Menus.h"

namespace {

// The window an update or activate event is about (its message carries the window).
WindowRef EventWindow(const EventRecord& event) {
  for (WindowRef w = GetWindowList(); w; w = GetNextWindow(w))
    if (static_cast<decltype(event.message)>(reinterpret_cast<uintptr_t>(w)) == event.message) return w;
  return nullptr;
}

}  // namespace

LEventDispatcher* LEventDispatcher::sCurrentDispatcher = nullptr;
EventRecord LEventDispatcher::sCurrentEvent = {nullEvent, 0, 0, {0, 0}, 0};

LEventDispatcher::LEventDispatcher() : mMouseRgn(NewRgn()), mPreviousDispatcher(sCurrentDispatcher) {
  sCurrentDispatcher = this;
}

LEventDispatcher::~LEventDispatcher() {
  if (sCurrentDispatcher == this) sCurrentDispatcher = mPreviousDispatcher;
  DisposeRgn(mMouseRgn);
}

void LEventDispatcher::ProcessNextEvent(UInt32 sleepTicks) {
  EventRecord event;
  if (!WaitNextEvent(everyEvent, &event, sleepTicks, mMouseRgn) && event.what != nullEvent) event.what = nullEvent;
  DispatchEvent(event);
}

void LEventDispatcher::DispatchEvent(const EventRecord& event) {
  EventRecord saved = sCurrentEvent;
  sCurrentEvent = event;
  if (ExecuteAttachments(msg_Event, const_cast<EventRecord*>(&event))) {
    switch (event.what) {
      case mouseDown:
        EventMouseDown(event);
        break;
      case mouseUp:
        EventMouseUp(event);
        break;
      case keyDown:
      case autoKey:
        EventKeyDown(event);
        break;
      case updateEvt:
        EventUpdate(event);
        break;
      case activateEvt:
        EventActivate(event);
        break;
      case kHighLevelEvent:
        EventHighLevel(event);
        break;
      case nullEvent:
        UseIdleTime(event);
        break;
      default:
        break;
    }
  }
  LPeriodical::DevoteTimeToRepeaters(event);
  if (LCommander::GetUpdateCommandStatus()) {
    LCommander::SetUpdateCommandStatus(false);
    UpdateMenus();
  }
  sCurrentEvent = saved;
}

bool LEventDispatcher::AcceptsClickIn(WindowRef) const { return true; }

void LEventDispatcher::EventMouseDown(const EventRecord& event) {
  WindowRef macWindow = nullptr;
  WindowPartCode part = FindWindow(event.where, &macWindow);
  if (part == inMenuBar || (macWindow && macWindow == MenuBarWindow())) {
    if (CommandT command = UMenus::MenuSelect(event.where))
      if (LCommander* target = LCommander::GetTarget()) target->ProcessCommand(command);
    return;
  }
  LWindow* window = LWindow::FetchWindowObject(macWindow);
  if (!window) return;
  if (!AcceptsClickIn(macWindow)) {
    SysBeep(1);
    return;
  }
  window->HandleClick(event, part);
}

void LEventDispatcher::EventKeyDown(const EventRecord& event) {
  LCommander* target = LCommander::GetTarget();
  if (event.modifiers & cmdKey) {
    CommandT command = UMenus::MenuKey(static_cast<char>(event.message & charCodeMask));
    if (command != cmd_Nothing) {
      if (target) target->ProcessCommand(command);
      return;
    }
  }
  if (!target || !target->ProcessKeyPress(event)) SysBeep(1);
}

void LEventDispatcher::EventUpdate(const EventRecord& event) {
  WindowRef macWindow = EventWindow(event);
  if (LWindow* window = LWindow::FetchWindowObject(macWindow)) {
    window->UpdatePort();
  } else if (macWindow) {
    BeginUpdate(macWindow);
    EndUpdate(macWindow);
  }
}

void LEventDispatcher::EventActivate(const EventRecord& event) {
  LWindow* window = LWindow::FetchWindowObject(EventWindow(event));
  if (!window) return;
  if (event.modifiers & activeFlag)
    window->Activate();
  else
    window->Deactivate();
}

void LEventDispatcher::UseIdleTime(const EventRecord& event) {
  AdjustCursor(event);
  LPeriodical::DevoteTimeToIdlers(event);
}

void LEventDispatcher::UpdateMenus() { UMenus::UpdateMenuBar(); }

void LEventDispatcher::AdjustCursor(const EventRecord& event) {
  WindowRef macWindow = nullptr;
  WindowPartCode part = FindWindow(event.where, &macWindow);
  LWindow* window = LWindow::FetchWindowObject(macWindow);
  SetEmptyRgn(mMouseRgn);
  if (!window || !window->IsActiveWindow() || !window->IsEnabled()) {
    LMouseTracker::MouseIsOver(nullptr, event.where, event);
    InitCursor();
    return;
  }
  if (part == inContent) {
    Point portPt = event.where;
    window->GlobalToPortPoint(portPt);
    LMouseTracker::MouseIsOver(dynamic_cast<LMouseTracker*>(window->FindDeepSubPaneContaining(portPt.h, portPt.v)),
                               portPt, event);
    window->AdjustContentMouse(portPt, event, mMouseRgn);
  } else {
    LMouseTracker::MouseIsOver(nullptr, event.where, event);
    window->AdjustStructureMouse(part, event, mMouseRgn);
  }
}
