#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "QDTestSupport.h"
#include "quickdraw/Fonts.h"
#include "quickdraw/QuickDrawText.h"
#include "toolbox/TextConvert.h"

namespace {

using qdtest::World;

// Bounding box of the non-white pixels (empty when none).
Rect Ink(const World& w) {
  Rect bounds;
  GetPortBounds(w.get(), &bounds);
  Rect ink{32767, 32767, -32767, -32767};
  for (int y = bounds.top; y < bounds.bottom; ++y)
    for (int x = bounds.left; x < bounds.right; ++x)
      if (w.Pixel(x, y) != 0xFFFFFF) {
        ink.top = std::min<SInt16>(ink.top, SInt16(y));
        ink.left = std::min<SInt16>(ink.left, SInt16(x));
        ink.bottom = std::max<SInt16>(ink.bottom, SInt16(y + 1));
        ink.right = std::max<SInt16>(ink.right, SInt16(x + 1));
      }
  return ink;
}

int InkCount(const World& w) {
  int n = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x)
      if (w.Pixel(x, y) != 0xFFFFFF) ++n;
  return n;
}

std::string P(const char* s) { return std::string(1, static_cast<char>(std::strlen(s))) + s; }
ConstStr255Param Ps(const std::string& s) { return reinterpret_cast<ConstStr255Param>(s.data()); }

class Text : public ::testing::Test {
 protected:
  void TearDown() override { SetSystemScriptForLanguage('E'); }
};

TEST_F(Text, DrawnInkStaysInsideTheMeasuredBox) {
  for (Style face : {Style(normal), Style(bold), Style(italic), Style(underline)}) {
    World w(200, 40);
    TextFont(systemFont);
    TextSize(12);
    TextFace(face);
    std::string s = P("Hello, Scan!");
    MoveTo(10, 25);
    DrawString(Ps(s));
    Point pen;
    GetPen(&pen);
    SInt16 width = StringWidth(Ps(s));
    EXPECT_EQ(pen.h, 10 + width) << "face " << int(face);
    FontInfo fi;
    GetFontInfo(&fi);
    Rect ink = Ink(w);
    EXPECT_GE(ink.left, 10 - 1) << "face " << int(face);
    EXPECT_LE(ink.right, 10 + width + 2) << "face " << int(face);
    EXPECT_GE(ink.top, 25 - fi.ascent);
    EXPECT_LE(ink.bottom, 25 + fi.descent);
    EXPECT_GT(ink.right - ink.left, width - 4);
  }
}

TEST_F(Text, PiecesDrawnInTurnEqualTheWhole) {
  World whole(200, 40), pieces(200, 40);
  SetGWorld(whole.get(), nullptr);
  MoveTo(5, 20);
  DrawString(Ps(P("Wendrix")));
  SetGWorld(pieces.get(), nullptr);
  MoveTo(5, 20);
  DrawString(Ps(P("Wen")));
  DrawString(Ps(P("drix")));
  EXPECT_EQ(whole.Picture({{0xFFFFFF, '.'}}), pieces.Picture({{0xFFFFFF, '.'}}));
  EXPECT_EQ(TextWidth("Wendrix", 0, 7), TextWidth("Wen", 0, 3) + TextWidth("drix", 0, 4));
  EXPECT_EQ(CharWidth('W'), TextWidth("W", 0, 1));
}

TEST_F(Text, BoldDrawsMoreInkAndMetricsArePositive) {
  World plain(200, 40);
  MoveTo(5, 20);
  DrawString(Ps(P("Scanner")));
  int plainInk = InkCount(plain);
  World heavy(200, 40);
  TextFace(bold);
  MoveTo(5, 20);
  DrawString(Ps(P("Scanner")));
  EXPECT_GT(InkCount(heavy), plainInk);
  FontInfo fi;
  GetFontInfo(&fi);
  EXPECT_GT(fi.ascent, 5);
  EXPECT_GT(fi.descent, 0);
  EXPECT_GE(fi.leading, 0);
}

