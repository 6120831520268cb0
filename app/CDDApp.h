// The drop target of the function buttons that hand files to an application: it takes an
// application that can run here (or an alias of one, or an application bundle) and keeps
// its file specification for the button.
#pragma once

#include "framework/LDragAndDrop.h"

class CDDApp : public LDragAndDrop {
 public:
  CDDApp(WindowRef window, LPane* pane);

  bool ItemIsAcceptable(DragRef drag, DragItemRef item) override;
  void ReceiveDragItem(DragRef drag, DragItemRef item, FlavorFlags flags, Rect& itemBounds) override;
  void HiliteDropArea(DragRef drag) override;
  void UnhiliteDropArea(DragRef drag) override;

  // The application of the last drop, an alias already resolved.
  const FSSpec& GetApplicationSpec() const { return mAppSpec; }

  // Whether `item` names an application that can run here, an alias of one, or an
  // application bundle; `resolved` gets the application itself.
  static bool IsAcceptableApplication(const HFSFlavor& item, FSSpec* resolved);
  // The item's 'hfs ' flavour; false when it has none.
  static bool ReadHFSFlavor(DragRef drag, DragItemRef item, HFSFlavor* flavor);

 protected:
  LPane* mDropPane;

 private:
  HFSFlavor mFlavor{};
  FSSpec mAppSpec{};
};
