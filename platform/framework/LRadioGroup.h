// Keeps one radio button of a group on. In a layout it is an attachment of a pane of the
// window (data: u16 count, then the radio buttons' pane IDs); the buttons are found in that
// window when the layout is finished.
#pragma once

#include <vector>

#include "framework/LAttachment.h"
#include "framework/LBroadcaster.h"
#include "framework/LListener.h"

class LControl;

class LRadioGroup : public LAttachment, public LListener, public LBroadcaster {
 public:
  static constexpr ClassIDT class_ID = 'radg';

  LRadioGroup();
  explicit LRadioGroup(LStream* stream);

  void AddRadio(LControl* radio);
  PaneIDT GetCurrentRadioID() const;
  void SetCurrentRadio(LControl* radio);

  void ListenToMessage(MessageT message, void* param) override;

 protected:
  void ExecuteSelf(MessageT message, void* param) override;

 private:
  std::vector<PaneIDT> mRadioIDs;
  std::vector<LControl*> mRadios;
  LControl* mCurrent = nullptr;
};
