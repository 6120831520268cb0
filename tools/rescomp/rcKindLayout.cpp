// 'PPob' layouts: a tree of framework objects, each written as its class keyword and its
// fields by name, as the classes' field tables (framework/LayoutFields.h) list them. Every
// field of the class must be given once (those with a default may be left out); an unknown
// class, an unknown or missing field, or children in a pane that holds none fail the build.
// The output is the stream the classes' stream constructors read.
//
//   layout 300 "PDF options" {
//     dlog {
//       title "PDF Options"  windowClass 4  bounds 0 0 220 360
//       defaultButton 900  cancelButton 901
//       {
//         push { id 900  size 80 20  at 260 180  title "OK"  message 900 }
//         cbox 'Ccbx' { id 'CBXS' size 200 18 at 20 20 title "Fonts" message 'CBXS' }
//         Pctb { id 'HELP' size 20 20 at 4 180 idlePicture 200 pressedPicture 201 hoverPicture 202 }
//         radg { radios 'RDNR' 'RDHI' }
//       }
//     }
//   }
//
// `cbox 'Ccbx'` writes the class ID 'Ccbx' with the fields of 'cbox'. A class with fields
// of its own has its row in a class table (the application's in app/AppLayoutClasses.h);
// `extra { ... }` still appends raw big-endian fields in the syntax of `data` resources.
#include <map>
#include <set>
#include <span>
#include <string>

#include "app/AppLayoutClasses.h"
#include "framework/LayoutFields.h"
#include "tools/rescomp/rcKinds.h"

