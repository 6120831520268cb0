#include "framework/LTETypingAction.h"

#include "framework/LPane.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<const LTETypingAction*>& Live() {
  static std::vector<const LTETypingAction*> live;
  return live;
}

}  // namespace

LTETypingAction::LTETypingAction(TEHandle te, LPane* pane) : mTE(te), mPane(pane) { Live().push_back(this); }

LTETypingAction::~LTETypingAction() { std::erase(Live(), this); }

bool LTETypingAction::IsLive(const LTETypingAction* action) {
  return action && std::find(Live().begin(), Live().end(), action) != Live().end();
}

LTETypingAction::Snapshot LTETypingAction::Take() const {
  return Snapshot{std::string(*(*mTE)->hText, static_cast<size_t>((*mTE)->teLength)), (*mTE)->selStart, (*mTE)->selEnd};
}

void LTETypingAction::Put(const Snapshot& s) {
  TESetText(s.text.data(), static_cast<SInt32>(s.text.size()), mTE);
  TESetSelect(s.selStart, s.selEnd, mTE);
  if (mPane) mPane->Refresh();
}

void LTETypingAction::Record() {
  if (mRecorded || !mTE) return;
  mBefore = Take();
  mRecorded = true;
}

void LTETypingAction::TypeCharacter() { Record(); }
void LTETypingAction::BackwardErase() { Record(); }
void LTETypingAction::ForwardErase() { Record(); }

void LTETypingAction::UndoSelf() {
  mAfter = Take();
  Put(mBefore);
}

void LTETypingAction::RedoSelf() { Put(mAfter); }
