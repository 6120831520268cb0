#include <gtest/gtest.h>

#include "JpegTestKit.h"
#include "support/TestEnv.h"

using namespace jpgtest;

TEST(JpegWriter, SmokeDecodes) {
  Picture p = MakeScene(64, 48, 3);
  std::vector<uint8_t> out;
  ASSERT_EQ(Encode(p, Settings{}, &out), 0);
  Picture d;
  std::string why;
  ASSERT_TRUE(Decode(out, &d, &why)) << why;
  EXPECT_GT(Psnr(p, d), 30.0);
}
