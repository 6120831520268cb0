// A real screen through SDL2: one SDL window per visible platform window (frameless ones
// shaped by their structure region), pixels presented from the window's port, and SDL's
// mouse, keyboard, text and file-drop events turned into raw input.
//
// Frameless windows are borderless SDL windows given the X shape of their structure region,
// and only the parts inside the shape are presented.
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>

#include "display/Display.h"
#include "display/Keys.h"
#include "display/dpySDLCalls.h"
#include "display/dpyShape.h"
#include "display/dpyX11.h"
#include "quickdraw/QDOffscreen.h"
#include "quickdraw/qdRegion.h"
#include "toolbox/TextConvert.h"

namespace {

// A framed window's edge, drawn by the display around its content: a screen without a window
// manager draws no frame of its own, and a dialog would melt into the one behind it.
constexpr int kEdge = 1;
constexpr Uint8 kEdgeGrey = 0x50;
// Up to two seconds for an X server that is slow to take the connection.
constexpr int kScreenTries = 20;
constexpr std::chrono::milliseconds kScreenRetryPause{100};

int Edge(const DpyWindowState& state) { return state.frameless || state.tooltip ? 0 : kEdge; }

struct ScreenWindow {
  SDL_Window* window = nullptr;
  DpyWindowState state;
  PixMapHandle pixels = nullptr;
  qdRegion shape;  // global; frameless windows only
};

UInt16 Modifiers(SDL_Keymod mod) {
  UInt16 m = 0;
  if (mod & KMOD_SHIFT) m |= shiftKey;
  if (mod & (KMOD_CTRL | KMOD_GUI)) m |= cmdKey;
  if (mod & KMOD_ALT) m |= optionKey;
  if (mod & KMOD_CAPS) m |= alphaLock;
  return m;
}

// Keys that produce no text but a character code of their own.
bool SpecialKey(SDL_Keycode key, UInt8* charCode, UInt8* keyCode) {
  struct Entry {
    SDL_Keycode key;
    UInt8 ch, vk;
  };
  static const Entry kTable[] = {
      {SDLK_RETURN, kReturnCharCode, kVKReturn},   {SDLK_KP_ENTER, kEnterCharCode, kVKEnter},
      {SDLK_TAB, kTabCharCode, kVKTab},            {SDLK_BACKSPACE, kBackspaceCharCode, kVKDelete},
      {SDLK_DELETE, kDeleteCharCode, kVKForwardDelete}, {SDLK_ESCAPE, kEscapeCharCode, kVKEscape},
      {SDLK_HOME, kHomeCharCode, kVKHome},         {SDLK_END, kEndCharCode, kVKEnd},
      {SDLK_PAGEUP, kPageUpCharCode, kVKPageUp},   {SDLK_PAGEDOWN, kPageDownCharCode, kVKPageDown},
      {SDLK_LEFT, kLeftArrowCharCode, kVKLeftArrow}, {SDLK_RIGHT, kRightArrowCharCode, kVKRightArrow},
      {SDLK_UP, kUpArrowCharCode, kVKUpArrow},     {SDLK_DOWN, kDownArrowCharCode, kVKDownArrow},
  };
  for (const Entry& e : kTable)
    if (e.key == key) {
      *charCode = e.ch;
      *keyCode = e.vk;
      return true;
    }
  return false;
}

class ScreenBackend final : public DpyBackend {
 public:
  ~ScreenBackend() override {
    for (auto& [id, w] : mWindows)
      if (w.window) Destroy(w.window);
    if (mCursor) Sdl().SDL_FreeCursor(mCursor);
    Sdl().SDL_QuitSubSystem(SDL_INIT_VIDEO);
    Sdl().SDL_Quit();  // also lets go of the session bus SDL opened
  }

  bool IsHeadless() const override { return false; }

  Rect ScreenBounds() const override {
    SDL_Rect r{0, 0, 1024, 768};
    Sdl().SDL_GetDisplayBounds(0, &r);
    return Rect{static_cast<SInt16>(r.y), static_cast<SInt16>(r.x), static_cast<SInt16>(r.y + r.h), static_cast<SInt16>(r.x + r.w)};
  }