TEST_F(Text, TruncationAtTheEndAndInTheMiddle) {
  World w(10, 10);
  std::string full = "Document scanned today.pdf";
  SInt16 fullWidth = TextWidth(full.data(), 0, SInt16(full.size()));
  Str255 s;
  s[0] = static_cast<unsigned char>(full.size());
  std::memcpy(s + 1, full.data(), full.size());
  EXPECT_EQ(TruncString(fullWidth, s, truncEnd), notTruncated);
  for (TruncCode where : {truncEnd, truncMiddle}) {
    for (SInt16 width : {SInt16(fullWidth - 1), SInt16(fullWidth / 2), SInt16(20)}) {
      s[0] = static_cast<unsigned char>(full.size());
      std::memcpy(s + 1, full.data(), full.size());
      ASSERT_EQ(TruncString(width, s, where), truncated);
      std::string got(reinterpret_cast<char*>(s + 1), s[0]);
      EXPECT_LE(StringWidth(s), width);
      size_t dots = got.find('\xC9');
      ASSERT_NE(dots, std::string::npos) << got;
      if (where == truncEnd) {
        EXPECT_EQ(dots, got.size() - 1);
        EXPECT_EQ(full.compare(0, dots, got, 0, dots), 0);
      } else {
        std::string tail = got.substr(dots + 1);
        EXPECT_EQ(full.compare(0, dots, got, 0, dots), 0);
        EXPECT_EQ(full.substr(full.size() - tail.size()), tail);
        EXPECT_LE(static_cast<int>(tail.size()), static_cast<int>(dots)) << "the head keeps the odd character";
      }
    }
  }
  // Nothing longer fits: one more character of the head would overflow.
  s[0] = static_cast<unsigned char>(full.size());
  std::memcpy(s + 1, full.data(), full.size());
  TruncString(fullWidth / 2, s, truncEnd);
  std::string longer(reinterpret_cast<char*>(s + 1), s[0] - 1);
  longer += full[longer.size()];
  longer += '\xC9';
  EXPECT_GT(TextWidth(longer.data(), 0, SInt16(longer.size())), fullWidth / 2);
}

TEST_F(Text, AnEmptyTextStaysEmpty) {
  World w(10, 10);
  Str255 s = {0};
  EXPECT_EQ(TruncString(100, s, truncEnd), notTruncated);
  EXPECT_EQ(s[0], 0);
  char text[1] = {0};
  SInt16 length = 0;
  TruncText(100, text, &length, truncEnd);
  EXPECT_EQ(length, 0);
}

TEST_F(Text, ShiftJISIsNeverCutInsideACharacter) {
  SetSystemScriptForLanguage('J');
  World w(10, 10);
  std::string utf8 = "スキャン結果ファイルabc日本語テキスト";
  std::string sjis;
  ASSERT_TRUE(UTF8ToScript(utf8, &sjis));
  SInt16 fullWidth = TextWidth(sjis.data(), 0, SInt16(sjis.size()));
  for (TruncCode where : {truncEnd, truncMiddle}) {
    for (SInt16 width = 0; width < fullWidth; width += 3) {
      std::string buf = sjis;
      SInt16 length = SInt16(buf.size());
      TruncText(width, buf.data(), &length, where);
      std::string cut = buf.substr(0, static_cast<size_t>(length));
      std::string back;
      EXPECT_TRUE(ScriptToUTF8(cut, &back)) << "width " << width << " cut a character";
      EXPECT_LE(TextWidth(cut.data(), 0, length), std::max<SInt16>(width, 0));
    }
  }
}

TEST_F(Text, JapaneseTextUsesAJapaneseFont) {
  SetSystemScriptForLanguage('J');
  World w(200, 40);
  std::string sjis;
  ASSERT_TRUE(UTF8ToScript("日本", &sjis));
  MoveTo(5, 25);
  DrawText(sjis.data(), 0, SInt16(sjis.size()));
  EXPECT_GT(InkCount(w), 40);
  Str255 name;
  GetFontName(systemFont, name);
  std::string family;
  ASSERT_TRUE(PStringToUTF8(name, &family));
  EXPECT_NE(family.find("IPA"), std::string::npos) << family;
}

