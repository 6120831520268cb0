// An undoable change, posted to the commander chain after it is done.
#pragma once

#include "framework/FrameworkTypes.h"

class LAction {
 public:
  LAction() = default;
  LAction(const LAction&) = delete;
  LAction& operator=(const LAction&) = delete;
  virtual ~LAction() = default;

  virtual void Undo() {
    UndoSelf();
    mIsDone = false;
  }
  virtual void Redo() {
    RedoSelf();
    mIsDone = true;
  }
  bool IsDone() const { return mIsDone; }
  // A postable action can be undone; others are finalised and deleted at once.
  virtual bool IsPostable() const { return true; }
  // Called when the action can no longer be undone.
  virtual void Finalize() {}

 protected:
  virtual void UndoSelf() {}
  virtual void RedoSelf() {}

 private:
  bool mIsDone = true;
};
