#include "framework/StDialogHandler.h"

#include "framework/FrameworkDriver.h"
#include "framework/LApplication.h"
#include "framework/LControl.h"
#include "framework/LDialogBox.h"
#include "framework/LException.h"
#include "framework/LThread.h"
#include "framework/LWindow.h"
#include "framework/UReanimator.h"
#include "toolbox/MacErrors.h"

namespace {

// An idle pass waits this long for input, unless threads have work to do.
constexpr UInt32 kIdleSleepTicks = 1;

// What the dialog's Cancel button, else its default button, would say.
MessageT QuitAnswer(LWindow* dialog) {
  auto* box = dynamic_cast<LDialogBox*>(dialog);
  if (!box) return msg_Cancel;
  for (PaneIDT id : {box->GetCancelButtonID(), box->GetDefaultButtonID()})
    if (auto* button = id ? dynamic_cast<LControl*>(box->FindPaneByID(id)) : nullptr) return button->GetValueMessage();
  return msg_Cancel;
}

}  // namespace

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
  // A quit request (SIGTERM) answers the dialog as its Cancel or default button would; a
  // caller that still goes on is unwound, so that the application's loop can quit.
  if (LApplication::QuitRequested()) {
    if (mQuitAnswered) Throw_(userCanceledErr);
    mQuitAnswered = true;
    return mMessage = QuitAnswer(mDialog);
  }
  mMessage = wxframework::RunPendingDialogAction(mDialog);
  if (mMessage == msg_Nothing) ProcessNextEvent(LThread::CountThreads() > 0 ? 0 : kIdleSleepTicks);
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
