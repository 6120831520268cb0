// Volume parameters: a volume is a network one exactly when the mount table serves the file
// system that holds it over a network.
#include "toolbox/VolumeParms.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/TestEnv.h"
#include "toolbox/FileIDTable.h"
#include "toolbox/MacErrors.h"

namespace fs = std::filesystem;

namespace {

struct MountCase {
  const char* name;
  const char* type;
  bool network;
};

class VolumeParms : public ::testing::TestWithParam<MountCase> {
 protected:
  void SetUp() override { setenv("WENDRIX_ROOT", dir.path().c_str(), 1); }
  void TearDown() override { unsetenv("WENDRIX_ROOT"); }
  wxtest::ScratchDir dir;
};

TEST_P(VolumeParms, ServerAddressIsSetForNetworkFileSystemsOnly) {
  const MountCase& c = GetParam();
  SInt16 vRefNum = 0;
  ASSERT_EQ(FidVolumeOf(dir.path().string(), &vRefNum), noErr);
  std::string mountPoint, name;
  ASSERT_EQ(FidVolumeRoot(vRefNum, &mountPoint, &name), noErr);
  fs::create_directories(dir / "proc/self");
  std::ofstream(dir / "proc/self/mounts") << "proc /proc proc rw 0 0\n"
                                          << "/dev/sda1 / ext4 rw 0 0\n"
                                          << "server:/export " << mountPoint << " " << c.type << " rw 0 0\n";
  GetVolParmsInfoBuffer info{};
  info.vMServerAdr = -1;
  HParamBlockRec pb{};
  pb.ioParam.ioVRefNum = vRefNum;
  pb.ioParam.ioBuffer = reinterpret_cast<Ptr>(&info);
  pb.ioParam.ioReqCount = sizeof info;
  ASSERT_EQ(PBHGetVolParmsSync(&pb), noErr);
  EXPECT_EQ(pb.ioParam.ioActCount, SInt32(sizeof info));
  EXPECT_EQ(info.vMServerAdr != 0, c.network);
}

INSTANTIATE_TEST_SUITE_P(Table, VolumeParms,
                         ::testing::Values(MountCase{"Nfs", "nfs", true}, MountCase{"Nfs4", "nfs4", true},
                                           MountCase{"Cifs", "cifs", true}, MountCase{"Smb3", "smb3", true},
                                           MountCase{"Sshfs", "fuse.sshfs", true}, MountCase{"Ext4", "ext4", false},
                                           MountCase{"Tmpfs", "tmpfs", false}, MountCase{"Overlay", "overlay", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VolumeParmsErrors, AnUnknownVolumeIsRefused) {
  GetVolParmsInfoBuffer info{};
  HParamBlockRec pb{};
  pb.ioParam.ioVRefNum = -30000;
  pb.ioParam.ioBuffer = reinterpret_cast<Ptr>(&info);
  pb.ioParam.ioReqCount = sizeof info;
  EXPECT_EQ(PBHGetVolParmsSync(&pb), nsvErr);
}

}  // namespace
