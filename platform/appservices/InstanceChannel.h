// The single-instance channel: the first instance of the application listens on a
// Unix-domain socket in the user's temporary-items folder (a folder of mode 0700, so only
// this user reaches it; peer credentials are checked as well). A later launch hands the
// first one a reopen-application event and ends; the scanner-button tool does the same.
//
// A socket left by an instance that died is replaced; a lock file beside it makes sure two
// launches at once cannot both become the first.
#pragma once

#include <string>

#include "appservices/AppleEvents.h"

enum class InstanceRole {
  kFirst,       // this process listens; the open-application event is queued
  kHandedOver,  // a running instance took a reopen-application event
  kFailed,      // neither (the message says why)
};

// At launch: when an instance runs, sends it a reopen-application event from the
// signature this process was launched by (ProcessLauncherSignature, else
// kProcessSignatureSelf) and returns kHandedOver. Otherwise listens, posts the
// open-application event as the first high-level event, and returns kFirst.
InstanceRole AEClaimSingleInstance(std::string* message);
// Sends a reopen-application event from `senderSignature` to the running instance:
// noErr, or connectionInvalid when none listens.
OSErr AESendReopenToRunningInstance(OSType senderSignature);
// The socket's path in the temporary-items folder (a longer path than a socket address
// holds is reached through the folder's descriptor).
std::string AEInstanceSocketPath();
// Stops listening and removes the socket (also done at exit).
void AEStopListening();
// Takes the events waiting on the socket into this process's queue (the Event Manager
// calls this before it looks for events).
void AEPollInstanceChannel();
