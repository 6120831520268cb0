#include <gtest/gtest.h>

#include <vector>

#include "framework/UCursor.h"
#include "quickdraw/QuickDraw.h"

namespace {

std::vector<UInt16> Shown() { return {QDCurrentCursor()->data, QDCurrentCursor()->data + 16}; }

TEST(UCursor, SetArrowReplacesAnyCursor) {
  Cursor block{};
  for (auto& row : block.data) row = 0xFFFF;
  SetCursor(&block);
  ASSERT_EQ(Shown(), std::vector<UInt16>(16, 0xFFFF));
  UCursor::SetArrow();
  Cursor arrow;
  GetQDGlobalsArrow(&arrow);
  EXPECT_EQ(Shown(), std::vector<UInt16>(arrow.data, arrow.data + 16));
  EXPECT_NE(Shown(), std::vector<UInt16>(16, 0xFFFF));
}

}  // namespace