TEST_F(Text, LineBreaksFitAndAlwaysAdvance) {
  World w(10, 10);
  struct Case {
    char language;
    const char* utf8;
  } cases[] = {{'E', "The quick brown fox jumps over the lazy dog again and again"},
               {'E', "Supercalifragilisticexpialidocious"},
               {'J', "スキャンした画像をファイルに保存します"}};
  for (const auto& c : cases) {
    SetSystemScriptForLanguage(c.language);
    std::string text;
    ASSERT_TRUE(UTF8ToScript(c.utf8, &text));
    const int limit = 60;
    SInt32 start = 0;
    int lines = 0;
    while (start < SInt32(text.size())) {
      Fixed width = IntToFixed(limit);
      SInt32 offset = 1;
      StyledLineBreak(text.data(), SInt32(text.size()), start, SInt32(text.size()), 0, &width, &offset);
      ASSERT_GT(offset, start) << c.utf8;
      SInt32 visible = VisibleLength(text.data() + start, offset - start);
      if (offset - start > 2) {
        EXPECT_LE(TextWidth(text.data(), SInt16(start), SInt16(visible)), limit) << c.utf8;
      }
      std::string line = text.substr(size_t(start), size_t(offset - start)), back;
      EXPECT_TRUE(ScriptToUTF8(line, &back)) << "line cut inside a character";
      start = offset;
      ASSERT_LT(++lines, 100);
    }
    EXPECT_GT(lines, 1) << c.utf8;
  }
  SetSystemScriptForLanguage('E');
  EXPECT_EQ(VisibleLength(const_cast<char*>("ab  "), 4), 2);
  EXPECT_EQ(GetSysDirection(), 0);
}

// At every width, no Japanese line starts with a closing mark, the long-vowel mark or a small
// kana, and none ends with an opening bracket.
TEST_F(Text, JapaneseLinesKeepPunctuationWithItsWord) {
  SetSystemScriptForLanguage('J');
  World w(10, 10);
  const std::string noStart = "、。，．・：；？！ー）〕］｝〉》」』】ぁぃぅぇぉっゃゅょァィゥェォッャュョ";
  const std::string noEnd = "（〔［｛〈《「『【";
  std::string text;
  ASSERT_TRUE(UTF8ToScript("スキャナのボタン７は、「次のページ」を待っているときにＰＤＦファイルを完成させます。"
                           "それ以外のときは何もしません。（ショート）カット、ジャッジ！",
                           &text));
  const SInt16 whole = TextWidth(text.data(), 0, SInt16(text.size()));
  // From a width that holds the longest run the rules keep together.
  for (int limit = 80; limit < whole; limit += 7) {
    SInt32 start = 0;
    while (start < SInt32(text.size())) {
      Fixed width = IntToFixed(limit);
      SInt32 offset = 1;
      StyledLineBreak(text.data(), SInt32(text.size()), start, SInt32(text.size()), 0, &width, &offset);
      ASSERT_GT(offset, start);
      std::string first, last;
      ASSERT_TRUE(ScriptToUTF8(text.substr(size_t(start), 2), &first));
      ASSERT_TRUE(ScriptToUTF8(text.substr(size_t(offset - 2), 2), &last));
      if (start > 0) {
        EXPECT_EQ(noStart.find(first), std::string::npos) << "width " << limit << " starts a line with " << first;
      }
      if (offset < SInt32(text.size())) {
        EXPECT_EQ(noEnd.find(last), std::string::npos) << "width " << limit << " ends a line with " << last;
      }
      start = offset;
    }
  }
}

TEST_F(Text, FontsByNameAndNumber) {
  SInt16 n = -1;
  GetFNum(Ps(P("Geneva")), &n);
  EXPECT_EQ(n, kFontIDGeneva);
  GetFNum(Ps(P("No Such Font Family")), &n);
  EXPECT_EQ(n, systemFont);
  GetFNum(Ps(P("DejaVu Sans")), &n);
  EXPECT_GE(n, 1024);
  Str255 name;
  GetFontName(n, name);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "DejaVu Sans");
  EXPECT_EQ(GetDefFontSize(), 12);
}

}  // namespace

