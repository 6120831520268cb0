#include "support/XScreen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include "support/TestEnv.h"

namespace wxtest {

namespace {

struct XConnection {
  explicit XConnection(const std::string& display) : dpy(XOpenDisplay(display.c_str())) {}
  ~XConnection() {
    if (dpy) XCloseDisplay(dpy);
  }
  XConnection(const XConnection&) = delete;
  XConnection& operator=(const XConnection&) = delete;
  Display* dpy;
};

// The title as its bytes, whatever type the window's toolkit gave WM_NAME (under a UTF-8
// locale it is not STRING, which XFetchName refuses); _NET_WM_NAME first, as window managers read it.
std::string WindowName(Display* dpy, Window window) {
  for (const char* property : {"_NET_WM_NAME", "WM_NAME"}) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* value = nullptr;
    const Atom atom = XInternAtom(dpy, property, False);
    if (XGetWindowProperty(dpy, window, atom, 0, 1024, False, AnyPropertyType, &type, &format, &count, &after,
                           &value) != Success)
      continue;
    std::string name = value && format == 8 ? std::string(reinterpret_cast<char*>(value), count) : std::string();
    if (value) XFree(value);
    if (!name.empty()) return name;
  }
  return std::string();
}

}  // namespace

std::vector<XTopWindow> XMappedWindows(const std::string& display) {
  std::vector<XTopWindow> out;
  XConnection x(display);
  if (!x.dpy) return out;
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(x.dpy, DefaultRootWindow(x.dpy), &root, &parent, &children, &count)) return out;
  for (unsigned int i = 0; i < count; ++i) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(x.dpy, children[i], &attributes) || attributes.map_state != IsViewable) continue;
    XTopWindow w;
    w.id = children[i];
    w.left = attributes.x;
    w.top = attributes.y;
    w.width = attributes.width;
    w.height = attributes.height;
    w.name = WindowName(x.dpy, children[i]);
    out.push_back(w);
  }
  if (children) XFree(children);
  return out;
}

XPixels XGrabScreen(const std::string& display) {
  XPixels out;
  XConnection x(display);
  if (!x.dpy) return out;
  const Window root = DefaultRootWindow(x.dpy);
  XWindowAttributes attributes;
  XGetWindowAttributes(x.dpy, root, &attributes);
  XImage* image = XGetImage(x.dpy, root, 0, 0, unsigned(attributes.width), unsigned(attributes.height), AllPlanes, ZPixmap);
  if (!image) return out;
  out.width = attributes.width;
  out.height = attributes.height;
  out.pixels.reserve(size_t(out.width) * size_t(out.height));
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) out.pixels.push_back(uint32_t(XGetPixel(image, x, y)) & 0xFFFFFF);
  XDestroyImage(image);
  return out;
}

bool XKeepPNG(const XPixels& screen, const std::filesystem::path& path) {
  const std::filesystem::path raw = path.string() + ".rgb";
  std::vector<uint8_t> bytes;
  bytes.reserve(screen.pixels.size() * 3);
  for (uint32_t p : screen.pixels) {
    bytes.push_back(uint8_t(p >> 16));
    bytes.push_back(uint8_t(p >> 8));
    bytes.push_back(uint8_t(p));
  }
  WriteBytes(raw, bytes);
  const bool ok = Run("convert -size " + std::to_string(screen.width) + "x" + std::to_string(screen.height) +
                      " -depth 8 'rgb:" + raw.string() + "' '" + path.string() + "'") == 0;
  std::filesystem::remove(raw);
  return ok;
}

bool XMovePointer(const std::string& display, int x, int y) {
  return Run("DISPLAY=" + display + " xdotool mousemove --sync " + std::to_string(x) + " " + std::to_string(y)) == 0;
}

bool XClick(const std::string& display, int x, int y) {
  return XMovePointer(display, x, y) && Run("DISPLAY=" + display + " xdotool click 1") == 0;
}

bool XCoverBriefly(const std::string& display, int left, int top, int width, int height) {
  XConnection x(display);
  if (!x.dpy) return false;
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = BlackPixel(x.dpy, DefaultScreen(x.dpy));
  const Window cover = XCreateWindow(x.dpy, DefaultRootWindow(x.dpy), left, top, unsigned(width), unsigned(height), 0,
                                     CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel,
                                     &attributes);
  XMapRaised(x.dpy, cover);
  XSync(x.dpy, False);
  XDestroyWindow(x.dpy, cover);
  XSync(x.dpy, False);
  return true;
}

XCursorImage XShownCursor(const std::string& display) {
  XCursorImage out;
  XConnection x(display);
  if (!x.dpy) return out;
  XFixesCursorImage* image = XFixesGetCursorImage(x.dpy);
  if (!image) return out;
  out.width = image->width;
  out.height = image->height;
  out.hotX = image->xhot;
  out.hotY = image->yhot;
  for (int i = 0; i < out.width * out.height; ++i) out.pixels.push_back(uint32_t(image->pixels[i]));
  XFree(image);
  return out;
}

bool XSendToWindow(const std::string& display, unsigned long window) {
  XConnection x(display);
  if (!x.dpy) return false;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(x.dpy, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  XSendEvent(x.dpy, window, False, NoEventMask, &event);
  XSync(x.dpy, False);
  return true;
}

}  // namespace wxtest
