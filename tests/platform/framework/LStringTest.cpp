#include "framework/LStr255.h"

#include <gtest/gtest.h>

#include <string>

TEST(LStr255, AssignAppendAndCutAtCapacity) {
  LStr255 s("abc");
  s += "def";
  s += 'g';
  EXPECT_EQ(s.ToStdString(), "abcdefg");
  std::string big(300, 'x');
  s = big.c_str();
  EXPECT_EQ(s.Length(), 255);
  s.Append("more");
  EXPECT_EQ(s.Length(), 255);
  LStr255 n(SInt32(-1234));
  EXPECT_TRUE(n == "-1234");
  EXPECT_EQ(n.ToNumber(), -1234);
  EXPECT_EQ(LStr255(" 42abc").ToNumber(), 42);
  EXPECT_EQ(LStr255("abc").ToNumber(), 0);
}

TEST(LStr255, FindIsAPlainByteSearch) {
  LStr255 s("Foo.apple.app");
  EXPECT_EQ(s.Find(".app"), 4);
  EXPECT_EQ(s.Find(".app", 5), 10);
  EXPECT_EQ(s.Find(".APP"), 0);  // no case folding
  EXPECT_EQ(s.Find(""), 0);
  EXPECT_EQ(s.Find("Foo.apple.app!"), 0);
  EXPECT_TRUE(s.EndsWith(LStr255(".app")));
  EXPECT_TRUE(s.BeginsWith(LStr255("Foo")));
  s.Remove(10, 200);
  EXPECT_TRUE(s == "Foo.apple");
}

TEST(LStr255, EqualityIsByteExact) {
  EXPECT_TRUE(LStr255("a\x82\xA0") == LStr255("a\x82\xA0"));
  EXPECT_FALSE(LStr255("abc") == LStr255("ABC"));
  EXPECT_FALSE(LStr255("ab") == LStr255("abc"));
  unsigned char withZero[] = {3, 'a', 0, 'b'};
  LStr255 z(withZero);
  EXPECT_EQ(z.Length(), 3);
  EXPECT_TRUE(z == withZero);
  EXPECT_FALSE(z == "a");
}

TEST(LStr255, PascalAndCConversions) {
  Str255 p;
  LString::CToPStr("hello", p);
  EXPECT_EQ(p[0], 5);
  char c[256];
  EXPECT_STREQ(LString::PToCStr(p, c), "hello");
  Str31 shortStr;
  LString::CopyPStr(LStr255(std::string(40, 'y').c_str()), shortStr, sizeof shortStr);
  EXPECT_EQ(shortStr[0], 31);
  LStr255 copy(p);
  LStr255 other = copy;
  other += "!";
  EXPECT_TRUE(copy == "hello");
  EXPECT_TRUE(other == "hello!");
}
