#include "toolbox/TextConvert.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct ScriptGuard {
  ~ScriptGuard() { SetSystemScriptForLanguage('E'); }
};

struct ScriptCase {
  ScriptCode script;
  std::string bytes;
  std::string utf8;
};

TEST(TextConvert, ScriptTextRoundTrips) {
  const ScriptCase cases[] = {
      {smRoman, "Plain ASCII", "Plain ASCII"},
      {smRoman, "Caf\x8E \xA5", "Caf\xC3\xA9 \xE2\x80\xA2"},         // é, bullet
      {smRoman, "\xC9", "\xE2\x80\xA6"},                             // ellipsis
      {smJapanese, "\x82\xA0\x93\xFA", "\xE3\x81\x82\xE6\x97\xA5"},  // あ日
      {smJapanese, "a\\b~c", "a\\b~c"},                              // ASCII kept as ASCII
      {smJapanese, "\xB1", "\xEF\xBD\xB1"},                          // half-width katakana
      {smJapanese, "x\xFF", "x\xE2\x80\xA6"},                        // the platform's ellipsis byte
      {smJapanese, "\xFD\x82\xA0\xFE", "\xC2\xA9\xE3\x81\x82\xE2\x84\xA2"},
      {smJapanese, "\x81\x40", "\xE3\x80\x80"},                      // full-width blank
  };
  for (const auto& c : cases) {
    std::string utf8, back;
    ASSERT_TRUE(ScriptToUTF8(c.bytes, &utf8, c.script)) << c.bytes;
    EXPECT_EQ(utf8, c.utf8);
    ASSERT_TRUE(UTF8ToScript(utf8, &back, c.script)) << c.utf8;
    EXPECT_EQ(back, c.bytes);
  }
}

// Every ASCII byte, NUL included, is itself in both scripts and in UTF-8, alone and beside
// text that needs the converters.
TEST(TextConvert, ASCIIIsItselfInEveryScript) {
  std::string ascii;
  for (int b = 0; b < 0x80; ++b) ascii.push_back(static_cast<char>(b));
  const ScriptCase cases[] = {
      {smRoman, ascii, ascii},
      {smJapanese, ascii, ascii},
      {smRoman, ascii + "\x8E", ascii + "\xC3\xA9"},
      {smJapanese, ascii + "\x82\xA0", ascii + "\xE3\x81\x82"},
      {smRoman, "", ""},
  };
  for (const auto& c : cases) {
    std::string utf8 = "stale", back = "stale";
    ASSERT_TRUE(ScriptToUTF8(c.bytes, &utf8, c.script));
    EXPECT_EQ(utf8, c.utf8);
    ASSERT_TRUE(UTF8ToScript(c.utf8, &back, c.script));
    EXPECT_EQ(back, c.bytes);
  }
}

TEST(TextConvert, RefusesWhatTheOtherSideCannotHold) {
  std::string out;
  EXPECT_FALSE(UTF8ToScript("\xE6\x97\xA5", &out, smRoman));  // 日 has no Mac Roman form
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(ScriptToUTF8("\x82", &out, smJapanese));        // lead byte cut off
  EXPECT_FALSE(UTF8ToScript("\xC3", &out, smRoman));           // damaged UTF-8
  EXPECT_FALSE(UTF8ToScript("\xF0\x9F\x98\x80", &out, smJapanese));
}

TEST(TextConvert, SystemScriptFollowsTheLanguageLetter) {
  ScriptGuard guard;
  for (char letter : {'E', 'F', 'G'}) {
    SetSystemScriptForLanguage(letter);
    EXPECT_EQ(GetSystemScript(), smRoman);
  }
  SetSystemScriptForLanguage('J');
  EXPECT_EQ(GetSystemScript(), smJapanese);
  EXPECT_EQ(ResolveScript(smSystemScript), smJapanese);
  EXPECT_EQ(ScriptTextEncoding(smSystemScript), kTextEncodingMacJapanese);
  std::string utf8;
  ASSERT_TRUE(ScriptToUTF8("\x93\xFA", &utf8));
  EXPECT_EQ(utf8, "\xE6\x97\xA5");
}

TEST(TextConvert, PStringsRespectTheirField) {
  Str63 s;
  ASSERT_TRUE(UTF8ToPString("Caf\xC3\xA9", s, sizeof s, smRoman));
  EXPECT_EQ(s[0], 4);
  EXPECT_EQ(s[4], 0x8E);
  std::string utf8;
  ASSERT_TRUE(PStringToUTF8(s, &utf8, smRoman));
  EXPECT_EQ(utf8, "Caf\xC3\xA9");

  EXPECT_TRUE(UTF8ToPString(std::string(63, 'a'), s, sizeof s, smRoman));
  EXPECT_FALSE(UTF8ToPString(std::string(64, 'a'), s, sizeof s, smRoman));
  EXPECT_EQ(s[0], 0);
  // 32 two-byte characters are 64 bytes: one too many for a Str63.
  std::string japanese;
  for (int i = 0; i < 32; ++i) japanese += "\xE3\x81\x82";
  EXPECT_FALSE(UTF8ToPString(japanese, s, sizeof s, smJapanese));
  Str255 big;
  EXPECT_TRUE(UTF8ToPString(japanese, big, sizeof big, smJapanese));
  EXPECT_EQ(big[0], 64);
}

TEST(TextConvert, UTF16RoundTripsAndRefusesLoneSurrogates) {
  const std::string text = "A\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80";  // A é 日 😀
  std::u16string units;
  ASSERT_TRUE(UTF8ToUTF16(text, &units));
  EXPECT_EQ(units, (std::u16string{u'A', u'\u00E9', u'\u65E5', 0xD83D, 0xDE00}));
  std::string back;
  ASSERT_TRUE(UTF16ToUTF8(reinterpret_cast<const UniChar*>(units.data()), units.size(), &back));
  EXPECT_EQ(back, text);

  const UniChar lone[] = {0x41, 0xD800, 0x42};
  EXPECT_FALSE(UTF16ToUTF8(lone, 3, &back));
  const UniChar trailing[] = {0xDC00};
  EXPECT_FALSE(UTF16ToUTF8(trailing, 1, &back));
  EXPECT_FALSE(UTF8ToUTF16("\xED\xA0\x80", &units));  // an encoded surrogate
  EXPECT_FALSE(UTF8ToUTF16("\xC0\x80", &units));      // overlong
}

}  // namespace