namespace {

// What a transfer mode does with each pixel: one character per expectation.
struct ModeCase {
  const char* what;
  bool setMode;
  SInt16 mode;
  uint32_t fill, fg, bk;
};

RGBColor Rgb(uint32_t c) { return RGBColor{UInt16(((c >> 16) & 0xFF) * 257), UInt16(((c >> 8) & 0xFF) * 257), UInt16((c & 0xFF) * 257)}; }

// `s` weighted by coverage `a` over `t`, per channel, as antialiased ink lands.
uint32_t Mix(uint32_t s, uint32_t t, uint32_t a) {
  uint32_t out = 0;
  for (int shift : {16, 8, 0}) {
    uint32_t sc = (s >> shift) & 0xFF, tc = (t >> shift) & 0xFF;
    out |= ((sc * a + tc * (255 - a) + 127) / 255) << shift;
  }
  return out;
}

constexpr int kModeW = 30, kModeH = 20;
const Point kModePen = {15, 2};

void Paint(uint32_t fill) {
  Rect all = {0, 0, kModeH, kModeW};
  RGBColor c = Rgb(fill);
  RGBForeColor(&c);
  PaintRect(&all);
}

void DrawSample(const ModeCase& c) {
  Paint(c.fill);
  TextFont(systemFont);
  TextSize(12);
  if (c.setMode) TextMode(c.mode);
  RGBColor fg = Rgb(c.fg), bk = Rgb(c.bk);
  RGBForeColor(&fg);
  RGBBackColor(&bk);
  MoveTo(kModePen.h, kModePen.v);
  DrawString(reinterpret_cast<ConstStr255Param>("\x03" "A b"));
}

const ModeCase kModeCases[] = {
    {"default", false, 0, 0xC08040, 0x000000, 0xFFFFFF},
    {"srcOr", true, srcOr, 0xC08040, 0x102030, 0xFFFFFF},
    {"srcBic", true, srcBic, 0x204060, 0x000000, 0xF0E0D0},
    {"srcCopy", true, srcCopy, 0x204060, 0x000000, 0xFFFF00},
};

TEST_F(Text, TransferModesEveryPixel) {
  // The ink coverage of each pixel, from black drawn over white.
  World ref(kModeW, kModeH);
  DrawSample({"coverage", true, srcOr, 0xFFFFFF, 0x000000, 0xFFFFFF});
  std::vector<uint32_t> coverage;
  int inked = 0;
  for (int y = 0; y < kModeH; ++y)
    for (int x = 0; x < kModeW; ++x) {
      coverage.push_back(255 - (ref.Pixel(x, y) & 0xFF));
      if (coverage.back()) ++inked;
    }
  ASSERT_GT(inked, 20);
  FontInfo info;
  GetFontInfo(&info);
  Rect cells = {SInt16(kModePen.v - info.ascent), kModePen.h, SInt16(kModePen.v + info.descent),
                SInt16(kModePen.h + StringWidth(reinterpret_cast<ConstStr255Param>("\x03" "A b")))};
  ASSERT_LE(cells.right, kModeW);
  ASSERT_GE(cells.top, 1);

  for (const ModeCase& c : kModeCases) {
    World w(kModeW, kModeH);
    DrawSample(c);
    for (int y = 0; y < kModeH; ++y)
      for (int x = 0; x < kModeW; ++x) {
        uint32_t a = coverage[size_t(y) * kModeW + x];
        bool inCell = y >= cells.top && y < cells.bottom && x >= cells.left && x < cells.right;
        uint32_t want = c.mode == srcBic && c.setMode ? Mix(c.bk, c.fill, a)
                        : c.mode == srcCopy && c.setMode ? (inCell ? Mix(c.fg, c.bk, a) : c.fill)
                                                          : Mix(c.fg, c.fill, a);
        ASSERT_EQ(w.Pixel(x, y), want) << c.what << " at " << x << "," << y;
      }
  }
}

TEST_F(Text, PicturesKeepTheTextMode) {
  for (const ModeCase& c : kModeCases) {
    World direct(kModeW, kModeH);
    DrawSample(c);
    World recorder(kModeW, kModeH);
    Rect frame = {0, 0, kModeH, kModeW};
    PicHandle pic = OpenPicture(&frame);
    DrawSample(c);
    ClosePicture();
    World played(kModeW, kModeH);
    TextMode(srcBic);  // the picture starts in srcOr whatever the port's mode
    DrawPicture(pic, &frame);
    KillPicture(pic);
    for (int y = 0; y < kModeH; ++y)
      for (int x = 0; x < kModeW; ++x) ASSERT_EQ(played.Pixel(x, y), direct.Pixel(x, y)) << c.what << " at " << x << "," << y;
  }
}

}  // namespace
