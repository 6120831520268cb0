#include "dialogs/print/layout/CEditableTextBox.h"

#include <cmath>

#include "dialogs/print/layout/CEditField.h"
#include "dialogs/print/layout/CPictureView.h"
#include "dialogs/print/layout/CPrintSizePane.h"
#include "dialogs/print/layout/PageGeometry.h"
#include "framework/LBWCursor.h"
#include "framework/LDialogBox.h"
#include "framework/LException.h"
#include "framework/LUndoer.h"
#include "framework/StColorPenState.h"
#include "framework/UTextDrawing.h"
#include "quickdraw/Fonts.h"
#include "windows/Events.h"

namespace {

constexpr SInt16 kFirstCursor = 130;
constexpr SInt16 kArrow = 130, kVertical = 131, kHorizontal = 132, kDiagonalDown = 133, kDiagonalUp = 134;

SInt16 CursorForZone(SInt16 zone) {
  switch (zone) {
    case 1: case 4: return kDiagonalDown;
    case 2: case 3: return kDiagonalUp;
    case 10: case 11: return kVertical;
    case 12: case 13: return kHorizontal;
    default: return kArrow;
  }
}

SInt16 Low16(SInt32 v) { return static_cast<SInt16>(v & 0xFFFF); }

}  // namespace

CEditableTextBox::CEditableTextBox(const SPaneInfo& info, ConstStr255Param text, ResIDT textTraitsID, UInt8 selected)
    : CEditableCaption(info, text, textTraitsID, 0), mSelected(selected) {
  UTextTraits::LoadSystemTraits(mTraits);
  mFont.font = mTraits.fontNumber;
  mFont.size = mTraits.size;
  mFont.color = mTraits.color;
  for (size_t i = 0; i < mCursors.size(); ++i)
    mCursors[i] = std::make_unique<LBWCursor>(static_cast<SInt16>(kFirstCursor + i));
}

CEditableTextBox::~CEditableTextBox() {
  StopRepeating();
  delete mField;
}

CPictureView* CEditableTextBox::Area() const { return dynamic_cast<CPictureView*>(GetSuperView()); }

bool CEditableTextBox::PrintableArea(Rect& outRange) const {
  CPictureView* area = Area();
  CPrintSizePane* paper = area ? area->GetPaper() : nullptr;
  if (!paper) return false;
  paper->GetPrintRangeRect(outRange, 1);
  return true;
}

Rect CEditableTextBox::AreaFrame() const {
  Rect frame;
  CalcPortFrameRect(frame);
  SPoint32 origin{0, 0};
  if (GetSuperView()) GetSuperView()->GetFrameLocation(origin);
  OffsetRect(&frame, static_cast<SInt16>(-origin.h), static_cast<SInt16>(-origin.v));
  return frame;
}

CEditField* CEditableTextBox::MakeField() {
  const Rect place = AreaFrame();
  SPaneInfo info;
  info.paneID = EditFieldID();
  info.width = static_cast<SInt16>(mFrameSize.width - 6);
  info.height = static_cast<SInt16>(mFrameSize.height - 6);
  info.left = place.left + 3;
  info.top = place.top + 3;
  info.visible = false;
  info.enabled = false;
  info.bindings = mFrameBinding;
  info.superView = GetSuperView();
  mField = new CEditField(info, mText, mTextTraitsID, kMaxChars, 0, 1, &UKeyFilters::PrintingCharAndCRField,
                          mDialog);
  ThrowIfNil_(mField);
  mField->FinishCreate();
  {
    StColorPenState saved;
    mField->SetTextTraitsRecord(&mTraits);
    mField->FocusDraw();
  }
  return mField;
}

void CEditableTextBox::CreateEditField() {
  MakeField();
  mField->Enable();
  mField->SetVisible(true);
  mField->Activate();
  LCommander::SwitchTarget(mField);
}

void CEditableTextBox::CommitField() {
  if (!mField) return;
  Str255 text;
  mField->GetDescriptor(text);
  SetDescriptor(text);
  CEditField* field = mField;
  mField = nullptr;
  delete field;
}

