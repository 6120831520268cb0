// Text traits: font, size, style, justification, transfer mode and colour, stored in
// 'Txtr' resources (272 bytes: size i16, style i16, justification i16, mode i16, RGB colour
// 3 x u16, font number i16, font name Str255; a non-empty name wins over the number).
// ID 0 is the system font at 12 points, black, left-aligned.
#pragma once

#include "framework/FrameworkTypes.h"
#include "quickdraw/QuickDraw.h"

enum : SInt16 { teFlushDefault = 0, teCenter = 1, teFlushRight = -1, teFlushLeft = -2 };

struct TERec;

struct TextTraitsRecord {
  SInt16 size;
  SInt16 style;
  SInt16 justification;
  SInt16 mode;
  RGBColor color;
  SInt16 fontNumber;
  Str255 fontName;
};
constexpr size_t kTextTraitsRecordSize = 272;

class UTextTraits {
 public:
  // Sets the current port's text traits; returns the justification.
  static SInt16 SetPortTextTraits(ResIDT traitsID);
  static SInt16 SetPortTextTraits(const TextTraitsRecord& traits);
  // The traits of `traitsID` (the system traits when the resource is missing or damaged).
  static void LoadTextTraits(ResIDT traitsID, TextTraitsRecord& outTraits);
  static void LoadSystemTraits(TextTraitsRecord& outTraits);
  // Gives a TextEdit record the traits' font, size, face and justification (null: the
  // system traits) and lays its text out again.
  static void SetTETextTraits(const TextTraitsRecord* traits, TERec** te);
  static void SetTETextTraits(ResIDT traitsID, TERec** te);
};
