#include "toolbox/TextConvert.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace {

ScriptCode gSystemScript = smRoman;

// One converter per direction, opened on first use and reset before every conversion.
// Threads are cooperative, so a converter is never used by two callers at once.
struct Converter {
  const char* from;
  const char* to;
  iconv_t cd = reinterpret_cast<iconv_t>(-1);
};

Converter gRomanIn{"MACINTOSH", "UTF-8"};
Converter gRomanOut{"UTF-8", "MACINTOSH"};
// Windows-31J keeps 0x5C and 0x7E as ASCII, so a backslash or tilde survives the trip.
Converter gJapaneseIn{"CP932", "UTF-8"};
Converter gJapaneseOut{"UTF-8", "CP932"};

bool RunIconv(Converter& c, std::string_view in, std::string* out) {
  if (c.cd == reinterpret_cast<iconv_t>(-1)) {
    c.cd = iconv_open(c.to, c.from);
    if (c.cd == reinterpret_cast<iconv_t>(-1)) return false;
  }
  iconv(c.cd, nullptr, nullptr, nullptr, nullptr);
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char buffer[512];
  while (srcLeft > 0) {
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    size_t r = iconv(c.cd, &src, &srcLeft, &dst, &dstLeft);
    out->append(buffer, static_cast<size_t>(dst - buffer));
    if (r == static_cast<size_t>(-1) && errno != E2BIG) return false;
  }
  char* dst = buffer;
  size_t dstLeft = sizeof buffer;
  if (iconv(c.cd, nullptr, nullptr, &dst, &dstLeft) == static_cast<size_t>(-1)) return false;
  out->append(buffer, static_cast<size_t>(dst - buffer));
  return true;
}

// Single bytes of the platform's Japanese encoding that Windows-31J leaves undefined.
struct MacJapaneseExtra {
  unsigned char byte;
  const char* utf8;
};
constexpr MacJapaneseExtra kMacJapaneseExtras[] = {
    {0xA0, "\xC2\xA0"},          // no-break space
    {0xFD, "\xC2\xA9"},          // copyright sign
    {0xFE, "\xE2\x84\xA2"},      // trade mark sign
    {0xFF, "\xE2\x80\xA6"},      // horizontal ellipsis
};

bool IsShiftJISLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

const char* MacJapaneseExtraFor(unsigned char b) {
  for (const auto& e : kMacJapaneseExtras)
    if (e.byte == b) return e.utf8;
  return nullptr;
}

bool JapaneseToUTF8(std::string_view in, std::string* out) {
  size_t runStart = 0;
  size_t i = 0;
  while (i < in.size()) {
    auto b = static_cast<unsigned char>(in[i]);
    if (IsShiftJISLead(b)) {
      i += 2;
      continue;
    }
    const char* extra = MacJapaneseExtraFor(b);
    if (!extra) {
      ++i;
      continue;
    }
    if (!RunIconv(gJapaneseIn, in.substr(runStart, i - runStart), out)) return false;
    out->append(extra);
    runStart = ++i;
  }
  if (runStart >= in.size()) return true;
  return RunIconv(gJapaneseIn, in.substr(runStart), out);
}

bool UTF8ToJapanese(std::string_view in, std::string* out) {
  size_t runStart = 0;
  size_t i = 0;
  while (i < in.size()) {
    const MacJapaneseExtra* hit = nullptr;
    for (const auto& e : kMacJapaneseExtras)
      if (in.substr(i).starts_with(e.utf8)) hit = &e;
    if (!hit) {
      ++i;
      continue;
    }
    if (!RunIconv(gJapaneseOut, in.substr(runStart, i - runStart), out)) return false;
    out->push_back(static_cast<char>(hit->byte));
    i += std::strlen(hit->utf8);
    runStart = i;
  }
  if (runStart >= in.size()) return true;
  return RunIconv(gJapaneseOut, in.substr(runStart), out);
}

void AppendUTF8(char32_t c, std::string* out) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (c >> 6)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (c >> 12)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (c >> 18)));
    out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// Decodes one well-formed UTF-8 sequence at `i` (no overlongs, no surrogates).
