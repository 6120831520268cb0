#include "framework/LFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "framework/LException.h"
#include "framework/LPreferencesFile.h"
#include "support/TestEnv.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"

namespace {

class LFileTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("WENDRIX_ROOT", mScratch.path().c_str(), 1); }
  void TearDown() override { unsetenv("WENDRIX_ROOT"); }
  FSSpec SpecFor(const std::string& name) {
    FSSpec spec;
    OSErr err = FSpMakeFromPOSIXPath((mScratch.path() / name).string(), &spec);
    EXPECT_TRUE(err == noErr || err == fnfErr);
    return spec;
  }
  wxtest::ScratchDir mScratch;
};

}  // namespace

TEST_F(LFileTest, DataForkRoundTripReplacesTheContent) {
  LFile file(SpecFor("data.bin"));
  file.CreateNewDataFile('CTTX', 'TEXT');
  file.OpenDataFork(fsRdWrPerm);
  const char longer[] = "first content, longer";
  file.WriteDataFork(longer, sizeof longer);
  const char shorter[] = "second";
  EXPECT_EQ(file.WriteDataFork(shorter, sizeof shorter), static_cast<SInt32>(sizeof shorter));
  file.CloseDataFork();
  Handle data = file.ReadDataFork();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(GetHandleSize(data), static_cast<Size>(sizeof shorter));
  EXPECT_EQ(std::memcmp(*data, shorter, sizeof shorter), 0);
  DisposeHandle(data);
  EXPECT_EQ(file.GetDataForkRefNum(), LFile::refNum_Undefined);  // ReadDataFork closed what it opened
}

TEST_F(LFileTest, ErrorsAreThrownAsTheManagersCodes) {
  LFile missing(SpecFor("missing.bin"));
  try {
    missing.OpenDataFork(fsRdPerm);
    FAIL();
  } catch (const LException& ex) {
    EXPECT_EQ(ex.GetErrorCode(), fnfErr);
  }
  LFile file(SpecFor("twice.bin"));
  file.CreateNewDataFile('CTTX', 'TEXT');
  try {
    file.CreateNewDataFile('CTTX', 'TEXT');
    FAIL();
  } catch (const LException& ex) {
    EXPECT_EQ(ex.GetErrorCode(), dupFNErr);
  }
  EXPECT_THROW(file.WriteDataFork("x", 1), LException);  // the fork is not open
}

TEST_F(LFileTest, OpenOrCreateResourceForkMakesOneOnce) {
  LFile file(SpecFor("res.rsrc"));
  SInt16 ref = file.OpenOrCreateResourceFork(fsRdWrPerm, 'CTTX', 'rsrc');
  EXPECT_NE(ref, LFile::refNum_Undefined);
  file.CloseResourceFork();
  EXPECT_EQ(file.GetResourceForkRefNum(), LFile::refNum_Undefined);
  EXPECT_NE(file.OpenResourceFork(fsRdPerm), LFile::refNum_Undefined);
}

TEST_F(LFileTest, PreferencesFileLivesInThePreferencesFolder) {
  LPreferencesFile prefs(reinterpret_cast<const unsigned char*>("\x0A" "Test.prefs"), true);
  prefs.CreateNewDataFile('CTTX', 'TEXT');
  std::string path;
  FSSpec spec;
  prefs.GetSpecifier(spec);
  ASSERT_EQ(FSpGetPOSIXPath(&spec, &path), noErr);
  EXPECT_NE(path.find("/.config/wendrix/Test.prefs"), std::string::npos) << path;
}
