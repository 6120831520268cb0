// Every test binary starts here. The test environment (the sample-output folder, the
// source and build trees, the application's resource file, a headless display) is set
// unless whoever runs the test set it already.
#include <gtest/gtest.h>

#include <cstdlib>

extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }

int main(int argc, char** argv) {
  setenv("WX_TEST_OUTPUT", WX_TEST_OUTPUT_DEFAULT, 0);
  setenv("WX_SOURCE_DIR", WX_SOURCE_DIR_DEFAULT, 0);
  setenv("WX_BINARY_DIR", WX_BINARY_DIR_DEFAULT, 0);
  setenv("WX_RESOURCE_FILE", WX_BINARY_DIR_DEFAULT "/share/wendrix/Wendrix.rsrc", 0);
  setenv("WX_DISPLAY", "headless", 0);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
