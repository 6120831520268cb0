// A program built without the data source manager: TWAIN is simply unavailable.
#include <gtest/gtest.h>

#include "scanner/TWGlue.h"

namespace {

TEST(NoManagerTest, InitialisingFailsAndEveryMessageIsRefused) {
  TW_IDENTITY app{};
  EXPECT_EQ(1, TWInitialize(&app));
  EXPECT_EQ(-1, TWOpenDSM());
  TW_IDENTITY source{};
  EXPECT_EQ(-1, TWSetDS(&source));
  EXPECT_EQ(-1, TWOpenDS());
  EXPECT_EQ(-1, TWMessageDSM(DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &source));
  EXPECT_EQ(-1, TWSetPixelType(TWPT_RGB));
  EXPECT_EQ(TWRC_NOTDSEVENT, TWEventDS(nullptr, nullptr));
}

}  // namespace
