// The shared test helpers against the outside tools they drive.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>

#include "support/ReferenceJpeg.h"
#include "support/TestEnv.h"
#include "support/Xvfb.h"

TEST(Xvfb, ServesAScreenOthersCanOpen) {
  WX_REQUIRE_TOOL("xdpyinfo");
  WX_REQUIRE_XVFB();
  EXPECT_EQ(wxtest::Run("xdpyinfo -display " + wxtest::Xvfb::Get().name() + " >/dev/null"), 0);
  EXPECT_EQ(std::string(getenv("DISPLAY")), wxtest::Xvfb::Get().name());
}

TEST(ReferenceJpeg, RoundTripKeepsSizeAndFlatColour) {
  WX_REQUIRE_TOOL("cjpeg");
  WX_REQUIRE_TOOL("djpeg");
  wxtest::ScratchDir dir;
  const auto flat = wxtest::MakeRGBPicture(24, 16, [](int, int) { return std::array<int, 3>{200, 40, 90}; });
  ASSERT_TRUE(wxtest::CjpegWrite(flat, dir / "flat.jpg", "-quality 95"));
  wxtest::RGBPicture back;
  ASSERT_TRUE(wxtest::DjpegRead(dir / "flat.jpg", &back));
  EXPECT_EQ(back.width, 24);
  EXPECT_EQ(back.height, 16);
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(back.at(5, 7)[c], flat.at(5, 7)[c], 3);
  EXPECT_FALSE(wxtest::DjpegRead(dir / "missing.jpg", &back));
}
