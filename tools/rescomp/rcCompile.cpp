#include "tools/rescomp/rcCompile.h"

#include "toolbox/TextConvert.h"
#include "tools/rescomp/rcKinds.h"

namespace {

struct Attribute {
  const char* word;
  UInt8 bit;
};
const Attribute kAttributes[] = {{"purgeable", resPurgeable}, {"locked", resLocked}, {"preload", resPreload},
                                 {"protected", resProtected}, {"sysheap", resSysHeap}};

std::string typeText(ResType t) {
  return {static_cast<char>(t >> 24), static_cast<char>(t >> 16), static_cast<char>(t >> 8), static_cast<char>(t)};
}

struct Origin {
  std::string file;
  int line;
};

void compileFile(const RcSource& src, const RcOptions& options, ResFileImage* image,
                 std::map<std::pair<ResType, SInt16>, Origin>* seen) {
  RcLexer lex(src.text, options.defines);
  while (lex.peek().kind != RcTok::End) {
    const RcToken word = lex.next();
    const RcKind* kind = word.kind == RcTok::Word ? rcFindKind(word.text) : nullptr;
    if (!kind) {
      std::string known;
      for (const char* k : rcKindKeywords()) known += std::string(known.empty() ? "" : ", ") + k;
      throw RcError(word.line, "expected a resource (" + known + ")");
    }
    ResRecord rec;
    rec.type = kind->type ? kind->type : lex.expectType();
    rec.id = static_cast<SInt16>(lex.expectInt(-32768, 32767, "resource ID"));
    if (lex.peek().kind == RcTok::String) {
      rec.named = true;
      const int line = lex.peek().line;
      rec.name = lex.expectScriptString();
      if (rec.name.size() > 255) throw RcError(line, "a resource name holds at most 255 bytes");
    }
    while (lex.peek().kind == RcTok::Word) {
      const RcToken a = lex.next();
      const Attribute* attr = nullptr;
      for (const Attribute& k : kAttributes)
        if (a.text == k.word) attr = &k;
      if (!attr) throw RcError(a.line, "unknown attribute '" + a.text + "'");
      rec.attrs |= attr->bit;
    }
    lex.expectPunct('{');
    kind->compileBody(lex, &rec.data);
    lex.expectPunct('}');
    auto [it, fresh] = seen->emplace(std::make_pair(rec.type, rec.id), Origin{src.fileName, word.line});
    if (!fresh)
      throw RcError(word.line, "'" + typeText(rec.type) + "' " + std::to_string(rec.id) + " is already defined at " +
                                   it->second.file + ":" + std::to_string(it->second.line));
    image->records.push_back(std::move(rec));
  }
}

}  // namespace

bool rcCompile(const std::vector<RcSource>& sources, const RcOptions& options, ResFileImage* image,
               std::string* diagnostic) {
  SetSystemScriptForLanguage(options.language);
  *image = ResFileImage{};
  std::map<std::pair<ResType, SInt16>, Origin> seen;
  for (const RcSource& src : sources) {
    try {
      compileFile(src, options, image, &seen);
    } catch (const RcError& e) {
      *diagnostic = src.fileName + ":" + std::to_string(e.line) + ": error: " + e.what();
      return false;
    }
  }
  return true;
}