bool NextUTF8(std::string_view s, size_t* i, char32_t* c) {
  auto b0 = static_cast<unsigned char>(s[*i]);
  size_t len;
  char32_t min;
  if (b0 < 0x80) {
    *c = b0;
    ++*i;
    return true;
  } else if ((b0 & 0xE0) == 0xC0) {
    len = 2, min = 0x80, *c = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, min = 0x800, *c = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, min = 0x10000, *c = b0 & 0x07;
  } else {
    return false;
  }
  if (s.size() - *i < len) return false;
  for (size_t k = 1; k < len; ++k) {
    auto b = static_cast<unsigned char>(s[*i + k]);
    if ((b & 0xC0) != 0x80) return false;
    *c = (*c << 6) | (b & 0x3F);
  }
  if (*c < min || *c > 0x10FFFF || (*c >= 0xD800 && *c <= 0xDFFF)) return false;
  *i += len;
  return true;
}

// Plain ASCII reads the same in both scripts and in UTF-8, so it needs no converter: opening
// one loads the system's conversion module, which costs every short run that names a file.
bool IsASCII(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

void SetSystemScriptForLanguage(char letter) {
  gSystemScript = (letter == 'J' || letter == 'j') ? smJapanese : smRoman;
}

ScriptCode GetSystemScript() { return gSystemScript; }

ScriptCode ResolveScript(ScriptCode script) {
  if (script == smSystemScript) return gSystemScript;
  return script == smJapanese ? smJapanese : smRoman;
}

TextEncoding ScriptTextEncoding(ScriptCode script) {
  return ResolveScript(script) == smJapanese ? kTextEncodingMacJapanese : kTextEncodingMacRoman;
}

bool ScriptToUTF8(std::string_view bytes, std::string* utf8, ScriptCode script) {
  utf8->clear();
  if (IsASCII(bytes)) return utf8->assign(bytes), true;
  bool ok = ResolveScript(script) == smJapanese ? JapaneseToUTF8(bytes, utf8) : RunIconv(gRomanIn, bytes, utf8);
  if (!ok) utf8->clear();
  return ok;
}

bool UTF8ToScript(std::string_view utf8, std::string* bytes, ScriptCode script) {
  bytes->clear();
  if (IsASCII(utf8)) return bytes->assign(utf8), true;
  bool ok = ResolveScript(script) == smJapanese ? UTF8ToJapanese(utf8, bytes) : RunIconv(gRomanOut, utf8, bytes);
  if (!ok) bytes->clear();
  return ok;
}

bool PStringToUTF8(ConstStr255Param s, std::string* utf8, ScriptCode script) {
  return ScriptToUTF8(std::string_view(reinterpret_cast<const char*>(s + 1), s[0]), utf8, script);
}

bool UTF8ToPString(std::string_view utf8, StringPtr out, size_t capacity, ScriptCode script) {
  out[0] = 0;
  std::string bytes;
  if (capacity == 0 || !UTF8ToScript(utf8, &bytes, script) || bytes.size() > capacity - 1 || bytes.size() > 255)
    return false;
  out[0] = static_cast<unsigned char>(bytes.size());
  std::memcpy(out + 1, bytes.data(), bytes.size());
  return true;
}

bool UTF16ToUTF8(const UniChar* units, size_t count, std::string* utf8) {
  utf8->clear();
  for (size_t i = 0; i < count; ++i) {
    char32_t c = units[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 >= count || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF) return utf8->clear(), false;
      c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return utf8->clear(), false;
    }
    AppendUTF8(c, utf8);
  }
  return true;
}

bool UTF8ToUTF16(std::string_view utf8, std::u16string* units) {
  units->clear();
  size_t i = 0;
  while (i < utf8.size()) {
    char32_t c;
    if (!NextUTF8(utf8, &i, &c)) return units->clear(), false;
    if (c >= 0x10000) {
      units->push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      units->push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      units->push_back(static_cast<char16_t>(c));
    }
  }
  return true;
}
