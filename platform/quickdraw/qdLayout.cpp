// Line breaking and truncation over system-script text, measured with the port's font.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <vector>

#include "quickdraw/QuickDrawText.h"
#include "quickdraw/qdPort.h"
#include "quickdraw/qdText.h"
#include "toolbox/TextConvert.h"

namespace {

int Width(const uint8_t* text, int length) { return qdTextWidth(qdCurrentPort(), text, length); }

// The script's ellipsis character.
std::vector<uint8_t> Ellipsis() {
  if (GetSystemScript() == smJapanese) return {0x81, 0x63};
  return {0xC9};
}

bool IsBlank(const uint8_t* text, int at) { return text[at] == ' '; }

// Shift-JIS characters Japanese never sets at the start of a line (closing marks, the
// long-vowel mark, small kana), and those it never leaves at the end (opening brackets).
constexpr uint16_t kNoLineStart[] = {0x8141, 0x8142, 0x8143, 0x8144, 0x8145, 0x8146, 0x8147, 0x8148, 0x8149,
                                     0x815B, 0x816A, 0x816C, 0x816E, 0x8170, 0x8172, 0x8174, 0x8176, 0x8178,
                                     0x817A, 0x829F, 0x82A1, 0x82A3, 0x82A5, 0x82A7, 0x82C1, 0x82E1, 0x82E3,
                                     0x82E5, 0x8340, 0x8342, 0x8344, 0x8346, 0x8348, 0x8362, 0x8383, 0x8385,
                                     0x8387};
constexpr uint16_t kNoLineEnd[] = {0x8169, 0x816B, 0x816D, 0x816F, 0x8171, 0x8173, 0x8175, 0x8177, 0x8179};

template <size_t N>
bool IsOneOf(const uint8_t* text, int at, int end, const uint16_t (&set)[N]) {
  if (end - at != 2) return false;
  const uint16_t c = uint16_t(text[at] << 8 | text[at + 1]);
  return std::find(std::begin(set), std::end(set), c) != std::end(set);
}

// Fits text[0, length) into `width` pixels with an ellipsis at the end or in the middle,
// cutting only between characters. Writes the result into `out`.
SInt16 Truncate(SInt16 width, const uint8_t* text, int length, TruncCode where, std::vector<uint8_t>* out) {
  out->assign(text, text + length);
  if (Width(text, length) <= width) return notTruncated;
  std::vector<uint8_t> ellipsis = Ellipsis();
  std::vector<int> starts = qdCharStarts(text, length);
  int chars = static_cast<int>(starts.size()) - 1;
  auto build = [&](int keep) {
    std::vector<uint8_t> s;
    int head = where == truncMiddle ? (keep + 1) / 2 : keep;
    int tail = keep - head;
    s.insert(s.end(), text, text + starts[head]);
    s.insert(s.end(), ellipsis.begin(), ellipsis.end());
    s.insert(s.end(), text + starts[chars - tail], text + length);
    return s;
  };
  // Width grows with the characters kept, so the longest fitting candidate is found by bisection.
  int lo = 0, hi = chars - 1;
  std::vector<uint8_t> shortest = build(0);
  if (Width(shortest.data(), static_cast<int>(shortest.size())) > width) {
    out->clear();
    return truncated;
  }
  while (lo < hi) {
    int mid = (lo + hi + 1) / 2;
    std::vector<uint8_t> s = build(mid);
    if (Width(s.data(), static_cast<int>(s.size())) <= width) lo = mid;
    else hi = mid - 1;
  }
  *out = build(lo);
  return truncated;
}

}  // namespace

SInt16 TruncText(SInt16 width, Ptr textPtr, SInt16* length, TruncCode truncWhere) {
  if (!textPtr || !length || *length < 0) return truncErr;
  std::vector<uint8_t> out;
  SInt16 result = Truncate(width, reinterpret_cast<const uint8_t*>(textPtr), *length, truncWhere, &out);
  // The result is never longer than the text: an ellipsis replaces at least one character.
  size_t n = std::min(out.size(), static_cast<size_t>(*length));
  if (n) std::memcpy(textPtr, out.data(), n);
  *length = static_cast<SInt16>(n);
  return result;
}

SInt16 TruncString(SInt16 width, Str255 theString, TruncCode truncWhere) {
  if (!theString) return truncErr;
  std::vector<uint8_t> out;
  SInt16 result = Truncate(width, theString + 1, theString[0], truncWhere, &out);
  size_t n = std::min<size_t>(out.size(), 255);
  if (n) std::memcpy(theString + 1, out.data(), n);
  theString[0] = static_cast<unsigned char>(n);
  return result;
}

SInt32 VisibleLength(Ptr textPtr, SInt32 textLen) {
  if (!textPtr || textLen <= 0) return 0;
  auto text = reinterpret_cast<const uint8_t*>(textPtr);
  std::vector<int> starts = qdCharStarts(text, static_cast<int>(textLen));
  int i = static_cast<int>(starts.size()) - 2;
  while (i >= 0 && IsBlank(text, starts[static_cast<size_t>(i)])) --i;
  return i < 0 ? 0 : starts[static_cast<size_t>(i) + 1];
}

// A break may follow a run of blanks or fall on either side of a two-byte character, but
// never where Japanese keeps two characters together.
StyledLineBreakCode StyledLineBreak(Ptr textPtr, SInt32 textLen, SInt32 textStart, SInt32 textEnd, SInt32,
                                    Fixed* textWidth, SInt32* textOffset) {
  auto text = reinterpret_cast<const uint8_t*>(textPtr);
  textEnd = std::min(textEnd, textLen);
  bool lineStart = *textOffset != 0;
  if (!text || textStart >= textEnd) {
    *textOffset = textEnd;
    return smBreakOverflow;
  }
  int available = *textWidth >> 16;
  const uint8_t* run = text + textStart;
  int runLength = static_cast<int>(textEnd - textStart);
  std::vector<int> starts = qdCharStarts(run, runLength);
  int whole = Width(run, runLength);
  if (whole <= available) {
    *textWidth -= IntToFixed(whole);
    *textOffset = textEnd;
    return smBreakOverflow;
  }
  // Walk the characters: the last break opportunity whose text (without trailing blanks) fits.
  int lastBreak = -1, lastFit = 0;
  for (size_t i = 0; i + 1 < starts.size(); ++i) {
    int at = starts[i], next = starts[i + 1];
    bool twoByte = next - at == 2;
    int visible = VisibleLength(reinterpret_cast<Ptr>(const_cast<uint8_t*>(run)), next);
    if (Width(run, visible) > available) break;
    lastFit = next;
    bool blank = IsBlank(run, at);
    bool nextBlank = next < runLength && IsBlank(run, next);
    bool nextTwoByte = next < runLength && qdIsLeadByte(run[next]);
    bool kept = IsOneOf(run, at, next, kNoLineEnd) ||
                (i + 2 < starts.size() && IsOneOf(run, next, starts[i + 2], kNoLineStart));
    if (((blank && !nextBlank) || twoByte || nextTwoByte) && !kept) lastBreak = next;
  }
  // Blanks after the break point belong to this line.
  if (lastBreak > 0) {
    while (lastBreak < runLength && IsBlank(run, lastBreak)) ++lastBreak;
    *textOffset = textStart + lastBreak;
    return smBreakWord;
  }
  if (!lineStart) {
    *textOffset = textStart;
    return smBreakWord;
  }
  // Nothing fits at a word: cut at a character, always taking at least one.
  if (lastFit == 0) lastFit = starts.size() > 1 ? starts[1] : runLength;
  *textOffset = textStart + lastFit;
  return smBreakChar;
}
