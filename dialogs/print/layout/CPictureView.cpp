#include "dialogs/print/layout/CPictureView.h"

#include <algorithm>

#include "dialogs/print/layout/CEditableTextBox.h"
#include "dialogs/print/layout/CPicturePane.h"
#include "dialogs/print/layout/CPrintSizePane.h"
#include "dialogs/print/layout/CThumbnailView.h"
#include "dialogs/print/layout/PageGeometry.h"
#include "framework/LDialogBox.h"
#include "framework/LException.h"
#include "framework/StColorPenState.h"

namespace {

constexpr ResIDT kTextBoxTraits = 128;
constexpr UInt8 kNoText[1] = {0};

SPaneInfo MadePaneInfo(LView* area, PaneIDT id, SInt32 left, SInt32 top, SInt16 width, SInt16 height) {
  SPaneInfo info = MakePaneInfo(area, id, left, top, width, height);
  info.visible = false;
  info.enabled = false;
  return info;
}

// Finished, enabled, marked visible without the show step and activated, as every pane the
// page area makes.
void Ready(LPane* pane) {
  pane->FinishCreate();
  pane->Enable();
  pane->SetVisible(true);
  pane->Activate();
}

}  // namespace

CPictureView::CPictureView(LStream* stream) : LView(stream) {}

CPictureView::~CPictureView() {
  // Each box takes its open edit field with it, so the boxes go before the other subpanes.
  for (CEditableTextBox* box : mTextBoxes) delete box;
  delete mPicture;
  delete mPaper;
}

PaneIDT CPictureView::NextTextBoxID() {
  static PaneIDT next = kFirstTextBoxID;
  const PaneIDT id = next;
  next = next >= 99999 ? kFirstTextBoxID : next + 1;
  return id;
}

LPane* CPictureView::DialogPane(PaneIDT id) const {
  LView* super = GetSuperView();
  LPane* pane = super ? super->FindPaneByID(id) : nullptr;
  ThrowIfNil_(pane);
  return pane;
}

void CPictureView::EnableButton(PaneIDT id, bool enable) const {
  LPane* button = DialogPane(id);
  if (enable) button->Enable();
  else button->Disable();
}

PaneIDT CPictureView::GetSpecifiedPaneID(PaneIDT id) { return DialogPane(id)->GetPaneID(); }

void CPictureView::SetPrintSizePane(LPrintSpec* spec) {
  if (mPaper) {
    mPaper->Refresh();
    delete mPaper;
    mPaper = nullptr;
  }
  mSpec = spec;
  mPaper = new CPrintSizePane(MadePaneInfo(this, CPrintSizePane::kPaneID, 50, 50, 300, 300), spec);
  Ready(mPaper);
  AddSubPane(mPaper, false);
  mPaper->Refresh();
}

void CPictureView::SetPicturePane(const ScanData& scan) {
  if (mPicture) {
    mPicture->Refresh();
    delete mPicture;
    mPicture = nullptr;
  }
  mScan = scan;
  // A page whose image did not load, or a page format without paper, shows no picture.
  LGWorld* image = mStrip ? mStrip->GetGWorld() : nullptr;
  if (!image || !mPaper || !mPaper->HasPaper()) return;
  mPicture = new CPicturePane(MadePaneInfo(this, CPicturePane::kPaneID, 60, 60, 280, 280), &mScan, image);
  mPicture->SetOwner(this);
  Ready(mPicture);
  AddSubPane(mPicture, false);
  AddSubPane(mPaper, false);
  mPicture->AddListener(this);
}

void CPictureView::ResizePicturePane(MessageT mode) {
  if (!mPicture || !mPaper) return;
  SDimension16 picture;
  mPicture->GetFrameSize(picture);
  Rect range;
  mPaper->GetPrintRangeRect(range, 0);
  const SDimension16 rangeSize = {static_cast<SInt16>(range.right - range.left),
                                  static_cast<SInt16>(range.bottom - range.top)};
  const SDimension16 size = pagegeom::FitSize(picture, rangeSize, mode != kFit, mPicture->CalcPaneMaxSize());
  mPicture->ResizeFrameTo(size.width, size.height, true);
  SPoint32 at;
  mPicture->GetFrameLocation(at);
  mPicture->MoveBy(range.left - at.h, range.top - at.v, true);
  CenteringPicture();
}

