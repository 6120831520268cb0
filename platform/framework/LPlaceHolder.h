// A view that lends its place to a pane from elsewhere: InstallOccupant moves the pane in
// (aligned in the placeholder's frame), RemoveOccupant gives it back to its old superview at
// its old place.
#pragma once

#include "framework/LView.h"
#include "quickdraw/Icons.h"  // the alignments

class LPlaceHolder : public LView {
 public:
  static constexpr ClassIDT class_ID = 'plac';
  using Inherited = LView;

  LPlaceHolder(const SPaneInfo& paneInfo, const SViewInfo& viewInfo, SInt16 alignment = kAlignNone);
  // Layout data: the view's, then layout::kPlaceHolder.
  explicit LPlaceHolder(LStream* stream);
  ~LPlaceHolder() override;

  void InstallOccupant(LPane* occupant, SInt16 alignment = -1);
  LPane* RemoveOccupant();

 private:
  SInt16 mAlignment = kAlignNone;
  LPane* mOccupant = nullptr;
  LView* mOldSuper = nullptr;
  SPoint32 mOldLocation = {0, 0};
};
