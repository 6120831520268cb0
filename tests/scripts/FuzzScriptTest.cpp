// scripts/fuzz in a small tree of its own: a fake cmake and two fake fuzz targets, one of
// which has no seeds. The summary must list both, and the status say that one did not run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/TestEnv.h"

namespace {

namespace fs = std::filesystem;

void WriteExecutable(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << text;
  fs::permissions(path, fs::perms::owner_all);
}

TEST(FuzzScript, ASummaryOfEveryTargetAlsoWhenOneDoesNotRun) {
  wxtest::ScratchDir tree;
  const fs::path root = tree.path();
  fs::create_directories(root / "scripts");
  fs::copy_file(fs::path(WX_SOURCE_DIR_DEFAULT) / "scripts/fuzz", root / "scripts/fuzz");
  WriteExecutable(root / "bin/cmake", "#!/bin/sh\nexit 0\n");
  const std::string target = "#!/bin/sh\necho 'cov: 17 ft: 20'\necho 'stat::average_exec_per_sec: 1234'\n";
  WriteExecutable(root / "build/fuzz/tests/fuzz/fuzz_good", target);
  WriteExecutable(root / "build/fuzz/tests/fuzz/fuzz_unseeded", target);
  fs::create_directories(root / "tests/fuzz/corpus/fuzz_good");
  std::string out;
  const int status = wxtest::Run("PATH='" + (root / "bin").string() + ":'\"$PATH\" bash '" +
                                     (root / "scripts/fuzz").string() + "' --time 1 --jobs 2 2>/dev/null",
                                 &out);
  EXPECT_NE(status, 0);
  EXPECT_NE(out.find("fuzz_good"), std::string::npos) << out;
  EXPECT_NE(out.find("1234"), std::string::npos) << out;
  EXPECT_NE(out.find("fuzz_unseeded"), std::string::npos) << out;
  EXPECT_NE(out.find("DID NOT RUN"), std::string::npos) << out;
}

}  // namespace
