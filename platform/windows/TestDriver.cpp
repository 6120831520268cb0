// The test driver posts raw input exactly as a screen would, so the Event Manager and
// everything above it run the same code with or without one.
#include "windows/TestDriver.h"

#include "display/Display.h"
#include "quickdraw/QDOffscreen.h"
#include "toolbox/Clock.h"

namespace wxdriver {

namespace {

void Post(DpyInputKind kind, Point where, EventModifiers modifiers, UInt32 message = 0) {
  DpyInput in;
  in.kind = kind;
  in.where = where;
  in.modifiers = modifiers;
  in.message = message;
  DpyPostInput(in);
}

}  // namespace

void MouseMove(Point global) { Post(DpyInputKind::MouseMove, global, 0); }
void MouseDown(Point global, EventModifiers modifiers) { Post(DpyInputKind::MouseDown, global, modifiers); }
void MouseUp(Point global, EventModifiers modifiers) { Post(DpyInputKind::MouseUp, global, modifiers); }

void Click(Point global, EventModifiers modifiers) {
  MouseDown(global, modifiers);
  MouseUp(global, modifiers);
}

void ClickInWindow(WindowRef window, Point local, EventModifiers modifiers) {
  Rect content;
  GetWindowBounds(window, kWindowContentRgn, &content);
  Rect port;
  GetWindowPortBounds(window, &port);
  Click(Point{static_cast<SInt16>(content.top + local.v - port.top), static_cast<SInt16>(content.left + local.h - port.left)},
        modifiers);
}

void Drag(Point from, Point to, int steps, EventModifiers modifiers) {
  if (steps < 1) steps = 1;
  MouseDown(from, modifiers);
  for (int i = 1; i <= steps; ++i)
    MouseMove(Point{static_cast<SInt16>(from.v + (to.v - from.v) * i / steps), static_cast<SInt16>(from.h + (to.h - from.h) * i / steps)});
  MouseUp(to, modifiers);
}

void Key(UInt8 charCode, UInt8 keyCode, EventModifiers modifiers) {
  Post(DpyInputKind::KeyDown, Point{0, 0}, modifiers, charCode | (UInt32(keyCode) << 8));
}

void Type(const std::string& scriptBytes) {
  for (unsigned char b : scriptBytes) Key(b);
}

void DropFiles(Point global, const std::vector<std::string>& paths) {
  DpyInput in;
  in.kind = DpyInputKind::FileDrop;
  in.where = global;
  in.paths = paths;
  DpyPostInput(in);
}

void RequestWindowClose(WindowRef window) {
  DpyInput in;
  in.kind = DpyInputKind::CloseWindow;
  in.window = window;
  DpyPostInput(in);
}

void AdvanceTicks(UInt32 ticks) { ClockAdvanceTicks(ticks); }

std::vector<EventRecord> DrainEvents() {
  std::vector<EventRecord> out;
  EventRecord e;
  while (WaitNextEvent(static_cast<EventMask>(everyEvent & ~updateMask), &e, 0, nullptr) && e.what != nullEvent) out.push_back(e);
  return out;
}

std::vector<UInt32> WindowPixels(WindowRef window, int* width, int* height) {
  PixMapHandle pm = GetPortPixMap(GetWindowPort(window));
  const auto* base = reinterpret_cast<const uint8_t*>(GetPixBaseAddr(pm));
  const PixMap& p = **pm;
  *width = p.bounds.right - p.bounds.left;
  *height = p.bounds.bottom - p.bounds.top;
  std::vector<UInt32> out(static_cast<size_t>(*width) * *height);
  if (!base) return out;
  const long rowBytes = GetPixRowBytes(pm);
  for (int y = 0; y < *height; ++y) {
    const uint8_t* row = base + y * rowBytes;
    for (int x = 0; x < *width; ++x)
      out[static_cast<size_t>(y) * *width + x] = (UInt32(row[x * 4 + 1]) << 16) | (UInt32(row[x * 4 + 2]) << 8) | row[x * 4 + 3];
  }
  return out;
}

bool SaveWindowPNG(WindowRef window, const std::filesystem::path& path) {
  int w = 0, h = 0;
  std::vector<UInt32> pixels = WindowPixels(window, &w, &h);
  return DpyWritePNG(path.string(), pixels.data(), w, h);
}

}  // namespace wxdriver
