#include "appservices/InstanceChannel.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "appservices/Processes.h"
#include "appservices/aeItems.h"
#include "windows/Events.h"
#include "toolbox/FileReplacement.h"
#include "toolbox/Folders.h"
#include "toolbox/MacErrors.h"
#include "toolbox/RecordAccess.h"

namespace {

constexpr char kSocketName[] = "wendrix.sock";
constexpr char kLockName[] = "wendrix.lock";
// A message: signature (u32), length (u32), then the Apple event's flat bytes.
constexpr size_t kHeader = 8;
constexpr size_t kMaxMessage = 64 * 1024;
constexpr int kTimeoutMs = 5000;

int sListener = -1;
std::string sListeningPath;
ino_t sListeningInode = 0;

std::string Folder() {
  std::string folder;
  if (FindFolderPath(kUserDomain, kTemporaryFolderType, kCreateFolder, &folder) != noErr) return std::string();
  // Only this user may reach the socket.
  struct stat st;
  if (stat(folder.c_str(), &st) != 0 || st.st_uid != getuid()) return std::string();
  if ((st.st_mode & 0777) != 0700 && chmod(folder.c_str(), 0700) != 0) return std::string();
  return folder;
}

// The socket's address. A path longer than an address holds is reached through the
// folder's descriptor (/proc/self/fd/N/name), which `folderFd` keeps open until the caller
// has bound or connected.
bool MakeAddress(const std::string& path, sockaddr_un* address, int* folderFd) {
  std::memset(address, 0, sizeof *address);
  address->sun_family = AF_UNIX;
  *folderFd = -1;
  if (path.empty()) return false;
  std::string name = path;
  if (path.size() >= sizeof address->sun_path) {
    const size_t slash = path.find_last_of('/');
    *folderFd = open(path.substr(0, slash).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (*folderFd < 0) return false;
    name = "/proc/self/fd/" + std::to_string(*folderFd) + path.substr(slash);
    if (name.size() >= sizeof address->sun_path) {
      close(*folderFd);
      *folderFd = -1;
      return false;
    }
  }
  std::memcpy(address->sun_path, name.c_str(), name.size() + 1);
  return true;
}

// Closes the folder descriptor MakeAddress may have opened.
struct FolderFd {
  int fd = -1;
  ~FolderFd() {
    if (fd >= 0) close(fd);
  }
};

bool WriteAll(int fd, const UInt8* bytes, size_t size) {
  while (size > 0) {
    ssize_t n = send(fd, bytes, size, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool ReadAll(int fd, UInt8* bytes, size_t size) {
  while (size > 0) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, kTimeoutMs) <= 0) return false;
    ssize_t n = recv(fd, bytes, size, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Connects to the listening instance: the socket, or -1 with errno set.
int Connect(const std::string& path) {
  sockaddr_un address;
  FolderFd folder;
  if (!MakeAddress(path, &address, &folder.fd)) {
    errno = ENAMETOOLONG;
    return -1;
  }
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    int err = errno;
    close(fd);
    errno = err;
    return -1;
  }
  return fd;
}

// Sends `event` from `signature` over `fd`. The receiver acknowledges when it has queued
// the event, or closes the connection when it refuses it; one busy for longer than the
// wait takes the event when it next looks, so that counts as delivered.
OSErr SendOver(int fd, OSType signature, const AppleEvent& event) {
  const std::vector<UInt8> bytes = aeBytes(event);
  std::vector<UInt8> message(kHeader);
  BEPutU32(message.data(), signature);
  BEPutU32(message.data() + 4, static_cast<uint32_t>(bytes.size()));
  message.insert(message.end(), bytes.begin(), bytes.end());
  if (!WriteAll(fd, message.data(), message.size())) return connectionInvalid;
  pollfd p{fd, POLLIN, 0};
  int ready;
  while ((ready = poll(&p, 1, kTimeoutMs)) < 0 && errno == EINTR) {
  }
  if (ready == 0) return noErr;
  UInt8 ack = 1;
  return recv(fd, &ack, 1, 0) == 1 && ack == 0 ? OSErr(noErr) : OSErr(connectionInvalid);
}

OSErr SendReopen(int fd, OSType signature) {
  AppleEvent event;
  OSErr err = AECreateAppleEvent(kCoreEventClass, kAEReopenApplication, nullptr, kAutoGenerateReturnID, kAnyTransactionID, &event);
  if (err == noErr) err = SendOver(fd, signature, event);
  AEDisposeDesc(&event);
  return err;
}

// Takes one message from an accepted connection into the queue.
void Receive(int fd) {
  ucred peer{};
  socklen_t length = sizeof peer;
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0 || peer.uid != getuid()) return;
  UInt8 header[kHeader];
  if (!ReadAll(fd, header, kHeader)) return;
  const OSType signature = BEGetU32(header);
  const size_t size = BEGetU32(header + 4);
  if (size > kMaxMessage) return;
  std::vector<UInt8> bytes(size);
  if (!ReadAll(fd, bytes.data(), size)) return;
  AppleEvent event;
  aeEventParts parts;
  if (aeMake(typeAppleEvent, bytes, &event) != noErr) return;
  if (!aeParseEvent(event, &parts)) {
    AEDisposeDesc(&event);
    return;
  }
  // The sender is who the peer says it is, as a process of this one's table.
  const ProcessSerialNumber sender = ProcessAddSender(signature);
  AEPutAttributePtr(&event, keyAddressAttr, typeProcessSerialNumber, &sender, sizeof sender);
  if (AEPostToSelf(&event) != noErr) AEDisposeDesc(&event);
  const UInt8 ack = 0;
  WriteAll(fd, &ack, 1);
}

void RemoveSocketAtExit() { AEStopListening(); }

// Holds the lock file while a launch decides whether it is the first.
class LaunchLock {
 public:
  explicit LaunchLock(const std::string& folder) {
    mFd = open((folder + "/" + kLockName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (mFd >= 0) {
      while (flock(mFd, LOCK_EX) != 0 && errno == EINTR) {
      }
    }
  }
  ~LaunchLock() {
    if (mFd >= 0) close(mFd);
  }
  LaunchLock(const LaunchLock&) = delete;
  LaunchLock& operator=(const LaunchLock&) = delete;
  bool Held() const { return mFd >= 0; }

 private:
  int mFd = -1;
};

}  // namespace

std::string AEInstanceSocketPath() {
  const std::string folder = Folder();
  return folder.empty() ? std::string() : folder + "/" + kSocketName;
}

OSErr AESendReopenToRunningInstance(OSType senderSignature) {
  int fd = Connect(AEInstanceSocketPath());
  if (fd < 0) return connectionInvalid;
  OSErr err = SendReopen(fd, senderSignature);
  close(fd);
  return err;
}

InstanceRole AEClaimSingleInstance(std::string* message) {
  const std::string folder = Folder();
  const std::string path = folder.empty() ? std::string() : folder + "/" + kSocketName;
  sockaddr_un address;
  FolderFd folderFd;
  if (!MakeAddress(path, &address, &folderFd.fd)) {
    if (message) *message = "the temporary-items folder is unusable for a socket: " + folder;
    return InstanceRole::kFailed;
  }
  LaunchLock lock(folder);
  if (!lock.Held()) {
    if (message) *message = "cannot lock " + folder + "/" + kLockName + ": " + std::strerror(errno);
    return InstanceRole::kFailed;
  }
  if (int fd = Connect(path); fd >= 0) {
    OSType launcher = ProcessLauncherSignature();
    OSErr err = SendReopen(fd, launcher ? launcher : OSType(kProcessSignatureSelf));
    close(fd);
    if (err == noErr) return InstanceRole::kHandedOver;
    // A live instance that refused the event keeps its socket.
    if (message) *message = "the running instance at " + path + " refused the reopen event";
    return InstanceRole::kFailed;
  }
  // Nobody listens: whatever socket is there was left by an instance that died.
  unlink(path.c_str());
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 8) != 0) {
    if (message) *message = "cannot listen on " + path + ": " + std::strerror(errno);
    if (fd >= 0) close(fd);
    return InstanceRole::kFailed;
  }
  chmod(path.c_str(), 0600);
  struct stat st;
  sListeningInode = stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
  sListener = fd;
  sListeningPath = path;
  // The one running instance owns the folder: what killed writers left in it goes now.
  FSRemoveStaleTemps(folder);
  static bool sRegistered = false;
  if (!sRegistered) {
    std::atexit(RemoveSocketAtExit);
    sRegistered = true;
  }
  AddEventPollHook(AEPollInstanceChannel);

  AppleEvent open;
  OSErr err = AECreateAppleEvent(kCoreEventClass, kAEOpenApplication, nullptr, kAutoGenerateReturnID, kAnyTransactionID, &open);
  if (err == noErr) err = AEPostToSelf(&open);
  AEDisposeDesc(&open);
  return InstanceRole::kFirst;
}

void AEStopListening() {
  if (sListener < 0) return;
  close(sListener);
  sListener = -1;
  // Only the socket this process made: a later first instance may have replaced it.
  struct stat st;
  if (stat(sListeningPath.c_str(), &st) == 0 && st.st_ino == sListeningInode) unlink(sListeningPath.c_str());
  sListeningPath.clear();
}

void AEPollInstanceChannel() {
  if (sListener < 0) return;
  for (;;) {
    int fd = accept4(sListener, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return;
    Receive(fd);
    close(fd);
  }
}
