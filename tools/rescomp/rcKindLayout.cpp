// 'PPob' layouts: a tree of framework objects, each written as its class keyword and its
// fields by name. Every field of the class must be given once (those with a default may be
// left out); an unknown class, an unknown or missing field, or children in a pane that
// holds none fail the build. The output is the stream the classes' stream constructors read.
//
//   layout 300 "PDF options" {
//     dlog {
//       title "PDF Options"  windowClass 4  bounds 0 0 220 360
//       defaultButton 900  cancelButton 901
//       {
//         push { id 900  size 80 20  at 260 180  title "OK"  message 900 }
//         cbox 'Ccbx' { id 'CBXS' size 200 18 at 20 20 title "Fonts" message 'CBXS'
//                       extra { i16 3 } }        # fields a program's own class appends
//         radg { radios 'RDNR' 'RDHI' }
//       }
//     }
//   }
//
// `cbox 'Ccbx'` writes the class ID 'Ccbx' with the fields of 'cbox'; `extra { ... }`
// appends raw big-endian fields in the syntax of `data` resources.
#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "tools/rescomp/rcKinds.h"

namespace {

enum class FType { U8, I16, U16, I32, PStr, IDList, IDList16 };

struct Field {
  const char* name;
  FType type;
  int count;                  // values in the field
  std::vector<long long> def;  // default values; empty: required
};

using FieldList = std::vector<Field>;

const FieldList kPane = {
    {"id", FType::I32, 1, {0}},           {"size", FType::I16, 2, {}},       {"visible", FType::U8, 1, {1}},
    {"enabled", FType::U8, 1, {1}},       {"bind", FType::U8, 4, {0, 0, 0, 0}}, {"at", FType::I32, 2, {}},
    {"userCon", FType::I32, 1, {0}},      {"super", FType::I32, 1, {-1}},
};
const FieldList kView = {
    {"image", FType::I32, 2, {0, 0}},     {"scroll", FType::I32, 2, {0, 0}},
    {"scrollUnit", FType::I16, 2, {1, 1}}, {"overhang", FType::U8, 1, {0}},
};
const FieldList kWindow = {
    {"title", FType::PStr, 1, {}},        {"windowClass", FType::I32, 1, {6}}, {"attributes", FType::I32, 1, {0}},
    {"bounds", FType::I16, 4, {}},        {"minmax", FType::I16, 4, {50, 50, 32767, 32767}},
    {"visible", FType::U8, 1, {0}},       {"userCon", FType::I32, 1, {0}},
};
const FieldList kDialog = {{"defaultButton", FType::I32, 1, {900}}, {"cancelButton", FType::I32, 1, {901}}};
const FieldList kControl = {
    {"message", FType::I32, 1, {0}}, {"value", FType::I32, 1, {0}}, {"min", FType::I32, 1, {0}},
    {"max", FType::I32, 1, {0}},
};
const FieldList kTitled = {{"title", FType::PStr, 1, {}}, {"traits", FType::I16, 1, {0}}};
const FieldList kPush = {{"default", FType::U8, 1, {0}}};
const FieldList kText = {{"text", FType::PStr, 1, {}}, {"traits", FType::I16, 1, {0}}};
const FieldList kPopup = {{"menu", FType::I16, 1, {}}, {"titleWidth", FType::I16, 1, {0}}};
const FieldList kEdit = {
    {"text", FType::PStr, 1, {}},   {"traits", FType::I16, 1, {0}}, {"maxChars", FType::I16, 1, {255}},
    {"filter", FType::U8, 1, {1}},  {"framed", FType::U8, 1, {1}},
};
const FieldList kEditField = {
    {"text", FType::PStr, 1, {}},  {"traits", FType::I16, 1, {0}}, {"maxChars", FType::I16, 1, {255}},
    {"framed", FType::U8, 1, {1}}, {"wordWrap", FType::U8, 1, {0}}, {"filter", FType::U8, 1, {1}},
};
const FieldList kRadioGroup = {{"radios", FType::IDList, 0, {}}};
const FieldList kAttachment = {{"message", FType::I32, 1, {-1}}, {"executeHost", FType::U8, 1, {1}}};
const FieldList kPicture = {{"picture", FType::I16, 1, {}}};
const FieldList kIcon = {{"icon", FType::I16, 1, {}}};
const FieldList kCicnButton = {{"icon", FType::I16, 1, {}}, {"pushedIcon", FType::I16, 1, {}}};
const FieldList kTable = {
    {"rows", FType::I32, 1, {0}},        {"cols", FType::I32, 1, {1}},          {"rowHeight", FType::I16, 1, {16}},
    {"colWidth", FType::I16, 1, {100}}, {"cellDataSize", FType::I32, 1, {256}},
};
const FieldList kTraits = {{"traits", FType::I16, 1, {0}}};
const FieldList kTabs = {{"tabs", FType::I16, 1, {}}, {"traits", FType::I16, 1, {0}}};
const FieldList kPanels = {{"panels", FType::IDList16, 0, {}}, {"firstPanel", FType::I16, 1, {1}}};
const FieldList kPlaceHolder = {{"alignment", FType::I16, 1, {0}}};
const FieldList kScroller = {{"scrollingView", FType::I32, 1, {}}, {"barThickness", FType::I16, 1, {15}}};
const FieldList kBorder = {{"penSize", FType::I16, 2, {1, 1}}, {"colour", FType::U16, 3, {0, 0, 0}}};

struct ClassSpec {
  const char* keyword;
  ResType classID;
  std::vector<const FieldList*> groups;  // in stream order
  bool container;
  bool pane;
};

const std::vector<ClassSpec>& Classes() {
  static const std::vector<ClassSpec> classes = {
      {"pane", 'pane', {&kPane}, false, true},
      {"view", 'view', {&kPane, &kView}, true, true},
      {"wind", 'wind', {&kWindow}, true, true},
      {"dlog", 'dlog', {&kWindow, &kDialog}, true, true},
      {"capt", 'capt', {&kPane, &kText}, false, true},
      {"stxt", 'stxt', {&kPane, &kText}, false, true},
      {"push", 'push', {&kPane, &kControl, &kTitled, &kPush}, false, true},
      {"cbox", 'cbox', {&kPane, &kControl, &kTitled}, false, true},
      {"icbx", 'icbx', {&kPane, &kControl, &kTitled}, false, true},
      {"rdbt", 'rdbt', {&kPane, &kControl, &kTitled}, false, true},
      {"popb", 'popb', {&kPane, &kControl, &kTitled, &kPopup}, false, true},
      {"etxt", 'etxt', {&kPane, &kControl, &kEdit}, false, true},
      {"cntl", 'cntl', {&kPane, &kControl}, false, true},
      {"edit", 'edit', {&kPane, &kEditField}, false, true},
      {"pict", 'pict', {&kPane, &kView, &kPicture}, true, true},
      {"icnp", 'icnp', {&kPane, &kControl, &kIcon}, false, true},
      {"cicn", 'cicn', {&kPane, &kControl, &kCicnButton}, false, true},
      {"larr", 'larr', {&kPane, &kControl}, false, true},
      {"radg", 'radg', {&kRadioGroup}, false, false},
      {"tabg", 'tabg', {}, true, false},
      {"tabl", 'tabl', {&kPane, &kView, &kTable}, false, true},
      {"Ttab", 'Ttab', {&kPane, &kView, &kTable, &kTraits}, false, true},
      {"txcl", 'txcl', {&kPane, &kView, &kTable, &kTraits}, false, true},
      {"tabs", 'tabs', {&kPane, &kControl, &kTabs}, false, true},
      {"mpvw", 'mpvw', {&kPane, &kView, &kPanels}, true, true},
      {"plac", 'plac', {&kPane, &kView, &kPlaceHolder}, true, true},
      {"scrl", 'scrl', {&kPane, &kView, &kScroller}, true, true},
      {"brda", 'brda', {&kAttachment, &kBorder}, false, false},
      {"atch", 'atch', {&kAttachment}, false, false},
  };
  return classes;
}

void PutBE(std::vector<uint8_t>* out, unsigned long long v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

long long ReadNumber(RcLexer& lex, FType type) {
  if (lex.peek().kind == RcTok::Type && (type == FType::I32 || type == FType::IDList))
    return static_cast<long long>(lex.expectType());
  switch (type) {
    case FType::U8:
      return lex.expectInt(0, 0xFF, "a byte");
    case FType::I16:
      return lex.expectInt(-0x8000, 0x7FFF, "a 16-bit number");
    case FType::U16:
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
  auto spec = std::find_if(Classes().begin(), Classes().end(), [&](const ClassSpec& c) { return word.text == c.keyword; });
  if (spec == Classes().end()) throw RcError(word.line, "unknown class '" + word.text + "'");
  if (top && !spec->pane) throw RcError(word.line, "a layout starts with a pane");
  ResType classID = spec->classID;
  if (lex.peek().kind == RcTok::Type) classID = lex.expectType();
  lex.expectPunct('{');

  std::map<std::string, Given> given;
  std::vector<uint8_t> extra, children;
  bool hasChildren = false;
  std::set<std::string> known;
  for (const FieldList* group : spec->groups)
    for (const Field& f : *group) known.insert(f.name);

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
    const Field* field = nullptr;
    for (const FieldList* group : spec->groups)
      for (const Field& f : *group)
        if (!field && name.text == f.name) field = &f;
    Given g;
    if (field->type == FType::PStr) {
      const int line = lex.peek().line;
      g.text = lex.expectScriptString();
      if (g.text.size() > 255) throw RcError(line, "text longer than 255 bytes");
    } else if (field->type == FType::IDList) {
      while (lex.peek().kind == RcTok::Int || lex.peek().kind == RcTok::Type) g.numbers.push_back(ReadNumber(lex, field->type));
    } else if (field->type == FType::IDList16) {
      while (lex.peek().kind == RcTok::Int) g.numbers.push_back(ReadNumber(lex, FType::I16));
    } else {
      for (int i = 0; i < field->count; ++i) g.numbers.push_back(ReadNumber(lex, field->type));
    }
    given[name.text] = g;
  }
  lex.expectPunct('}');

  // The data, group by group. A name shared by two groups (visible, title, traits, message)
  // feeds both.
  std::vector<uint8_t> data;
  for (const FieldList* group : spec->groups) {
    for (const Field& f : *group) {
      auto it = given.find(f.name);
      bool list = f.type == FType::IDList || f.type == FType::IDList16;
      if (it == given.end() && f.def.empty() && !list)
        lex.fail(std::string("'") + spec->keyword + "' needs field '" + f.name + "'");
      if (f.type == FType::PStr) {
        const std::string& s = it != given.end() ? it->second.text : std::string();
        data.push_back(static_cast<uint8_t>(s.size()));
        data.insert(data.end(), s.begin(), s.end());
        continue;
      }
      const std::vector<long long>& values = it != given.end() ? it->second.numbers : f.def;
      int width = f.type == FType::U8 ? 1 : (f.type == FType::I16 || f.type == FType::U16 || f.type == FType::IDList16) ? 2 : 4;
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
