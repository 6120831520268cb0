// A link in the chain of command. Commands, key presses and actions go to the target
// (the commander with the keyboard focus) and pass up through super-commanders to the
// application until one handles them. Commanders delete their sub-commanders.
#pragma once

#include <vector>

#include "framework/FrameworkTypes.h"

struct EventRecord;
class LAction;

// What msg_CommandStatus hands the attachments of a commander.
struct SCommandStatus {
  CommandT command;
  bool* enabled;
  bool* usesMark;
  UInt16* mark;
  unsigned char* name;  // Str255
};

class LCommander {
 public:
  explicit LCommander(LCommander* super = nullptr);
  LCommander(const LCommander&) = delete;
  LCommander& operator=(const LCommander&) = delete;
  virtual ~LCommander();

  LCommander* GetSuperCommander() const { return mSuperCommander; }
  virtual void SetSuperCommander(LCommander* super);
  const std::vector<LCommander*>& GetSubCommanders() const { return mSubCommanders; }

  // Runs `command` (a menu choice or a key equivalent): the attachments see it first (the
  // command number is the message), then ObeyCommand.
  bool ProcessCommand(CommandT command, void* param = nullptr);
  // The status of `command`: the attachments (msg_CommandStatus) first, then FindCommandStatus.
  void ProcessCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark, Str255 outName);
  // Handles `command` or passes it up; true when someone handled it.
  virtual bool ObeyCommand(CommandT command, void* param);
  // Whether `command` is enabled (and its mark and name). Passes up unless handled here.
  virtual void FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                                 Str255 outName);
  // Asks sub-commanders first, then this one; false stops the quit.
  virtual bool AttemptQuit(SInt32 saveOption);

  // Key presses: ProcessKeyPress lets attachments see the key, then HandleKeyPress.
  bool ProcessKeyPress(const EventRecord& event);
  virtual bool HandleKeyPress(const EventRecord& event);

  // Posts an action done by the user; the top of the chain finalises and deletes it when
  // nobody keeps it for undo.
  virtual void PostAction(LAction* action);

  // Targeting. SwitchTarget makes `target` the commander with the keyboard focus; every
  // commander that gains or loses a sub-target hears SubTargetChanged.
  static bool SwitchTarget(LCommander* target);
  static LCommander* GetTarget() { return sTarget; }
  bool IsTarget() const { return sTarget == this; }
  // On duty: the target or one of its super-commanders.
  bool IsOnDuty() const;
  // The commander this one makes the target when it takes the focus itself (default: itself).
  void SetLatentSub(LCommander* sub);
  LCommander* GetLatentSub() const { return mLatentSub; }

  // The super-commander that commanders built from a layout stream take (set by the loader).
  static LCommander* GetDefaultCommander() { return sDefaultCommander; }
  static void SetDefaultCommander(LCommander* commander) { sDefaultCommander = commander; }

  static void SetUpdateCommandStatus(bool update) { sUpdateCommandStatus = update; }
  static bool GetUpdateCommandStatus() { return sUpdateCommandStatus; }
  static bool sUpdateCommandStatus;

 protected:
  virtual bool AttemptQuitSelf(SInt32 saveOption);
  virtual void BeTarget() {}
  virtual void DontBeTarget() {}
  virtual void SubTargetChanged() {}
  // Commanders that are also attachable offer key presses and posted actions to their
  // attachments here; false stops the commander's own handling.
  virtual bool ExecuteCommanderAttachments(MessageT message, void* param);

 private:
  static std::vector<LCommander*> ChainOf(LCommander* commander);

  LCommander* mSuperCommander = nullptr;
  LCommander* mLatentSub = nullptr;
  std::vector<LCommander*> mSubCommanders;
  static LCommander* sTarget;
  static LCommander* sDefaultCommander;
};
