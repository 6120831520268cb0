#include "framework/LApplication.h"

#include <csignal>
#include <exception>
#include <iostream>

#include "framework/LDataStream.h"
#include "framework/LException.h"
#include "framework/LThread.h"
#include "framework/LWindow.h"
#include "framework/UEnvironment.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"

LApplication* LApplication::sApplication = nullptr;

namespace {

volatile std::sig_atomic_t sQuitSignal = 0;

void NoteQuitSignal(int) { sQuitSignal = 1; }

// The desktop's close request for a window is the window's close command.
void CloseRequested(WindowRef window) {
  if (LWindow* w = LWindow::FetchWindowObject(window)) w->ProcessCommand(cmd_Close);
}

}  // namespace

void LApplication::InstallQuitSignalHandlers() {
  struct sigaction action {};
  action.sa_handler = NoteQuitSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool LApplication::QuitRequested() { return sQuitSignal != 0; }

void LApplication::ProcessNextEvent(UInt32 sleepTicks) {
  if (sQuitSignal) {
    sQuitSignal = 0;
    ProcessCommand(cmd_Quit);
    if (mState == programState_Quitting) return;
  }
  LEventDispatcher::ProcessNextEvent(sleepTicks);
}

LApplication::LApplication() : LCommander(nullptr) {
  sApplication = this;
  UEnvironment::InitEnvironment();
  SwitchTarget(this);
  LoadEventTable();
  SetWindowCloseHandler(&CloseRequested);
}

LApplication::~LApplication() {
  // Windows and other sub-commanders go first, while the application is still whole.
  while (!GetSubCommanders().empty()) delete GetSubCommanders().back();
  DeleteAttachments();
  if (sApplication == this) {
    sApplication = nullptr;
    SetWindowCloseHandler(nullptr);
  }
}

void LApplication::LoadEventTable() {
  Handle data = GetResource('aedt', 128);
  if (!data) return;
  LDataStream stream(static_cast<const void*>(*data), static_cast<SInt32>(GetHandleSize(data)));
  UInt16 count = 0;
  stream >> count;
  for (UInt16 i = 0; i < count; ++i) {
    EventTableEntry entry{};
    stream >> entry.eventClass >> entry.eventID >> entry.number;
    mEventTable.push_back(entry);
  }
}

void LApplication::AddEventTableEntry(UInt32 eventClass, UInt32 eventID, SInt32 number) {
  mEventTable.push_back({eventClass, eventID, number});
}

SInt32 LApplication::EventNumberFor(UInt32 eventClass, UInt32 eventID) const {
  for (const EventTableEntry& e : mEventTable)
    if (e.eventClass == eventClass && e.eventID == eventID) return e.number;
  return 0;
}

void LApplication::Run() {
  Initialize();
  MakeMenuBar();
  InstallQuitSignalHandlers();
  mState = programState_ProcessingEvents;
  while (mState != programState_Quitting) {
    try {
      // A thread at work gets its next turn at once, not after the loop's nap.
      ProcessNextEvent(LThread::CountThreads() > 0 ? 0 : mSleepTime);
    } catch (const LException& e) {
      std::cerr << "error " << e.GetErrorCode() << " while handling an event\n";
    } catch (const std::exception& e) {
      std::cerr << "error while handling an event: " << e.what() << "\n";
    }
  }
}

void LApplication::DoQuit(SInt32 saveOption) {
  if (AttemptQuit(saveOption)) mState = programState_Quitting;
}

bool LApplication::ObeyCommand(CommandT command, void*) {
  switch (command) {
    case cmd_Quit:
      DoQuit();
      return true;
    case cmd_About:
      ShowAboutBox();
      return true;
    default:
      return false;
  }
}

void LApplication::FindCommandStatus(CommandT command, bool& outEnabled, bool&, UInt16&, Str255) {
  outEnabled = command == cmd_Quit || command == cmd_About || command < 0;
}

void LApplication::HandleAppleEvent(const AppleEvent&, AppleEvent&, AEDesc&, SInt32 number) {
  switch (number) {
    case ae_OpenApp:
      StartUp();
      break;
    case ae_Quit:
      DoQuit();
      break;
    default:
      break;
  }
}

void LApplication::EventHighLevel(const EventRecord& event) {
  UInt32 eventID = (static_cast<UInt32>(static_cast<UInt16>(event.where.v)) << 16) | static_cast<UInt16>(event.where.h);
  SInt32 number = EventNumberFor(event.message, eventID);
  const AppleEvent* received = AECurrentEventOf(CurrentHighLevelEventPayload());
  if (number == 0) return;
  AppleEvent made, reply, result;
  AEInitializeDesc(&made);
  AEInitializeDesc(&reply);
  AEInitializeDesc(&result);
  if (!received) {
    AECreateAppleEvent(event.message, eventID, nullptr, kAutoGenerateReturnID, kAnyTransactionID, &made);
    received = &made;
  }
  struct Disposer {
    AEDesc* descs[3];
    ~Disposer() {
      for (AEDesc* d : descs) AEDisposeDesc(d);
    }
  } disposer{{&made, &reply, &result}};
  HandleAppleEvent(*received, reply, result, number);
}

bool LApplication::ExecuteCommanderAttachments(MessageT message, void* param) {
  return ExecuteAttachments(message, param);
}
