#include "framework/LTabGroup.h"

#include "framework/LPane.h"
#include "windows/Events.h"

namespace {

bool CanTakeFocus(LCommander* c) {
  auto* pane = dynamic_cast<LPane*>(c);
  return !pane || (pane->IsVisible() && pane->IsEnabled());
}

}  // namespace

LTabGroup::LTabGroup(LCommander* super) : LCommander(super) {
  if (super && !super->GetLatentSub()) super->SetLatentSub(this);
}

LTabGroup::LTabGroup(LStream*) : LTabGroup(LCommander::GetDefaultCommander()) {}

LCommander* LTabGroup::NextTarget(LCommander* from, int step) const {
  const auto& subs = GetSubCommanders();
  const int n = static_cast<int>(subs.size());
  if (n == 0) return nullptr;
  int at = -1;
  for (int i = 0; i < n; ++i)
    if (subs[static_cast<size_t>(i)] == from) at = i;
  for (int k = 1; k <= n; ++k) {
    int i = ((at < 0 ? (step > 0 ? -1 : 0) : at) + step * k % n + n) % n;
    if (CanTakeFocus(subs[static_cast<size_t>(i)])) return subs[static_cast<size_t>(i)];
  }
  return nullptr;
}

bool LTabGroup::HandleKeyPress(const EventRecord& event) {
  if ((event.message & charCodeMask) != kTabCharCode || (event.modifiers & cmdKey))
    return LCommander::HandleKeyPress(event);
  // The sub-commander on the path to the target is the one being left.
  LCommander* current = nullptr;
  for (LCommander* c = GetTarget(); c && c != this; c = c->GetSuperCommander()) current = c;
  if (LCommander* next = NextTarget(current, (event.modifiers & shiftKey) ? -1 : 1)) {
    SwitchTarget(next);
    if (auto* field = dynamic_cast<LPane*>(next)) field->Refresh();
  }
  return true;
}

void LTabGroup::BeTarget() {
  if (LCommander* first = NextTarget(nullptr, 1)) SwitchTarget(first);
}
