#include "toolbox/TextUtils.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

bool isLeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

bool isJapanese(ScriptCode script) { return ResolveScript(script) == smJapanese; }

// Mac Roman letters with a diacritic, and their base letter.
struct Accent {
  uint8_t code;
  char base;
};
constexpr Accent kAccents[] = {
    {0x80, 'A'}, {0x81, 'A'}, {0x82, 'C'}, {0x83, 'E'}, {0x84, 'N'}, {0x85, 'O'}, {0x86, 'U'}, {0x87, 'a'},
    {0x88, 'a'}, {0x89, 'a'}, {0x8A, 'a'}, {0x8B, 'a'}, {0x8C, 'a'}, {0x8D, 'c'}, {0x8E, 'e'}, {0x8F, 'e'},
    {0x90, 'e'}, {0x91, 'e'}, {0x92, 'i'}, {0x93, 'i'}, {0x94, 'i'}, {0x95, 'i'}, {0x96, 'n'}, {0x97, 'o'},
    {0x98, 'o'}, {0x99, 'o'}, {0x9A, 'o'}, {0x9B, 'o'}, {0x9C, 'u'}, {0x9D, 'u'}, {0x9E, 'u'}, {0x9F, 'u'},
    {0xAF, 'O'}, {0xBF, 'o'}, {0xCB, 'A'}, {0xCC, 'A'}, {0xCD, 'O'}, {0xD8, 'y'}, {0xD9, 'Y'}, {0xE5, 'A'},
    {0xE6, 'E'}, {0xE7, 'A'}, {0xE8, 'E'}, {0xE9, 'E'}, {0xEA, 'I'}, {0xEB, 'I'}, {0xEC, 'I'}, {0xED, 'I'},
    {0xEE, 'O'}, {0xEF, 'O'}, {0xF1, 'O'}, {0xF2, 'U'}, {0xF3, 'U'}, {0xF4, 'U'},
};

// Mac Roman lower-case letters beyond ASCII, and their capitals.
struct CasePair {
  uint8_t lower, upper;
};
constexpr CasePair kCases[] = {
    {0x87, 0xE7}, {0x88, 0xCB}, {0x89, 0xE5}, {0x8A, 0x80}, {0x8B, 0xCC}, {0x8C, 0x81}, {0x8D, 0x82},
    {0x8E, 0x83}, {0x8F, 0xE9}, {0x90, 0xE6}, {0x91, 0xE8}, {0x92, 0xEA}, {0x93, 0xED}, {0x94, 0xEB},
    {0x95, 0xEC}, {0x96, 0x84}, {0x97, 0xEE}, {0x98, 0xF1}, {0x99, 0xEF}, {0x9A, 0x85}, {0x9B, 0xCD},
    {0x9C, 0xF2}, {0x9D, 0xF4}, {0x9E, 0xF3}, {0x9F, 0x86}, {0xBE, 0xAE}, {0xBF, 0xAF}, {0xCF, 0xCE},
    {0xD8, 0xD9},
};

struct FoldTables {
  uint8_t base[256];
  uint8_t upper[256];
  FoldTables() {
    for (int c = 0; c < 256; ++c) base[c] = upper[c] = static_cast<uint8_t>(c);
    for (int c = 'a'; c <= 'z'; ++c) upper[c] = static_cast<uint8_t>(c - 'a' + 'A');
    for (const Accent& a : kAccents) base[a.code] = static_cast<uint8_t>(a.base);
    for (const CasePair& p : kCases) upper[p.lower] = p.upper;
  }
};
const FoldTables kFold;

// One character's comparison key: a byte, or a whole two-byte character.
uint16_t romanKey(uint8_t c, bool caseSens, bool diacSens) {
  if (!diacSens) c = kFold.base[c];
  if (!caseSens) c = kFold.upper[c];
  return c;
}

uint16_t japaneseKey(uint16_t ch, bool twoByte, bool caseSens) {
  if (caseSens) return ch;
  if (!twoByte) return ch >= 'a' && ch <= 'z' ? ch - 'a' + 'A' : ch;
  // Full-width a-z (0x8281-0x829A) fold onto full-width A-Z (0x8260-0x8279).
  return ch >= 0x8281 && ch <= 0x829A ? ch - 0x21 : ch;
}

std::vector<uint16_t> keys(const uint8_t* s, size_t n, bool caseSens, bool diacSens) {
  std::vector<uint16_t> out;
  const bool japanese = isJapanese(smSystemScript);
  for (size_t i = 0; i < n; ++i) {
    if (!japanese) {
      out.push_back(romanKey(s[i], caseSens, diacSens));
    } else if (isLeadByte(s[i]) && i + 1 < n) {
      out.push_back(japaneseKey(static_cast<uint16_t>((s[i] << 8) | s[i + 1]), true, caseSens));
      ++i;
    } else {
      out.push_back(japaneseKey(s[i], false, caseSens));
    }
  }
  return out;
}

SInt16 relText(const uint8_t* a, size_t an, const uint8_t* b, size_t bn, bool caseSens, bool diacSens) {
  const std::vector<uint16_t> ka = keys(a, an, caseSens, diacSens), kb = keys(b, bn, caseSens, diacSens);
  if (ka == kb) return 0;
  return std::lexicographical_compare(ka.begin(), ka.end(), kb.begin(), kb.end()) ? -1 : 1;
}

