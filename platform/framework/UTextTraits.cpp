#include "framework/UTextTraits.h"

#include <cstring>

#include "quickdraw/Fonts.h"
#include "quickdraw/QuickDrawText.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"
#include "toolbox/Resources.h"
#include "windows/TextEdit.h"

namespace {

// Offsets of the stored record.
constexpr size_t kSize = 0, kStyle = 2, kJust = 4, kMode = 6, kColor = 8, kFontNumber = 14, kFontName = 16;
static_assert(kFontName + 256 == kTextTraitsRecordSize);

}  // namespace

void UTextTraits::LoadSystemTraits(TextTraitsRecord& t) {
  t.size = 12;
  t.style = normal;
  t.justification = teFlushDefault;
  t.mode = srcOr;
  t.color = {0, 0, 0};
  t.fontNumber = systemFont;
  t.fontName[0] = 0;
}

void UTextTraits::LoadTextTraits(ResIDT traitsID, TextTraitsRecord& t) {
  LoadSystemTraits(t);
  if (traitsID == 0) return;
  Handle data = GetResource('Txtr', traitsID);
  if (!data || GetHandleSize(data) < static_cast<Size>(kFontName + 1)) return;
  RecordBytes r(*data, static_cast<size_t>(GetHandleSize(data)));
  t.size = r.i16(kSize);
  t.style = r.i16(kStyle);
  t.justification = r.i16(kJust);
  t.mode = r.i16(kMode);
  t.color = {r.u16(kColor), r.u16(kColor + 2), r.u16(kColor + 4)};
  t.fontNumber = r.i16(kFontNumber);
  r.pstr(kFontName, r.size() - kFontName < 256 ? r.size() - kFontName : 256, t.fontName);
  if (t.fontName[0]) GetFNum(t.fontName, &t.fontNumber);
}

SInt16 UTextTraits::SetPortTextTraits(const TextTraitsRecord& t) {
  TextFont(t.fontNumber);
  TextSize(t.size ? t.size : GetDefFontSize());
  TextFace(t.style);
  TextMode(t.mode);
  RGBForeColor(&t.color);
  return t.justification;
}

SInt16 UTextTraits::SetPortTextTraits(ResIDT traitsID) {
  TextTraitsRecord t;
  LoadTextTraits(traitsID, t);
  return SetPortTextTraits(t);
}

void UTextTraits::SetTETextTraits(const TextTraitsRecord* traits, TERec** te) {
  TextTraitsRecord system;
  if (!traits) {
    LoadSystemTraits(system);
    traits = &system;
  }
  (*te)->txFont = traits->fontNumber;
  (*te)->txSize = traits->size ? traits->size : GetDefFontSize();
  (*te)->txFace = static_cast<Style>(traits->style);
  (*te)->just = traits->justification;
  TECalText(te);
}

void UTextTraits::SetTETextTraits(ResIDT traitsID, TERec** te) {
  TextTraitsRecord traits;
  LoadTextTraits(traitsID, traits);
  SetTETextTraits(&traits, te);
}
