#include "tools/rescomp/rcLexer.h"

#include <cctype>

#include "toolbox/TextConvert.h"

namespace {

std::string describe(const RcToken& t) {
  switch (t.kind) {
    case RcTok::End: return "the end of the file";
    case RcTok::Word: return "'" + t.text + "'";
    case RcTok::Int: return "the number " + std::to_string(t.value);
    case RcTok::String: return "a string";
    case RcTok::Type: return "a type '" + t.text + "'";
    case RcTok::Punct: return "'" + t.text + "'";
  }
  return "?";
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

}  // namespace

RcLexer::RcLexer(const std::string& source, const std::map<std::string, std::string>& defines)
    : mSrc(source), mDefines(defines) {
  advance();
}

RcToken RcLexer::next() {
  RcToken t = mTok;
  advance();
  return t;
}

void RcLexer::advance() {
  // Blanks and comments ('#' or "//" to the end of the line).
  for (;;) {
    while (mPos < mSrc.size() && std::isspace(static_cast<unsigned char>(mSrc[mPos])))
      if (mSrc[mPos++] == '\n') ++mLine;
    const bool hash = mPos < mSrc.size() && mSrc[mPos] == '#';
    const bool slashes = mSrc.compare(mPos, 2, "//") == 0;
    if (!hash && !slashes) break;
    while (mPos < mSrc.size() && mSrc[mPos] != '\n') ++mPos;
  }
  mTok = RcToken{};
  mTok.line = mLine;
  if (mPos >= mSrc.size()) return;
  const char c = mSrc[mPos];

  if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
    size_t end = mPos;
    while (end < mSrc.size() && (std::isalnum(static_cast<unsigned char>(mSrc[end])) || mSrc[end] == '_')) ++end;
    mTok.kind = RcTok::Word;
    mTok.text = mSrc.substr(mPos, end - mPos);
    mPos = end;
    return;
  }
  if (std::isdigit(static_cast<unsigned char>(c)) || (c == '-' && mPos + 1 < mSrc.size() && std::isdigit(static_cast<unsigned char>(mSrc[mPos + 1])))) {
    size_t end = mPos + (c == '-');
    int base = 10;
    if (mSrc.compare(end, 2, "0x") == 0 || mSrc.compare(end, 2, "0X") == 0) {
      base = 16;
      end += 2;
    }
    const size_t digits = end;
    unsigned long long v = 0;
    while (end < mSrc.size() && std::isalnum(static_cast<unsigned char>(mSrc[end]))) {
      const int d = hexDigit(mSrc[end]);
      if (d < 0 || d >= base) throw RcError(mLine, "bad number '" + mSrc.substr(mPos, end - mPos + 1) + "'");
      v = v * static_cast<unsigned>(base) + static_cast<unsigned>(d);
      if (v > 0xFFFFFFFFull) throw RcError(mLine, "number too large");
      ++end;
    }
    if (end == digits) throw RcError(mLine, "bad number");
    mTok.kind = RcTok::Int;
    mTok.value = c == '-' ? -static_cast<long long>(v) : static_cast<long long>(v);
    mPos = end;
    return;
  }
  if (c == '\'') {
    const size_t close = mSrc.find('\'', mPos + 1);
    if (close == std::string::npos || close - mPos - 1 != 4)
      throw RcError(mLine, "a type is four characters between single quotes");
    mTok.kind = RcTok::Type;
    mTok.text = mSrc.substr(mPos + 1, 4);
    mPos = close + 1;
    return;
  }
  if (c == '"') {
    mTok.kind = RcTok::String;
    ++mPos;
    std::string text;
    auto flush = [&] {
      if (!text.empty()) mTok.pieces.push_back({false, text});
      text.clear();
    };
    for (;;) {
      if (mPos >= mSrc.size() || mSrc[mPos] == '\n') throw RcError(mTok.line, "string without its closing quote");
      const char ch = mSrc[mPos++];
      if (ch == '"') break;
      if (ch != '\\') {
        text += ch;
        continue;
      }
      if (mPos >= mSrc.size()) throw RcError(mLine, "string without its closing quote");
      const char e = mSrc[mPos++];
      switch (e) {
        case 'n': text += '\n'; break;
        case 'r': text += '\r'; break;
        case 't': text += '\t'; break;
        case '"': text += '"'; break;
        case '\\': text += '\\'; break;
        case '$': text += "\\$"; break;  // a literal '$' that starts no define
        case 'x': {
          const int hi = mPos < mSrc.size() ? hexDigit(mSrc[mPos]) : -1;
          const int lo = mPos + 1 < mSrc.size() ? hexDigit(mSrc[mPos + 1]) : -1;
          if (hi < 0 || lo < 0) throw RcError(mLine, "\\x takes two hexadecimal digits");
          flush();
          mTok.pieces.push_back({true, std::string(1, static_cast<char>(hi * 16 + lo))});
          mPos += 2;
          break;
        }
        default: throw RcError(mLine, std::string("unknown escape \\") + e);
      }
    }
    flush();
    return;
  }
  if (std::string("{}[](),;=").find(c) != std::string::npos) {
    mTok.kind = RcTok::Punct;
    mTok.text = std::string(1, c);
    ++mPos;
    return;
  }
  throw RcError(mLine, std::string("unexpected character '") + c + "'");
}

void RcLexer::expectPunct(char c) {
  if (!atPunct(c)) fail(std::string("expected '") + c + "' but found " + describe(mTok));
  advance();
}

long long RcLexer::expectInt(long long lo, long long hi, const char* what) {
  if (mTok.kind != RcTok::Int) fail(std::string("expected ") + what + " but found " + describe(mTok));
  if (mTok.value < lo || mTok.value > hi)
    fail(std::string(what) + " " + std::to_string(mTok.value) + " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
  return next().value;
}

ResType RcLexer::expectType() {
  if (mTok.kind != RcTok::Type) fail("expected a type like 'STR#' but found " + describe(mTok));
  const std::string t = next().text;
  return (ResType(uint8_t(t[0])) << 24) | (ResType(uint8_t(t[1])) << 16) | (ResType(uint8_t(t[2])) << 8) | uint8_t(t[3]);
}

std::string RcLexer::expectScriptString() {
  if (mTok.kind != RcTok::String) fail("expected a string but found " + describe(mTok));
  std::string out = scriptText(mTok);
  advance();
  return out;
}

std::string RcLexer::scriptText(const RcToken& t) const {
  std::string out;
  for (const RcToken::Piece& p : t.pieces) {
    if (p.raw) {
      out += p.bytes;
      continue;
    }
    // Substitute ${NAME}; "\$" (kept as "\\$" by the scanner) is a plain '$'.
    std::string text;
    for (size_t i = 0; i < p.bytes.size(); ++i) {
      if (p.bytes.compare(i, 2, "\\$") == 0) {
        text += '$';
        ++i;
      } else if (p.bytes.compare(i, 2, "${") == 0) {
        const size_t close = p.bytes.find('}', i);
        if (close == std::string::npos) throw RcError(t.line, "'${' without its closing '}'");
        const std::string name = p.bytes.substr(i + 2, close - i - 2);
        auto it = mDefines.find(name);
        if (it == mDefines.end()) throw RcError(t.line, "'" + name + "' is not defined (rescomp -D " + name + "=...)");
        text += it->second;
        i = close;
      } else {
        text += p.bytes[i];
      }
    }
    std::string bytes;
    if (!UTF8ToScript(text, &bytes)) throw RcError(t.line, "\"" + text + "\" cannot be written in the system script");
    out += bytes;
  }
  return out;
}
