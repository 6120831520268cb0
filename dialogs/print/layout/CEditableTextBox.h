// A block of text on a page of the print layout: selected by a click, moved by its inside
// or edges, resized by eight handles, edited in place after a double click, drawn in its
// own font, size, style and colour, and printed at its place scaled to the paper. It keeps
// inside the printable area of the page area's paper pane.
#pragma once

#include <array>
#include <memory>

#include "app/CEditableCaption.h"
#include "framework/LBroadcaster.h"
#include "framework/UTextTraits.h"
#include "output/hubdialogs/WXFontDialog.h"

class CEditField;
class CPictureView;
class LBWCursor;
class LDialogBox;

class CEditableTextBox : public CEditableCaption, public LBroadcaster {
 public:
  // Broadcast on every click, with a pointer to the box's pane ID, before it is selected.
  static constexpr MessageT msg_Clicked = 'ClTB';
  // Broadcast when the box stops being selected or its edit field closes (no parameter).
  static constexpr MessageT msg_Unselected = 'UCTB';
  // The most bytes a box holds: its text is one Str255.
  static constexpr SInt16 kMaxChars = 255;

  CEditableTextBox(const SPaneInfo& info, ConstStr255Param text, ResIDT textTraitsID, UInt8 selected);
  ~CEditableTextBox() override;

  UInt8 IsSelected() const { return mSelected; }
  void SetSelected(UInt8 selected) { mSelected = selected; }
  // The layout dialog: the edit field's super commander (none when null).
  void SetDialog(LDialogBox* dialog) { mDialog = dialog; }
  const TextTraitsRecord& GetTextTraits() const { return mTraits; }
  void SetTextTraits(const TextTraitsRecord& traits) { mTraits = traits; }
  // The record the font dialog edits; SetTextFotrmatValue applies it.
  StFontDialog& FontSettings() { return mFont; }
  CEditField* GetEditField() const { return mField; }

  // Opens the edit field as the keyboard target (the box must have none open).
  void CreateEditField();
  // Unselects the box and closes an open edit field, its text kept as the box's.
  void DeleteEditField();
  // Moves the box, and cuts it where it must, to lie inside the printable area.
  void CheckAndResize();
  void SetTextFotrmatValue(const StFontDialog& font);
  // Grows the box to the height of its wrapped text (never shrinks it).
  void ResizeHeight();

  void SpendTime(const EventRecord& event) override;

 protected:
  void ClickSelf(const SMouseDownEvent& event) override;
  void AdjustMouseSelf(Point portPt, const EventRecord& event, RgnHandle mouseRgn) override;
  void DrawSelf() override;
  void PrintPanelSelf(const PanelSpec& panel) override;

 private:
  CPictureView* Area() const;
  bool PrintableArea(Rect& outRange) const;
  CEditField* MakeField();
  // The field's text becomes the box's, and the field goes.
  void CommitField();
  void Unselect();
  void RedrawArea();
  void ResizeAndMoveLoop(const SMouseDownEvent& event);
  void MoveFrameTo(const Rect& frame);
  void PaintSelectedFrame();
  // The frame relative to the page area's top left.
  Rect AreaFrame() const;

  UInt8 mSelected;
  TextTraitsRecord mTraits;
  CEditField* mField = nullptr;
  LDialogBox* mDialog = nullptr;
  StFontDialog mFont;
  std::array<std::unique_ptr<LBWCursor>, 5> mCursors;
};
