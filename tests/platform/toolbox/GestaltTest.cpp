#include <gtest/gtest.h>

#include "toolbox/Gestalt.h"
#include "toolbox/MacErrors.h"

TEST(Gestalt, ReportsALateSystemWithAVectorUnitAndCanBeOverridden) {
  SInt32 v = 0;
  ASSERT_EQ(Gestalt(gestaltSystemVersion, &v), noErr);
  EXPECT_GE(v, 0x1060);
  ASSERT_EQ(Gestalt(gestaltPowerPCProcessorFeatures, &v), noErr);
  EXPECT_TRUE(v & (1 << gestaltPowerPCHasVectorInstructions));
  GestaltSetValue(gestaltSystemVersion, 0x1039);
  Gestalt(gestaltSystemVersion, &v);
  EXPECT_EQ(v, 0x1039);
  GestaltReset();
  Gestalt(gestaltSystemVersion, &v);
  EXPECT_EQ(v, 0x1068);
  EXPECT_EQ(Gestalt('none', &v), gestaltUndefSelectorErr);
}
