// The headless application with the test layouts open, for tests of windows and controls.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "framework/LListener.h"
#include "tests/support/HeadlessApp.h"

class FrameworkFixture : public wxtest::HeadlessApp {
 protected:
  SInt16 OpenResources(std::string* path) override;
};

// Records every message it hears.
struct MessageLog : LListener {
  std::vector<MessageT> messages;
  void ListenToMessage(MessageT message, void*) override { messages.push_back(message); }
};
