// The preview's in-place field for a thumbnail's caption; a forward delete in front of a
// two-byte character removes both of its bytes, as the framework's field does.
#pragma once

#include "framework/LEditField.h"

class CPreviewEditField : public LEditField {
 public:
  using LEditField::LEditField;
};
