// The Print dialog with scans from the SANE test device's feeder.
#pragma once

#include "PrintDialogTestEnv.h"
#include "tests/platform/twain/sane/SaneTestConfig.h"

namespace wxapp {

// Scans come from the test device's feeder.
class PrintRunTest : public PrintDialogTest {
 public:
  void SetUp() override {
    PrintDialogTest::SetUp();
    wxsane::UseSaneDocumentSource("Dremlo Model A", wxsane::kSaneTestFeeder);
  }
  void TearDown() override {
    PrintDialogTest::TearDown();
    wxsane::UseSaneDocumentSource("Dremlo Model A", "");
  }
};

}  // namespace wxapp
