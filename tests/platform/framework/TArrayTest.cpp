#include "framework/TArray.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> Items(const TArray<int>& a) {
  std::vector<int> out;
  for (ArrayIndexT i = 1; i <= a.GetCount(); ++i) out.push_back(a[i]);
  return out;
}

TArray<int> Make(std::initializer_list<int> values) {
  TArray<int> a;
  for (int v : values) a.AddItem(v);
  return a;
}

}  // namespace

TEST(TArray, AddFetchAndIndexFromOne) {
  TArray<int> a;
  EXPECT_EQ(a.AddItem(10), 1);
  EXPECT_EQ(a.AddItem(20), 2);
  int v = 0;
  EXPECT_TRUE(a.FetchItemAt(1, v));
  EXPECT_EQ(v, 10);
  EXPECT_FALSE(a.FetchItemAt(0, v));
  EXPECT_FALSE(a.FetchItemAt(3, v));
  EXPECT_EQ(v, 10);  // untouched on failure
}

struct RemoveCase {
  ArrayIndexT count, at;
  std::vector<int> expected;
};

class TArrayRemove : public ::testing::TestWithParam<RemoveCase> {};

TEST_P(TArrayRemove, RemovesTheRange) {
  TArray<int> a = Make({1, 2, 3, 4, 5});
  a.RemoveItemsAt(GetParam().count, GetParam().at);
  EXPECT_EQ(Items(a), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Ranges, TArrayRemove,
                         ::testing::Values(RemoveCase{1, 1, {2, 3, 4, 5}}, RemoveCase{2, 4, {1, 2, 3}},
                                           RemoveCase{99, 3, {1, 2}},  // a range running to the end
                                           RemoveCase{TArray<int>::index_Last, 2, {1}},
                                           RemoveCase{1, 6, {1, 2, 3, 4, 5}},  // past the end: nothing
                                           RemoveCase{0, 2, {1, 2, 3, 4, 5}}, RemoveCase{5, 1, {}}));

TEST(TArray, InsertAssignAndFind) {
  TArray<int> a = Make({1, 2});
  EXPECT_EQ(a.InsertItemsAt(2, 2, 7), 2);
  EXPECT_EQ(Items(a), (std::vector<int>{1, 7, 7, 2}));
  EXPECT_EQ(a.InsertItemsAt(1, 100, 9), 5);  // past the end appends
  EXPECT_EQ(a.InsertItemsAt(1, 0, 0), 1);    // before the start prepends
  a.AssignItemsAt(10, 5, 3);                 // clamped to the existing items
  EXPECT_EQ(Items(a), (std::vector<int>{0, 1, 7, 7, 3, 3}));
  EXPECT_EQ(a.FetchIndexOf(7), 3);
  EXPECT_EQ(a.FetchIndexOf(42), TArray<int>::index_Bad);
  a.Remove(7);
  EXPECT_EQ(Items(a), (std::vector<int>{0, 1, 7, 3, 3}));
  a.RemoveAllItems();
  EXPECT_EQ(a.GetCount(), 0);
}

TEST(TArray, KeepsValueCopiesOfRecords) {
  struct Record {
    unsigned char bytes[676];
  };
  TArray<Record> a;
  Record r{};
  r.bytes[675] = 9;
  a.AddItem(r);
  r.bytes[675] = 1;
  Record out{};
  ASSERT_TRUE(a.FetchItemAt(1, out));
  EXPECT_EQ(out.bytes[675], 9);
}

TEST(TArrayIterator, SurvivesRemovalOfTheCurrentItem) {
  TArray<int> a = Make({1, 2, 3, 4, 5});
  TArrayIterator<int> it(a);
  std::vector<int> seen;
  int v;
  while (it.Next(v)) {
    seen.push_back(v);
    if (v == 2) a.Remove(2);           // the current item
    if (v == 3) a.RemoveItemsAt(1, 1); // an item already visited
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(Items(a), (std::vector<int>{3, 4, 5}));
}

TEST(TArrayIterator, SkipsItemsInsertedBehindAndSeesThoseAhead) {
  TArray<int> a = Make({1, 2, 3});
  TArrayIterator<int> it(a);
  std::vector<int> seen;
  int v;
  while (it.Next(v)) {
    seen.push_back(v);
    if (v == 2) {
      a.InsertItemsAt(1, 1, 0);  // behind: not visited
      a.AddItem(4);              // ahead: visited
    }
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4}));
}

TEST(TArrayIterator, WalksBackwardsAndEndsWhenTheArrayDies) {
  auto* a = new TArray<int>(Make({1, 2, 3}));
  TArrayIterator<int> it(*a, TArrayIterator<int>::from_End);
  int v;
  ASSERT_TRUE(it.Previous(v));
  EXPECT_EQ(v, 3);
  a->RemoveItemsAt(1, 3);
  ASSERT_TRUE(it.Previous(v));
  EXPECT_EQ(v, 2);
  delete a;
  EXPECT_FALSE(it.Next(v));
  EXPECT_FALSE(it.Previous(v));
}
