#include "output/export/CRotate.h"

#include <cstring>

#include "framework/LException.h"
#include "toolbox/MacErrors.h"

namespace {

struct Geometry {
  long width, height;
};

Geometry SizeOf(LGWorld* world) {
  Rect r;
  GetPixBounds(CRotate::GetMacPixMap(world), &r);
  return Geometry{r.right - r.left, r.bottom - r.top};
}

// Where pixel (x, y) of a source lands in a destination of `to`'s size.
void Target(long degrees, long x, long y, const Geometry& to, long* row, long* column) {
  switch (degrees) {
    case 90: *row = x, *column = to.width - 1 - y; break;
    case 270: *row = to.height - 1 - x, *column = y; break;
    default: *row = to.height - 1 - y, *column = to.width - 1 - x; break;
  }
}

void Turn(long degrees, const uint8_t* src, long srcRowBytes, const Geometry& from, uint8_t* dst, long dstRowBytes,
          const Geometry& to, short depth) {
  const long bytes = depth / 8;
  for (long y = 0; y < from.height; ++y) {
    const uint8_t* srcRow = src + y * srcRowBytes;
    for (long x = 0; x < from.width; ++x) {
      long row, column;
      Target(degrees, x, y, to, &row, &column);
      uint8_t* dstRow = dst + row * dstRowBytes;
      if (bytes > 0) {
        std::memcpy(dstRow + column * bytes, srcRow + x * bytes, size_t(bytes));
        continue;
      }
      // Packed pixels, most significant field first.
      const long perByte = 8 / depth;
      const int mask = (1 << depth) - 1;
      const int srcShift = int(8 - depth * (x % perByte + 1));
      const int value = (srcRow[x / perByte] >> srcShift) & mask;
      const int dstShift = int(8 - depth * (column % perByte + 1));
      dstRow[column / perByte] |= uint8_t(value << dstShift);
    }
  }
}

}  // namespace

PixMapHandle CRotate::GetMacPixMap(LGWorld* world) { return GetGWorldPixMap(world->GetMacGWorld()); }

Ptr CRotate::GetBaseAddr(LGWorld* world) { return GetPixBaseAddr(GetMacPixMap(world)); }

long CRotate::GetRowBytes(LGWorld* world) {
  PixMapHandle pm = GetMacPixMap(world);
  const long field = (**pm).rowBytes & 0x3FFF;
  return field == 0x3F3F ? GetPixRowBytes(pm) : field;
}

short CRotate::GetPixMapDepth(LGWorld* world) { return (**GetMacPixMap(world)).pixelSize; }

void CRotate::RotateImage(LGWorld* source, LGWorld* destination, long degrees) {
  ThrowIfNil_(source);
  ThrowIfNil_(destination);
  source->BeginDrawing();
  destination->BeginDrawing();
  const auto end = [&] {
    destination->EndDrawing();
    source->EndDrawing();
  };
  try {
    const long srcRowBytes = GetRowBytes(source), dstRowBytes = GetRowBytes(destination);
    auto* src = reinterpret_cast<const uint8_t*>(GetBaseAddr(source));
    auto* dst = reinterpret_cast<uint8_t*>(GetBaseAddr(destination));
    const Geometry from = SizeOf(source), to = SizeOf(destination);
    const bool quarter = degrees == 90 || degrees == 270;
    if (quarter ? (from.width != to.height || from.height != to.width)
                : (from.width != to.width || from.height != to.height))
      Throw_(paramErr);
    const short depth = GetPixMapDepth(source);
    const bool whole = depth == 8 || depth == 16 || depth == 32;
    const bool packed = depth == 1 || depth == 2 || depth == 4;
    if (whole || packed) Turn(degrees, src, srcRowBytes, from, dst, dstRowBytes, to, depth);
  } catch (const LException& e) {
    end();
    Throw_(static_cast<OSErr>(e.GetErrorCode()));
  }
  end();
}
