#include <gtest/gtest.h>

#include <string>
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

// A window object that states one byte of fields but reads a whole window's worth: its
// reads stop at its own end instead of building a window from what follows it.
TEST_F(DamagedLayoutTest, ObjectReadingPastItsLengthFailsBeforeBuilding) {
  const std::vector<UInt8> layout = {
      0x00, 0x01,                                      // version
      'o', 'b', 'j', 'd', 0x00, 0x00, 0x00, 0x01,      // one byte of fields
      'd', 'l', 'o', 'g', 0x00,                        // the title, then nothing of its own
      0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00,  // class, attributes: the next bytes
      0x00, 0x00, 0x00, 0x00, 0x01, 0x2C, 0x01, 0x90,  // a 400 x 300 window
      0x00, 0x32, 0x00, 0x32, 0x7F, 0xFF, 0x7F, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00,
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // default and cancel buttons
      'e', 'n', 'd', '.'};
  LDataStream stream(static_cast<const void*>(layout.data()), static_cast<SInt32>(layout.size()));
  try {
    delete UReanimator::ReadPanes(stream, 301, mApp);
    FAIL() << "the damaged layout built";
  } catch (const LException& e) {
    EXPECT_EQ(e.GetErrorCode(), err_BadLayout);
    EXPECT_NE(std::string(e.what()).find("class 'dlog' reads past its object"), std::string::npos) << e.what();
  }
  EXPECT_EQ(GetWindowList(), nullptr);
}

// An edit field placed at the far end of the coordinate range: its frame ends where the
// port's coordinates end instead of wrapping round.
TEST_F(DamagedLayoutTest, PaneAtTheEndOfTheCoordinatesClampsItsFrame) {
  const std::vector<UInt8> layout = {
      0x00, 0x01,                                      // version
      'o', 'b', 'j', 'd', 0x00, 0x00, 0x00, 0x26,      // 38 bytes of fields
      'e', 'd', 'i', 't',                              // an edit field
      0x00, 0x00, 0x00, 0x07, 0x00, 0x64, 0x00, 0x14,  // pane 7, 100 x 20
      0x01, 0x01, 0x00, 0x00, 0x00, 0x00,              // visible, enabled, no bindings
      0x7F, 0xFF, 0xFF, 0xF0, 0x7F, 0xFF, 0xFF, 0xF0,  // left and top 16 short of the end
      0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF,  // user constant, superview
      0x00, 0x00, 0x00, 0x00, 0xFF, 0x01, 0x00, 0x00,  // no text, traits, 255 characters, box
      'e', 'n', 'd', '.'};
  LDataStream stream(static_cast<const void*>(layout.data()), static_cast<SInt32>(layout.size()));
  LPane* pane = UReanimator::ReadPanes(stream, 302, mApp);
  ASSERT_NE(pane, nullptr);
  Rect frame;
  pane->CalcLocalFrameRect(frame);
  EXPECT_EQ(frame.left, 32767);
  EXPECT_EQ(frame.right, 32767);
  EXPECT_EQ(frame.bottom, 32767);
  pane->Refresh();
  delete pane;
}
