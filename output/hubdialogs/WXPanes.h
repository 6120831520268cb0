// Panes of the hub's dialogs by ID and class: a missing pane, or one of another class,
// throws 'nilP'.
#pragma once

#include "framework/LException.h"
#include "framework/LView.h"

namespace CWXUtility {

template <class T>
T* FindPaneAs(LView* view, PaneIDT id) {
  T* pane = dynamic_cast<T*>(view->FindPaneByID(id));
  ThrowIfNil_(pane);
  return pane;
}

}  // namespace CWXUtility
