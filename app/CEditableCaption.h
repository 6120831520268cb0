// A caption the user can rename in place: a click opens an edit field over it, and a click
// anywhere else takes the edited text into the caption.
#pragma once

#include "framework/LCaption.h"
#include "framework/LPeriodical.h"

class LEditField;

class CEditableCaption : public LCaption, public LPeriodical {
 public:
  static constexpr SInt16 kMaxChars = 8;

  CEditableCaption(const SPaneInfo& paneInfo, ConstStr255Param text, ResIDT textTraitsID, UInt8 editable);
  ~CEditableCaption() override;

  // The open edit field, or null while not editing.
  LEditField* GetEditField() const { return mEditField; }
  // The caption's text, or the edit field's while it is open.
  void GetCurrentText(Str255 outText) const;
  // Sets the caption and the open edit field.
  void SetCurrentText(ConstStr255Param text);

  void SpendTime(const EventRecord& event) override;
  void Draw(RgnHandle superDrawRgn) override;

  // The pane ID of an edit field opened over a caption: four characters of the tick count.
  static PaneIDT EditFieldID();

  // Draws `length` bytes wrapped inside `frame`, each line placed by `justification`; lines
  // whose baseline would fall below the frame are left out.

  static void DrawWithJustificationMyOnly(const char* text, long length, const Rect& frame, SInt16 justification,
                                          bool addLeading);

 protected:
  void ClickSelf(const SMouseDownEvent& event) override;
  void DrawSelf() override;
  // An edit field over the caption: its frame and pane ID.
  SPaneInfo EditFieldPaneInfo() const;

 private:
  void EndEditing();

  LEditField* mEditField = nullptr;
  UInt8 mEditable;
};
