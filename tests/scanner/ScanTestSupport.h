// What the scanner tests share: an application host that offers events to the connection,
// a main loop that pumps until the scan ends, and the raw files read back.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/LAttachable.h"
#include "framework/LThread.h"
#include "scanner/CTWAIN.h"
#include "support/TestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/TextUtils.h"
#include "windows/Events.h"

namespace wxscan {

class TestApplication : public LAttachable {};

inline FSSpec FolderSpec(const std::filesystem::path& folder) {
  FSSpec spec{};
  EXPECT_EQ(noErr, FSpMakeFromPOSIXPath(folder.string(), &spec));
  return spec;
}

inline std::filesystem::path PathOf(const FSSpec& spec) {
  std::string path;
  EXPECT_EQ(noErr, FSpGetPOSIXPath(&spec, &path));
  return path;
}

// One pass of the main loop: an event for the attachments, then a turn for each thread.
inline void MainLoopPass(TestApplication& app) {
  EventRecord event{};
  event.what = nullEvent;
  app.ExecuteAttachments(msg_Event, &event);
  LThread::Yield();
}

// Runs the main loop until the connection is done; false when it never ends.
inline bool PumpUntilDone(TestApplication& app, CTWAIN& twain, int passes = 50) {
  for (int i = 0; i < passes && !twain.IsDone(); ++i) MainLoopPass(app);
  return twain.IsDone() != 0;
}

inline size_t FilesIn(const std::filesystem::path& folder) {
  size_t n = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) n += entry.is_regular_file() ? 1 : 0;
  return n;
}

// The raw scan pages ("tmp%05d.dat") left in the temporary folder the preferences name.
inline size_t RawPagesLeft(const FSSpec& tempFolder) {
  size_t n = 0;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(PathOf(tempFolder), ec))
    n += entry.path().extension() == ".dat" && entry.path().filename().string().rfind("tmp", 0) == 0 ? 1 : 0;
  return n;
}

}  // namespace wxscan
