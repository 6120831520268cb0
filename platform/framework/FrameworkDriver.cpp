#include "framework/FrameworkDriver.h"

#include <deque>

#include "display/Display.h"
#include "framework/LControl.h"
#include "framework/LDialogBox.h"
#include "framework/LEventDispatcher.h"
#include "framework/LPopupButton.h"
#include "framework/LStaticText.h"
#include "framework/LWindow.h"
#include "windows/TestDriver.h"

namespace wxframework {

namespace {

std::deque<DialogAction>& Actions() {
  static std::deque<DialogAction> actions;
  return actions;
}

// Set by an answer whose message no control of the dialog sends.
MessageT gForcedMessage = msg_Nothing;

LControl* ControlSending(LView* view, MessageT message) {
  for (LPane* pane : view->GetSubPanes()) {
    if (auto* control = dynamic_cast<LControl*>(pane))
      if (control->GetValueMessage() == message && control->IsVisible() && control->IsEnabled()) return control;
    if (auto* sub = dynamic_cast<LView*>(pane))
      if (LControl* found = ControlSending(sub, message)) return found;
  }
  return nullptr;
}

bool InputWaiting() {
  DpyInput input;
  return DpyPeekInput(&input);
}

UnansweredAlertProc gUnansweredAlertProc;

// The alert's name and every text it shows, quoted.
std::string AlertDescription(LView* view, std::string description) {
  for (LPane* pane : view->GetSubPanes()) {
    if (dynamic_cast<LStaticText*>(pane) && pane->IsVisible()) description += " \"" + PaneText(view, pane->GetPaneID()) + "\"";
    if (auto* sub = dynamic_cast<LView*>(pane)) description = AlertDescription(sub, description);
  }
  return description;
}

MessageT DefaultButtonMessage(LWindow* alert) {
  auto* box = dynamic_cast<LDialogBox*>(alert);
  auto* button = box ? dynamic_cast<LControl*>(box->FindPaneByID(box->GetDefaultButtonID())) : nullptr;
  return button ? button->GetValueMessage() : msg_Cancel;
}

}  // namespace

LPane* FindPane(LView* view, PaneIDT id) { return view ? view->FindPaneByID(id) : nullptr; }

void ClickPane(LPane* pane, EventModifiers modifiers) {
  ThrowIfNil_(pane);
  Rect frame;
  pane->CalcPortFrameRect(frame);
  Point center = {static_cast<SInt16>((frame.top + frame.bottom) / 2),
                  static_cast<SInt16>((frame.left + frame.right) / 2)};
  wxdriver::ClickInWindow(pane->GetMacWindow(), center, modifiers);
}

void ClickPane(LView* view, PaneIDT id, EventModifiers modifiers) { ClickPane(FindPane(view, id), modifiers); }

void TypeIntoPane(LView* view, PaneIDT id, const std::string& bytes) {
  ClickPane(view, id);
  wxdriver::Key('a', 0, cmdKey);
  wxdriver::Type(bytes);
}

void ChoosePopupItem(LView* view, PaneIDT id, SInt16 item) {
  auto* popup = FindPaneAs<LPopupButton>(view, id);
  MenuSetNextChoice(GetMenuID(popup->GetMacMenuH()), static_cast<MenuItemIndex>(item));
  ClickPane(popup);
}

SInt32 PaneValue(LView* view, PaneIDT id) {
  LPane* pane = FindPane(view, id);
  ThrowIfNil_(pane);
  return pane->GetValue();
}

std::string PaneText(LView* view, PaneIDT id) {
  LPane* pane = FindPane(view, id);
  ThrowIfNil_(pane);
  Str255 text;
  pane->GetDescriptor(text);
  return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

void QueueDialogAction(DialogAction action) { Actions().push_back(std::move(action)); }

void AnswerNextDialog(MessageT message) {
  QueueDialogAction([message](LWindow* dialog) {
    if (LControl* control = ControlSending(dialog, message))
      ClickPane(control);
    else
      gForcedMessage = message;
  });
}

void ClearDialogActions() {
  Actions().clear();
  gForcedMessage = msg_Nothing;
}

bool HasDialogActions() { return !Actions().empty(); }

MessageT RunPendingDialogAction(LWindow* dialog) {
  if (Actions().empty() || InputWaiting()) return msg_Nothing;
  DialogAction action = std::move(Actions().front());
  Actions().pop_front();
  action(dialog);
  MessageT forced = gForcedMessage;
  gForcedMessage = msg_Nothing;
  return forced;
}

void SetUnansweredAlertProc(UnansweredAlertProc proc) { gUnansweredAlertProc = std::move(proc); }

MessageT EndUnansweredAlert(LWindow* alert, const std::string& name, int* idlePasses) {
  if (!gUnansweredAlertProc) return msg_Nothing;
  if (HasDialogActions() || InputWaiting()) {
    *idlePasses = 0;
    return msg_Nothing;
  }
  if (++*idlePasses < kUnansweredAlertPasses) return msg_Nothing;
  *idlePasses = 0;
  gUnansweredAlertProc(AlertDescription(alert, name));
  return DefaultButtonMessage(alert);
}

void PumpEvents(int maxPasses) {
  LEventDispatcher* dispatcher = LEventDispatcher::GetCurrentDispatcher();
  if (!dispatcher) return;
  for (int i = 0; i < maxPasses; ++i) {
    bool waiting = InputWaiting();
    dispatcher->ProcessNextEvent(0);
    if (!waiting && !InputWaiting()) break;
  }
}

}  // namespace wxframework
