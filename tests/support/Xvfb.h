// A private X server (Xvfb) for tests that need a real screen: started on first use on a
// display number the server picks itself, stopped when the test program exits.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/TestEnv.h"

namespace wxtest {

class Xvfb {
 public:
  // The program's server, started the first time this is called; ok() is false when Xvfb
  // is missing or did not come up.
  static Xvfb& Get();
  // A server of the caller's own, for a test that ends it under a running program.
  Xvfb();
  ~Xvfb();
  bool ok() const { return mDisplay >= 0; }
  // Ends the server now, as when a user's X session ends.
  void Stop();
  // ":N", what DISPLAY names it by.
  std::string name() const { return ":" + std::to_string(mDisplay); }

  Xvfb(const Xvfb&) = delete;
  Xvfb& operator=(const Xvfb&) = delete;

 private:
  int mPipe = -1;
  int mPid = -1;
  int mDisplay = -1;
};

}  // namespace wxtest

// Skips the current test when Xvfb is not installed, fails it when the server does not
// start, and otherwise points DISPLAY at the private server.
#define WX_REQUIRE_XVFB() \
  do { \
    if (!::wxtest::HaveTool("Xvfb")) GTEST_SKIP() << "'Xvfb' is not installed (scripts/setup installs it)"; \
    ASSERT_TRUE(::wxtest::Xvfb::Get().ok()) << "Xvfb did not start"; \
    setenv("DISPLAY", ::wxtest::Xvfb::Get().name().c_str(), 1); \
  } while (0)
