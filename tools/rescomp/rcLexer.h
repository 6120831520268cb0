// Tokens of the resource source language, with their line numbers. Errors are thrown as
// RcError and turned into "file:line: error: ..." by the compiler's driver.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "toolbox/MacTypes.h"

struct RcError : std::runtime_error {
  RcError(int line, const std::string& what) : std::runtime_error(what), line(line) {}
  int line;
};

enum class RcTok { End, Word, Int, String, Type, Punct };

struct RcToken {
  RcTok kind = RcTok::End;
  int line = 0;
  std::string text;   // a word, a punctuation character, or a type's four bytes
  long long value = 0;  // an integer
  // A string: pieces of UTF-8 text, and raw bytes written as \xHH, in order.
  struct Piece {
    bool raw;
    std::string bytes;
  };
  std::vector<Piece> pieces;
};

class RcLexer {
 public:
  // `defines` are substituted for ${NAME} inside strings.
  RcLexer(const std::string& source, const std::map<std::string, std::string>& defines);

  const RcToken& peek() const { return mTok; }
  RcToken next();
  bool atPunct(char c) const { return mTok.kind == RcTok::Punct && mTok.text[0] == c; }
  bool atWord(const char* w) const { return mTok.kind == RcTok::Word && mTok.text == w; }

  // Take a token of a given kind or fail with a message that names what was expected.
  void expectPunct(char c);
  long long expectInt(long long lo, long long hi, const char* what);
  ResType expectType();
  // A string converted to the system script (defines substituted, \xHH bytes kept as is).
  std::string expectScriptString();

  [[noreturn]] void fail(const std::string& message) const { throw RcError(mTok.line, message); }

 private:
  void advance();
  std::string scriptText(const RcToken& t) const;

  const std::string& mSrc;
  const std::map<std::string, std::string>& mDefines;
  size_t mPos = 0;
  int mLine = 1;
  RcToken mTok;
};
