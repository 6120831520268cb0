#include "output/hub/CNumbering.h"

#include <gtest/gtest.h>

namespace {

TEST(CNumbering, CountsInFourDigitLevels) {
  CNumbering n;
  EXPECT_EQ(n.GetNumber(), "0000");
  EXPECT_EQ(n.GetNextNumber(), "0001");
  EXPECT_EQ(n.GetNumber(), "0001");
  for (int i = 2; i < 9999; ++i) n.GetNextNumber();
  EXPECT_EQ(n.GetNextNumber(), "9999");
  EXPECT_EQ(n.GetNextNumber(), "00010000");
  EXPECT_EQ(n.GetNextNumber(), "00010001");
  for (int i = 2; i <= 9999; ++i) n.GetNextNumber();
  EXPECT_EQ(n.GetNumber(), "00019999");
  EXPECT_EQ(n.GetNextNumber(), "00020000");
}

}  // namespace
