#include <gtest/gtest.h>

#include <vector>

#include "framework/LDialogBox.h"
#include "preview/CPreviewDialog.h"
#include "preview/CStitchDialog.h"

namespace {

TEST(PreviewEntries, ThePreviewAnswersCancelAndWritesNothing) {
  FSSpec folder{};
  unsigned char day = 0;
  long popup = 2;
  TArray<FSSpec> before;
  TArray<FSSpec>* files = &before;
  const MessageT answer = CPreviewDialog::ShowPreviewDialog(1, nullptr, nullptr, nullptr, nullptr, folder, day,
                                                            reinterpret_cast<ConstStr255Param>("\x04" "Scan"), nullptr,
                                                            nullptr, nullptr, nullptr, popup, 6, 'prvw', &files, 0, 0,
                                                            nullptr, nullptr, nullptr, 0, 0, 0);
  EXPECT_EQ(MessageT(901), answer);
  EXPECT_EQ(nullptr, files);
  EXPECT_EQ(2, popup);
}

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
