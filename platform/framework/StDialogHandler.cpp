#include "framework/StDialogHandler.h"

#include "framework/FrameworkDriver.h"
#include "framework/LApplication.h"
#include "framework/LWindow.h"
#include "framework/UReanimator.h"

StDialogHandler::StDialogHandler(ResIDT layoutID, LCommander* super) : LCommander(super) {
  mDialog = LWindow::CreateWindow(layoutID, this);
  Begin();
}

StDialogHandler::StDialogHandler(LWindow* dialog, LCommander* super) : LCommander(super), mDialog(dialog) {
  mDialog->SetSuperCommander(this);
  Begin();
}

void StDialogHandler::Begin() {
  mDialogWindow = mDialog->GetMacWindow();
  UReanimator::LinkListenerToBroadcasters(this, mDialog);
  mDialog->Show();
  mDialog->Select();
}

StDialogHandler::~StDialogHandler() {
  // The dialog may have closed itself meanwhile.
  if (LWindow::FetchWindowObject(mDialogWindow) == mDialog) delete mDialog;
}

MessageT StDialogHandler::DoDialog() {
  mMessage = wxframework::RunPendingDialogAction(mDialog);
  if (mMessage == msg_Nothing) ProcessNextEvent(0);
  if (mMessage == msg_Nothing && !mAlertName.empty())
    mMessage = wxframework::EndUnansweredAlert(mDialog, mAlertName, &mIdlePasses);
  return mMessage;
}

void StDialogHandler::ListenToMessage(MessageT message, void*) { mMessage = message; }

void StDialogHandler::DispatchEvent(const EventRecord& event) {
  LApplication* app = LApplication::GetApplication();
  if (app && !app->ExecuteAttachments(msg_Event, const_cast<EventRecord*>(&event))) return;
  LEventDispatcher::DispatchEvent(event);
}

void StDialogHandler::EventHighLevel(const EventRecord& event) {
  if (LApplication* app = LApplication::GetApplication()) app->HandleHighLevelEvent(event);
}

bool StDialogHandler::AcceptsClickIn(WindowRef window) const {
  if (window == mDialogWindow) return true;
  // Windows opened on the dialog's behalf have the dialog (or this handler) up their chain.
  LWindow* other = LWindow::FetchWindowObject(window);
  for (LCommander* c = other ? other->GetSuperCommander() : nullptr; c; c = c->GetSuperCommander())
    if (c == mDialog || c == this) return true;
  return false;
}