void CPictureView::CenteringPicture() {
  if (!mPicture || !mPaper) return;
  Rect range, frame;
  mPaper->GetPrintRangeRect(range, 0);
  mPicture->CalcLocalFrameRect(frame);
  const Point offset = pagegeom::CentringOffset(frame, range);
  mPicture->MoveBy(offset.h, offset.v, true);
  mPicture->CalcNewARecord();
}

CEditableTextBox* CPictureView::MakeTextBox(const SPaneInfo& info, ConstStr255Param text, UInt8 selected) {
  auto* box = new CEditableTextBox(info, text, kTextBoxTraits, selected);
  box->FinishCreate();
  return box;
}

void CPictureView::Adopt(CEditableTextBox* box) {
  box->Enable();
  box->SetVisible(true);
  box->Activate();
  box->AddListener(this);
  AddSubPane(box);
  box->SetDialog(dynamic_cast<LDialogBox*>(GetSuperView()));
  mTextBoxes.push_back(box);
}

void CPictureView::AddTextBox() {
  if (!mPaper) return;
  for (CEditableTextBox* box : mTextBoxes) box->SetSelected(0);
  Rect paper;
  mPaper->CalcPortFrameRect(paper);
  SPoint32 origin;
  GetFrameLocation(origin);
  const PaneIDT id = NextTextBoxID();
  const SInt32 left = paper.left - origin.h + 20;
  const SInt32 top = paper.top - origin.v + 25 * static_cast<SInt32>(mTextBoxes.size() + 1);
  CEditableTextBox* box = MakeTextBox(MadePaneInfo(this, id, left, top, 141, 26), kNoText, 1);
  mCurrentTextBox = id;
  Adopt(box);
  box->Refresh();
  LPane::sLastPaneClicked = box;
  box->StartRepeating();
  EnableButton(kFontButton, true);
}

void CPictureView::DeleteTextBox() {
  auto selected = std::find_if(mTextBoxes.begin(), mTextBoxes.end(), [](CEditableTextBox* b) { return b->IsSelected(); });
  if (selected == mTextBoxes.end()) return;
  CEditableTextBox* box = *selected;
  box->StopRepeating();
  mTextBoxes.erase(selected);
  delete box;
  if (FocusDraw()) Draw(nullptr);
  EnableButton(kFontButton, false);
  EnableButton(kAddTextButton, mTextBoxes.size() <= kMaxTextBoxes);
}

PrePicturePaneInfo CPictureView::GetAllPaneInfo() {
  // Text typed since the last commit would otherwise go with its field.
  for (CEditableTextBox* box : mTextBoxes)
    if (box->GetEditField()) box->DeleteEditField();
  PrePicturePaneInfo info;
  info.scale = mPaper ? mPaper->GetScale() : 0.0;
  if (mPicture) mPicture->CalcPortFrameRect(info.frame);
  SPoint32 origin;
  GetFrameLocation(origin);
  for (CEditableTextBox* box : mTextBoxes) {
    TextBoxInfo saved{};
    box->CalcPortFrameRect(saved.frame);
    OffsetRect(&saved.frame, static_cast<SInt16>(-origin.h), static_cast<SInt16>(-origin.v));
    box->GetDescriptor(saved.text);
    saved.traits = box->GetTextTraits();
    saved.font = box->FontSettings();
    info.textBoxes.AddItem(saved);
  }
  while (!mTextBoxes.empty()) {
    CEditableTextBox* box = mTextBoxes.back();
    mTextBoxes.pop_back();
    delete box;
  }
  return info;
}

