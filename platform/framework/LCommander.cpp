#include "framework/LCommander.h"

#include <algorithm>

#include "framework/LAction.h"

LCommander* LCommander::sTarget = nullptr;
LCommander* LCommander::sDefaultCommander = nullptr;
bool LCommander::sUpdateCommandStatus = false;

LCommander::LCommander(LCommander* super) { SetSuperCommander(super); }

LCommander::~LCommander() {
  if (sDefaultCommander == this) sDefaultCommander = nullptr;
  while (!mSubCommanders.empty()) delete mSubCommanders.back();
  // Detach first, so the focus handed to the super-commander cannot come back down here.
  LCommander* super = mSuperCommander;
  bool onDuty = IsOnDuty();
  SetSuperCommander(nullptr);
  if (onDuty) SwitchTarget(super);
  if (sTarget == this) sTarget = nullptr;
}

void LCommander::SetSuperCommander(LCommander* super) {
  if (mSuperCommander) {
    std::erase(mSuperCommander->mSubCommanders, this);
    if (mSuperCommander->mLatentSub == this) mSuperCommander->mLatentSub = nullptr;
  }
  mSuperCommander = super;
  if (super) super->mSubCommanders.push_back(this);
}

bool LCommander::ProcessCommand(CommandT command, void* param) {
  if (!ExecuteCommanderAttachments(command, param)) return true;
  return ObeyCommand(command, param);
}

void LCommander::ProcessCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                                      Str255 outName) {
  SCommandStatus status{command, &outEnabled, &outUsesMark, &outMark, outName};
  if (ExecuteCommanderAttachments(msg_CommandStatus, &status))
    FindCommandStatus(command, outEnabled, outUsesMark, outMark, outName);
}

bool LCommander::ObeyCommand(CommandT command, void* param) {
  return mSuperCommander ? mSuperCommander->ObeyCommand(command, param) : false;
}

void LCommander::FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                                   Str255 outName) {
  if (mSuperCommander)
    mSuperCommander->FindCommandStatus(command, outEnabled, outUsesMark, outMark, outName);
  else
    outEnabled = false;
}

bool LCommander::AttemptQuit(SInt32 saveOption) {
  const std::vector<LCommander*> subs = mSubCommanders;
  for (LCommander* sub : subs)
    if (std::find(mSubCommanders.begin(), mSubCommanders.end(), sub) != mSubCommanders.end() &&
        !sub->AttemptQuit(saveOption))
      return false;
  return AttemptQuitSelf(saveOption);
}

bool LCommander::AttemptQuitSelf(SInt32) { return true; }

bool LCommander::ProcessKeyPress(const EventRecord& event) {
  if (!ExecuteCommanderAttachments(msg_KeyPress, const_cast<EventRecord*>(&event))) return true;
  return HandleKeyPress(event);
}

bool LCommander::HandleKeyPress(const EventRecord& event) {
  return mSuperCommander ? mSuperCommander->HandleKeyPress(event) : false;
}

void LCommander::PostAction(LAction* action) {
  if (!ExecuteCommanderAttachments(msg_PostAction, action)) return;
  if (mSuperCommander) {
    mSuperCommander->PostAction(action);
  } else if (action) {
    action->Finalize();
    delete action;
  }
}

bool LCommander::ExecuteCommanderAttachments(MessageT, void*) { return true; }

std::vector<LCommander*> LCommander::ChainOf(LCommander* commander) {
  std::vector<LCommander*> chain;
  for (; commander; commander = commander->mSuperCommander) chain.push_back(commander);
  return chain;
}

bool LCommander::IsOnDuty() const {
  for (LCommander* c = sTarget; c; c = c->mSuperCommander)
    if (c == this) return true;
  return false;
}

void LCommander::SetLatentSub(LCommander* sub) {
  if (!sub || sub->mSuperCommander == this) mLatentSub = sub;
}

bool LCommander::SwitchTarget(LCommander* target) {
  // A commander taking the focus hands it down to the sub that last had it.
  for (size_t depth = 0; target && target->mLatentSub && depth < 64; ++depth) target = target->mLatentSub;
  if (target == sTarget) return true;

  LCommander* oldTarget = sTarget;
  const std::vector<LCommander*> oldChain = ChainOf(oldTarget);
  const std::vector<LCommander*> newChain = ChainOf(target);

  if (oldTarget) oldTarget->DontBeTarget();
  sTarget = target;
  for (size_t i = 1; i < newChain.size(); ++i) newChain[i]->mLatentSub = newChain[i - 1];
  if (target) target->BeTarget();

  // Every commander above the old or the new target hears of the change once, deepest first.
  std::vector<LCommander*> told;
  auto tell = [&](LCommander* c) {
    if (c == oldTarget || c == target || std::find(told.begin(), told.end(), c) != told.end()) return;
    told.push_back(c);
    c->SubTargetChanged();
  };
  for (size_t i = 0; i < std::max(oldChain.size(), newChain.size()); ++i) {
    if (i < newChain.size()) tell(newChain[i]);
    if (i < oldChain.size() && std::find(newChain.begin(), newChain.end(), oldChain[i]) == newChain.end())
      tell(oldChain[i]);
  }
  return true;
}