  void WindowChanged(DpyWindowID id, const DpyWindowState& state) override {
    ScreenWindow& w = mWindows[id];
    int width = state.content.right - state.content.left, height = state.content.bottom - state.content.top;
    bool sizeChanged = !w.window || width != w.state.content.right - w.state.content.left ||
                       height != w.state.content.bottom - w.state.content.top;
    if (w.window && (sizeChanged || state.frameless != w.state.frameless || state.tooltip != w.state.tooltip)) {
      Destroy(w.window);
      w.window = nullptr;
    }
    const int edge = Edge(state);
    if (!w.window) {
      Uint32 flags = SDL_WINDOW_HIDDEN | (state.frameless ? SDL_WINDOW_BORDERLESS : 0);
      if (state.tooltip) flags |= SDL_WINDOW_TOOLTIP | SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR;
      w.window = Sdl().SDL_CreateWindow(state.titleUTF8.c_str(), state.content.left - edge, state.content.top - edge,
                                        width + 2 * edge, height + 2 * edge, flags);
      if (!w.window) {
        std::fprintf(stderr, "window \"%s\" could not be made: %s\n", state.titleUTF8.c_str(), Sdl().SDL_GetError());
        return;
      }
      mIDs[Sdl().SDL_GetWindowID(w.window)] = id;
    }
    Sdl().SDL_SetWindowTitle(w.window, state.titleUTF8.c_str());
    Sdl().SDL_SetWindowPosition(w.window, state.content.left - edge, state.content.top - edge);
    w.shape = state.shape ? qdRegionOf(state.shape) : qdRegion();
    if (state.frameless) ApplyShape(w, state.content);
    if (state.visible) Sdl().SDL_ShowWindow(w.window);
    else Sdl().SDL_HideWindow(w.window);
    w.state = state;
    w.state.shape = nullptr;
    if (w.pixels && state.visible) Present(id, w.pixels);
  }

  void WindowRemoved(DpyWindowID id) override {
    auto it = mWindows.find(id);
    if (it == mWindows.end()) return;
    if (it->second.window) {
      mIDs.erase(Sdl().SDL_GetWindowID(it->second.window));
      Destroy(it->second.window);
    }
    mWindows.erase(it);
  }

  void Restack(const std::vector<DpyWindowID>& frontToBack) override {
    for (auto it = frontToBack.rbegin(); it != frontToBack.rend(); ++it) {
      auto w = mWindows.find(*it);
      if (w != mWindows.end() && w->second.window && w->second.state.visible) Sdl().SDL_RaiseWindow(w->second.window);
    }
  }

  void Present(DpyWindowID id, PixMapHandle pm) override {
    auto it = mWindows.find(id);
    if (it == mWindows.end() || !pm) return;
    ScreenWindow& w = it->second;
    w.pixels = pm;
    if (!w.window || !w.state.visible) return;
    SDL_Surface* surface = Sdl().SDL_GetWindowSurface(w.window);
    if (!surface) return;
    const auto* base = reinterpret_cast<const uint8_t*>(GetPixBaseAddr(pm));
    if (!base) return;
    const PixMap& p = **pm;
    const int edge = Edge(w.state);
    const long rowBytes = GetPixRowBytes(pm);
    int width = std::min(surface->w - 2 * edge, p.bounds.right - p.bounds.left);
    int height = std::min(surface->h - 2 * edge, p.bounds.bottom - p.bounds.top);
    Sdl().SDL_LockSurface(surface);
    auto row = [&](int y) { return reinterpret_cast<Uint32*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch); };
    if (edge) {
      const Uint32 grey = Sdl().SDL_MapRGB(surface->format, kEdgeGrey, kEdgeGrey, kEdgeGrey);
      for (int y = 0; y < surface->h; ++y) {
        Uint32* line = row(y);
        if (y < edge || y >= surface->h - edge) {
          std::fill(line, line + surface->w, grey);
        } else {
          std::fill(line, line + edge, grey);
          std::fill(line + surface->w - edge, line + surface->w, grey);
        }
      }
    }
    for (int y = 0; y < height; ++y) {
      const uint8_t* src = base + y * rowBytes;
      Uint32* dst = row(y + edge) + edge;
      for (int x = 0; x < width; ++x) dst[x] = Sdl().SDL_MapRGB(surface->format, src[x * 4 + 1], src[x * 4 + 2], src[x * 4 + 3]);
    }
    Sdl().SDL_UnlockSurface(surface);
    if (w.state.frameless) {
      std::vector<SDL_Rect> rects = ShapeRects(w);
      Sdl().SDL_UpdateWindowSurfaceRects(w.window, rects.data(), static_cast<int>(rects.size()));
    } else {
      Sdl().SDL_UpdateWindowSurface(w.window);
    }
  }

  void Poll() override {
    SDL_Event e;
    while (Sdl().SDL_PollEvent(&e)) Translate(e);
  }

