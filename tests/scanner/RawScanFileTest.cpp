#include <gtest/gtest.h>

#include <filesystem>

#include "ScanTestSupport.h"
#include "scanner/RawScanFile.h"
#include "support/TestEnv.h"
#include "toolbox/Clock.h"
#include "toolbox/MacErrors.h"

namespace wxscan {
namespace {

std::string NameOf(const FSSpec& spec) { return PStrToString(spec.name); }

TEST(RawScanFileTest, NamesComeFromTheTickCountAndATakenNameDrawsAgain) {
  wxtest::ScratchDir temp;
  ClockSetFake(0, 1234567);  // a clock that stands still
  std::vector<std::string> names;
  for (int i = 0; i < 3; ++i) {
    FSSpec spec{};
    SInt16 ref = 0;
    ASSERT_EQ(noErr, RawScanFile_Create(FolderSpec(temp.path()), &spec, &ref));
    FSClose(ref);
    names.push_back(NameOf(spec));
    FInfo info{};
    ASSERT_EQ(noErr, FSpGetFInfo(&spec, &info));
    EXPECT_EQ(kRawScanCreator, info.fdCreator);
    EXPECT_EQ(kRawScanType, info.fdType);
  }
  ClockUseReal();
  EXPECT_EQ((std::vector<std::string>{"tmp34567.dat", "tmp34568.dat", "tmp34569.dat"}), names);
}

TEST(RawScanFileTest, AFolderThatIsGoneIsAnError) {
  wxtest::ScratchDir temp;
  FSSpec folder = FolderSpec(temp.path());
  std::filesystem::remove_all(temp.path());
  FSSpec spec{};
  SInt16 ref = 0;
  EXPECT_NE(noErr, RawScanFile_Create(folder, &spec, &ref));
}

TEST(RawScanFileTest, AnUnsetFolderIsAnErrorAndNothingIsMadeWhereTheProcessStands) {
  wxtest::ScratchDir here;
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(here.path());
  FSSpec spec{};
  SInt16 ref = 0;
  EXPECT_EQ(dirNFErr, RawScanFile_Create(FSSpec{}, &spec, &ref));
  std::filesystem::current_path(before);
  EXPECT_TRUE(std::filesystem::is_empty(here.path()));
}

TEST(RawScanFileTest, OddRowsGetOneZeroByte) {
  wxtest::ScratchDir temp;
  FSSpec spec{};
  SInt16 ref = 0;
  ASSERT_EQ(noErr, RawScanFile_Create(FolderSpec(temp.path()), &spec, &ref));
  const unsigned char odd[3] = {1, 2, 3}, even[2] = {4, 5};
  EXPECT_EQ(noErr, RawScanFile_WriteRow(ref, odd, 3));
  EXPECT_EQ(noErr, RawScanFile_WriteRow(ref, even, 2));
  FSClose(ref);
  EXPECT_EQ((std::vector<unsigned char>{1, 2, 3, 0, 4, 5}), wxtest::ReadBytes(PathOf(spec)));
  EXPECT_EQ(2, RawScanFile_RowBytes(10, 1));
  EXPECT_EQ(2, RawScanFile_RowBytes(9, 1));
  EXPECT_EQ(303, RawScanFile_RowBytes(101, 24));
  EXPECT_EQ(304, RawScanFile_PaddedRowBytes(303));
}

TEST(RawScanFileTest, AFullDiskIsReported) {
  wxtest::ScratchDir temp;
  FSSpec spec{};
  SInt16 ref = 0;
  ASSERT_EQ(noErr, RawScanFile_Create(FolderSpec(temp.path()), &spec, &ref));
  FSTestSetWriteLimit(2);
  const unsigned char row[3] = {1, 2, 3};
  EXPECT_NE(noErr, RawScanFile_WriteRow(ref, row, 3));
  FSTestSetWriteLimit(-1);
  FSClose(ref);
}

}  // namespace
}  // namespace wxscan
