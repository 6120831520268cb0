#include <gtest/gtest.h>

#include <cstdlib>

#include "toolbox/TextConvert.h"
#include "toolbox/TextUtils.h"

namespace {

// A Pascal string of raw bytes.
struct P {
  unsigned char s[256];
  explicit P(std::string_view bytes) { PStrFromString(bytes, s); }
  // From UTF-8 through the system script's converter.
  static P utf8(std::string_view text) {
    std::string bytes;
    EXPECT_TRUE(UTF8ToScript(text, &bytes)) << text;
    return P(bytes);
  }
};

class TextUtils : public ::testing::Test {
 protected:
  void TearDown() override { SetSystemScriptForLanguage('E'); }
};

// "日本a" in Shift-JIS: two two-byte characters, then an ASCII letter. The second
// character's trail byte 0x7B is '{' in ASCII, and 0x5C ('\') is a trail byte of "表".
const std::string kNihonA = "\x93\xFA\x96\x7B" "a";
const std::string kHyou = "\x95\x5C";

}  // namespace

TEST_F(TextUtils, ShiftJISBytesAreClassifiedFromTheStartOfTheText) {
  SetSystemScriptForLanguage('J');
  struct Case {
    std::string text;
    SInt16 offset;
    SInt16 type;
  };
  const Case cases[] = {
      {kNihonA, 0, smFirstByte}, {kNihonA, 1, smLastByte},  {kNihonA, 2, smFirstByte}, {kNihonA, 3, smLastByte},
      {kNihonA, 4, smSingleByte}, {"a" + kHyou, 2, smLastByte}, {"a" + kHyou, 0, smSingleByte},
      {"\xB1\x81", 0, smSingleByte},  // half-width katakana is one byte
      {"\xB1\x81", 1, smFirstByte},   // a lead byte at the end is still a first byte
      {std::string("\0\x88", 2), 1, smFirstByte},  // a single key is asked as byte 2 of {0, key}
      {std::string("\0" "A", 2), 1, smSingleByte},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CharacterByteType(const_cast<char*>(c.text.data()), c.offset, smSystemScript), c.type)
        << "offset " << c.offset << " of " << c.text.size() << " bytes";
  std::string t = "a" + kHyou;
  EXPECT_EQ(CharByte(t.data(), 2), smLastByte) << "the '\\' inside a two-byte character is not a backslash";
  EXPECT_EQ(CharacterByteType(t.data(), 1, smRoman), smSingleByte) << "Roman text has no two-byte characters";
  SetSystemScriptForLanguage('E');
  EXPECT_EQ(CharByte(t.data(), 1), smSingleByte);
}

TEST_F(TextUtils, TruncPStringNeverCutsInsideACharacter) {
  struct Case {
    char language;
    std::string text;
    SInt16 max;
    std::string expected;
  };
  const Case cases[] = {
      {'J', kNihonA, 4, "\x93\xFA\x96\x7B"}, {'J', kNihonA, 3, "\x93\xFA"}, {'J', kNihonA, 1, ""},
      {'J', kNihonA, 5, kNihonA},           {'J', kNihonA, 9, kNihonA},  {'J', "ab" + kHyou, 3, "ab"},
      {'J', "abc", 0, ""},                  {'E', kNihonA, 3, "\x93\xFA\x96"},  // Roman: every byte stands alone
      {'E', "photo-of-the-day", 5, "photo"},
  };
  for (const Case& c : cases) {
    SetSystemScriptForLanguage(c.language);
    P src(c.text);
    Str255 dst;
    TruncPString(dst, src.s, c.max);
    EXPECT_EQ(PStrToString(dst), c.expected) << c.language << " max " << c.max;
    TruncPString(src.s, src.s, c.max);
    EXPECT_EQ(PStrToString(src.s), c.expected) << "in place";
  }
}

