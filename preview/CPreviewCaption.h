// The name under a preview thumbnail, renamed in place: a click opens a 20-character field
// over it, and a click anywhere but this thumbnail's caption or field takes the typed text
// into the caption. Captions that stand for a numbered page of one document are not
// editable and show no field.
#pragma once

#include "app/CEditableCaption.h"
#include "framework/LBroadcaster.h"

class CPreviewEditField;

class CPreviewCaption : public CEditableCaption, public LBroadcaster {
 public:
  enum : PaneIDT { kPaneID = 'Fncp' };
  enum : MessageT { msg_Click = 'Fncp' };
  static constexpr SInt16 kMaxChars = 20;

  CPreviewCaption(const SPaneInfo& paneInfo, ConstStr255Param text, ResIDT textTraitsID, UInt8 editable);
  ~CPreviewCaption() override;

  void SetEditTextTraits(ResIDT id) { mEditTraitsID = id; }
  void SetEditable(bool editable);
  bool IsEditable() const { return mEditable; }
  CPreviewEditField* GetEditField() const { return mEdit; }
  // The typed text while editing, else the caption's.
  void GetText(Str255 out) const;
  // The typed text becomes the caption's; the field stays open.
  void TakeEditText();
  // The typed text becomes the caption's and the field closes.
  void CommitEdit();

  void SpendTime(const EventRecord& event) override;
  void Draw(RgnHandle superDrawRgn) override;
  void DrawForDrag();

 protected:
  void ClickSelf(const SMouseDownEvent& event) override;
  void DrawSelf() override;

 private:
  void DrawIn(const Rect& frame);

  CPreviewEditField* mEdit = nullptr;
  bool mEditable;
  ResIDT mEditTraitsID = 0;
};
