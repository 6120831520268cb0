// The cursor: the arrow, 'CURS' cursors and theme cursors. The display shows it; tests
// read which one is set.
#include "quickdraw/Appearance.h"
#include "quickdraw/qdPort.h"
#include "toolbox/MacErrors.h"

namespace {

constexpr Cursor kArrow = {
    {0x0000, 0x4000, 0x6000, 0x7000, 0x7800, 0x7C00, 0x7E00, 0x7F00, 0x7F80, 0x7C00, 0x6C00, 0x4600, 0x0600, 0x0300,
     0x0300, 0x0000},
    {0xC000, 0xE000, 0xF000, 0xF800, 0xFC00, 0xFE00, 0xFF00, 0xFF80, 0xFFC0, 0xFFE0, 0xFE00, 0xEF00, 0xCF00, 0x8780,
     0x0780, 0x0380},
    {1, 1}};

Cursor sCursor = kArrow;
ThemeCursor sTheme = kThemeArrowCursor;
int sHidden = 0;
qdCursorHook sHook = nullptr;

void Show() {
  if (sHook) sHook(sHidden > 0 ? nullptr : &sCursor);
}

}  // namespace

void qdSetCursorHook(qdCursorHook hook) {
  sHook = hook;
  Show();
}

void InitCursor() {
  sCursor = kArrow;
  sTheme = kThemeArrowCursor;
  sHidden = 0;
  Show();
}
void SetCursor(const Cursor* cursor) {
  if (!cursor) return;
  sCursor = *cursor;
  sTheme = kThemeArrowCursor;
  Show();
}
Cursor* GetQDGlobalsArrow(Cursor* arrow) {
  *arrow = kArrow;
  return arrow;
}
void HideCursor() {
  ++sHidden;
  Show();
}
void ShowCursor() {
  if (sHidden > 0) --sHidden;
  Show();
}
void ObscureCursor() {}
const Cursor* QDCurrentCursor() { return &sCursor; }

OSStatus RegisterAppearanceClient() { return noErr; }
OSStatus UnregisterAppearanceClient() { return noErr; }
// Theme cursors other than the arrow keep the arrow's image; the theme is what they add.
OSStatus SetThemeCursor(ThemeCursor cursor) {
  sCursor = kArrow;
  sTheme = cursor;
  Show();
  return noErr;
}
ThemeCursor GetCurrentThemeCursorForTest() { return sTheme; }