  // SDL's own wait wakes itself by sending an event to its newest window, which may be a tool
  // tip the program destroys meanwhile: the wait is on the connection instead.
  void WaitForInput(int milliseconds) override {
    SDL_Event e;
    if (Sdl().SDL_PollEvent(&e)) {
      Translate(e);
      return;
    }
    int fd = -1;
    for (auto it = mWindows.begin(); fd < 0 && it != mWindows.end(); ++it)
      if (it->second.window) fd = DpyXConnectionFd(it->second.window);
    if (fd < 0) {
      if (Sdl().SDL_WaitEventTimeout(&e, milliseconds)) Translate(e);
      return;
    }
    pollfd connection{fd, POLLIN, 0};
    poll(&connection, 1, milliseconds);
    if (Sdl().SDL_PollEvent(&e)) Translate(e);
  }

  void Beep() override { DpyCountBeep(); }

  void SetCursorImage(const Cursor* cursor) override {
    if (!cursor) {
      Sdl().SDL_ShowCursor(SDL_DISABLE);
      return;
    }
    // Black where the image has ink, white where only the mask covers, clear elsewhere.
    SDL_Surface* image = Sdl().SDL_CreateRGBSurfaceWithFormat(0, 16, 16, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!image) return;
    for (int v = 0; v < 16; ++v) {
      auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(image->pixels) + v * image->pitch);
      for (int h = 0; h < 16; ++h) {
        UInt16 bit = UInt16(0x8000 >> h);
        bool ink = cursor->data[v] & bit, covered = cursor->mask[v] & bit;
        row[h] = ink ? 0xFF000000u : covered ? 0xFFFFFFFFu : 0u;
      }
    }
    SDL_Cursor* c = Sdl().SDL_CreateColorCursor(image, cursor->hotSpot.h, cursor->hotSpot.v);
    Sdl().SDL_FreeSurface(image);
    if (!c) return;
    Sdl().SDL_SetCursor(c);
    Sdl().SDL_ShowCursor(SDL_ENABLE);
    if (mCursor) Sdl().SDL_FreeCursor(mCursor);
    mCursor = c;
  }

 private:
  static void Destroy(SDL_Window* window) {
    DpyForgetXWindow(window);
    Sdl().SDL_DestroyWindow(window);
  }

  // The window's shape as rectangles in window coordinates, band by band.
  static std::vector<SDL_Rect> ShapeRects(const ScreenWindow& w) {
    std::vector<SDL_Rect> rects;
    const Rect& c = w.state.content;
    for (const qdBand& b : w.shape.Bands())
      for (size_t i = 0; i + 1 < b.xs.size(); i += 2)
        rects.push_back(SDL_Rect{b.xs[i] - c.left, b.top - c.top, b.xs[i + 1] - b.xs[i], b.bottom - b.top});
    return rects;
  }

  void ApplyShape(ScreenWindow& w, const Rect& content) {
    std::vector<SDL_Rect> rects;
    for (const qdBand& b : w.shape.Bands())
      for (size_t i = 0; i + 1 < b.xs.size(); i += 2)
        rects.push_back(SDL_Rect{b.xs[i] - content.left, b.top - content.top, b.xs[i + 1] - b.xs[i], b.bottom - b.top});
    DpySetWindowShape(w.window, rects);
  }

  Point GlobalMouse() const {
    int x = 0, y = 0;
    Sdl().SDL_GetGlobalMouseState(&x, &y);
    return Point{static_cast<SInt16>(y), static_cast<SInt16>(x)};
  }

  Point GlobalOf(Uint32 windowID, int x, int y) const {
    auto it = mIDs.find(windowID);
    if (it != mIDs.end()) {
      auto w = mWindows.find(it->second);
      if (w != mWindows.end()) {
        const int edge = Edge(w->second.state);
        return Point{static_cast<SInt16>(w->second.state.content.top + y - edge),
                     static_cast<SInt16>(w->second.state.content.left + x - edge)};
      }
    }
    return GlobalMouse();
  }

  void Translate(const SDL_Event& e) {
    DpyInput in;
    in.modifiers = Modifiers(Sdl().SDL_GetModState());
    switch (e.type) {
      case SDL_MOUSEMOTION:
        in.kind = DpyInputKind::MouseMove;
        in.where = GlobalOf(e.motion.windowID, e.motion.x, e.motion.y);
        DpyPostInput(in);
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        if (e.button.button != SDL_BUTTON_LEFT) break;
        in.kind = e.type == SDL_MOUSEBUTTONDOWN ? DpyInputKind::MouseDown : DpyInputKind::MouseUp;
        in.where = GlobalOf(e.button.windowID, e.button.x, e.button.y);
        DpyPostInput(in);
        break;
      case SDL_KEYDOWN: {
        UInt8 ch = 0, vk = 0;
        in.kind = e.key.repeat ? DpyInputKind::AutoKey : DpyInputKind::KeyDown;
        in.where = GlobalMouse();
        if (SpecialKey(e.key.keysym.sym, &ch, &vk)) {
          in.message = ch | (UInt32(vk) << 8);
          DpyPostInput(in);
        } else if ((in.modifiers & cmdKey) && e.key.keysym.sym < 128 && e.key.keysym.sym >= 32) {
          in.message = static_cast<UInt32>(e.key.keysym.sym);  // command keys bring no text
          DpyPostInput(in);
        }
        break;
      }
      case SDL_TEXTINPUT: {
        std::string bytes;
        if (!UTF8ToScript(e.text.text, &bytes)) break;
        in.kind = DpyInputKind::KeyDown;
        in.where = GlobalMouse();
        in.modifiers &= static_cast<UInt16>(~cmdKey);
        for (unsigned char b : bytes) {
          in.message = b;
          DpyPostInput(in);
        }
        break;
      }
      case SDL_DROPBEGIN: mDrop.clear(); break;
      case SDL_DROPFILE:
        if (e.drop.file) {
          mDrop.emplace_back(e.drop.file);
          Sdl().SDL_free(e.drop.file);
        }
        break;
      case SDL_DROPCOMPLETE:
        if (!mDrop.empty()) {
          in.kind = DpyInputKind::FileDrop;
          in.where = GlobalMouse();
          in.paths = std::move(mDrop);
          mDrop.clear();
          DpyPostInput(in);
        }
        break;
      case SDL_QUIT:
        in.kind = DpyInputKind::Quit;
        DpyPostInput(in);
        break;
      case SDL_WINDOWEVENT: {
        auto it = mIDs.find(e.window.windowID);
        if (it == mIDs.end()) break;
        auto w = mWindows.find(it->second);
        if (w == mWindows.end()) break;
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED && w->second.pixels) Present(it->second, w->second.pixels);
        if (e.window.event == SDL_WINDOWEVENT_MOVED) {
          const int edge = Edge(w->second.state);
          Point p{static_cast<SInt16>(e.window.data2 + edge), static_cast<SInt16>(e.window.data1 + edge)};
          Rect& c = w->second.state.content;
          if (p.h != c.left || p.v != c.top) {
            OffsetRect(&c, static_cast<SInt16>(p.h - c.left), static_cast<SInt16>(p.v - c.top));
            DpyReportMoved(it->second, p);
          }
        }
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
          in.kind = DpyInputKind::CloseWindow;
          in.window = it->second;
          DpyPostInput(in);
        }
        break;
      }
      default: break;
    }
  }

  std::map<DpyWindowID, ScreenWindow> mWindows;
  std::map<Uint32, DpyWindowID> mIDs;
  std::vector<std::string> mDrop;
  SDL_Cursor* mCursor = nullptr;
};

}  // namespace

std::unique_ptr<DpyBackend> DpyMakeScreen() {
  if (!DpySDL()) return nullptr;
  Sdl().SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  Sdl().SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  // The window system's own framebuffer: presenting through GL would ignore window shapes.
  Sdl().SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // A click that reaches a window just after it took the focus acts: input that waited in
  // the queue while the program was busy comes right behind the focus change.
  Sdl().SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  // The window system the environment names, and no other: left to itself SDL falls back to
  // drivers that show nothing, and the program would run with no window at all.
  if (!std::getenv("SDL_VIDEODRIVER")) Sdl().SDL_SetHint(SDL_HINT_VIDEODRIVER, std::getenv("DISPLAY") ? "x11" : "wayland");
  // A busy X server can turn a connection away for a moment (EAGAIN): try again for a while
  // before giving up.
  int tries = 0;
  while (Sdl().SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    if (++tries == kScreenTries) {
      std::fprintf(stderr, "the screen could not be opened: %s\n", Sdl().SDL_GetError());
      return nullptr;
    }
    std::this_thread::sleep_for(kScreenRetryPause);
  }
  DpyWatchXErrors();
  Sdl().SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
  Sdl().SDL_StartTextInput();
  return std::make_unique<ScreenBackend>();
}
