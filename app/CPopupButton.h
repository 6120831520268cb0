// The framework's popup button as the program's dialogs use it; single items are enabled
// and disabled through the menu controller (EnableItem, DisableItem, ItemIsEnabled).
#pragma once

#include "framework/LPopupButton.h"

class CPopupButton : public LPopupButton {
 public:
  static constexpr ClassIDT class_ID = 'Cpop';
  using Inherited = LPopupButton;

  explicit CPopupButton(LStream* stream, ClassIDT implementation = 'ipop') : LPopupButton(stream, implementation) {}
  CPopupButton(const SPaneInfo& paneInfo, MessageT valueMessage, SInt16 titleOptions, SInt16 menuID,
               SInt16 titleWidth, SInt16 popupVariation, SInt16 textTraitsID, ConstStr255Param title,
               OSType menuResType, SInt16 initialMenuItem, ClassIDT implementation = 'ipop')
      : LPopupButton(paneInfo, valueMessage, titleOptions, menuID, titleWidth, popupVariation, textTraitsID, title,
                     menuResType, initialMenuItem, implementation) {}
};
