// Sending Apple events, and this process's own queue of received ones.
#include <algorithm>
#include <cstring>
#include <vector>

#include "appservices/AppleEvents.h"
#include "appservices/Processes.h"
#include "appservices/aeItems.h"
#include "windows/Events.h"
#include "toolbox/MacErrors.h"

namespace {

// Received events, owned here until the one after them is taken. Never destroyed, so
// what is still queued at exit stays reachable.
std::vector<AppleEvent*>& Received() {
  static auto& received = *new std::vector<AppleEvent*>;
  return received;
}

AppleEvent* sCurrent = nullptr;

// The process `event` is addressed to, or procNotFound / errAEUnknownAddressType.
OSErr TargetOf(const AppleEvent& event, ProcessSerialNumber* psn) {
  DescType type = typeNull;
  Size size = 0;
  UInt8 data[16];
  OSErr err = AEGetAttributePtr(&event, keyAddressAttr, typeWildCard, &type, data, sizeof data, &size);
  if (err != noErr) return procNotFound;
  if (type == typeProcessSerialNumber && size == sizeof(ProcessSerialNumber)) {
    std::memcpy(psn, data, sizeof *psn);
    ProcessInfoRec info{};
    info.processInfoLength = kProcessInfoRecLength;
    return GetProcessInformation(psn, &info) == noErr ? OSErr(noErr) : OSErr(procNotFound);
  }
  if (type == typeApplSignature && size == 4) {
    OSType signature;
    std::memcpy(&signature, data, 4);
    return GetProcessForSignature(signature, psn);
  }
  return errAEUnknownAddressType;
}

OSType Attribute(const AppleEvent& event, AEKeyword keyword) {
  OSType value = 0;
  DescType type;
  Size size;
  UInt8 bytes[4];
  if (AEGetAttributePtr(&event, keyword, typeType, &type, bytes, 4, &size) == noErr && size == 4)
    value = (OSType(bytes[0]) << 24) | (OSType(bytes[1]) << 16) | (OSType(bytes[2]) << 8) | bytes[3];
  return value;
}

OSErr DocumentPaths(const AppleEvent& event, std::vector<std::string>* paths) {
  AEDesc direct;
  OSErr err = AEGetParamDesc(&event, keyDirectObject, typeWildCard, &direct);
  if (err == errAEDescNotFound) {
    paths->clear();
    return noErr;
  }
  if (err != noErr) return err;
  err = aePathsOfDesc(direct, paths);
  AEDisposeDesc(&direct);
  return err;
}

OSErr OpenWithOpener(const std::vector<std::string>& paths) {
  const char* opener = std::getenv("WX_OPENER");
  const std::string program = opener && *opener ? opener : "xdg-open";
  for (const std::string& path : paths) {
    OSErr err = ProcessSpawnDetached({program, path}, {});
    if (err != noErr) return err;
  }
  return noErr;
}

}  // namespace

OSErr AESend(const AppleEvent* event, AppleEvent* reply, AESendMode sendMode, AESendPriority, SInt32, void*, void*) {
  if (reply) AEInitializeDesc(reply);
  if (!event || event->descriptorType != typeAppleEvent) return errAENotAppleEvent;
  if ((sendMode & 3) != kAENoReply) return errAEUnknownSendMode;
  ProcessSerialNumber target;
  OSErr err = TargetOf(*event, &target);
  if (err != noErr) return err;

  ProcessSerialNumber self, fileManager;
  GetCurrentProcess(&self);
  GetProcessForSignature(kProcessSignatureFileManager, &fileManager);
  Boolean isSelf = false, isFileManager = false;
  SameProcess(&target, &self, &isSelf);
  SameProcess(&target, &fileManager, &isFileManager);
  if (isSelf) {
    // Received, the address names the sender: this process.
    AppleEvent copy;
    err = AEDuplicateDesc(event, &copy);
    if (err == noErr) err = AEPutAttributePtr(&copy, keyAddressAttr, typeProcessSerialNumber, &self, sizeof self);
    if (err == noErr) err = AEPostToSelf(&copy);
    AEDisposeDesc(&copy);
    return err;
  }
  if (Attribute(*event, keyEventClassAttr) != kCoreEventClass || Attribute(*event, keyEventIDAttr) != kAEOpenDocuments)
    return errAEEventNotHandled;
  std::vector<std::string> paths;
  err = DocumentPaths(*event, &paths);
  if (err != noErr) return err;
  return isFileManager ? OpenWithOpener(paths) : ProcessOpenDocuments(target, paths);
}

OSErr AEPostToSelf(AppleEvent* event) {
  if (!event || event->descriptorType != typeAppleEvent) return errAENotAppleEvent;
  const AEEventClass eventClass = Attribute(*event, keyEventClassAttr);
  const AEEventID eventID = Attribute(*event, keyEventIDAttr);
  AEDesc address;
  const bool addressed = AEGetAttributeDesc(event, keyAddressAttr, typeWildCard, &address) == noErr;
  AEDisposeDesc(&address);
  if (!addressed) {
    // An event made here without an address comes from this process.
    ProcessSerialNumber self;
    GetCurrentProcess(&self);
    AEPutAttributePtr(event, keyAddressAttr, typeProcessSerialNumber, &self, sizeof self);
  }
  auto* owned = new AppleEvent(*event);
  AEInitializeDesc(event);
  Received().push_back(owned);
  return PostHighLevelEvent(eventClass, eventID, owned);
}

const AppleEvent* AECurrentEventOf(const void* payload) {
  auto& received = Received();
  auto it = std::find(received.begin(), received.end(), payload);
  if (it == received.end()) return nullptr;
  if (sCurrent && sCurrent != *it) {
    received.erase(std::find(received.begin(), received.end(), sCurrent));
    AEDisposeDesc(sCurrent);
    delete sCurrent;
  }
  sCurrent = *it;
  return sCurrent;
}
