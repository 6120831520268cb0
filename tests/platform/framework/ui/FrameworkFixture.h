// A headless application with the test layouts open, for tests of windows and controls.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "framework/LApplication.h"
#include "framework/LListener.h"

class FrameworkFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  LApplication* mApp = nullptr;
  SInt16 mResFile = -1;
};

// Records every message it hears.
struct MessageLog : LListener {
  std::vector<MessageT> messages;
  void ListenToMessage(MessageT message, void*) override { messages.push_back(message); }
};
