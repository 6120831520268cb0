#include <gtest/gtest.h>

#include "QDTestSupport.h"
#include "framework/UMarchingAnts.h"

namespace {

TEST(UMarchingAnts, FramesInDiagonalStripes) {
  qdtest::World world(10, 9);
  PenNormal();
  UMarchingAnts::UseAntsPattern();
  Rect all{0, 0, 8, 8};
  PaintRect(&all);
  Rect frame{0, 9, 9, 10};  // a one-pixel column: the pattern repeats every eight rows
  FrameRect(&frame);
  PenNormal();
  EXPECT_EQ(world.Picture(), qdtest::Rows({"#####....#", "####...#.#", "###...##.#", "##...###.#", "#...####..",
                                           "...#####..", "..#####...", ".#####...#", ".........#"}));
}

}  // namespace
