#include "framework/LUndoer.h"

#include "framework/LAction.h"
#include "framework/LCommander.h"
#include "framework/LStr255.h"

LUndoer::LUndoer() : LAttachment(msg_AnyMessage, true) {}

LUndoer::~LUndoer() {
  if (mAction) {
    mAction->Finalize();
    delete mAction;
  }
}

void LUndoer::ExecuteSelf(MessageT message, void* param) {
  SetExecuteHost(true);
  if (message == msg_PostAction) {
    auto* action = static_cast<LAction*>(param);
    if (action == mAction) {
      SetExecuteHost(false);
      return;
    }
    if (mAction) {
      mAction->Finalize();
      delete mAction;
      mAction = nullptr;
    }
    if (action && action->IsPostable()) {
      mAction = action;
    } else if (action) {
      action->Finalize();
      delete action;
    }
    SetExecuteHost(false);
  } else if (message == cmd_Undo) {
    if (mAction) {
      if (mAction->IsDone())
        mAction->Undo();
      else
        mAction->Redo();
      SetExecuteHost(false);
    }
  } else if (message == msg_CommandStatus) {
    auto* status = static_cast<SCommandStatus*>(param);
    if (status->command != cmd_Undo) return;
    *status->enabled = mAction != nullptr;
    LString::CopyPStr(LStr255(mAction && !mAction->IsDone() ? "Redo" : "Undo"), status->name);
    SetExecuteHost(false);
  }
}
