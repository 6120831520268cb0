// The kinds of resource the compiler knows, one file each (rcKind<Name>.cpp), listed in one
// table. A statement starts with its kind's keyword:
//
//   <keyword> ['TYPE'] <id> ["name"] [attribute...] { <body> }
//
// The type is written only for kinds that do not fix it; the attributes are purgeable,
// locked, preload, protected and sysheap. The kind compiles the body (the lexer stands just
// after '{' and the kind stops before '}') into the resource's bytes.
#pragma once

#include <vector>

#include "tools/rescomp/rcLexer.h"

struct RcKind {
  const char* keyword;
  ResType type;  // 0: the statement names the type
  void (*compileBody)(RcLexer& lex, std::vector<uint8_t>* out);
};

// Every kind, from the table in rcKinds.cpp; nullptr for an unknown keyword.
const RcKind* rcFindKind(const std::string& keyword);
std::vector<const char*> rcKindKeywords();

// Each kind's descriptor, defined in its own file.
RcKind rcKindStrings();
RcKind rcKindData();
RcKind rcKindLayout();
RcKind rcKindPicture();
RcKind rcKindColorIcon();
RcKind rcKindCursor();
RcKind rcKindRegion();
RcKind rcKindColorTable();
