// Process Manager: a table of the processes this one knows about.
//
// The table holds this process (signature 'QlWX'), the file manager (a pseudo-process of
// type 'FNDR', signature 'MACS', always present, whose open-documents events run the
// desktop's opener), the process that launched this one when it declared its signature in
// the environment variable WX_LAUNCHER_SIGNATURE (read once at first use, then removed),
// the senders of events received on the single-instance channel, and every application
// this process launched.
//
// Launching: LaunchApplication returns the serial number at once. The program starts when
// the first open-documents event reaches it, with the documents' paths as arguments (a
// ".desktop" entry through its Exec line and its %f/%F/%u/%U codes; an executable with the
// paths), or without documents at the next pass of the event loop when none came. A later
// open-documents event starts it again with the new documents. Children start detached
// (own session, standard input from /dev/null) and are never left as zombies; they find
// this process's signature in WX_LAUNCHER_SIGNATURE.
#pragma once

#include <string>
#include <vector>

#include "toolbox/Files.h"
#include "toolbox/MacTypes.h"

struct ProcessSerialNumber {
  UInt32 highLongOfPSN;
  UInt32 lowLongOfPSN;
};
typedef ProcessSerialNumber* ProcessSerialNumberPtr;

enum : UInt32 { kNoProcess = 0, kSystemProcess = 1, kCurrentProcess = 2 };

// The length the caller sets in processInfoLength: the record's size on the original.
enum : UInt32 { kProcessInfoRecLength = 60 };

struct ProcessInfoRec {
  UInt32 processInfoLength;
  StringPtr processName;  // Str31 buffer or null
  ProcessSerialNumber processNumber;
  UInt32 processType;
  OSType processSignature;
  UInt32 processMode;
  Ptr processLocation;
  UInt32 processSize;
  UInt32 processFreeMem;
  ProcessSerialNumber processLauncher;
  UInt32 processLaunchDate;
  UInt32 processActiveTime;
  FSSpec* processAppSpec;  // or null
};
typedef ProcessInfoRec* ProcessInfoRecPtr;

typedef UInt16 LaunchFlags;
enum : LaunchFlags {
  launchContinue = 0x4000,
  launchNoFileFlags = 0x0800,
  launchUseMinimum = 0x0400,
  launchDontSwitch = 0x0200,
  launchInhibitDaemon = 0x0080,
};
enum : UInt16 { extendedBlock = 0x4C43 /* 'LC' */ };
enum : UInt32 { extendedBlockLen = 32 };

struct LaunchParamBlockRec {
  UInt32 reserved1;
  UInt16 reserved2;
  UInt16 launchBlockID;       // extendedBlock
  UInt32 launchEPBLength;     // extendedBlockLen
  UInt16 launchFileFlags;
  LaunchFlags launchControlFlags;
  FSSpec* launchAppSpec;
  ProcessSerialNumber launchProcessSN;  // out
  UInt32 launchPreferredSize;
  UInt32 launchMinimumSize;
  UInt32 launchAvailableSize;
  void* launchAppParameters;
};
typedef LaunchParamBlockRec* LaunchPBPtr;

enum : OSType { kProcessSignatureSelf = 'QlWX', kProcessSignatureFileManager = 'MACS', kProcessTypeFileManager = 'FNDR' };

OSErr GetCurrentProcess(ProcessSerialNumber* psn);
// paramErr when processInfoLength is not kProcessInfoRecLength; procNotFound for an
// unknown serial number.
OSErr GetProcessInformation(const ProcessSerialNumber* psn, ProcessInfoRec* info);
// Start from kNoProcess; procNotFound after the last.
OSErr GetNextProcess(ProcessSerialNumber* psn);
OSErr SameProcess(const ProcessSerialNumber* a, const ProcessSerialNumber* b, Boolean* result);
OSErr GetFrontProcess(ProcessSerialNumber* psn);
// This process: brings its front window forward. Another known process: succeeds whether
// or not it still runs (the desktop raises new windows itself).
OSErr SetFrontProcess(const ProcessSerialNumber* psn);
// The application is an executable, a ".desktop" entry or a bundle folder (its
// Contents/MacOS/<CFBundleExecutable>). fnfErr when it is missing; paramErr for a bad block.
OSErr LaunchApplication(LaunchPBPtr launchParams);
// Runs the launches still waiting, then ends the process with status 0.
[[noreturn]] void ExitToShell();

// Platform side (not of the original's interface).
// The serial number of the entry with signature `signature`, or procNotFound.
OSErr GetProcessForSignature(OSType signature, ProcessSerialNumber* psn);
// Adds a known process (a socket sender) with `signature`; its serial number.
ProcessSerialNumber ProcessAddSender(OSType signature);
// Hands open-documents to launched process `psn`: starts it with `paths`. connectionInvalid
// when it cannot be started, procNotFound for an unknown process.
OSErr ProcessOpenDocuments(const ProcessSerialNumber& psn, const std::vector<std::string>& paths);
// Starts the launched applications that got no open-documents event (the event loop calls
// this once per pass).
void ProcessRunPendingLaunches();
// The signature the launcher declared, 0 when none.
OSType ProcessLauncherSignature();
// Forgets every process but this one and the file manager, and reads
// WX_LAUNCHER_SIGNATURE again as at start-up (tests).
void ProcessResetTable();
// Starts `argv` detached (own session, standard input from /dev/null, reaped at once) with
// `environment` added ("NAME=value"). connectionInvalid when the program cannot be started.
OSErr ProcessSpawnDetached(const std::vector<std::string>& argv, const std::vector<std::string>& environment);
// The command lines that open `paths` with the application at `appPath` (an executable, a
// ".desktop" entry or a bundle folder). False when it is none of them.
bool ProcessCommandsFor(const std::string& appPath, const std::vector<std::string>& paths,
                        std::vector<std::vector<std::string>>* commands);
