#include <gtest/gtest.h>

#include <vector>

#include "FrameworkFixture.h"
#include "framework/LDataStream.h"
#include "framework/LException.h"
#include "framework/LPane.h"
#include "framework/UReanimator.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"

namespace {

class DamagedLayoutTest : public FrameworkFixture {
 protected:
  std::vector<UInt8> Layout(ResIDT id) {
    Handle h = GetResource('PPob', id);
    EXPECT_NE(h, nullptr);
    return std::vector<UInt8>(reinterpret_cast<UInt8*>(*h), reinterpret_cast<UInt8*>(*h) + GetHandleSize(h));
  }
};

}  // namespace

// Every cut of a good layout, and every byte of it flipped, fails with the framework's
// exception or builds something whole: never a crash, a leak or a window left behind.
TEST_F(DamagedLayoutTest, CutOrFlippedLayoutsFailCleanly) {
  const std::vector<UInt8> good = Layout(300);
  ASSERT_GT(good.size(), 100u);
  auto attempt = [&](const std::vector<UInt8>& bytes) {
    LDataStream stream(static_cast<const void*>(bytes.data()), static_cast<SInt32>(bytes.size()));
    try {
      delete UReanimator::ReadPanes(stream, 300, mApp);
    } catch (const LException&) {
    }
    EXPECT_EQ(GetWindowList(), nullptr);
    EXPECT_TRUE(mApp->GetSubCommanders().empty());
  };
  for (size_t cut = 0; cut < good.size(); ++cut) attempt(std::vector<UInt8>(good.begin(), good.begin() + cut));
  for (size_t at = 0; at < good.size(); ++at) {
    std::vector<UInt8> flipped = good;
    flipped[at] ^= 0xA5;
    attempt(flipped);
  }
}
