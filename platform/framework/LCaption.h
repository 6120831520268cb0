// One line of text with text traits; SetDescriptor redraws it, and it dims when disabled.
#pragma once

#include "framework/LPane.h"

class LCaption : public LPane {
 public:
  static constexpr ClassIDT class_ID = 'capt';

  LCaption(const SPaneInfo& paneInfo, ConstStr255Param text, ResIDT textTraitsID = 0);
  // Layout data: the pane's, then layout::kText.
  explicit LCaption(LStream* stream);

  StringPtr GetDescriptor(Str255 outText) const override;
  void SetDescriptor(ConstStr255Param text) override;

 protected:
  void DrawSelf() override;

  Str255 mText;
  ResIDT mTextTraitsID = 0;
};
