// Typing in a TextEdit field as one undoable action: the first key records the text as it
// was; Undo puts it back (with the selection), Redo puts the typed text back again.
#pragma once

#include <string>

#include "framework/LAction.h"
#include "windows/TextEdit.h"

class LPane;

class LTETypingAction : public LAction {
 public:
  LTETypingAction(TEHandle te, LPane* pane);
  ~LTETypingAction() override;
  // Whether `action` is a typing action that still exists.
  static bool IsLive(const LTETypingAction* action);

  TEHandle GetTE() const { return mTE; }
  // Called before the key reaches TextEdit.
  void TypeCharacter();
  void BackwardErase();
  void ForwardErase();

 protected:
  void UndoSelf() override;
  void RedoSelf() override;

 private:
  struct Snapshot {
    std::string text;
    SInt16 selStart = 0;
    SInt16 selEnd = 0;
  };
  Snapshot Take() const;
  void Put(const Snapshot& snapshot);
  void Record();

  TEHandle mTE;
  LPane* mPane;
  bool mRecorded = false;
  Snapshot mBefore;
  Snapshot mAfter;
};
