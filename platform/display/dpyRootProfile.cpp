#include "display/dpyRootProfile.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

bool DpyReadRootICCProfile(std::vector<uint8_t>* bytes) {
  bytes->clear();
  Display* x = XOpenDisplay(nullptr);
  if (!x) return false;
  const Atom property = XInternAtom(x, "_ICC_PROFILE", True);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  // One read of up to 2^24 32-bit units covers any profile.
  if (property != None &&
      XGetWindowProperty(x, DefaultRootWindow(x), property, 0, 1L << 24, False, AnyPropertyType, &type, &format,
                         &count, &after, &data) == Success &&
      data && format == 8) {
    bytes->assign(data, data + count);
  }
  if (data) XFree(data);
  XCloseDisplay(x);
  return !bytes->empty();
}
