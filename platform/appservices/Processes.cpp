#include "appservices/Processes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "appservices/AppleEvents.h"
#include "appservices/LaunchServices.h"
#include "toolbox/DesktopEntry.h"
#include "toolbox/Clock.h"
#include "windows/Events.h"
#include "toolbox/FilePaths.h"
#include "toolbox/Folders.h"
#include "toolbox/MacErrors.h"
#include "windows/MacWindows.h"
#include "toolbox/TextConvert.h"

extern char** environ;

namespace {

constexpr char kLauncherVariable[] = "WX_LAUNCHER_SIGNATURE";

struct Process {
  ProcessSerialNumber psn;
  std::string name;
  OSType type = 'APPL';
  OSType signature = '????';
  ProcessSerialNumber launcher = {0, kNoProcess};
  std::string appPath;       // launched applications and this process
  bool waitingToStart = false;
  UInt32 launchDate = 0;
};

struct Table {
  std::vector<Process> processes;
  UInt32 next = 0x10000;
  ProcessSerialNumber self, fileManager, front;
  OSType launcherSignature = 0;
};

OSType CodeOf(const std::string& text) {
  if (text.size() != 4) return 0;
  OSType code = 0;
  for (unsigned char c : text) code = (code << 8) | c;
  return code;
}

ProcessSerialNumber Allocate(Table& t) { return ProcessSerialNumber{0, t.next++}; }

void Init(Table& t) {
  t.processes.clear();
  Process self;
  self.psn = t.self = Allocate(t);
  self.name = "Wendrix";
  self.signature = kProcessSignatureSelf;
  self.appPath = FolderProgramPath("wendrix");
  self.launchDate = TickCount();
  Process finder;
  finder.psn = t.fileManager = Allocate(t);
  finder.name = "Files";
  finder.type = kProcessTypeFileManager;
  finder.signature = kProcessSignatureFileManager;
  t.processes.push_back(self);
  t.processes.push_back(finder);
  if (t.launcherSignature) {
    Process launcher;
    launcher.psn = Allocate(t);
    launcher.name = "Launcher";
    launcher.signature = t.launcherSignature;
    t.processes[0].launcher = launcher.psn;
    t.processes.push_back(launcher);
  }
  t.front = t.self;
}

// Read once and removed, so that programs this one starts do not inherit it.
void TakeLauncherSignature(Table& t) {
  if (const char* launcher = std::getenv(kLauncherVariable)) t.launcherSignature = CodeOf(launcher);
  unsetenv(kLauncherVariable);
}

Table& TheTable() {
  static Table table = [] {
    Table t;
    TakeLauncherSignature(t);
    Init(t);
    return t;
  }();
  return table;
}

bool Same(const ProcessSerialNumber& a, const ProcessSerialNumber& b) {
  return a.highLongOfPSN == b.highLongOfPSN && a.lowLongOfPSN == b.lowLongOfPSN;
}

// The entry for `psn` (kCurrentProcess meaning this one), or null.
Process* Find(const ProcessSerialNumber* psn) {
  Table& t = TheTable();
  if (!psn) return nullptr;
  ProcessSerialNumber wanted = *psn;
  if (wanted.highLongOfPSN == 0 && wanted.lowLongOfPSN == kCurrentProcess) wanted = t.self;
  for (Process& p : t.processes)
    if (Same(p.psn, wanted)) return &p;
  return nullptr;
}

std::string OwnSignatureVariable() {
  const OSType s = kProcessSignatureSelf;
  const char text[] = {char(s >> 24), char(s >> 16), char(s >> 8), char(s), 0};
  return std::string(kLauncherVariable) + "=" + text;
}

OSErr Start(Process& p, const std::vector<std::string>& paths) {
  std::vector<std::vector<std::string>> commands;
  if (!ProcessCommandsFor(p.appPath, paths, &commands)) return connectionInvalid;
  p.waitingToStart = false;
  for (const auto& command : commands) {
    OSErr err = ProcessSpawnDetached(command, {OwnSignatureVariable()});
    if (err != noErr) return err;
  }
  return noErr;
}

bool IsFolder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

bool ProcessCommandsFor(const std::string& appPath, const std::vector<std::string>& paths,
                        std::vector<std::vector<std::string>>* commands) {
  commands->clear();
  DesktopEntry entry;
  if (appPath.size() > 8 && appPath.compare(appPath.size() - 8, 8, ".desktop") == 0 && DesktopEntryRead(appPath, &entry))
    return DesktopEntryCommands(entry, paths, commands);
  std::string program = IsFolder(appPath) ? LSBundleExecutable(appPath) : appPath;
  if (program.empty()) return false;
  std::vector<std::string> command{program};
  command.insert(command.end(), paths.begin(), paths.end());
  commands->push_back(std::move(command));
  return true;
}

OSErr ProcessSpawnDetached(const std::vector<std::string>& argv, const std::vector<std::string>& environment) {
  if (argv.empty()) return paramErr;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  std::vector<std::string> envStrings;
  for (char** e = environ; *e; ++e) envStrings.emplace_back(*e);
  for (const std::string& add : environment) {
    const std::string name = add.substr(0, add.find('=') + 1);
    std::erase_if(envStrings, [&name](const std::string& e) { return e.compare(0, name.size(), name) == 0; });
    envStrings.push_back(add);
  }
  std::vector<char*> env;
  for (std::string& e : envStrings) env.push_back(e.data());
  env.push_back(nullptr);

  // The grandchild reports a failed exec through the pipe; a successful exec closes it.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return connectionInvalid;
  const pid_t child = fork();
  if (child < 0) {
    close(report[0]);
    close(report[1]);
    return connectionInvalid;
  }
  if (child == 0) {
    close(report[0]);
    if (fork() == 0) {
      setsid();
      int null = open("/dev/null", O_RDONLY);
      if (null >= 0) dup2(null, STDIN_FILENO);
      execvpe(args[0], args.data(), env.data());
      int err = errno;
      (void)!write(report[1], &err, sizeof err);
      _exit(127);
    }
    // The grandchild is adopted by init, so nobody has to wait for it.
    _exit(0);
  }
  close(report[1]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int err = 0;
  ssize_t n;
  while ((n = read(report[0], &err, sizeof err)) < 0 && errno == EINTR) {
  }
  close(report[0]);
  return n == 0 ? OSErr(noErr) : OSErr(connectionInvalid);
}

OSErr GetCurrentProcess(ProcessSerialNumber* psn) {
  if (!psn) return paramErr;
  *psn = TheTable().self;
  return noErr;
}

OSErr GetProcessInformation(const ProcessSerialNumber* psn, ProcessInfoRec* info) {
  if (!info || info->processInfoLength != kProcessInfoRecLength) return paramErr;
  Process* p = Find(psn);
  if (!p) return procNotFound;
  if (info->processName) UTF8ToPString(p->name, info->processName, 32);
  info->processNumber = p->psn;
  info->processType = p->type;
  info->processSignature = p->signature;
  info->processMode = 0;
  info->processLocation = nullptr;
  info->processSize = 0;
  info->processFreeMem = 0;
  info->processLauncher = p->launcher;
  info->processLaunchDate = p->launchDate;
  info->processActiveTime = 0;
  if (info->processAppSpec) {
    *info->processAppSpec = FSSpec{};
    if (!p->appPath.empty()) FSpMakeFromPOSIXPath(p->appPath, info->processAppSpec);
  }
  return noErr;
}

OSErr GetNextProcess(ProcessSerialNumber* psn) {
  if (!psn) return paramErr;
  Table& t = TheTable();
  if (psn->highLongOfPSN == 0 && psn->lowLongOfPSN == kNoProcess) {
    *psn = t.processes.front().psn;
    return noErr;
  }
  for (size_t i = 0; i < t.processes.size(); ++i)
    if (Same(t.processes[i].psn, *psn)) {
      if (i + 1 == t.processes.size()) {
        *psn = ProcessSerialNumber{0, kNoProcess};
        return procNotFound;
      }
      *psn = t.processes[i + 1].psn;
      return noErr;
    }
  return paramErr;
}

OSErr SameProcess(const ProcessSerialNumber* a, const ProcessSerialNumber* b, Boolean* result) {
  if (!a || !b || !result) return paramErr;
  Process* x = Find(a);
  Process* y = Find(b);
  if (!x || !y) return procNotFound;
  *result = x == y;
  return noErr;
}

OSErr GetFrontProcess(ProcessSerialNumber* psn) {
  if (!psn) return paramErr;
  *psn = TheTable().front;
  return noErr;
}

OSErr SetFrontProcess(const ProcessSerialNumber* psn) {
  Process* p = Find(psn);
  if (!p) return procNotFound;
  Table& t = TheTable();
  t.front = p->psn;
  if (Same(p->psn, t.self))
    if (WindowRef front = FrontWindow()) SelectWindow(front);
  return noErr;
}

OSErr LaunchApplication(LaunchPBPtr pb) {
  if (!pb || pb->launchBlockID != extendedBlock || pb->launchEPBLength < extendedBlockLen || !pb->launchAppSpec)
    return paramErr;
  std::string path;
  OSErr err = FSpGetPOSIXPath(pb->launchAppSpec, &path);
  if (err != noErr) return err;
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return fnfErr;
  std::vector<std::vector<std::string>> commands;
  if (!ProcessCommandsFor(path, {}, &commands)) return fnfErr;
  Table& t = TheTable();
  Process p;
  p.psn = Allocate(t);
  p.name = FpLastElement(path);
  p.appPath = path;
  p.launcher = t.self;
  p.waitingToStart = true;
  p.launchDate = TickCount();
  t.processes.push_back(p);
  pb->launchProcessSN = p.psn;
  AddEventPollHook(ProcessRunPendingLaunches);
  return noErr;
}

void ExitToShell() {
  ProcessRunPendingLaunches();
  std::exit(0);
}

OSErr GetProcessForSignature(OSType signature, ProcessSerialNumber* psn) {
  if (!psn) return paramErr;
  for (const Process& p : TheTable().processes)
    if (p.signature == signature) {
      *psn = p.psn;
      return noErr;
    }
  return procNotFound;
}

ProcessSerialNumber ProcessAddSender(OSType signature) {
  Table& t = TheTable();
  for (const Process& p : t.processes)
    if (p.signature == signature && p.appPath.empty() && p.type == 'APPL') return p.psn;
  Process p;
  p.psn = Allocate(t);
  p.name = "Sender";
  p.signature = signature;
  t.processes.push_back(p);
  return p.psn;
}

OSErr ProcessOpenDocuments(const ProcessSerialNumber& psn, const std::vector<std::string>& paths) {
  Process* p = Find(&psn);
  if (!p) return procNotFound;
  if (p->appPath.empty() || Same(p->psn, TheTable().self)) return errAEEventNotHandled;
  return Start(*p, paths);
}

void ProcessRunPendingLaunches() {
  for (Process& p : TheTable().processes)
    if (p.waitingToStart) Start(p, {});
}

OSType ProcessLauncherSignature() { return TheTable().launcherSignature; }

void ProcessResetTable() {
  Table& t = TheTable();
  t.launcherSignature = 0;
  TakeLauncherSignature(t);
  Init(t);
}
