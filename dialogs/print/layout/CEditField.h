// The in-place edit field of a page text box: drawn in the box's font and colour, and
// growing (never shrinking) with its text down to 3 pixels above the printable area's
// bottom. Keys are the framework field's, so typing works the same with or without a screen.
#pragma once

#include "framework/LEditField.h"
#include "framework/UTextTraits.h"

class CEditField : public LEditField {
 public:
  CEditField(const SPaneInfo& paneInfo, ConstStr255Param text, ResIDT textTraitsID, SInt16 maxChars, UInt8 hasBox,
             UInt8 wordWrap, KeyFilterFunc keyFilter, LCommander* superCommander);

  // The box's traits (not owned), laid out at once so the text is measured in them; null
  // draws with the field's own.
  void SetTextTraitsRecord(const TextTraitsRecord* traits);
  // Fits the field's height to its wrapped text; the box calls it after a font change.
  void UserChangedText() override;

 protected:
  void DrawSelf() override;

 private:
  RGBColor mTextColor;
  const TextTraitsRecord* mTraits = nullptr;
};
