#include "framework/LBWCursor.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/TestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"

namespace {

TEST(LBWCursor, ShowsItsCursorOrTheArrow) {
  wxtest::ScratchDir dir;
  const std::string path = (dir / "cursors.rsrc").string();
  ASSERT_EQ(CreateResFilePath(path), 0);
  const SInt16 ref = OpenResFilePath(path, fsRdWrPerm);
  ASSERT_GE(ref, 0);
  std::vector<uint8_t> stored(68, 0);
  stored[0] = 0xF0;   // top-left four pixels black
  stored[32] = 0xF0;  // and opaque
  stored[67] = 3;     // hot spot h
  Handle h = nullptr;
  PtrToHand(stored.data(), &h, Size(stored.size()));
  AddResource(h, 'CURS', 130, reinterpret_cast<ConstStr255Param>(""));
  UpdateResFile(ref);
  {
    LBWCursor cursor(130);
    ASSERT_TRUE(cursor.IsValid());
    cursor.Set();
    const Cursor* shown = QDCurrentCursor();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->data[0], 0xF000);
    EXPECT_EQ(shown->mask[0], 0xF000);
    EXPECT_EQ(shown->hotSpot.h, 3);
  }
  CloseResFile(ref);
  LBWCursor missing(131);
  EXPECT_FALSE(missing.IsValid());
  missing.Set();
  Cursor arrow;
  GetQDGlobalsArrow(&arrow);
  EXPECT_EQ(std::vector<UInt16>(QDCurrentCursor()->data, QDCurrentCursor()->data + 16),
            std::vector<UInt16>(arrow.data, arrow.data + 16));
}

}  // namespace
