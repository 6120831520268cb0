#include "tools/rescomp/rcArtwork.h"

qdImage rcReadArtwork(RcLexer& lex) {
  if (!lex.atWord("png")) lex.fail("expected png \"file\"");
  lex.next();
  const int line = lex.peek().line;
  const std::string path = lex.expectScriptString();
  qdImage image;
  if (!qdReadPNG(path, &image)) throw RcError(line, "cannot read the PNG file '" + path + "'");
  return image;
}

uint32_t rcOverWhite(uint32_t argb) {
  uint32_t a = argb >> 24;
  auto ch = [a](uint32_t v) { return (v * a + 255 * (255 - a) + 127) / 255; };
  return (ch((argb >> 16) & 0xFF) << 16) | (ch((argb >> 8) & 0xFF) << 8) | ch(argb & 0xFF);
}
