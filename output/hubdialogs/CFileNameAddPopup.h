// The popup of recently used file names: it tells its listeners before its menu opens
// ('FACB') and after it has closed ('FACA'), so that the name being typed can be shown on
// top of the menu while it is open.
#pragma once

#include "framework/LPopupButton.h"

enum : MessageT { msg_FileNameMenuOpens = 'FACB', msg_FileNameMenuClosed = 'FACA' };

class CFileNameAddPopup : public LPopupButton {
 public:
  static constexpr ClassIDT class_ID = 'FApu';
  using Inherited = LPopupButton;

  explicit CFileNameAddPopup(LStream* stream) : LPopupButton(stream) {}

 protected:
  void ClickSelf(const SMouseDownEvent& event) override;
};