namespace {

// The framework's classes, then the application's.
const LayoutClass* FindClass(const std::string& keyword) {
  for (std::span<const LayoutClass> table : {std::span<const LayoutClass>(layout::kFrameworkClasses),
                                             std::span<const LayoutClass>(layout::kApplicationClasses)})
    for (const LayoutClass& c : table)
      if (keyword == c.keyword) return &c;
  return nullptr;
}

bool IsList(LayoutType type) { return type == LayoutType::IDList || type == LayoutType::IDList16; }

void PutBE(std::vector<uint8_t>* out, unsigned long long v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

long long ReadNumber(RcLexer& lex, LayoutType type) {
  if (lex.peek().kind == RcTok::Type && (type == LayoutType::I32 || type == LayoutType::IDList))
    return static_cast<long long>(lex.expectType());
  switch (type) {
    case LayoutType::U8:
      return lex.expectInt(0, 0xFF, "a byte");
    case LayoutType::I16:
    case LayoutType::IDList16:
      return lex.expectInt(-0x8000, 0x7FFF, "a 16-bit number");
    case LayoutType::U16:
      return lex.expectInt(0, 0xFFFF, "a 16-bit number");
    default:
      return lex.expectInt(-0x80000000ll, 0xFFFFFFFFll, "a 32-bit number or 'TYPE'");
  }
}

struct Given {
  std::vector<long long> numbers;
  std::string text;
};

// Far deeper than any real layout; a source nesting deeper is refused before the compiler's
// own stack runs out.
constexpr int kMaxNesting = 64;

void CompileObject(RcLexer& lex, std::vector<uint8_t>* out, int depth);

void CompileChildren(RcLexer& lex, std::vector<uint8_t>* out, int depth) {
  lex.expectPunct('{');
  PutBE(out, 'begs', 4);
  while (!lex.atPunct('}')) CompileObject(lex, out, depth + 1);
  lex.expectPunct('}');
  PutBE(out, 'ends', 4);
}

void CompileObject(RcLexer& lex, std::vector<uint8_t>* out, int depth) {
  const bool top = depth == 0;
  const RcToken word = lex.next();
  if (depth >= kMaxNesting) throw RcError(word.line, "objects nest deeper than " + std::to_string(kMaxNesting) + " levels");
  if (word.kind != RcTok::Word) throw RcError(word.line, "expected a class keyword (dlog, push, cbox, ...)");
  const LayoutClass* spec = FindClass(word.text);
  if (!spec) throw RcError(word.line, "unknown class '" + word.text + "'");
  if (top && !spec->pane) throw RcError(word.line, "a layout starts with a pane");
  ResType classID = spec->classID;
  if (lex.peek().kind == RcTok::Type) classID = lex.expectType();
  lex.expectPunct('{');

  std::map<std::string, Given> given;
  std::vector<uint8_t> extra, children;
  bool hasChildren = false;
  std::set<std::string> known;
  for (LayoutGroup group : spec->groups)
    for (const LayoutField& f : group) known.insert(f.name);

  while (!lex.atPunct('}')) {
    if (lex.atPunct('{')) {
      if (!spec->container) lex.fail(std::string("'") + spec->keyword + "' holds no other objects");
      if (hasChildren) lex.fail("the objects inside are given twice");
      hasChildren = true;
      CompileChildren(lex, &children, depth);
      continue;
    }
    const RcToken name = lex.next();
    if (name.kind != RcTok::Word) throw RcError(name.line, "expected a field name");
    if (name.text == "extra") {
      lex.expectPunct('{');
      std::vector<uint8_t> bytes;
      rcKindData().compileBody(lex, &bytes);
      lex.expectPunct('}');
      extra.insert(extra.end(), bytes.begin(), bytes.end());
      continue;
    }
    if (!known.count(name.text))
      throw RcError(name.line, "'" + std::string(spec->keyword) + "' has no field '" + name.text + "'");
    if (given.count(name.text)) throw RcError(name.line, "field '" + name.text + "' given twice");
    // Find the field's type (the first group that has it).
    const LayoutField* field = nullptr;
    for (LayoutGroup group : spec->groups)
      for (const LayoutField& f : group)
        if (!field && name.text == f.name) field = &f;
    Given g;
    if (field->type == LayoutType::PStr) {
      const int line = lex.peek().line;
      g.text = lex.expectScriptString();
      if (g.text.size() > 255) throw RcError(line, "text longer than 255 bytes");
    } else if (field->type == LayoutType::IDList) {
      while (lex.peek().kind == RcTok::Int || lex.peek().kind == RcTok::Type)
        g.numbers.push_back(ReadNumber(lex, field->type));
    } else if (field->type == LayoutType::IDList16) {
      while (lex.peek().kind == RcTok::Int) g.numbers.push_back(ReadNumber(lex, field->type));
    } else {
      for (int i = 0; i < field->count; ++i) g.numbers.push_back(ReadNumber(lex, field->type));
    }
    given[name.text] = g;
  }
  lex.expectPunct('}');

  // The data, group by group. A name shared by two groups (visible, title, traits, message)
  // feeds both.
  std::vector<uint8_t> data;
  for (LayoutGroup group : spec->groups) {
    for (const LayoutField& f : group) {
      auto it = given.find(f.name);
      const bool list = IsList(f.type);
      if (it == given.end() && f.required)
        lex.fail(std::string("'") + spec->keyword + "' needs field '" + f.name + "'");
      if (f.type == LayoutType::PStr) {
        const std::string& s = it != given.end() ? it->second.text : std::string();
        data.push_back(static_cast<uint8_t>(s.size()));
        data.insert(data.end(), s.begin(), s.end());
        continue;
      }
      std::vector<long long> values;
      if (it != given.end())
        values = it->second.numbers;
      else if (!list)
        values.assign(f.def.begin(), f.def.begin() + f.count);
      const int width = static_cast<int>(LayoutWidth(f.type));
      if (list) PutBE(&data, values.size(), 2);
      for (long long v : values) PutBE(&data, static_cast<unsigned long long>(v), width);
    }
  }
  data.insert(data.end(), extra.begin(), extra.end());

  PutBE(out, 'objd', 4);
  PutBE(out, data.size(), 4);
  PutBE(out, classID, 4);
  out->insert(out->end(), data.begin(), data.end());
  out->insert(out->end(), children.begin(), children.end());
}

void CompileLayout(RcLexer& lex, std::vector<uint8_t>* out) {
  out->clear();
  PutBE(out, 1, 2);
  CompileObject(lex, out, 0);
  if (!lex.atPunct('}')) lex.fail("a layout holds one top object");
  PutBE(out, 'end.', 4);
}

}  // namespace

RcKind rcKindLayout() { return RcKind{"layout", 'PPob', CompileLayout}; }
