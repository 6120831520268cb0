// Writers' hidden temporary files: those a writer that no longer runs left are removed at the
// next write into their folder; those of a running writer, and other names, stay.
#include "toolbox/FileReplacement.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "support/TestEnv.h"
#include "toolbox/FilePaths.h"
#include "toolbox/MacErrors.h"

namespace fs = std::filesystem;

namespace {

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

TEST(WriterTemporaries, OnlyThoseOfWritersNoLongerRunningGoAtTheNextWrite) {
  wxtest::ScratchDir dir;
  const pid_t ended = fork();
  if (ended == 0) _exit(0);
  ASSERT_EQ(waitpid(ended, nullptr, 0), ended);
  const pid_t running = fork();
  if (running == 0)
    for (;;) pause();
  const std::string gone = std::to_string(ended), alive = std::to_string(running);
  const std::set<std::string> stay = {".wx-new-" + alive + "-0", ".wx-new-" + alive + "-job2", ".wx-new-" + gone + "-0.pdf",
                                      ".wx-new-" + gone + "-Job2", ".wx-new-" + gone + "-job", ".wx-new-x-0",
                                      "wx-new-" + gone + "-0", ".wx-new-" + gone, "a.tif"};
  for (const std::string& name : stay) wxtest::WriteBytes(dir / name, {1});
  for (const std::string& name : {".wx-new-" + gone + "-0", ".wx-new-" + gone + "-17", ".wx-new-" + gone + "-job2"})
    wxtest::WriteBytes(dir / name, {1});

  FSSpec target{}, temp{};
  ASSERT_EQ(FpMakeSpec(dir.path().string(), "a.tif", &target), noErr);
  FSReplacement replacement;
  ASSERT_EQ(FSpBeginReplacement(&target, 'test', 'TIFF', &replacement, &temp), noErr);
  EXPECT_EQ(FpLastElement(replacement.temp), ".wx-new-" + std::to_string(getpid()) + "-0");
  FSAbandonReplacement(&replacement);
  kill(running, SIGKILL);
  waitpid(running, nullptr, 0);
  EXPECT_EQ(Names(dir.path()), stay);
}

}  // namespace
