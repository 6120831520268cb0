// A view that draws a 'PICT' resource scaled to its frame (nothing when it is missing).
#pragma once

#include "framework/LView.h"

class LPicture : public LView {
 public:
  static constexpr ClassIDT class_ID = 'pict';
  using Inherited = LView;

  LPicture(const SPaneInfo& paneInfo, ResIDT pictureID);
  // Layout data: the view's, then layout::kPicture.
  explicit LPicture(LStream* stream);

  ResIDT GetPictureID() const { return mPictureID; }

 protected:
  void DrawSelf() override;

  ResIDT mPictureID = 0;
};