void CPictureView::ResetTextBox(TArray<TextBoxInfo> boxes) {
  for (ArrayIndexT i = 1; i <= boxes.GetCount(); ++i) {
    TextBoxInfo saved{};
    boxes.FetchItemAt(i, saved);
    const SInt16 width = static_cast<SInt16>(saved.frame.right - saved.frame.left);
    const SInt16 height = static_cast<SInt16>(saved.frame.bottom - saved.frame.top);
    CEditableTextBox* box =
        MakeTextBox(MadePaneInfo(this, NextTextBoxID(), saved.frame.left, saved.frame.top, width, height), saved.text, 0);
    box->SetTextTraits(saved.traits);
    box->FontSettings() = saved.font;
    box->SetDescriptor(saved.text);
    Adopt(box);
  }
}

void CPictureView::CheckTextBoxSize() {
  for (CEditableTextBox* box : mTextBoxes) box->CheckAndResize();
}

void CPictureView::SetInputTextState() {
  for (CEditableTextBox* box : mTextBoxes)
    if (box->IsSelected() && !box->GetEditField()) box->CreateEditField();
}

void CPictureView::CancelEditField() {
  const std::vector<CEditableTextBox*> boxes = mTextBoxes;
  for (CEditableTextBox* box : boxes)
    if (box->IsSelected()) box->DeleteEditField();
}

LPane* CPictureView::FindSubPaneHitBy(SInt32 h, SInt32 v) const {
  const std::vector<LPane*>& panes = GetSubPanes();
  for (auto it = panes.rbegin(); it != panes.rend(); ++it)
    if (*it != mPaper && (*it)->IsVisible() && (*it)->IsHitBy(h, v)) return *it;
  return nullptr;
}

void CPictureView::ShowPage(const ScanData& scan) {
  EnableButton(kFontButton, false);
  SetPrintSizePane(mSpec);
  mScan = scan;
  SetPicturePane(mScan);
  if (mFitOnShow) ResizePicturePane(kFit);
  else if (mPicture) mPicture->ResizeSameRate();
  EnableButton(kAddTextButton, true);
}

void CPictureView::RestorePage(const PrePicturePaneInfo& info) {
  // A frame kept while the page had no image yet leaves the picture where showing put it.
  if (mPicture && !EmptyRect(&info.frame)) mPicture->SetPreState(info);
  if (info.textBoxes.GetCount() > 0) ResetTextBox(info.textBoxes);
  EnableButton(kAddTextButton, info.textBoxes.GetCount() <= 9);
  if (mPicture) mPicture->CalcNewARecord();
  Refresh();
}

void CPictureView::ListenToMessage(MessageT message, void* param) {
  switch (message) {
    case 'THUV':
      ShowPage(*static_cast<const ScanData*>(param));
      break;
    case 'SPre':
      RestorePage(*static_cast<const PrePicturePaneInfo*>(param));
      break;
    case CEditableTextBox::msg_Clicked:
      for (CEditableTextBox* box : mTextBoxes) box->SetSelected(0);
      mCurrentTextBox = *static_cast<const PaneIDT*>(param);
      EnableButton(kFontButton, true);
      break;
    case CEditableTextBox::msg_Unselected: {
      const LPane* last = LPane::sLastPaneClicked;
      const bool onBox = last && std::any_of(mTextBoxes.begin(), mTextBoxes.end(),
                                             [&](CEditableTextBox* b) { return b->GetPaneID() == last->GetPaneID(); });
      EnableButton(kFontButton, onBox);
      break;
    }
    case CPicturePane::msg_PrintRecord:
    case 'TmCb':
      BroadcastMessage(message, param);
      break;
    default:
      break;
  }
}

void CPictureView::DrawSelf() {
  StColorPenState saved;
  Rect frame;
  CalcLocalFrameRect(frame);
  InsetRect(&frame, 1, 1);
  const RGBColor white = {0xFFFF, 0xFFFF, 0xFFFF};
  RGBForeColor(&white);
  PaintRect(&frame);
}

void CPictureView::PrintPanelSelf(const PanelSpec&) {
  StColorPenState saved;
  Rect frame;
  CalcLocalFrameRect(frame);
  const RGBColor white = {0xFFFF, 0xFFFF, 0xFFFF};
  RGBForeColor(&white);
  PaintRect(&frame);
}
