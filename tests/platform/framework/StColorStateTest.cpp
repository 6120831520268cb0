#include "framework/StColorState.h"

#include <gtest/gtest.h>

#include "QDTestSupport.h"

namespace {

const RGBColor kRed = {0xFFFF, 0, 0}, kBlue = {0, 0, 0xFFFF};

TEST(StColorState, PutsTheColoursBackAtTheEndOfTheScope) {
  qdtest::World world(3, 1);
  RGBForeColor(&kRed);
  RGBBackColor(&kBlue);
  {
    StColorState saved;
    StColorState::Normalize();
    Rect left{0, 0, 1, 1}, middle{0, 1, 1, 2};
    PaintRect(&left);   // black
    EraseRect(&middle);  // white
  }
  Rect right{0, 2, 1, 3};
  PaintRect(&right);  // red again
  EXPECT_EQ(world.Picture({{0x000000, '#'}, {0xFFFFFF, '.'}, {0xFF0000, 'r'}}), "#.r");
  RGBColor back;
  GetBackColor(&back);
  EXPECT_EQ(back.blue, 0xFFFF);
  EXPECT_EQ(back.red, 0);
}

}  // namespace
