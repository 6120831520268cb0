// The file-name entry dialog (layout 700): a name field and the popup of recently used
// names. While the popup's menu is open, a typed name that the history lacks is shown on
// top of it; choosing an item puts its text into the field.
#pragma once

#include "framework/LDialogBox.h"

class CFileNameAddPopup;
class LEditText;

class CFileNameAddDialog : public LDialogBox {
 public:
  static constexpr ClassIDT class_ID = 'FAdg';
  using Inherited = LDialogBox;

  explicit CFileNameAddDialog(LStream* stream) : LDialogBox(stream) {}

  // The name into the field, which becomes the keyboard target.
  void SetFileName(ConstStr255Param name);
  // The history, oldest first: the menu lists the most recent name first.
  void SetFileNameHist(long count, const Str255* names);
  // True with the field's text in `out` when it can be used as a file name; otherwise the
  // alert of the reason, the field as target again, and `out` unchanged.
  bool GetFileName(Str255 out);

  void ListenToMessage(MessageT message, void* param) override;
  void FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                         Str255 outName) override;

 protected:
  void FinishCreateSelf() override;

 private:
  void MenuOpens();
  void MenuClosed();

  LEditText* mNameField = nullptr;
  CFileNameAddPopup* mHistory = nullptr;
  bool mFound = false;  // the field's name was in the menu when it opened
};
