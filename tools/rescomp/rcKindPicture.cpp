// 'PICT' pictures from PNG artwork: the image laid over white, recorded through QuickDraw
// as a version 2 picture of one DirectBitsRect.
//
//   picture 128 { png "${RESOURCES}/main-window.png" }
#include <cstring>

#include "quickdraw/QDOffscreen.h"
#include "tools/rescomp/rcArtwork.h"
#include "tools/rescomp/rcKinds.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"

namespace {

void compilePicture(RcLexer& lex, std::vector<uint8_t>* out) {
  const int line = lex.peek().line;
  const qdImage image = rcReadArtwork(lex);
  if (image.width > 4000 || image.height > 4000) throw RcError(line, "a picture is at most 4000 pixels a side");
  Rect bounds{0, 0, static_cast<SInt16>(image.height), static_cast<SInt16>(image.width)};
  GWorldPtr world = nullptr;
  if (NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0) != noErr) throw RcError(line, "out of memory for the picture");
  PixMapHandle pm = GetGWorldPixMap(world);
  auto* base = reinterpret_cast<uint8_t*>(GetPixBaseAddr(pm));
  long rowBytes = GetPixRowBytes(pm);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      uint32_t c = rcOverWhite(image.At(x, y));
      uint8_t* p = base + y * rowBytes + x * 4;
      p[1] = uint8_t(c >> 16);
      p[2] = uint8_t(c >> 8);
      p[3] = uint8_t(c);
    }
  CGrafPtr oldPort;
  GDHandle oldDevice;
  GetGWorld(&oldPort, &oldDevice);
  SetGWorld(world, nullptr);
  OpenCPicParams params{bounds, IntToFixed(72), IntToFixed(72), -2, 0, 0};
  PicHandle pic = OpenCPicture(&params);
  if (pic) {
    CopyBits(GetPortBitMapForCopyBits(world), GetPortBitMapForCopyBits(world), &bounds, &bounds, srcCopy, nullptr);
    ClosePicture();
  }
  SetGWorld(oldPort, oldDevice);
  DisposeGWorld(world);
  if (!pic || QDError() != noErr) {
    if (pic) KillPicture(pic);
    throw RcError(line, "the picture could not be recorded");
  }
  Size size = GetHandleSize(reinterpret_cast<Handle>(pic));
  out->assign(reinterpret_cast<uint8_t*>(*pic), reinterpret_cast<uint8_t*>(*pic) + size);
  KillPicture(pic);
}

}  // namespace

RcKind rcKindPicture() { return RcKind{"picture", 'PICT', compilePicture}; }
