// Stored resource forms QuickDraw reads ('clut', 'CURS'), decoded from big-endian bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "quickdraw/QuickDraw.h"

CTabHandle qdColorTableFromStored(const uint8_t* data, size_t length);
bool qdCursorFromStored(const uint8_t* data, size_t length, Cursor* out);
CTabHandle qdColorTableResource(SInt16 id);
