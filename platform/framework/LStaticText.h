// Text of several lines, word-wrapped in the frame with its traits' justification.
#pragma once

#include "framework/LCaption.h"

class LStaticText : public LCaption {
 public:
  static constexpr ClassIDT class_ID = 'stxt';
  using Inherited = LCaption;
  using LCaption::LCaption;

 protected:
  void DrawSelf() override;
};
