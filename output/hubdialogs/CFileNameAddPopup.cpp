#include "output/hubdialogs/CFileNameAddPopup.h"

void CFileNameAddPopup::ClickSelf(const SMouseDownEvent& event) {
  BroadcastMessage(msg_FileNameMenuOpens);
  LPopupButton::ClickSelf(event);
  BroadcastMessage(msg_FileNameMenuClosed);
}
