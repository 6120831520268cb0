// What the function dialogs share around their controls and their scan: setting their own
// controls without hearing them, finding their panes, and standing aside while a scan runs.
#pragma once

#include "framework/LException.h"
#include "framework/LListener.h"
#include "framework/LView.h"

class LCommander;
class LWindow;

// Listening off while a dialog sets its own controls.
class StQuiet {
 public:
  explicit StQuiet(LListener* listener) : mListener(listener) { mListener->StopListening(); }
  ~StQuiet() { mListener->StartListening(); }
  StQuiet(const StQuiet&) = delete;
  StQuiet& operator=(const StQuiet&) = delete;

 private:
  LListener* mListener;
};

// A pane the dialog's layout must hold; one that is missing throws 'nilP'.
template <class T>
T* FindDialogPane(LView* view, PaneIDT id) {
  auto* pane = dynamic_cast<T*>(view->FindPaneByID(id));
  if (!pane) throw LException('nilP', "a pane of the dialog is missing");
  return pane;
}

void EnableIf(LPane* pane, bool enabled);

// While a scan runs the dialog is disabled; systems up to 0x102F hide it and cover the main
// window instead.
void CoverForScan(LWindow* dialog);
void UncoverAfterScan(LWindow* dialog);

// The dialog's running flag and the application's scanning state; a running dialog takes
// the target, and the menus are brought up to date.
void SetScanRunning(LCommander* dialog, UInt8& flag, UInt8 running);
