#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "corefoundation/CoreFoundation.h"
#include "toolbox/TextConvert.h"

namespace {

// Every object a test makes is gone when it ends.
class CFObjects : public ::testing::Test {
 protected:
  void SetUp() override { mLive = CFLiveObjectCount(); }
  void TearDown() override { EXPECT_EQ(CFLiveObjectCount(), mLive); }
  CFIndex mLive = 0;
};

std::string UTF8Of(CFStringRef s) {
  char buffer[512];
  return CFStringGetCString(s, buffer, sizeof buffer, kCFStringEncodingUTF8) ? buffer : "<none>";
}

TEST_F(CFObjects, HoldsCountAndTheLastReleaseFrees) {
  CFStringRef s = CFStringCreateWithCString(nullptr, "abc", kCFStringEncodingUTF8);
  EXPECT_EQ(CFGetRetainCount(s), 1);
  CFRetain(s);
  EXPECT_EQ(CFGetRetainCount(s), 2);
  CFRelease(s);
  EXPECT_EQ(CFLiveObjectCount(), mLive + 1);
  CFRelease(s);
  CFRelease(nullptr);
}

TEST_F(CFObjects, TypeIDsTellTheKindsApart) {
  CFStringRef s = CFSTR("x");
  const UInt8 bytes[] = {1, 2};
  CFDataRef d = CFDataCreate(nullptr, bytes, 2);
  EXPECT_EQ(CFGetTypeID(s), CFStringGetTypeID());
  EXPECT_EQ(CFGetTypeID(d), CFDataGetTypeID());
  EXPECT_NE(CFStringGetTypeID(), CFDataGetTypeID());
  EXPECT_NE(CFDictionaryGetTypeID(), CFStringGetTypeID());
  // A call for one type given another answers as for nothing.
  EXPECT_EQ(CFDataGetLength(reinterpret_cast<CFDataRef>(s)), 0);
  CFRelease(d);
}

TEST_F(CFObjects, ConstantStringsAreSharedAndNeverFreed) {
  EXPECT_EQ(CFSTR("FileID"), CFSTR("FileID"));
  CFRelease(CFSTR("FileID"));
  EXPECT_EQ(UTF8Of(CFSTR("FileID")), "FileID");
}

TEST_F(CFObjects, StringsConvertBetweenUTF8AndTheScripts) {
  struct Case {
    const char* bytes;
    CFStringEncoding encoding;
    const char* utf8;
  };
  const Case cases[] = {
      {"Dremlo Model A", kCFStringEncodingUTF8, "Dremlo Model A"},
      {"caf\x8e", kCFStringEncodingMacRoman, "caf\xc3\xa9"},
      {"\x83\x58\x83\x4c\x83\x83\x83\x69", kCFStringEncodingMacJapanese, "\xe3\x82\xb9\xe3\x82\xad\xe3\x83\xa3\xe3\x83\x8a"},
  };
  for (const Case& c : cases) {
    CFStringRef s = CFStringCreateWithCString(nullptr, c.bytes, c.encoding);
    ASSERT_NE(s, nullptr) << c.bytes;
    EXPECT_EQ(UTF8Of(s), c.utf8);
    char back[64];
    ASSERT_TRUE(CFStringGetCString(s, back, sizeof back, c.encoding));
    EXPECT_STREQ(back, c.bytes);
    CFRelease(s);
  }
  EXPECT_EQ(CFStringCreateWithCString(nullptr, "\xff\xfe", kCFStringEncodingUTF8), nullptr);
}

TEST_F(CFObjects, GetCStringRefusesWhatDoesNotFit) {
  CFStringRef s = CFStringCreateWithCString(nullptr, "caf\xc3\xa9", kCFStringEncodingUTF8);
  char small[5];
  EXPECT_FALSE(CFStringGetCString(s, small, sizeof small, kCFStringEncodingUTF8));
  char six[6];
  EXPECT_TRUE(CFStringGetCString(s, six, sizeof six, kCFStringEncodingUTF8));
  EXPECT_FALSE(CFStringGetCString(s, six, sizeof six, kCFStringEncodingASCII));
  EXPECT_EQ(CFStringGetLength(s), 4);
  Str255 p;
  ASSERT_TRUE(CFStringGetPascalString(s, p, sizeof p, kCFStringEncodingMacRoman));
  EXPECT_EQ(p[0], 4);
  EXPECT_EQ(p[4], 0x8E);
  CFRelease(s);
}

TEST_F(CFObjects, SystemEncodingFollowsTheSystemScript) {
  SetSystemScriptForLanguage('J');
  EXPECT_EQ(CFStringGetSystemEncoding(), kCFStringEncodingMacJapanese);
  SetSystemScriptForLanguage('E');
  EXPECT_EQ(CFStringGetSystemEncoding(), kCFStringEncodingMacRoman);
}

TEST_F(CFObjects, CompareOrdersByCodePoint) {
  struct Case {
    const char* a;
    const char* b;
    CFStringCompareFlags flags;
    CFComparisonResult result;
  };
  const Case cases[] = {
      {"OstrelZenbo_PushScan", "OstrelZenbo_PushScan", 0, kCFCompareEqualTo},
      {"abc", "abd", 0, kCFCompareLessThan},
      {"abc", "ab", 0, kCFCompareGreaterThan},
      {"ABC", "abc", 0, kCFCompareLessThan},
      {"ABC", "abc", kCFCompareCaseInsensitive, kCFCompareEqualTo},
      {"z", "\xc3\xa9", 0, kCFCompareLessThan},
  };
  for (const Case& c : cases) {
    CFStringRef a = CFStringCreateWithCString(nullptr, c.a, kCFStringEncodingUTF8);
    CFStringRef b = CFStringCreateWithCString(nullptr, c.b, kCFStringEncodingUTF8);
    EXPECT_EQ(CFStringCompare(a, b, c.flags), c.result) << c.a << " / " << c.b;
    EXPECT_EQ(CFEqual(a, b), c.result == kCFCompareEqualTo && c.flags == 0);
    CFRelease(a);
    CFRelease(b);
  }
}

TEST_F(CFObjects, DataCopiesRanges) {
  const UInt8 bytes[] = {3, 0, 0, 0, 9};
  CFDataRef d = CFDataCreate(nullptr, bytes, sizeof bytes);
  EXPECT_EQ(CFDataGetLength(d), 5);
  UInt8 out[3] = {0xAA, 0xAA, 0xAA};
  CFDataGetBytes(d, CFRangeMake(2, 3), out);
  EXPECT_EQ(out[2], 9);
  UInt8 untouched[2] = {0xAA, 0xAA};
  CFDataGetBytes(d, CFRangeMake(4, 2), untouched);
  EXPECT_EQ(untouched[0], 0xAA);
  CFRelease(d);
}

TEST_F(CFObjects, DictionariesHoldTheirKeysAndValues) {
  CFStringRef key = CFStringCreateWithCString(nullptr, "DeviceName", kCFStringEncodingUTF8);
  CFStringRef value = CFStringCreateWithCString(nullptr, "Dremlo", kCFStringEncodingUTF8);
  const void* keys[] = {key, CFSTR("FileID")};
  const void* values[] = {value, CFSTR("x")};
  CFDictionaryRef d = CFDictionaryCreate(nullptr, keys, values, 2, &kCFTypeDictionaryKeyCallBacks,
                                         &kCFTypeDictionaryValueCallBacks);
  CFRelease(key);
  CFRelease(value);
  EXPECT_EQ(CFDictionaryGetCount(d), 2);
  // Found by value, not by identity.
  EXPECT_EQ(UTF8Of(static_cast<CFStringRef>(CFDictionaryGetValue(d, CFSTR("DeviceName")))), "Dremlo");
  EXPECT_EQ(CFDictionaryGetValue(d, CFSTR("EventData")), nullptr);
  EXPECT_TRUE(CFDictionaryContainsKey(d, CFSTR("FileID")));
  CFRelease(d);
}

}  // namespace
