#include <gtest/gtest.h>

#include "QDTestSupport.h"
#include "framework/StRegion.h"

namespace {

TEST(StRegion, MasksWhatItHolds) {
  qdtest::World world(6, 2);
  {
    StRegion frame(Rect{0, 0, 2, 6});
    StRegion middle(Rect{0, 2, 2, 4});
    DiffRgn(frame, middle, frame);
    PaintRgn(frame);
    StRegion empty;
    PaintRgn(empty);
  }
  EXPECT_EQ(world.Picture(), qdtest::Rows({"##..##", "##..##"}));
}

}  // namespace
