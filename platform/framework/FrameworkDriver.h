// The test driver, extended to panes: find a pane by ID, click it, type into it, choose a
// popup item, answer a modal dialog, read values back. Input is posted through the display's
// test driver, so it takes the same path as a user's (events, tracking, key filters).
#pragma once

#include <functional>
#include <string>

#include "framework/FrameworkTypes.h"
#include "windows/Events.h"

class LPane;
class LView;
class LWindow;

namespace wxframework {

LPane* FindPane(LView* view, PaneIDT id);
// The pane as a T; throws 'nilP' when it is missing or of another class.
template <class T>
T* FindPaneAs(LView* view, PaneIDT id);

// Posts a click at the centre of the pane (the window must be visible).
void ClickPane(LPane* pane, EventModifiers modifiers = 0);
void ClickPane(LView* view, PaneIDT id, EventModifiers modifiers = 0);
// Clicks the field, selects all with Command-A, then types the bytes (system script).
void TypeIntoPane(LView* view, PaneIDT id, const std::string& bytes);
// The next menu shown answers `item`, then the popup is clicked.
void ChoosePopupItem(LView* view, PaneIDT id, SInt16 item);

SInt32 PaneValue(LView* view, PaneIDT id);
std::string PaneText(LView* view, PaneIDT id);

// Modal dialogs. Queued actions run on the dialog being handled, one per DoDialog pass,
// each once the input of the one before has been taken.
typedef std::function<void(LWindow* dialog)> DialogAction;
void QueueDialogAction(DialogAction action);
// Clicks the dialog's control that sends `message` (or ends the pass with `message` when
// the dialog has none).
void AnswerNextDialog(MessageT message);
void ClearDialogActions();
bool HasDialogActions();
// Called by StDialogHandler: runs the next action when its turn has come; returns the
// message the pass ends with, or msg_Nothing when the events decide.
MessageT RunPendingDialogAction(LWindow* dialog);

// Alerts wait for their user. A test that installs `proc` hears of an alert nobody answers:
// one that stays up kUnansweredAlertPasses passes in a row with no dialog action queued
// and no input waiting is reported through `proc` (its name and texts) and ends as its
// default button would end it. Without a proc (the application) alerts wait.
constexpr int kUnansweredAlertPasses = 1000;
typedef std::function<void(const std::string& alert)> UnansweredAlertProc;
void SetUnansweredAlertProc(UnansweredAlertProc proc);
// Called by StDialogHandler after each pass of an alert that no message ended; counts the
// passes in `idlePasses`. The message the alert ends with, or msg_Nothing.
MessageT EndUnansweredAlert(LWindow* alert, const std::string& name, int* idlePasses);

// Pumps the current event loop until no input waits (at most `maxPasses` passes).
void PumpEvents(int maxPasses = 100);

}  // namespace wxframework

#include "framework/LException.h"
#include "framework/LView.h"

template <class T>
T* wxframework::FindPaneAs(LView* view, PaneIDT id) {
  T* pane = dynamic_cast<T*>(FindPane(view, id));
  ThrowIfNil_(pane);
  return pane;
}
