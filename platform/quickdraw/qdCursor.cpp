// The cursor: the arrow, 'CURS' cursors and theme cursors, all 16x16 one-bit images the
// display shows through the cursor hook; tests read which one is set.
#include <algorithm>
#include <iterator>

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

// Theme cursor art: 'X' black, 'o' white, '.' clear. Every shape gets a one-pixel white
// halo so it stays visible on dark content.
using CursorArt = const char[16][17];

constexpr Cursor FromArt(CursorArt& art, Point hotSpot) {
  Cursor c{{}, {}, hotSpot};
  UInt16 shape[16] = {};
  for (int v = 0; v < 16; ++v)
    for (int h = 0; h < 16; ++h) {
      UInt16 bit = UInt16(0x8000 >> h);
      if (art[v][h] == 'X') c.data[v] |= bit;
      if (art[v][h] != '.') shape[v] |= bit;
    }
  for (int v = 0; v < 16; ++v)
    for (int dv = -1; dv <= 1; ++dv) {
      if (v + dv < 0 || v + dv > 15) continue;
      UInt16 row = shape[v + dv];
      c.mask[v] |= UInt16(row | (row << 1) | (row >> 1));
    }
  return c;
}

// The arrow with a boxed '+' in its lower right corner.
constexpr Cursor WithCopyBadge(Cursor c) {
  constexpr const char* kBadge[7] = {"XXXXXXX", "XoooooX", "XooXooX", "XoXXXoX", "XooXooX", "XoooooX", "XXXXXXX"};
  for (int v = 0; v < 7; ++v)
    for (int h = 0; h < 7; ++h) {
      UInt16 bit = UInt16(0x8000 >> (9 + h));
      c.mask[9 + v] |= bit;
      if (kBadge[v][h] == 'X')
        c.data[9 + v] |= bit;
      else
        c.data[9 + v] &= UInt16(~bit);
    }
  return c;
}

constexpr CursorArt kIBeamArt = {
    "................", ".XX.XX..........", "...X............", "...X............", "...X............",
    "...X............", "...X............", "...X............", "...X............", "...X............",
    "...X............", "...X............", "...X............", "...X............", ".XX.XX..........",
    "................"};
constexpr CursorArt kCrossArt = {
    ".......X........", ".......X........", ".......X........", ".......X........", ".......X........",
    ".......X........", ".......X........", "XXXXXXXXXXXXXXX.", ".......X........", ".......X........",
    ".......X........", ".......X........", ".......X........", ".......X........", ".......X........",
    "................"};
constexpr CursorArt kPlusArt = {
    "................", "................", "................", "......XX........", "......XX........",
    "......XX........", "......XX........", "..XXXXXXXXXX....", "..XXXXXXXXXX....", "......XX........",
    "......XX........", "......XX........", "......XX........", "................", "................",
    "................"};
constexpr CursorArt kWatchArt = {
    ".....XXXXXX.....", ".....XXXXXX.....", "....XXXXXXXX....", "...XooooXoooX...", "..XoooooXooooX..",
    "..XoooooXooooX..", "..XoooooXooooXX.", "..XoooooXXXXoXX.", "..XooooooooooX..", "..XooooooooooX..",
    "...XooooooooX...", "....XXXXXXXX....", ".....XXXXXX.....", ".....XXXXXX.....", "................",
    "................"};
constexpr CursorArt kClosedHandArt = {
    "................", "................", "................", "....XX.XX.XX....", "...XooXooXooXX..",
    "...XoooooooooX..", "..XXoooooooooX..", ".XooXooooooooX..", ".XoooooooooooX..", "..XooooooooooX..",
    "...XoooooooooX..", "....XooooooooX..", ".....XooooooX...", ".....XooooooX...", "................",
    "................"};
constexpr CursorArt kOpenHandArt = {
    "....XX.XX.XX....", "...XooXooXooX...", "...XooXooXooX...", "...XooXooXooXX..", "...XooXooXooXoX.",
    "...XoooooooooX..", "..XXoooooooooX..", ".XooXooooooooX..", ".XoooooooooooX..", "..XooooooooooX..",
    "...XoooooooooX..", "....XooooooooX..", ".....XooooooX...", ".....XooooooX...", "................",
    "................"};
constexpr CursorArt kPointingHandArt = {
    "....XX..........", "...XooX.........", "...XooX.........", "...XooX.........", "...XooXXX.......",
    "...XooXooXXX....", "XX.XooXooXooXX..", "XoXXooooooooXoX.", "XooXoooooooooooX", ".XoooooooooooooX",
    "..XooooooooooooX", "..XoooooooooooX.", "...XooooooooooX.", "....XoooooooooX.", ".....XoooooooX..",
    ".....XoooooooX.."};

// Indexed by ThemeCursor; the alias and contextual-menu arrows show the plain arrow.
constexpr Cursor kThemeCursors[] = {
    kArrow,
    WithCopyBadge(kArrow),
    kArrow,
    kArrow,
    FromArt(kIBeamArt, {8, 3}),
    FromArt(kCrossArt, {7, 7}),
    FromArt(kPlusArt, {7, 7}),
    FromArt(kWatchArt, {7, 8}),
    FromArt(kClosedHandArt, {8, 8}),
    FromArt(kOpenHandArt, {8, 8}),
    FromArt(kPointingHandArt, {0, 4}),
};
static_assert(std::size(kThemeCursors) == kThemePointingHandCursor + 1);

Cursor sCursor = kArrow;
ThemeCursor sTheme = kThemeArrowCursor;
int sHidden = 0;
int sBusy = 0;
qdCursorHook sHook = nullptr;

// While the watch of a wait is up, cursors set meanwhile wait for its end.
void Show() {
  if (sHook && sBusy == 0) sHook(sHidden > 0 ? nullptr : &sCursor);
}

}  // namespace

void qdSetCursorHook(qdCursorHook hook) {
  sHook = hook;
  Show();
}

void qdShowBusyCursor(bool busy) {
  const int before = sBusy;
  sBusy = busy ? sBusy + 1 : std::max(sBusy - 1, 0);
  if (before == 0 && sBusy > 0 && sHook) sHook(&kThemeCursors[kThemeWatchCursor]);
  if (before > 0 && sBusy == 0) Show();
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
OSStatus SetThemeCursor(ThemeCursor cursor) {
  if (cursor >= std::size(kThemeCursors)) return paramErr;
  sCursor = kThemeCursors[cursor];
  sTheme = cursor;
  Show();
  return noErr;
}
ThemeCursor GetCurrentThemeCursorForTest() { return sTheme; }
