// Frames its host pane; the pane then draws over the inside.
#pragma once

#include "framework/LAttachment.h"
#include "quickdraw/QuickDraw.h"

class LBorderAttachment : public LAttachment {
 public:
  static constexpr ClassIDT class_ID = 'brda';
  using Inherited = LAttachment;

  explicit LBorderAttachment(SInt16 penSize = 1, const RGBColor& colour = {0, 0, 0});
  // Layout data: the attachment's, then layout::kBorder.
  explicit LBorderAttachment(LStream* stream);

 protected:
  void ExecuteSelf(MessageT message, void* param) override;

 private:
  Point mPenSize;
  RGBColor mColour;
};