void CEditableTextBox::Unselect() {
  mSelected = 0;
  BroadcastMessage(msg_Unselected, nullptr);
  StopRepeating();
}

void CEditableTextBox::RedrawArea() {
  LView* area = GetSuperView();
  if (area && area->FocusDraw()) area->Draw(nullptr);
}

void CEditableTextBox::DeleteEditField() {
  Unselect();
  CommitField();
  RedrawArea();
}

void CEditableTextBox::SpendTime(const EventRecord&) {
  if (mField) {
    SDimension16 field;
    mField->GetFrameSize(field);
    if (mFrameSize.height < field.height + 6) ResizeFrameBy(0, static_cast<SInt16>(field.height + 6 - mFrameSize.height), true);
  }
  const LPane* last = LPane::sLastPaneClicked;
  if (!last) return;
  const PaneIDT lastID = last->GetPaneID();
  if (lastID == GetPaneID() || (mField && lastID == mField->GetPaneID())) return;
  Unselect();
  CommitField();
  RedrawArea();
}

void CEditableTextBox::ClickSelf(const SMouseDownEvent& event) {
  if (mField) DeleteEditField();
  PaneIDT id = GetPaneID();
  BroadcastMessage(msg_Clicked, &id);
  mSelected = 1;
  const bool moved = WaitMouseMoved(event.macEvent.where);
  const bool twice = LPane::sClickCount == 2;
  if (twice) {
    MakeField();
    mField->AddAttachment(new LUndoer);
  }
  if (!moved) {
    if (twice) {
      mField->Enable();
      mField->SetVisible(true);
      mField->Activate();
      LCommander::SwitchTarget(mField);
    } else {
      Draw(nullptr);
      FocusDraw();
    }
    StartRepeating();
  } else {
    ResizeAndMoveLoop(event);
  }
  Refresh();
}

void CEditableTextBox::MoveFrameTo(const Rect& frame) {
  ResizeFrameTo(static_cast<SInt16>(frame.right - frame.left), static_cast<SInt16>(frame.bottom - frame.top), true);
  MoveBy(frame.left - mFrameLocation.h, frame.top - mFrameLocation.v, true);
}

void CEditableTextBox::ResizeAndMoveLoop(const SMouseDownEvent& event) {
  const Point down = event.wherePort;
  Rect start;
  CalcPortFrameRect(start);
  Rect grab = start;
  --grab.right;
  --grab.bottom;
  InsetRect(&grab, 3, 3);
  const SInt16 zone = pagegeom::TextBoxZone(down, grab);
  Rect range;
  if (PrintableArea(range)) {
    for (;;) {
      FocusDraw();
      Point mouse;
      GetMouse(&mouse);
      Rect current;
      CalcPortFrameRect(current);
      if (mSelected && pagegeom::IsHandle(zone)) {
        MoveFrameTo(pagegeom::TextBoxResized(zone, start, current, down, mouse, range));
      } else {
        MoveBy(start.left - current.left + mouse.h - down.h, start.top - current.top + mouse.v - down.v, true);
        Rect moved;
        CalcPortFrameRect(moved);
        const Point back = pagegeom::TextBoxMoveBack(moved, range);
        MoveBy(back.h, back.v, true);
      }
      RedrawArea();
      Point global = mouse;
      PortToGlobalPoint(global);
      if (!WaitMouseMoved(global)) break;
    }
  }
  StartRepeating();
}

void CEditableTextBox::CheckAndResize() {
  Rect range, frame;
  if (!PrintableArea(range)) return;
  CalcPortFrameRect(frame);
  MoveFrameTo(pagegeom::FittedTextBox(frame, range));
}

void CEditableTextBox::SetTextFotrmatValue(const StFontDialog& font) {
  mTraits.fontNumber = Low16(font.font);
  mTraits.style = pagegeom::StyleBits(font);
  mTraits.size = Low16(font.size);
  mTraits.color = font.color;
  {
    StColorPenState saved;
    RGBForeColor(&mTraits.color);
    if (mField) {
      mField->SetTextTraitsRecord(&mTraits);
      mField->FocusDraw();
      mField->Draw(nullptr);
      mField->UserChangedText();
    } else {
      ResizeHeight();
    }
  }
  Refresh();
}

