#include <gtest/gtest.h>

#include <fstream>

#include "cfm/CodeFragments.h"
#include "cfm/PlugInEntry.h"
#include "support/TestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"

namespace {

FSSpec SpecOf(const std::string& path) {
  FSSpec spec{};
  FSpMakeFromPOSIXPath(path, &spec);
  return spec;
}

unsigned char NeverAbort() { return 0; }

TEST(CodeFragmentsTest, LoadsAPlugInAndHandsItTheHostServices) {
  FSSpec spec = SpecOf(WX_TEST_PLUGIN_PATH);
  CFragConnectionID connection = nullptr;
  Ptr main = nullptr;
  Str255 error;
  ASSERT_EQ(noErr, GetDiskFragment(&spec, 0, kCFragGoesToEOF, nullptr, kLoadCFrag, &connection, &main, error));
  ASSERT_NE(nullptr, connection);
  ASSERT_NE(nullptr, main);
  // The plug-in calls the abort routine through its token: that needs the host services.
  unsigned char block[1532] = {};
  uint32_t abort = MemTokenFor(reinterpret_cast<void*>(&NeverAbort));
  BEPutU32(block + 4, abort);
  long data = 0;
  short result = 99;
  reinterpret_cast<PlugInEntryProc>(main)(4, block, &data, &result);
  EXPECT_EQ(0, result);
  MemTokenRelease(abort);
  EXPECT_EQ(noErr, CloseConnection(&connection));
  EXPECT_EQ(nullptr, connection);
  EXPECT_EQ(cfragConnectionIDErr, CloseConnection(&connection));
}

TEST(CodeFragmentsTest, RefusesWhatIsNotAWholeSharedObject) {
  wxtest::ScratchDir scratch;
  std::ofstream(scratch / "text") << "not code";
  CFragConnectionID connection = nullptr;
  Ptr main = nullptr;
  Str255 error;
  FSSpec text = SpecOf((scratch / "text").string());
  EXPECT_EQ(cfragNoLibraryErr, GetDiskFragment(&text, 0, kCFragGoesToEOF, nullptr, kLoadCFrag, &connection, &main, error));
  EXPECT_GT(error[0], 0);
  EXPECT_EQ(nullptr, connection);
  FSSpec plugin = SpecOf(WX_TEST_PLUGIN_PATH);
  EXPECT_EQ(cfragFragmentFormatErr, GetDiskFragment(&plugin, 16, kCFragGoesToEOF, nullptr, kLoadCFrag, &connection, &main, error));
  FSSpec missing = SpecOf((scratch / "missing").string());
  EXPECT_NE(noErr, GetDiskFragment(&missing, 0, kCFragGoesToEOF, nullptr, kLoadCFrag, &connection, &main, error));
}

}  // namespace
