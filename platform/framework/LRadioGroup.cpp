#include "framework/LRadioGroup.h"

#include <algorithm>

#include "framework/LControl.h"
#include "framework/LException.h"
#include "framework/LStream.h"
#include "framework/LView.h"
#include "framework/ReadLayoutFields.h"

LRadioGroup::LRadioGroup() : LAttachment(msg_FinishCreate, true) {}

LRadioGroup::LRadioGroup(LStream* stream) : LAttachment(msg_FinishCreate, true) {
  ReadLayoutFields<layout::kRadioGroup>(*stream, mRadioIDs);
}

void LRadioGroup::ExecuteSelf(MessageT, void* param) {
  // The layout is complete: find the buttons in the host's window.
  auto* pane = static_cast<LPane*>(param);
  LPane* top = pane;
  while (top && top->GetSuperView()) top = top->GetSuperView();
  auto* root = dynamic_cast<LView*>(top);
  for (PaneIDT id : mRadioIDs) {
    auto* radio = dynamic_cast<LControl*>(root ? root->FindPaneByID(id) : nullptr);
    ThrowIfNil_(radio);
    AddRadio(radio);
  }
  mRadioIDs.clear();
}

void LRadioGroup::AddRadio(LControl* radio) {
  if (!radio || std::find(mRadios.begin(), mRadios.end(), radio) != mRadios.end()) return;
  mRadios.push_back(radio);
  radio->AddListener(this);
  if (radio->GetValue() != 0) {
    if (mCurrent) mCurrent->SetValue(0);
    mCurrent = radio;
  }
}

PaneIDT LRadioGroup::GetCurrentRadioID() const { return mCurrent ? mCurrent->GetPaneID() : PaneIDT_Undefined; }

void LRadioGroup::SetCurrentRadio(LControl* radio) { radio->SetValue(1); }

void LRadioGroup::ListenToMessage(MessageT, void*) {
  // Buttons that died have left this listener's broadcasters: forget them first.
  std::erase_if(mRadios, [this](LControl* r) { return !HasBroadcaster(r); });
  if (mCurrent && std::find(mRadios.begin(), mRadios.end(), mCurrent) == mRadios.end()) mCurrent = nullptr;
  // Whichever button turned on that is not the current one becomes current.
  for (LControl* radio : mRadios) {
    if (radio != mCurrent && radio->GetValue() != 0) {
      LControl* previous = mCurrent;
      mCurrent = radio;
      if (previous) {
        StopListening();
        previous->SetValue(0);
        StartListening();
      }
      BroadcastMessage(msg_ControlClicked, radio);
      return;
    }
  }
}