void CEditableTextBox::ResizeHeight() {
  {
    StColorPenState saved;
    MakeField();
  }
  if (mSelected) {
    mField->Enable();
    mField->SetVisible(true);
    mField->Activate();
    LCommander::SwitchTarget(mField);
    StartRepeating();
  }
  mField->Draw(nullptr);
  mField->UserChangedText();
  SDimension16 field;
  mField->GetFrameSize(field);
  if (mFrameSize.height < field.height + 6) ResizeFrameBy(0, static_cast<SInt16>(field.height + 6 - mFrameSize.height), true);
  StopRepeating();
  CommitField();
  RedrawArea();
  Refresh();
  Draw(nullptr);
  FocusDraw();
}

void CEditableTextBox::AdjustMouseSelf(Point portPt, const EventRecord&, RgnHandle) {
  Rect grab;
  CalcPortFrameRect(grab);
  InsetRect(&grab, 3, 3);
  const SInt16 cursor = mSelected ? CursorForZone(pagegeom::TextBoxZone(portPt, grab)) : kArrow;
  mCursors[static_cast<size_t>(cursor - kFirstCursor)]->Set();
}

void CEditableTextBox::PaintSelectedFrame() {
  Rect frame;
  CalcLocalFrameRect(frame);
  StColorPenState saved;
  {
    StColorPenState pen;
    Pattern gray;
    PenSize(3, 3);
    PenPat(GetQDGlobalsGray(&gray));
    FrameRect(&frame);
  }
  const RGBColor red = {0xFFFF, 0, 0};
  RGBForeColor(&red);
  for (Point corner : pagegeom::HandleCorners(frame)) {
    const Rect square = {corner.v, corner.h, static_cast<SInt16>(corner.v + 3), static_cast<SInt16>(corner.h + 3)};
    PaintRect(&square);
  }
}

void CEditableTextBox::DrawSelf() {
  Rect frame;
  CalcLocalFrameRect(frame);
  if (mSelected) {
    StColorPenState saved;
    StColorPenState::Normalize();
    EraseRect(&frame);
    PaintSelectedFrame();
  }
  StColorPenState saved;
  const SInt16 justification = UTextTraits::SetPortTextTraits(mTraits);
  RGBForeColor(&mTraits.color);
  InsetRect(&frame, 3, 3);
  UTextDrawing::DrawWithJustification(mText + 1, mText[0], frame, justification, false);
}

void CEditableTextBox::PrintPanelSelf(const PanelSpec&) {
  CPictureView* area = Area();
  CPrintSizePane* paper = area ? area->GetPaper() : nullptr;
  if (!paper) return;
  const double f = paper->GetReSizeRatio();
  Rect range, box;
  paper->GetPrintRangeRect(range, 1);
  CalcPortFrameRect(box);
  const SDimension16 size = mFrameSize;
  // Drawn from the printable area's top left at the paper's scale.
  const Rect printed = {pagegeom::ToPaper(box.top - range.top, f), pagegeom::ToPaper(box.left - range.left, f),
                        static_cast<SInt16>(pagegeom::ToPaper(box.top - range.top, f) + pagegeom::ToPaper(size.height, f)),
                        static_cast<SInt16>(pagegeom::ToPaper(box.left - range.left, f) + pagegeom::ToPaper(size.width, f))};
  StColorPenState saved;
  TextTraitsRecord traits = mTraits;
  UTextTraits::SetPortTextTraits(mTraits);
  SInt16 screenSize = GetPortTextSize(GetMacPort());
  if (screenSize == 0) screenSize = GetDefFontSize();
  traits.size = static_cast<SInt16>(std::trunc(screenSize * f));
  const SInt16 justification = UTextTraits::SetPortTextTraits(traits);
  RGBForeColor(&traits.color);
  ClipRect(&printed);
  Rect text = printed;
  InsetRect(&text, 3, 3);
  UTextDrawing::DrawWithJustification(mText + 1, mText[0], text, justification, false);
}
