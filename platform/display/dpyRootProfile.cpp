#include "display/dpyRootProfile.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "toolbox/LazyLibrary.h"

namespace {

// Xlib, opened only when a profile is asked for: a headless run never loads it.
#define WX_XLIB_CALLS(X) X(XOpenDisplay) X(XInternAtom) X(XGetWindowProperty) X(XFree) X(XCloseDisplay)
struct XlibCalls {
  WX_XLIB_CALLS(WX_LAZY_CALL)
};

const XlibCalls* Xlib() {
  static XlibCalls calls;
  static LazyLibrary library(WX_X11_SONAME, "The screen's colour profile");
  return library.Load([](LazyLibrary& library) { return true WX_XLIB_CALLS(WX_LAZY_FIND); }) ? &calls : nullptr;
}

}  // namespace

bool DpyReadRootICCProfile(std::vector<uint8_t>* bytes) {
  bytes->clear();
  const XlibCalls* xlib = Xlib();
  Display* x = xlib ? xlib->XOpenDisplay(nullptr) : nullptr;
  if (!x) return false;
  const Atom property = xlib->XInternAtom(x, "_ICC_PROFILE", True);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  // One read of up to 2^24 32-bit units covers any profile.
  if (property != None &&
      xlib->XGetWindowProperty(x, DefaultRootWindow(x), property, 0, 1L << 24, False, AnyPropertyType, &type, &format,
                               &count, &after, &data) == Success &&
      data && format == 8) {
    bytes->assign(data, data + count);
  }
  if (data) xlib->XFree(data);
  xlib->XCloseDisplay(x);
  return !bytes->empty();
}
