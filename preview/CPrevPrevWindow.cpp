#include "preview/CPrevPrevWindow.h"

#include "framework/LException.h"
#include "framework/StDialogHandler.h"
#include "framework/UReanimator.h"
#include "preview/CPrevPrevView.h"

CPrevPrevWindow::CPrevPrevWindow(LStream* stream) : LDialogBox(stream) {}

void CPrevPrevWindow::FinishCreateSelf() {
  LDialogBox::FinishCreateSelf();
  mView = dynamic_cast<CPrevPrevView*>(FindPaneByID(CPrevPrevView::class_ID));
  ThrowIfNil_(mView);
  mView->SetSourceName(&mSourceName);
  UReanimator::LinkListenerToControls(this, this, kControlLinks);
  mView->AddListener(this);
}

bool CPrevPrevWindow::AttemptClose() {
  // The close box ends the modal loop like Cancel; the loop's handler deletes the window.
  mView->BroadcastMessage(msg_Cancel, nullptr);
  return false;
}

void CPrevPrevWindow::ShowPrevPrevWindow(FSSpec& file, unsigned char* title, unsigned char* sourceName, long rotation) {
  StDialogHandler handler(kLayout, nullptr);
  auto* window = dynamic_cast<CPrevPrevWindow*>(handler.GetDialog());
  ThrowIfNil_(window);
  window->mView->SetPicture(file, rotation);
  window->SetDescriptor(title);
  window->mView->AddListener(&handler);
  window->mSourceName = sourceName;
  for (;;) {
    const MessageT message = handler.DoDialog();
    if (message == msg_OK || message == msg_Cancel || message == CPrevPrevView::msg_DoubleClick) break;
  }
}
