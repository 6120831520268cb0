#include "display/dpyX11.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <errno.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <deque>

#include "display/dpySDLCalls.h"

namespace {

#define WX_XERROR_CALLS(X) X(XSetErrorHandler) X(XSetIOErrorHandler) X(XGetErrorText)
struct XErrorCalls {
  WX_XERROR_CALLS(WX_LAZY_CALL)
};

const XErrorCalls* XErrors() {
  static XErrorCalls calls;
  static LazyLibrary library(WX_X11_SONAME, "X error handling");
  return library.Load([](LazyLibrary& library) { return true WX_XERROR_CALLS(WX_LAZY_FIND); }) ? &calls : nullptr;
}

// The last windows destroyed; a request still under way when one went names only these.
constexpr size_t kRemembered = 256;
std::deque<XID>& Destroyed() {
  static std::deque<XID> ids;
  return ids;
}

XErrorHandler gPrevious = nullptr;

int OnError(Display* display, XErrorEvent* error) {
  const bool aboutWindow = error->error_code == BadWindow || error->error_code == BadDrawable;
  const auto& ids = Destroyed();
  if (aboutWindow && std::find(ids.begin(), ids.end(), error->resourceid) != ids.end()) {
    char text[128] = "";
    XErrors()->XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "X error ignored: %s (request %d) about window 0x%lx, already closed\n", text,
                 error->request_code, error->resourceid);
    return 0;
  }
  return gPrevious ? gPrevious(display, error) : 0;
}

[[noreturn]] int OnConnectionLost(Display* display) {
  char message[256];
  const int length = std::snprintf(message, sizeof message, "%s: the display %s went away; ending.\n",
                                   program_invocation_short_name, display ? DisplayString(display) : "");
  if (length > 0) (void)!write(STDERR_FILENO, message, std::min<size_t>(size_t(length), sizeof message - 1));
  _exit(1);
}

Display* XDisplayOf(SDL_Window* window, Window* xwindow) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !Sdl().SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
  if (xwindow) *xwindow = info.info.x11.window;
  return info.info.x11.display;
}

}  // namespace

void DpyWatchXErrors() {
  const XErrorCalls* calls = XErrors();
  if (!calls) return;
  // SDL puts back the handler it found when it lets the screen go: installed again with
  // every screen, and never chained to itself.
  const XErrorHandler previous = calls->XSetErrorHandler(OnError);
  if (previous != OnError) gPrevious = previous;
  calls->XSetIOErrorHandler(OnConnectionLost);
}

void DpyForgetXWindow(SDL_Window* window) {
  Window xwindow = 0;
  if (!XDisplayOf(window, &xwindow)) return;
  std::deque<XID>& ids = Destroyed();
  ids.push_back(xwindow);
  if (ids.size() > kRemembered) ids.pop_front();
}

int DpyXConnectionFd(SDL_Window* window) {
  Display* display = XDisplayOf(window, nullptr);
  return display ? ConnectionNumber(display) : -1;
}
