// An attachment that keeps the last action posted to its host and undoes or redoes it
// (cmd_Undo). A newer action finalises and replaces the one kept.
#pragma once

#include "framework/LAttachment.h"

class LAction;

class LUndoer : public LAttachment {
 public:
  LUndoer();
  ~LUndoer() override;

 protected:
  void ExecuteSelf(MessageT message, void* param) override;

 private:
  LAction* mAction = nullptr;
};
