// 'clut' colour tables: entries in index order, each an RGB triple of 16-bit samples, or a
// run of greys stepping evenly from one level to another.
//
//   clut 1024 { grey 256 0xFFFF 0 }          # 256 greys, index 0 white, index 255 black
//   clut 1025 { rgb 0xFFFF 0 0  rgb 0 0 0 }
#include "tools/rescomp/rcKinds.h"

namespace {

struct Entry {
  uint16_t r, g, b;
};

void compileColorTable(RcLexer& lex, std::vector<uint8_t>* out) {
  const int line = lex.peek().line;
  std::vector<Entry> entries;
  while (!lex.atPunct('}')) {
    if (lex.atWord("rgb")) {
      lex.next();
      Entry e;
      e.r = uint16_t(lex.expectInt(0, 0xFFFF, "a red sample"));
      e.g = uint16_t(lex.expectInt(0, 0xFFFF, "a green sample"));
      e.b = uint16_t(lex.expectInt(0, 0xFFFF, "a blue sample"));
      entries.push_back(e);
    } else if (lex.atWord("grey")) {
      lex.next();
      const long long count = lex.expectInt(2, 256, "a number of greys");
      const long long from = lex.expectInt(0, 0xFFFF, "the first grey");
      const long long to = lex.expectInt(0, 0xFFFF, "the last grey");
      for (long long i = 0; i < count; ++i) {
        const auto level = uint16_t(from + (to - from) * i / (count - 1));
        entries.push_back(Entry{level, level, level});
      }
    } else {
      lex.fail("expected rgb or grey");
    }
  }
  if (entries.empty() || entries.size() > 256) throw RcError(line, "a colour table holds 1 to 256 entries");
  // Seed, flags, last index; then value and the three samples of each entry.
  auto put16 = [out](uint32_t v) {
    out->push_back(uint8_t(v >> 8));
    out->push_back(uint8_t(v));
  };
  put16(0);
  put16(0);
  put16(0);
  put16(uint32_t(entries.size() - 1));
  for (size_t i = 0; i < entries.size(); ++i) {
    put16(uint32_t(i));
    put16(entries[i].r);
    put16(entries[i].g);
    put16(entries[i].b);
  }
}

}  // namespace

RcKind rcKindColorTable() { return RcKind{"clut", 'clut', compileColorTable}; }
