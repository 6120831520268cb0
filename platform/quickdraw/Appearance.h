// The Appearance Manager calls this system makes: registration and theme cursors.
#pragma once

#include "toolbox/MacTypes.h"

typedef UInt32 ThemeCursor;
enum : UInt32 {
  kThemeArrowCursor = 0,
  kThemeCopyArrowCursor = 1,
  kThemeAliasArrowCursor = 2,
  kThemeContextualMenuArrowCursor = 3,
  kThemeIBeamCursor = 4,
  kThemeCrossCursor = 5,
  kThemePlusCursor = 6,
  kThemeWatchCursor = 7,
  kThemeClosedHandCursor = 8,
  kThemeOpenHandCursor = 9,
  kThemePointingHandCursor = 10,
};

OSStatus RegisterAppearanceClient();
OSStatus UnregisterAppearanceClient();
// Shows the theme cursor's own image; an unknown one answers paramErr and changes nothing.
OSStatus SetThemeCursor(ThemeCursor cursor);
// The theme cursor last set (kThemeArrowCursor after InitCursor or SetCursor); tests read it.
ThemeCursor GetCurrentThemeCursorForTest();
