// Artwork for picture, colour-icon, cursor and region resources: a PNG file named in the
// body as `png "path"` (defines such as ${RESOURCES} are substituted; a relative path is
// taken from the folder the compiler runs in).
#pragma once

#include "quickdraw/qdPNG.h"
#include "tools/rescomp/rcLexer.h"

qdImage rcReadArtwork(RcLexer& lex);
// Opaque enough to count as part of the shape.
inline bool rcOpaque(uint32_t argb) { return (argb >> 24) >= 128; }
// The colour of a pixel laid over white.
uint32_t rcOverWhite(uint32_t argb);
