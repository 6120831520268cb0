#include "framework/UDesktop.h"

#include "framework/LWindow.h"

LWindow* UDesktop::sDeactivated = nullptr;

void UDesktop::Deactivate() {
  sDeactivated = LWindow::GetActiveWindow();
  if (sDeactivated) sDeactivated->Deactivate();
}

void UDesktop::Activate() {
  // The window may have gone while the alert was up.
  LWindow* window = sDeactivated ? LWindow::FetchWindowObject(sDeactivated->GetMacWindow()) : nullptr;
  sDeactivated = nullptr;
  if (window) window->Activate();
}
