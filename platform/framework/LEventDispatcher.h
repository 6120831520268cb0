// The one event pump: takes an event from the Event Manager, offers it to the attachments
// (msg_Event), then hands it to the window, target or periodicals it concerns. Repeaters
// get time on every pass, idlers on null events. A modal dialog's handler is a dispatcher
// of its own that is current while it runs.
#pragma once

#include "framework/LAttachable.h"
#include "windows/Events.h"
#include "windows/MacWindows.h"

class LEventDispatcher : public LAttachable {
 public:
  LEventDispatcher();
  ~LEventDispatcher() override;

  // One pass of the loop: wait up to `sleepTicks` for an event and dispatch it.
  void ProcessNextEvent(UInt32 sleepTicks = 0);
  virtual void DispatchEvent(const EventRecord& event);
  static LEventDispatcher* GetCurrentDispatcher() { return sCurrentDispatcher; }

  // Re-asks every command's status; the menu bar greys what is disabled.
  virtual void UpdateMenus();
  virtual void AdjustCursor(const EventRecord& event);

 protected:
  virtual void EventMouseDown(const EventRecord& event);
  virtual void EventMouseUp(const EventRecord&) {}
  virtual void EventKeyDown(const EventRecord& event);
  virtual void EventUpdate(const EventRecord& event);
  virtual void EventActivate(const EventRecord& event);
  virtual void EventHighLevel(const EventRecord&) {}
  virtual void UseIdleTime(const EventRecord& event);
  // Whether a click in `window` may go through (a modal dialog refuses other windows).
  virtual bool AcceptsClickIn(WindowRef window) const;

  RgnHandle mMouseRgn;

 private:
  LEventDispatcher* mPreviousDispatcher;
  static LEventDispatcher* sCurrentDispatcher;
  static EventRecord sCurrentEvent;
};
