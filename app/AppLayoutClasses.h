// The application's own layout classes, which the resource compiler knows beside the
// framework's: a layout names them by their class ID and gives their fields by name.
#pragma once

#include "framework/LayoutFields.h"

namespace layout {

inline constexpr LayoutField kPictureButton[] = {Given("idlePicture", I16), Given("pressedPicture", I16),
                                                 Given("hoverPicture", I16)};

inline constexpr LayoutField kToolTip[] = {Given("list", I16), Given("index", I16)};

inline constexpr LayoutClass kApplicationClasses[] = {
    {"Pctb", 'Pctb', {kPane, kControl, kPictureButton}, false, true},           // CPictureButton
    {"Cpop", 'Cpop', {kPane, kControl, kTitled, kPopup}, false, true},          // CPopupButton
    {"TTbl", 'TTbl', {kPane, kView, kTable, kTraits}, false, true},             // CTextTable
    {"SIdg", 'SIdg', {kWindow}, true, true},                                     // CScanInfoWindow
    {"Sdlg", 'Sdlg', {kWindow, kDialog}, true, true},                            // CSaveDialogBox
    {"S1lg", 'S1lg', {kWindow, kDialog}, true, true},                            // CScan1DialogBox
    {"S2lg", 'S2lg', {kWindow, kDialog}, true, true},                            // CScan2DialogBox
    {"CEtx", 'CEtx', {kPane, kControl, kEditText}, false, true},                // CEditText
    {"CsEt", 'CsEt', {kPane, kControl, kEditText}, false, true},                // CCustomSize_EditText
    {"Etng", 'Etng', {kPane, kControl, kEditText}, false, true},                // CEditTextNotGray
    {"DdEt", 'DdEt', {kPane, kControl, kEditText}, false, true},                // CDDArea_EditText
    {"ExET", 'ExET', {kPane, kControl, kEditText}, false, true},                // CExifEditText
    {"TTip", 'TTip', {kAttachment, kToolTip}, false, false},                    // CToolTip
    {"PicP", 'PicP', {kPane, kView, kPicture}, true, true},                     // CPicture
    {"Ccib", 'Ccib', {kPane, kControl, kCicnButton}, false, true},              // CCicnButton
};

}  // namespace layout