SInt16 compareText(const uint8_t* a, size_t an, const uint8_t* b, size_t bn) {
  const SInt16 primary = relText(a, an, b, bn, false, false);
  return primary ? primary : relText(a, an, b, bn, true, true);
}

// How many of the first `maxLength` bytes of `text` hold whole characters.
size_t wholeCharacters(const uint8_t* text, size_t length, size_t maxLength) {
  if (length <= maxLength) return length;
  if (!isJapanese(smSystemScript)) return maxLength;
  size_t i = 0;
  while (i < maxLength) {
    const size_t width = isLeadByte(text[i]) && i + 1 < length ? 2 : 1;
    if (i + width > maxLength) break;
    i += width;
  }
  return i;
}

}  // namespace

SInt16 CharacterByteType(Ptr textBuf, SInt16 textOffset, ScriptCode script) {
  if (!textBuf || textOffset < 0 || !isJapanese(script)) return smSingleByte;
  const auto* t = reinterpret_cast<const uint8_t*>(textBuf);
  SInt16 i = 0;
  while (i < textOffset) i = static_cast<SInt16>(i + (isLeadByte(t[i]) ? 2 : 1));
  if (i > textOffset) return smLastByte;
  return isLeadByte(t[i]) ? smFirstByte : smSingleByte;
}

SInt16 CharByte(Ptr textBuf, SInt16 textOffset) { return CharacterByteType(textBuf, textOffset, smSystemScript); }

Boolean EqualString(ConstStr255Param a, ConstStr255Param b, Boolean caseSens, Boolean diacSens) {
  if (caseSens && diacSens) return a[0] == b[0] && std::memcmp(a + 1, b + 1, a[0]) == 0;
  return relText(a + 1, a[0], b + 1, b[0], caseSens, diacSens) == 0;
}

SInt16 RelString(ConstStr255Param a, ConstStr255Param b, Boolean caseSens, Boolean diacSens) {
  return relText(a + 1, a[0], b + 1, b[0], caseSens, diacSens);
}

SInt16 CompareString(ConstStr255Param a, ConstStr255Param b, Handle) { return compareText(a + 1, a[0], b + 1, b[0]); }

SInt16 CompareText(const void* aPtr, const void* bPtr, SInt16 aLen, SInt16 bLen, Handle) {
  return compareText(static_cast<const uint8_t*>(aPtr), static_cast<size_t>(std::max<SInt16>(aLen, 0)),
                     static_cast<const uint8_t*>(bPtr), static_cast<size_t>(std::max<SInt16>(bLen, 0)));
}

void NumToString(long theNum, Str255 theString) {
  char buf[32];
  const int n = std::snprintf(buf, sizeof buf, "%ld", theNum);
  theString[0] = static_cast<unsigned char>(n);
  std::memcpy(theString + 1, buf, static_cast<size_t>(n));
}

void StringToNum(ConstStr255Param theString, long* theNum) {
  size_t i = 1;
  const size_t end = size_t(theString[0]) + 1;
  bool negative = false;
  if (i < end && (theString[i] == '-' || theString[i] == '+')) negative = theString[i++] == '-';
  long long v = 0;
  for (; i < end && theString[i] >= '0' && theString[i] <= '9'; ++i) v = std::min(v * 10 + (theString[i] - '0'), 1LL << 32);
  v = negative ? -v : v;
  *theNum = static_cast<long>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

void TruncPString(StringPtr destination, ConstStr255Param source, SInt16 maxLength) {
  if (!destination || !source) return;
  const size_t keep = wholeCharacters(source + 1, source[0], static_cast<size_t>(std::max<SInt16>(maxLength, 0)));
  std::memmove(destination + 1, source + 1, keep);
  destination[0] = static_cast<unsigned char>(keep);
}

Boolean IsMetric() {
  std::string locale;
  for (const char* var : {"LC_ALL", "LC_MEASUREMENT", "LANG"})
    if (const char* v = std::getenv(var); v && *v) {
      locale = v;
      break;
    }
  const size_t underscore = locale.find('_');
  if (underscore == std::string::npos) return kTrue;
  const std::string territory = locale.substr(underscore + 1, locale.find_first_of(".@", underscore) - underscore - 1);
  return territory == "US" || territory == "LR" || territory == "MM" ? kFalse : kTrue;
}

std::string PStrToString(ConstStr255Param s) { return std::string(reinterpret_cast<const char*>(s + 1), s[0]); }

void PStrFromString(std::string_view s, StringPtr out, size_t capacity) {
  const size_t room = std::min<size_t>(capacity ? capacity - 1 : 0, 255);
  const size_t keep = wholeCharacters(reinterpret_cast<const uint8_t*>(s.data()), s.size(), room);
  std::memcpy(out + 1, s.data(), keep);
  out[0] = static_cast<unsigned char>(keep);
}

void CopyPascalStringToC(ConstStr255Param src, char* dst) {
  const size_t n = src[0];
  std::memmove(dst, src + 1, n);
  dst[n] = '\0';
}

void CopyCStringToPascal(const char* src, Str255 dst) {
  const size_t n = std::min<size_t>(std::strlen(src), 255);
  std::memmove(dst + 1, src, n);
  dst[0] = static_cast<unsigned char>(n);
}
