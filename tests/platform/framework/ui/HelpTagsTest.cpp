#include "framework/HelpTags.h"

#include <gtest/gtest.h>

#include <cstring>

#include "FrameworkFixture.h"
#include "framework/LWindow.h"
#include "framework/UWindows.h"

namespace {

class HelpTagsTest : public FrameworkFixture {};

std::string TagText() {
  Str255 text;
  HMCurrentTagText(text);
  return std::string(reinterpret_cast<char*>(text + 1), text[0]);
}

}  // namespace

TEST_F(HelpTagsTest, ATagShowsItsTextUntilHidden) {
  HMHelpContentRec rec{};
  rec.version = kMacHelpVersion;
  rec.absHotRect = Rect{100, 100, 120, 180};
  rec.content[0].contentType = kHMPascalStrContent;
  std::memcpy(rec.content[0].u.tagString, "\x04Scan", 5);
  ASSERT_EQ(HMDisplayTag(&rec), 0);
  EXPECT_EQ(TagText(), "Scan");
  WindowRef tag = GetWindowList();
  ASSERT_NE(tag, nullptr);
  Rect bounds;
  GetWindowBounds(tag, kWindowContentRgn, &bounds);
  EXPECT_GE(bounds.top, 120);  // below the hot rectangle
  HMHideTag();
  EXPECT_EQ(TagText(), "");
  EXPECT_EQ(GetWindowList(), nullptr);
}

TEST_F(HelpTagsTest, ExcludingWindowStructuresLeavesTheRestOfTheDesktop) {
  LWindow* window = LWindow::CreateWindow(310, mApp);
  RgnHandle desk = NewRgn();
  Rect all = {0, 0, 600, 800};
  RectRgn(desk, &all);
  Rect content;
  window->GetGlobalBounds(content);
  Point inside = {static_cast<SInt16>(content.top + 5), static_cast<SInt16>(content.left + 5)};
  UWindows::ExcludeActiveStructures(desk);
  EXPECT_FALSE(PtInRgn(inside, desk));
  EXPECT_TRUE(PtInRgn(Point{590, 790}, desk));
  DisposeRgn(desk);
  delete window;
}
