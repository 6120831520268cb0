// The application's own layout classes, which the resource compiler knows beside the
// framework's: a layout names them by their class ID and gives their fields by name.
#pragma once

#include "framework/LayoutFields.h"

namespace layout {

inline constexpr LayoutField kPictureButton[] = {Given("idlePicture", I16), Given("pressedPicture", I16),
                                                 Given("hoverPicture", I16)};

inline constexpr LayoutClass kApplicationClasses[] = {
    {"Pctb", 'Pctb', {kPane, kControl, kPictureButton}, false, true},           // CPictureButton
    {"Cpop", 'Cpop', {kPane, kControl, kTitled, kPopup}, false, true},          // CPopupButton
    {"TTbl", 'TTbl', {kPane, kView, kTable, kTraits}, false, true},             // CTextTable
};

}  // namespace layout
