// Runs a dialog modally, one event per DoDialog() call: each call returns the message that
// a control of the dialog broadcast during that pass (900, 901, a pane's own, or 0), so the
// caller can look at other state between passes. While it runs, clicks in windows other
// than the dialog and the windows opened above it are refused; the application's
// attachments still see every event, so cooperative threads keep running, and high-level
// events (a scanner button's) still reach the application. An idle pass waits for input
// rather than spinning. A quit request (SIGINT, SIGTERM) answers the dialog as its Cancel
// (else default) button; a further pass throws userCanceledErr. The dialog is
// deleted when the handler goes, also when an exception unwinds the caller.
#pragma once

#include <string>

#include "framework/LCommander.h"
#include "framework/LEventDispatcher.h"
#include "framework/LListener.h"

class LWindow;

class StDialogHandler : public LCommander, public LListener, public LEventDispatcher {
 public:
  StDialogHandler(ResIDT layoutID, LCommander* super);
  // Takes over a dialog made elsewhere.
  StDialogHandler(LWindow* dialog, LCommander* super);
  ~StDialogHandler() override;

  LWindow* GetDialog() const { return mDialog; }
  // Marks the dialog as an alert called `name` ("alert 130"): only its user can end it, so
  // a test that leaves it unanswered hears of it (wxframework::SetUnansweredAlertProc).
  void SetAlertName(std::string name) { mAlertName = std::move(name); }
  virtual MessageT DoDialog();
  void ListenToMessage(MessageT message, void* param) override;

 protected:
  void DispatchEvent(const EventRecord& event) override;
  void EventHighLevel(const EventRecord& event) override;
  bool AcceptsClickIn(WindowRef window) const override;

  MessageT mMessage = msg_Nothing;
  bool mQuitAnswered = false;

 private:
  void Begin();

  LWindow* mDialog = nullptr;
  WindowRef mDialogWindow = nullptr;
  std::string mAlertName;
  int mIdlePasses = 0;
};
