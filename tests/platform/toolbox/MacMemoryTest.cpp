#include <gtest/gtest.h>

#include <cstring>

#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"

TEST(MacMemory, HandleKeepsContentsAcrossGrowthAndRecovers) {
  Handle h = NewHandleClear(16);
  ASSERT_NE(h, nullptr);
  std::memcpy(*h, "0123456789abcdef", 16);
  SetHandleSize(h, 1 << 20);
  ASSERT_EQ(MemError(), noErr);
  EXPECT_EQ(GetHandleSize(h), 1 << 20);
  EXPECT_EQ(std::memcmp(*h, "0123456789abcdef", 16), 0);
  EXPECT_EQ(RecoverHandle(*h), h);
  DisposeHandle(h);
}

TEST(MacMemory, LockedHandleCannotGrowButStateRestores) {
  Handle h = NewHandle(8);
  SInt8 before = HGetState(h);
  HLock(h);
  EXPECT_TRUE(HGetState(h) & kHandleLockedBit);
  SetHandleSize(h, 4096);
  EXPECT_EQ(MemError(), memLockedErr);
  EXPECT_EQ(GetHandleSize(h), 8);
  SetHandleSize(h, 4);
  EXPECT_EQ(MemError(), noErr);
  HSetState(h, before);
  EXPECT_FALSE(HGetState(h) & kHandleLockedBit);
  DisposeHandle(h);
}

TEST(MacMemory, FailuresReportMemFull) {
  EXPECT_EQ(NewPtr(-1), nullptr);
  EXPECT_EQ(MemError(), memFullErr);
  MemSetTempLimit(100);
  OSErr err = noErr;
  Handle t = TempNewHandle(64, &err);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(TempNewHandle(64, &err), nullptr);
  EXPECT_EQ(err, memFullErr);
  Handle heap = NewHandle(64);  // the heap still has room
  EXPECT_NE(heap, nullptr);
  TempDisposeHandle(t, &err);
  MemSetTempLimit(0);
  DisposeHandle(heap);
  GetHandleSize(nullptr);
  EXPECT_EQ(MemError(), nilHandleErr);
}

TEST(MacMemory, LargeSizesAreNotTruncated) {
  // A size above 2^31 must reach the allocator whole (and fail cleanly if it cannot).
  MemSetHeapLimit(1L << 32);
  Ptr p = NewPtr((1L << 32) + 1);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(MemError(), memFullErr);
  MemSetHeapLimit(0);
  Ptr small = NewPtrClear(3);
  EXPECT_EQ(GetPtrSize(small), 3);
  DisposePtr(small);
}

TEST(MacMemory, TokensStandForAddressesIn32Bits) {
  int a = 0, b = 0;
  uint32_t ta = MemTokenFor(&a);
  uint32_t tb = MemTokenFor(&b);
  EXPECT_NE(ta, 0u);
  EXPECT_NE(ta, tb);
  EXPECT_EQ(MemTokenFor(&a), ta);
  EXPECT_EQ(MemTokenTarget(ta), &a);
  MemTokenRelease(ta);
  EXPECT_EQ(MemTokenTarget(ta), nullptr);
  EXPECT_EQ(MemTokenTarget(0), nullptr);
  EXPECT_EQ(MemTokenTarget(0xFFFFFFFF), nullptr);
  MemTokenRelease(tb);
}
