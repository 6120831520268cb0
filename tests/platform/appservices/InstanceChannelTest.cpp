#include "appservices/InstanceChannel.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "AppServicesFixture.h"
#include "appservices/Processes.h"
#include "toolbox/MacErrors.h"
#include "windows/Events.h"

namespace {

// The next high-level event: its ID and the signature of its sender, or {0, 0}.
std::pair<AEEventID, OSType> NextHighLevel() {
  EventRecord record;
  if (!GetNextEvent(highLevelEventMask, &record)) return {0, 0};
  const AppleEvent* event = AECurrentEventOf(CurrentHighLevelEventPayload());
  if (!event) return {0, 0};
  ProcessSerialNumber sender{};
  DescType type;
  Size size;
  AEGetAttributePtr(event, keyAddressAttr, typeProcessSerialNumber, &type, &sender, sizeof sender, &size);
  ProcessInfoRec info{};
  info.processInfoLength = kProcessInfoRecLength;
  GetProcessInformation(&sender, &info);
  const AEEventID id = (UInt32(UInt16(record.where.v)) << 16) | UInt16(record.where.h);
  return {id, info.processSignature};
}

// Runs `body` in a child process while this one serves the channel; the child's status.
template <typename Body>
int InChild(Body body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  int status = 0;
  for (;;) {
    AEPollInstanceChannel();
    if (waitpid(pid, &status, WNOHANG) == pid) break;
    usleep(2000);
  }
  AEPollInstanceChannel();
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class InstanceChannel : public ::testing::Test {
 protected:
  void SetUp() override { FlushEvents(everyEvent, 0); }
  void TearDown() override {
    AEStopListening();
    FlushEvents(everyEvent, 0);
  }
  wxtest::AppServicesRoot mRoot;
};

TEST_F(InstanceChannel, TheFirstInstanceListensAndGetsTheOpenApplicationEventFirst) {
  std::string message;
  ASSERT_EQ(AEClaimSingleInstance(&message), InstanceRole::kFirst) << message;
  // The scratch root makes this path longer than a socket address holds.
  const std::string path = AEInstanceSocketPath();
  EXPECT_GT(path.size(), 107u);
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_TRUE(S_ISSOCK(st.st_mode));
  ASSERT_EQ(stat(path.substr(0, path.find_last_of('/')).c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(NextHighLevel().first, AEEventID(kAEOpenApplication));
  AEStopListening();
  EXPECT_NE(stat(path.c_str(), &st), 0);
}

TEST_F(InstanceChannel, ALaterLaunchHandsOverAReopenFromItsSender) {
  ASSERT_EQ(AEClaimSingleInstance(nullptr), InstanceRole::kFirst);
  NextHighLevel();
  EXPECT_EQ(InChild([] { return AESendReopenToRunningInstance('syui') == noErr ? 0 : 1; }), 0);
  EXPECT_EQ(NextHighLevel(), std::make_pair(AEEventID(kAEReopenApplication), OSType('syui')));
  // A plain second launch claims, finds this one, and hands over as itself.
  EXPECT_EQ(InChild([] { return AEClaimSingleInstance(nullptr) == InstanceRole::kHandedOver ? 0 : 1; }), 0);
  EXPECT_EQ(NextHighLevel(), std::make_pair(AEEventID(kAEReopenApplication), OSType(kProcessSignatureSelf)));
}

TEST_F(InstanceChannel, NobodyListeningIsAnError) {
  EXPECT_EQ(AESendReopenToRunningInstance('syui'), connectionInvalid);
}

TEST_F(InstanceChannel, ASocketLeftByADeadInstanceIsReplaced) {
  const std::string path = AEInstanceSocketPath();
  const std::string folder = path.substr(0, path.find_last_of('/'));
  const int folderFd = open(folder.c_str(), O_PATH | O_DIRECTORY);
  const std::string shortPath = "/proc/self/fd/" + std::to_string(folderFd) + "/wendrix.sock";
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, shortPath.c_str());
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  close(fd);  // bound, never listening: what a crash leaves
  close(folderFd);
  std::string message;
  ASSERT_EQ(AEClaimSingleInstance(&message), InstanceRole::kFirst) << message;
  NextHighLevel();
  EXPECT_EQ(InChild([] { return AESendReopenToRunningInstance('syui') == noErr ? 0 : 1; }), 0);
  EXPECT_EQ(NextHighLevel().first, AEEventID(kAEReopenApplication));
}

TEST_F(InstanceChannel, TwoLaunchesAtOnceMakeOneFirstInstance) {
  // Each child claims; a first one serves until it hears the other, then reports 10; one
  // that handed over reports 20.
  auto launch = [] {
    const InstanceRole role = AEClaimSingleInstance(nullptr);
    if (role == InstanceRole::kHandedOver) return 20;
    if (role != InstanceRole::kFirst) return 1;
    for (int i = 0; i < 2000; ++i) {
      AEPollInstanceChannel();
      for (auto event = NextHighLevel(); event.first != 0; event = NextHighLevel())
        if (event.first == kAEReopenApplication) return 10;
      usleep(2000);
    }
    return 2;
  };
  const pid_t a = fork();
  if (a == 0) _exit(launch());
  const pid_t b = fork();
  if (b == 0) _exit(launch());
  int sa = 0, sb = 0;
  waitpid(a, &sa, 0);
  waitpid(b, &sb, 0);
  ASSERT_TRUE(WIFEXITED(sa) && WIFEXITED(sb));
  EXPECT_EQ(WEXITSTATUS(sa) + WEXITSTATUS(sb), 30) << WEXITSTATUS(sa) << " " << WEXITSTATUS(sb);
}

}  // namespace
