#include "dialogs/print/layout/ImageCopy.h"

#include "framework/LGWorld.h"

void CopyImageLocked(LGWorld* image, const Rect& dest, SInt16 mode, RgnHandle mask) {
  PixMapHandle pixels = GetGWorldPixMap(image->GetMacGWorld());
  const bool locked = LockPixels(pixels);
  GrafPtr port = nullptr;
  GetPort(&port);
  image->CopyImage(port, dest, mode, mask);
  if (locked) UnlockPixels(pixels);
}
