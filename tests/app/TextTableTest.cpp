#include "app/CTextTable.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/LDataStream.h"
#include "framework/LWindow.h"
#include "tests/output/DialogTestEnv.h"
#include "toolbox/RecordAccess.h"
#include "toolbox/TextUtils.h"
#include "windows/TestDriver.h"

namespace {

// The layout data of a text table: pane, view, table, traits.
std::vector<UInt8> TableData(SInt16 width, SInt16 height, UInt32 rows, UInt32 cols, SInt16 rowHeight,
                             SInt16 colWidth, ResIDT traits) {
  std::vector<UInt8> d;
  auto put = [&d](UInt32 v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) d.push_back(UInt8(v >> (8 * i)));
  };
  put('ATBL', 4), put(UInt16(width), 2), put(UInt16(height), 2), put(1, 1), put(1, 1);
  for (int i = 0; i < 4; ++i) put(0, 1);
  put(10, 4), put(10, 4), put(0, 4), put(UInt32(-1), 4);                       // at 10,10; default superview
  put(0, 4), put(0, 4), put(0, 4), put(0, 4), put(1, 2), put(1, 2), put(0, 1);  // view
  put(rows, 4), put(cols, 4), put(UInt16(rowHeight), 2), put(UInt16(colWidth), 2), put(256, 4);
  put(UInt16(traits), 2);
  return d;
}

class TextTableTest : public wxtest::DialogTest {
 protected:
  void SetUp() override {
    wxtest::DialogTest::SetUp();
    Rect bounds = {100, 100, 200, 400};
    mWindow = new LWindow(bounds, reinterpret_cast<ConstStr255Param>("\x05Table"), kDocumentWindowClass, 0, mApp);
    mWindow->Show();
  }
  void TearDown() override {
    delete mWindow;
    wxtest::DialogTest::TearDown();
  }

  CTextTable* MakeTable(UInt32 rows, UInt32 cols) {
    std::vector<UInt8> data = TableData(200, 40, rows, cols, 20, 100, 0);
    LDataStream stream(data.data(), SInt32(data.size()));
    LPane::SetDefaultView(mWindow);
    auto* table = new CTextTable(&stream);
    LPane::SetDefaultView(nullptr);
    return table;
  }

  void SetText(CTextTable* table, TableIndexT row, TableIndexT col, const std::string& text) {
    Str255 p;
    PStrFromString(text, p);
    table->SetCellData(STableCell{row, col}, p, sizeof p);
  }

  // Dark pixels inside a cell's frame, and whether every pixel there is white.
  int Ink(CTextTable* table, TableIndexT row, TableIndexT col) {
    mWindow->UpdatePort();
    int width = 0, height = 0;
    std::vector<UInt32> pixels = wxdriver::WindowPixels(mWindow->GetMacWindow(), &width, &height);
    Rect frame;
    EXPECT_TRUE(table->FetchLocalCellFrame(STableCell{row, col}, frame));
    int ink = 0;
    for (int y = frame.top; y < frame.bottom; ++y)
      for (int x = frame.left; x < frame.right; ++x)
        if ((pixels[size_t(y) * width + x] & 0xFFFFFF) != 0xFFFFFF) ++ink;
    return ink;
  }

  LWindow* mWindow = nullptr;
};

TEST_F(TextTableTest, CellsAreWhiteWithTheirTextCutToFit) {
  CTextTable* table = MakeTable(2, 2);
  SetText(table, 1, 1, "Mail");
  SetText(table, 1, 2, "");
  SetText(table, 2, 1, std::string(120, 'W'));  // far wider than its cell
  EXPECT_GT(Ink(table, 1, 1), 0);
  EXPECT_EQ(Ink(table, 1, 2), 0);
  EXPECT_GT(Ink(table, 2, 1), 0);
  EXPECT_EQ(Ink(table, 2, 2), 0) << "the long text ran into the next cell";
  EXPECT_EQ(table->GetTextTraits(), 0);
}

TEST_F(TextTableTest, RemovingEverything) {
  CTextTable* table = MakeTable(0, 1);
  table->RemoveAllRows(true);  // nothing to remove
  TableIndexT rows = 9, cols = 9;
  table->GetTableSize(rows, cols);
  EXPECT_EQ(rows, 0u);
  EXPECT_EQ(cols, 1u);
  table->InsertRows(3, 0);
  table->RemoveAllRows(false);
  table->GetTableSize(rows, cols);
  EXPECT_EQ(rows, 0u);
  table->RemoveAllCols(true);
  table->GetTableSize(rows, cols);
  EXPECT_EQ(cols, 0u);
}

}  // namespace
