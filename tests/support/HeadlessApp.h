// A headless application over one open resource file, for tests that build windows and
// dialogs and drive them through the framework's test driver.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "framework/LApplication.h"

namespace wxtest {

class HeadlessApp : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Opens the file the layouts come from, the application's own unless a fixture says
  // otherwise: its reference, or -1 with `path` naming what could not be opened.
  virtual SInt16 OpenResources(std::string* path);
  // Registers what the application registers beyond the framework's classes.
  virtual void RegisterClasses() {}

  LApplication* mApp = nullptr;
  SInt16 mResFile = -1;
};

}  // namespace wxtest
