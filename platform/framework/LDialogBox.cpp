#include "framework/LDialogBox.h"

#include "framework/LPushButton.h"
#include "framework/LStream.h"
#include "framework/ReadLayoutFields.h"

LDialogBox::LDialogBox(LStream* stream) : LWindow(stream) {
  ReadLayoutFields<layout::kDialog>(*stream, mDefaultButtonID, mCancelButtonID);
}

LDialogBox::LDialogBox(const Rect& globalBounds, ConstStr255Param title, WindowClass windowClass,
                       WindowAttributes attributes, LCommander* super)
    : LWindow(globalBounds, title, windowClass, attributes, super) {}

void LDialogBox::FinishCreateSelf() { SetDefaultButton(mDefaultButtonID); }

void LDialogBox::SetDefaultButton(PaneIDT buttonID) {
  if (auto* old = dynamic_cast<LPushButton*>(FindPaneByID(mDefaultButtonID))) old->SetDefaultButton(false);
  mDefaultButtonID = buttonID;
  if (auto* button = dynamic_cast<LPushButton*>(FindPaneByID(buttonID))) button->SetDefaultButton(true);
}

void LDialogBox::SetCancelButton(PaneIDT buttonID) { mCancelButtonID = buttonID; }

bool LDialogBox::PressButton(PaneIDT buttonID) {
  auto* button = dynamic_cast<LControl*>(FindPaneByID(buttonID));
  if (!button || !button->IsEnabled() || !button->IsVisible()) return false;
  button->SimulateHotSpotClick(1);
  return true;
}

bool LDialogBox::HandleKeyPress(const EventRecord& event) {
  UInt16 c = static_cast<UInt16>(event.message & charCodeMask);
  bool commandPeriod = (event.modifiers & cmdKey) && c == '.';
  if (!(event.modifiers & cmdKey) && (c == kReturnCharCode || c == kEnterCharCode)) {
    if (PressButton(mDefaultButtonID)) return true;
  } else if (c == kEscapeCharCode || commandPeriod) {
    if (PressButton(mCancelButtonID)) return true;
  }
  return LWindow::HandleKeyPress(event);
}
