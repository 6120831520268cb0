// scripts/check-floors against small trees: one that keeps its floors, and one for each way
// of breaking them. Each failure must name the file and line (or the folder) at fault.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TestEnv.h"

namespace {

struct Case {
  const char* tree;
  bool foldersOnly;
  int status;
  std::vector<std::string> says;
};

const Case kCases[] = {
    {"good", false, 0, {}},
    {"upward", false, 1,
     {"platform/base/Base.cpp:2: upward include from platform/base (floor 1) of \"upper/Upper.h\" in platform/upper"}},
    {"sideways", false, 1,
     {"platform/peer/Peer.cpp:1: sideways include from platform/peer (floor 1) of \"base/Base.h\" in platform/base",
      "platform/peer/CMakeLists.txt:1: sideways link from wx_peer (floor 1) to wx_base (floor 1)"}},
    {"cycle", false, 1,
     {"platform/base/CMakeLists.txt:1: upward link from wx_base (floor 1) to wx_upper (floor 2)",
      "library cycle: wx_base -> wx_upper -> wx_base (platform/base/CMakeLists.txt:1, platform/upper/CMakeLists.txt:1)"}},
    {"unlisted", false, 1, {"lib/extra/: holds sources"}},
    {"misdocumented", false, 1,
     {"docs/ARCHITECTURE.md:6: platform/upper shown on floor 3, WX_FLOORS puts it on floor 2",
      "docs/ARCHITECTURE.md: no row for lib (floor 3)"}},
    // What the configure step runs: only the folders.
    {"unlisted", true, 1, {"lib/extra/: holds sources"}},
    {"upward", true, 0, {}},
};

TEST(CheckFloors, FindsEachWayOfBreakingTheFloors) {
  for (const Case& c : kCases) {
    const std::string command = std::string(WX_PYTHON) + " " + (wxtest::SourceDir() / "scripts/check-floors").string() +
                                (c.foldersOnly ? " --folders " : " ") +
                                (wxtest::SourceDir() / "tests/scripts/fixtures" / c.tree).string();
    std::string output;
    EXPECT_EQ(wxtest::Run(command, &output), c.status) << c.tree << ":\n" << output;
    for (const std::string& line : c.says) EXPECT_NE(output.find(line), std::string::npos) << c.tree << ":\n" << output;
    if (c.status == 0) {
      EXPECT_EQ(output, "") << c.tree;
    }
  }
}

}  // namespace
