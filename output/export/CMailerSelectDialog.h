// The mail-application chooser: the known mail applications found here and the ones the
// user added, in the table 'ATBL'; 'BTAD' adds one, 'BTDL' removes a user-added one, OK
// takes the selected row as the chosen application (an empty one for no application).
#pragma once

#include "framework/LDialogBox.h"

class CPreferenceApplTable;

class CMailerSelectDialog : public LDialogBox {
 public:
  static constexpr ClassIDT class_ID = 'DMLS';
  using Inherited = LDialogBox;

  explicit CMailerSelectDialog(LStream* stream) : LDialogBox(stream) {}

  void ListenToMessage(MessageT message, void* param) override;
  const FSSpec& GetChosenAppl() const { return mChosen; }
  CPreferenceApplTable* GetTable() const { return mTable; }

 protected:
  void FinishCreateSelf() override;

 private:
  void FollowSelection();

  CPreferenceApplTable* mTable = nullptr;
  FSSpec mChosen{};
};
