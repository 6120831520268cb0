// Panes of the hub's dialogs by ID and class: a missing pane, or one of another class,
// throws 'nilP'. And what a dialog needs while it sets its own panes.
#pragma once

#include "framework/LException.h"
#include "framework/LListener.h"
#include "framework/LView.h"

namespace CWXUtility {

template <class T>
T* FindPaneAs(LView* view, PaneIDT id) {
  T* pane = dynamic_cast<T*>(view->FindPaneByID(id));
  ThrowIfNil_(pane);
  return pane;
}

inline void EnableIf(LPane* pane, bool enabled) {
  if (enabled)
    pane->Enable();
  else
    pane->Disable();
}

// Stops the dialog listening to its controls while it sets them, so that no control's own
// broadcast comes back to it.
class StStopListening {
 public:
  explicit StStopListening(LListener* listener) : mListener(listener) { mListener->StopListening(); }
  ~StStopListening() { mListener->StartListening(); }
  StStopListening(const StStopListening&) = delete;
  StStopListening& operator=(const StStopListening&) = delete;

 private:
  LListener* mListener;
};

}  // namespace CWXUtility
