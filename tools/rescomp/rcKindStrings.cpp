// 'STR#' string lists:  strings 128 "Language" { "E" "second item" }
#include "tools/rescomp/rcKinds.h"
#include "toolbox/ResourceFile.h"

namespace {

void compileStrings(RcLexer& lex, std::vector<uint8_t>* out) {
  std::vector<std::string> items;
  while (!lex.atPunct('}')) {
    const int line = lex.peek().line;
    std::string item = lex.expectScriptString();
    if (item.size() > 255) throw RcError(line, "a list item holds at most 255 bytes, this one " + std::to_string(item.size()));
    if (items.size() == 0x7FFF) throw RcError(line, "a list holds at most 32767 items");
    items.push_back(std::move(item));
    if (lex.atPunct(',')) lex.next();
  }
  *out = ResStringListBuild(items);
}

}  // namespace

RcKind rcKindStrings() { return RcKind{"strings", 'STR#', compileStrings}; }
