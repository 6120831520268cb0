// Plays arbitrary bytes as a picture into a small offscreen world: any damage must end
// playback cleanly.
#include <cstddef>
#include <cstdint>

#include "quickdraw/QDOffscreen.h"
#include "toolbox/MacMemory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static GWorldPtr world = [] {
    Rect r{0, 0, 64, 64};
    GWorldPtr w = nullptr;
    NewGWorld(&w, 32, &r, nullptr, nullptr, 0);
    SetGWorld(w, nullptr);
    return w;
  }();
  if (!world || size > (1u << 20)) return 0;
  Handle h = nullptr;
  if (PtrToHand(data, &h, static_cast<Size>(size)) != 0) return 0;
  Rect dst{0, 0, 64, 64};
  DrawPicture(reinterpret_cast<PicHandle>(h), &dst);
  Rect stretched{-10, 5, 100, 30};
  DrawPicture(reinterpret_cast<PicHandle>(h), &stretched);
  DisposeHandle(h);
  return 0;
}
