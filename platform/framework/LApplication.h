// The application: the top of the chain of command and the owner of the event loop.
// Run() pumps events until Quit; the application starts (StartUp) when the open-application
// event that the platform queues at launch arrives (event 1001). High-level events are
// numbered through the application's event table ('aedt' resource: u16 count, then per
// entry event class u32, event ID u32, number i32) and handed to HandleAppleEvent.
#pragma once

#include <vector>

#include "appservices/AppleEvents.h"
#include "framework/LCommander.h"
#include "framework/LEventDispatcher.h"

enum EProgramState { programState_StartingUp, programState_ProcessingEvents, programState_Quitting };

enum : SInt32 {
  ae_OpenApp = 1001,
  ae_OpenDoc = 1002,
  ae_PrintDoc = 1003,
  ae_Quit = 1004,
  ae_ReopenApp = 1005,
};

class LApplication : public LCommander, public LEventDispatcher {
 public:
  LApplication();
  ~LApplication() override;

  static LApplication* GetApplication() { return sApplication; }

  // Pumps events until Quit; an exception from handling one event is reported on stderr
  // and the loop goes on. SIGINT and SIGTERM quit as the Quit command does.
  virtual void Run();
  // One pass of the loop (tests drive the loop with this).
  void ProcessNextEvent(UInt32 sleepTicks = 0);
  // From now on SIGINT and SIGTERM make the next pass of the loop obey the Quit command.
  static void InstallQuitSignalHandlers();
  // Whether SIGINT or SIGTERM came and the loop has not yet obeyed it: modal loops end on it.
  static bool QuitRequested();
  EProgramState GetState() const { return mState; }
  virtual void DoQuit(SInt32 saveOption = 0);

  bool ObeyCommand(CommandT command, void* param) override;
  void FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                         Str255 outName) override;

  // `event` is the Apple event received (an event posted without one arrives as a new
  // event of its class and ID with no parameters); `reply` and `result` start as null
  // descriptors and are disposed afterwards. `number` comes from the event table.
  virtual void HandleAppleEvent(const AppleEvent& event, AppleEvent& reply, AEDesc& result, SInt32 number);
  // The number the event table gives (event class, event ID), or 0.
  SInt32 EventNumberFor(UInt32 eventClass, UInt32 eventID) const;
  // A high-level event taken by another pump (a modal dialog's) still reaches the application.
  void HandleHighLevelEvent(const EventRecord& event) { EventHighLevel(event); }
  void AddEventTableEntry(UInt32 eventClass, UInt32 eventID, SInt32 number);

 protected:
  virtual void Initialize() {}
  virtual void MakeMenuBar() {}
  virtual void StartUp() {}
  virtual void ShowAboutBox() {}
  void EventHighLevel(const EventRecord& event) override;
  bool ExecuteCommanderAttachments(MessageT message, void* param) override;

  EProgramState mState = programState_StartingUp;
  UInt32 mSleepTime = 6;

 private:
  struct EventTableEntry {
    UInt32 eventClass;
    UInt32 eventID;
    SInt32 number;
  };
  void LoadEventTable();

  std::vector<EventTableEntry> mEventTable;
  static LApplication* sApplication;
};
