// A window whose buttons send 900 (OK) and 901 (Cancel): Return and Enter press the default
// button, Escape and Command-period the cancel button.
#pragma once

#include "framework/LListener.h"
#include "framework/LWindow.h"

class LDialogBox : public LWindow, public LListener {
 public:
  static constexpr ClassIDT class_ID = 'dlog';
  using Inherited = LWindow;

  // Layout data: the window's, then layout::kDialog (the default and cancel buttons' pane IDs).
  explicit LDialogBox(LStream* stream);
  LDialogBox(const Rect& globalBounds, ConstStr255Param title, WindowClass windowClass, WindowAttributes attributes,
             LCommander* super);

  void SetDefaultButton(PaneIDT buttonID);
  void SetCancelButton(PaneIDT buttonID);
  PaneIDT GetDefaultButtonID() const { return mDefaultButtonID; }
  PaneIDT GetCancelButtonID() const { return mCancelButtonID; }

  bool HandleKeyPress(const EventRecord& event) override;
  void ListenToMessage(MessageT, void*) override {}

 protected:
  void FinishCreateSelf() override;
  // Presses the button as a click would (nothing when it is missing or disabled).
  bool PressButton(PaneIDT buttonID);

  PaneIDT mDefaultButtonID = PaneIDT_Undefined;
  PaneIDT mCancelButtonID = PaneIDT_Undefined;
};
