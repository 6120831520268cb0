#include <gtest/gtest.h>

#include <vector>

#include "framework/LDialogBox.h"
#include "preview/CStitchDialog.h"

namespace {

struct Caller : LDialogBox {
  Caller() : LDialogBox(Rect{0, 0, 10, 10}, reinterpret_cast<ConstStr255Param>("\x01" "C"), 4, 0, nullptr) {}
  void ListenToMessage(MessageT message, void*) override { heard.push_back(message); }
  std::vector<MessageT> heard;
};

TEST(PreviewEntries, TheStitchEntryTellsItsCallerItClosed) {
  Caller caller;
  unsigned char model[] = "\x0e" "Dremlo Model A";
  EXPECT_EQ(nullptr, CStitchDialog::ShowStitchDialog(6, 1, model, SDimension16{0, 0}, 1, 3, 0, 1, 300, nullptr, 4, 0,
                                                     0, &caller, 0, 0, FSSpec{}, FSSpec{}, nullptr, nullptr, nullptr,
                                                     nullptr, 0, 0, 'JPEG', nullptr));
  EXPECT_EQ(std::vector<MessageT>{'StCl'}, caller.heard);
}

}  // namespace