TEST_F(TextUtils, EqualStringFoldsCaseAndDiacriticsOnlyWhenAsked) {
  struct Case {
    const char* a;  // UTF-8
    const char* b;
    bool caseSens, diacSens, equal;
  };
  const Case cases[] = {
      {"Scan", "Scan", true, true, true},      {"Scan", "scan", true, true, false},
      {"Scan", "scan", false, true, true},     {"Résumé", "resume", false, true, false},
      {"Résumé", "resume", false, false, true}, {"Résumé", "RESUME", true, false, false},
      {"Résumé", "Resume", true, false, true},  {"ÉTÉ", "été", false, true, true},
      {"Øre", "ore", false, false, true},       {"Æble", "aeble", false, false, false},
      {"abc", "abcd", false, false, false},     {"", "", true, true, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(bool(EqualString(P::utf8(c.a).s, P::utf8(c.b).s, c.caseSens, c.diacSens)), c.equal)
        << c.a << " / " << c.b << " case " << c.caseSens << " diac " << c.diacSens;
}

TEST_F(TextUtils, ShiftJISComparesWholeCharacters) {
  SetSystemScriptForLanguage('J');
  // Full-width "Ａ" and "ａ" fold together; ASCII folds; kana never match a letter.
  EXPECT_TRUE(EqualString(P::utf8("Ａｂ画像").s, P::utf8("ａＢ画像").s, false, false));
  EXPECT_FALSE(EqualString(P::utf8("Ａｂ画像").s, P::utf8("ａＢ画像").s, true, false));
  EXPECT_TRUE(EqualString(P::utf8("scan日本").s, P::utf8("SCAN日本").s, false, false));
  // "ア" (0x83 0x41) and "チ" (0x83 0x60) differ only in a trail byte that is 'A' or '`' in ASCII.
  EXPECT_FALSE(EqualString(P::utf8("ア").s, P::utf8("チ").s, false, false));
  EXPECT_FALSE(EqualString(P::utf8("ア").s, P::utf8("ｱ").s, false, false));
}

TEST_F(TextUtils, CompareStringOrdersIgnoringCaseThenBreaksTies) {
  struct Case {
    const char* a;
    const char* b;
    int sign;
  };
  const Case cases[] = {
      {"KVQR.20240101120000.plist", "KVQR.20240101120001.plist", -1},
      {"apple", "Banana", -1},
      {"été", "ete", 1},
      {"abc", "ABC", 1},
      {"abc", "abc", 0},
      {"ab", "abc", -1},
  };
  for (const Case& c : cases) {
    const SInt16 r = CompareString(P::utf8(c.a).s, P::utf8(c.b).s, nullptr);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " / " << c.b;
    EXPECT_EQ(-CompareString(P::utf8(c.b).s, P::utf8(c.a).s, nullptr), r);
  }
  EXPECT_EQ(CompareText("abc", "abd", 3, 3, nullptr), -1);
  EXPECT_EQ(RelString(P("b").s, P("A").s, false, false), 1);
}

TEST_F(TextUtils, NumbersToAndFromText) {
  struct Case {
    const char* text;
    long value;
  };
  const Case toNumber[] = {{"0", 0},     {"123", 123},         {"-45", -45},  {"+7", 7},
                           {"12ab", 12}, {"abc", 0},           {"", 0},       {"-", 0},
                           {"99999999999", 2147483647}, {"-99999999999", -2147483648L}};
  for (const Case& c : toNumber) {
    long n = -1;
    StringToNum(P(c.text).s, &n);
    EXPECT_EQ(n, c.value) << c.text;
  }
  for (long v : {0L, 7L, -45L, 2147483647L, -2147483648L}) {
    Str255 s;
    NumToString(v, s);
    long back = 0;
    StringToNum(s, &back);
    EXPECT_EQ(back, v);
  }
  Str255 s;
  NumToString(-123, s);
  EXPECT_EQ(PStrToString(s), "-123");
}

TEST_F(TextUtils, MeasurementFollowsTheLocaleTerritory) {
  struct Case {
    const char* lcAll;
    const char* lcMeasurement;
    const char* lang;
    bool metric;
  };
  const Case cases[] = {
      {"", "", "en_US.UTF-8", false}, {"", "", "en_GB.UTF-8", true},   {"", "", "ja_JP.UTF-8", true},
      {"", "de_DE", "en_US.UTF-8", true}, {"en_US", "de_DE", "", false}, {"", "", "C.UTF-8", true},
      {"", "", "", true},             {"", "", "es_US@euro", false},
  };
  for (const Case& c : cases) {
    setenv("LC_ALL", c.lcAll, 1);
    setenv("LC_MEASUREMENT", c.lcMeasurement, 1);
    setenv("LANG", c.lang, 1);
    EXPECT_EQ(bool(IsMetric()), c.metric) << c.lcAll << "|" << c.lcMeasurement << "|" << c.lang;
  }
  unsetenv("LC_ALL");
  unsetenv("LC_MEASUREMENT");
  unsetenv("LANG");
}

TEST_F(TextUtils, PascalAndCStringHelpers) {
  Str255 p;
  CopyCStringToPascal("Plug-Ins", p);
  EXPECT_EQ(PStrToString(p), "Plug-Ins");
  char c[256];
  CopyPascalStringToC(p, c);
  EXPECT_STREQ(c, "Plug-Ins");
  Str31 small;
  PStrFromString(std::string(40, 'x'), small, sizeof small);
  EXPECT_EQ(small[0], 31);
  SetSystemScriptForLanguage('J');
  Str15 tiny;
  PStrFromString("abcdefghijklmn" + kHyou, tiny, sizeof tiny);
  EXPECT_EQ(PStrToString(tiny), "abcdefghijklmn") << "a two-byte character that does not fit is left out";
}
