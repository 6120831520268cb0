#include "framework/StColorPenState.h"

#include <gtest/gtest.h>

#include "QDTestSupport.h"

namespace {

TEST(StColorPenState, PutsThePenAndColoursBack) {
  qdtest::World world(6, 3);
  const RGBColor red = {0xFFFF, 0, 0};
  RGBForeColor(&red);
  PenSize(2, 2);
  {
    StColorPenState saved;
    StColorPenState::Normalize();
    Rect frame{0, 0, 3, 3};
    FrameRect(&frame);  // one black pixel wide
  }
  Rect frame{0, 3, 3, 6};
  FrameRect(&frame);  // the 2 x 2 red pen fills the whole 3 x 3 frame
  EXPECT_EQ(world.Picture({{0x000000, '#'}, {0xFFFFFF, '.'}, {0xFF0000, 'r'}}), qdtest::Rows({"###rrr", "#.#rrr", "###rrr"}));
}

}  // namespace
