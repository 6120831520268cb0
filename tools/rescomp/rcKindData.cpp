// Raw resources as a sequence of big-endian fields:
//
//   data 'dPre' 128 {
//     u16 1 2           # one field per number: u8 i8 u16 i16 u32 i32
//     type 'JPEG'       # four bytes
//     pstring "text"    # length byte and text
//     pstring[256] "x"  # the same in a field of 256 bytes, the rest zero
//     text "abc"        # the text's bytes alone
//     hex "00ff 10"     # bytes in hexadecimal; blanks ignored
//     zero 36           # that many zero bytes
//   }
#include <cctype>

#include "tools/rescomp/rcKinds.h"

namespace {

struct IntField {
  const char* word;
  int bytes;
  long long lo, hi;
};

const IntField kIntFields[] = {
    {"u8", 1, 0, 0xFF},        {"i8", 1, -0x80, 0x7F},           {"u16", 2, 0, 0xFFFF},
    {"i16", 2, -0x8000, 0x7FFF}, {"u32", 4, 0, 0xFFFFFFFFll}, {"i32", 4, -0x80000000ll, 0x7FFFFFFF},
};

void putBE(std::vector<uint8_t>* out, unsigned long long v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void compileData(RcLexer& lex, std::vector<uint8_t>* out) {
  out->clear();
  while (!lex.atPunct('}')) {
    const RcToken field = lex.next();
    if (field.kind != RcTok::Word) throw RcError(field.line, "expected a field (u8, u16, pstring, hex, ...)");
    const IntField* intField = nullptr;
    for (const IntField& f : kIntFields)
      if (field.text == f.word) intField = &f;
    if (intField) {
      do {
        if (lex.peek().kind == RcTok::Type && intField->bytes == 4) {
          putBE(out, lex.expectType(), 4);
          continue;
        }
        const long long v = lex.expectInt(intField->lo, intField->hi, intField->word);
        putBE(out, static_cast<unsigned long long>(v), intField->bytes);
      } while (lex.peek().kind == RcTok::Int || (lex.peek().kind == RcTok::Type && intField->bytes == 4));
    } else if (field.text == "type") {
      putBE(out, lex.expectType(), 4);
    } else if (field.text == "pstring") {
      long long width = 0;
      if (lex.atPunct('[')) {
        lex.next();
        width = lex.expectInt(1, 256, "field width");
        lex.expectPunct(']');
      }
      const int line = lex.peek().line;
      const std::string s = lex.expectScriptString();
      const size_t room = width ? static_cast<size_t>(width - 1) : 255;
      if (s.size() > room)
        throw RcError(line, "the string has " + std::to_string(s.size()) + " bytes, its field holds " + std::to_string(room));
      out->push_back(static_cast<uint8_t>(s.size()));
      out->insert(out->end(), s.begin(), s.end());
      if (width) out->resize(out->size() + static_cast<size_t>(width) - 1 - s.size(), 0);
    } else if (field.text == "text") {
      const std::string s = lex.expectScriptString();
      out->insert(out->end(), s.begin(), s.end());
    } else if (field.text == "hex") {
      if (lex.peek().kind != RcTok::String) lex.fail("hex takes a string of hexadecimal digits");
      const RcToken t = lex.next();
      std::string digits;
      for (const RcToken::Piece& p : t.pieces)
        for (char c : p.bytes) {
          if (std::isspace(static_cast<unsigned char>(c))) continue;
          if (p.raw || !std::isxdigit(static_cast<unsigned char>(c)))
            throw RcError(t.line, std::string("'") + c + "' is not a hexadecimal digit");
          digits += c;
        }
      if (digits.size() % 2) throw RcError(t.line, "hex needs an even number of digits");
      for (size_t i = 0; i < digits.size(); i += 2) out->push_back(static_cast<uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
    } else if (field.text == "zero") {
      out->resize(out->size() + static_cast<size_t>(lex.expectInt(0, 1 << 24, "zero count")), 0);
    } else {
      throw RcError(field.line, "unknown field '" + field.text + "'");
    }
  }
}

}  // namespace

RcKind rcKindData() { return RcKind{"data", 0, compileData}; }
