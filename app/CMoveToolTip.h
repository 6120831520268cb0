// The tool tip of a move button: shown only while a scanner button is assigned to it.
#pragma once

#include "app/CToolTip.h"

class CMoveToolTip : public CToolTip {
 public:
  using CToolTip::CToolTip;

 protected:
  bool MayShow() const override;
};
