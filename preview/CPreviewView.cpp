#include "preview/CPreviewView.h"

#include <cstdio>
#include <algorithm>
#include <cstring>

#include "prefs/LanguageTables.h"
#include "framework/LException.h"
#include "framework/LScroller.h"
#include "framework/StColorPenState.h"
#include "output/hubdialogs/WXAlert.h"
#include "preview/CPreviewCaption.h"
#include "preview/CPreviewDialog.h"
#include "preview/CPreviewThumbnail.h"
#include "preview/PreviewColours.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"

namespace {
constexpr FlavorType kThumbnailFlavor = 'FtTD';
constexpr SInt16 kAlertList = 400, kBadNameItem = 30;
constexpr SInt32 kAlertLayout = 400;
constexpr SInt16 kMaxNameLength = 20, kAppendStemLength = 16;
constexpr SInt32 kScrollMargin = 20;
// The horizontal span of the insertion line in each column gap.
constexpr SInt16 kLineLeft[] = {4, 99, 199, 299, 399, 494};

bool SameText(ConstStr255Param a, ConstStr255Param b) { return CompareText(a + 1, b + 1, a[0], b[0], nullptr) == 0; }
}  // namespace

CPreviewView::CPreviewView(LStream* stream)
    : LView(stream), LDragAndDrop(GetDefaultView() ? GetDefaultView()->GetMacWindow() : nullptr, this) {}

void CPreviewView::FinishCreateSelf() { mLine = Rect{}; }

std::vector<CPreviewThumbnail*> CPreviewView::Cells() const {
  std::vector<CPreviewThumbnail*> cells;
  for (ArrayIndexT k = 1; k <= mThumbnails.GetCount(); ++k) cells.push_back(mThumbnails[k]);
  return cells;
}

void CPreviewView::SetImageArray(TArray<ScanDataPlus>* pages, TArray<EXIF_PREF>* exifs) {
  const ArrayIndexT count = pages ? pages->GetCount() : 0;
  SDimension16 frame;
  GetFrameSize(frame);
  ResizeImageTo(frame.width, ((count > 0 ? count - 1 : 0) / kColumns) * kPitchV + kPitchV, false);
  for (ArrayIndexT k = 1; k <= count; ++k) {
    const ArrayIndexT i = k - 1;
    const EXIF_PREF exif = exifs && exifs->ValidIndex(k) ? (*exifs)[k] : EXIF_PREF{};
    auto* cell = new CPreviewThumbnail(MakePaneInfo(this, PaneIDT(k), 10 + (i % kColumns) * kPitchH,
                                                    5 + (i / kColumns) * kPitchV, CPreviewThumbnail::kWidth,
                                                    CPreviewThumbnail::kHeight),
                                       SViewInfo{}, (*pages)[k], exif);
    cell->FinishCreate();
    cell->AddListener(this);
    mThumbnails.AddItem(cell);
  }
  Refresh();
}

CPreviewThumbnail* CPreviewView::GetSelectedThumbnail() const {
  for (CPreviewThumbnail* cell : Cells())
    if (cell->IsSelected()) return cell;
  return nullptr;
}

size_t CPreviewView::GetSelectedThumbnailCount() const {
  size_t n = 0;
  for (CPreviewThumbnail* cell : Cells()) n += cell->IsSelected();
  return n;
}

void CPreviewView::SelectAll() {
  for (CPreviewThumbnail* cell : Cells()) cell->SetSelected(true);
  Refresh();
}

void CPreviewView::ListenToMessage(MessageT message, void* param) {
  switch (message) {
    case CPreviewThumbnail::msg_Cell:
    case 'Schk':
    case 'Fncp':
    case 'Pppn':
      for (CPreviewThumbnail* cell : Cells())
        if (cell->IsSelected()) {
          cell->SetSelected(false);
          cell->Refresh();
        }
      break;
    case CPreviewThumbnail::msg_ShiftClick: {
      ArrayIndexT first = 0, last = 0;
      for (ArrayIndexT k = 1; k <= mThumbnails.GetCount(); ++k)
        if (mThumbnails[k]->IsSelected()) {
          if (!first) first = k;
          last = k;
        }
      for (ArrayIndexT k = first; first && k <= last; ++k)
        if (!mThumbnails[k]->IsSelected()) {
          mThumbnails[k]->SetSelected(true);
          mThumbnails[k]->Refresh();
        }
      break;
    }
    case CPreviewThumbnail::msg_CommandClick:
      break;
    default:
      return;
  }
  BroadcastMessage(message, param);
  Refresh();
}

bool CPreviewView::NameIsUsable(ConstStr255Param name) {
  const SInt16 length = name[0];
  if (length == 0 || length > kMaxNameLength) return false;
  if (name[1] == '.') return false;
  bool blanksOnly = true;
  for (SInt16 i = 1; i <= length; ++i) {
    const SInt16 type = CharacterByteType(Ptr(name + 1), SInt16(i - 1), smSystemScript);
    if (name[i] == ':') return false;
    if (name[i] == '\\' && type == smSingleByte) return false;
    if (name[i] == ' ' && type == smSingleByte) continue;
    if (IS_J && i < length && name[i] == 0x81 && name[i + 1] == 0x40 && type == smFirstByte) {
      ++i;
      continue;
    }
    blanksOnly = false;
  }
  if (blanksOnly) return false;
  FSSpec spec{};
  FSMakeFSSpec(0, 0, name, &spec);
  return SameText(spec.name, name);
}

long CPreviewView::CheckFileNameString() {
  CommitSelectedEdit(false);
  const ArrayIndexT count = mThumbnails.GetCount();
  for (ArrayIndexT k = 1; k <= count; ++k) mThumbnails[k]->TakeCaptionName();
  bool refused = false;
  for (ArrayIndexT i = 1; i <= count && !refused; ++i) {
    CPreviewThumbnail* cell = mThumbnails[i];
    // A caption that names no file (a numbered page of one document) is not checked.
    if (!cell->IsIncluded() || !cell->GetCaption()->IsEditable()) continue;
    ConstStringPtr name = cell->Page().displayName;
    refused = !NameIsUsable(name);
    for (ArrayIndexT j = i + 1; j <= count && !refused; ++j) {
      CPreviewThumbnail* other = mThumbnails[j];
      if (other->IsIncluded() && other->GetCaption()->IsEditable() && SameText(name, other->Page().displayName))
        refused = true;
    }
  }
  if (!refused) return 1;
  CWXUtility::Show_Error(kAlertLayout, CPreviewDialog::sPreviewDialog, kAlertList, kBadNameItem, 0, 1, nullptr, 0);
  return 0;
}

CPreviewThumbnail* CPreviewView::FirstIncluded() const {
  for (CPreviewThumbnail* cell : Cells())
    if (cell->IsIncluded()) return cell;
  return nullptr;
}

void CPreviewView::CommitSelectedEdit(bool close) {
  CPreviewThumbnail* cell = GetSelectedThumbnail();
  if (!cell || !cell->GetCaption()->GetEditField()) return;
  if (close)
    cell->GetCaption()->CommitEdit();
  else
    cell->GetCaption()->TakeEditText();
}

namespace {
void CaptionIntoBackup(CPreviewThumbnail* cell) {
  if (cell->GetCaption()->IsEditable()) cell->GetCaption()->GetText(cell->BackupName());
}
void ShowCaption(CPreviewThumbnail* cell, ConstStr255Param text, bool editable) {
  CPreviewCaption* caption = cell->GetCaption();
  caption->CommitEdit();
  caption->SetDescriptor(text);
  caption->SetEditable(editable);
  caption->Refresh();
}
}  // namespace

void CPreviewView::SettingThumbnailName_NotPDFAdd(long mode) {
  if (mode == 2)
    if (CPreviewThumbnail* first = FirstIncluded()) CaptionIntoBackup(first);
  for (CPreviewThumbnail* cell : Cells()) ShowCaption(cell, cell->BackupName(), true);
}

void CPreviewView::NameForDocument(long mode, bool append) {
  if (mode == 1)
    for (CPreviewThumbnail* cell : Cells()) CaptionIntoBackup(cell);
  if (mode == 2)
    if (CPreviewThumbnail* first = FirstIncluded()) CaptionIntoBackup(first);
  Str255 format;
  GetIndString(format, kNames, kPageNumberItem);
  const std::string pattern = PStrToString(format);
  long n = 0;
  for (CPreviewThumbnail* cell : Cells()) {
    if (!cell->IsIncluded()) {
      ShowCaption(cell, reinterpret_cast<ConstStr255Param>(""), false);
      continue;
    }
    if (++n == 1) {
      const bool named = append && CPreviewDialog::sPreviewDialog &&
                         CPreviewDialog::sPreviewDialog->AppendTarget().name[0] != 0;
      ShowCaption(cell, named ? ConstStringPtr(mAppendName) : ConstStringPtr(cell->BackupName()), true);
      continue;
    }
    char number[24];
    std::snprintf(number, sizeof number, "%ld", n);
    std::string text = pattern;
    const size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, number);
    Str255 caption;
    PStrFromString(text, caption);
    ShowCaption(cell, caption, false);
  }
}

void CPreviewView::SettingThumbnailName_PDFMulti(long mode) { NameForDocument(mode, false); }

void CPreviewView::SettingThumbnailName_PDFMultiAdd(long mode) { NameForDocument(mode, true); }

void CPreviewView::BackupAddName() {
  if (CPreviewThumbnail* first = FirstIncluded()) {
    Str255 text;
    first->GetCaption()->GetText(text);
    mAppendName = text;
  }
}

LStr255 CPreviewView::AppendNameFor(ConstStr255Param fileName) {
  std::string stem = PStrToString(fileName);
  const size_t dot = stem.rfind('.');
  if (dot != std::string::npos) stem.erase(dot);
  Str255 whole, cut;
  PStrFromString(stem, whole);
  TruncPString(cut, whole, kAppendStemLength);
  LStr255 name(cut);
  name += reinterpret_cast<ConstStringPtr>("\x04" "_New");
  return name;
}

void CPreviewView::SetThumbnailName_Add() {
  const FSSpec target = CPreviewDialog::sPreviewDialog ? CPreviewDialog::sPreviewDialog->AppendTarget() : FSSpec{};
  mAppendName = target.name[0] ? AppendNameFor(target.name) : LStr255();
}

void CPreviewView::InitThumbnailName_Add(ConstStr255Param name) {
  const FSSpec target = CPreviewDialog::sPreviewDialog ? CPreviewDialog::sPreviewDialog->AppendTarget() : FSSpec{};
  FSSpec spec{};
  const bool exists = target.name[0] && FSMakeFSSpec(target.vRefNum, target.parID, target.name, &spec) == noErr;
  mAppendName = exists && name ? LStr255(name) : LStr255();
}

void CPreviewView::KeepNamesBeforeChange() {
  CommitSelectedEdit(true);
  CPreviewDialog* dialog = CPreviewDialog::sPreviewDialog;
  if (!dialog) return;
  const bool named = dialog->AppendTarget().name[0] != 0;
  if (dialog->IsPDFAdd() && named) {
    BackupAddName();
  } else if ((dialog->IsPDFMulti() && !dialog->IsPDFAdd()) || (dialog->IsPDFAdd() && !named)) {
    if (CPreviewThumbnail* first = FirstIncluded()) CaptionIntoBackup(first);
  }
}

void CPreviewView::RotatePicture(long degrees) {
  for (CPreviewThumbnail* cell : Cells())
    if (cell->IsSelected()) cell->RotatePicture(degrees);
}

SInt32 CPreviewView::GapAt(SInt32 h) {
  if (h >= 1 && h <= 9) return 0;
  for (SInt32 c = 1; c <= 4; ++c)
    if (h >= c * kPitchH - 9 && h <= c * kPitchH + 9) return c;
  if (h >= 491 && h <= 499) return 5;
  return -1;
}

ArrayIndexT CPreviewView::DropPosition(SInt32 h, SInt32 v, ArrayIndexT count, ArrayIndexT from) {
  const SInt32 gap = GapAt(h);
  if (gap < 0 || v < 0) return 0;
  const ArrayIndexT g = ArrayIndexT(kColumns * (v / kPitchV) + gap);
  if (g > count) return 0;
  if (g < from - 1) return g + 1;
  if (g == from - 1 || g == from) return 0;
  return g;
}

bool CPreviewView::PointTakesDrop(SInt32 h, SInt32 v, ArrayIndexT count) {
  for (SInt32 k = 0; k < kColumns; ++k)
    if (h >= 11 + kPitchH * k && h <= 89 + kPitchH * k) return false;
  const SInt32 partial = count % kColumns;
  const SInt32 lastTop = ((count > 0 ? count - 1 : 0) / kColumns) * kPitchV;
  if (partial != 0 && v >= lastTop - 5 && v < lastTop + kPitchV && h >= partial * kPitchH + 10) return false;
  return v < ((count + 4) / kColumns) * kPitchV;
}

CPreviewThumbnail* CPreviewView::ThumbnailOfPayload(const void* data, Size size) const {
  if (size != sizeof(UInt32)) return nullptr;
  UInt32 token = 0;
  std::memcpy(&token, data, sizeof token);
  void* target = MemTokenTarget(token);
  for (CPreviewThumbnail* cell : Cells())
    if (cell == target) return cell;
  return nullptr;
}

Point CPreviewView::ImagePointOf(DragRef drag) const {
  Point mouse{}, pinned{};
  GetDragMouse(drag, &mouse, &pinned);
  GlobalToPortPoint(mouse);
  return Point{SInt16(mouse.v - mImageLocation.v), SInt16(mouse.h - mImageLocation.h)};
}

bool CPreviewView::ItemIsAcceptable(DragRef drag, DragItemRef item) {
  if (auto* scroller = dynamic_cast<LScroller*>(GetSuperView())) {
    Point mouse{}, pinned{};
    GetDragMouse(drag, &mouse, &pinned);
    GlobalToPortPoint(mouse);
    Rect visible;
    if (CalcRevealedRect(visible)) {
      if (mouse.v >= visible.bottom - kScrollMargin && mouse.v < visible.bottom)
        scroller->VertScroll(kControlDownButtonPart);
      else if (mouse.v >= visible.top && mouse.v < visible.top + kScrollMargin)
        scroller->VertScroll(kControlUpButtonPart);
    }
  }
  const Point at = ImagePointOf(drag);
  FlavorFlags flags = 0;
  if (PointTakesDrop(at.h, at.v, mThumbnails.GetCount()) &&
      GetFlavorFlags(drag, item, kThumbnailFlavor, &flags) == noErr)
    return true;
  ClearLineRect();
  return false;
}

void CPreviewView::PaintLine(const RGBColor& colour) {
  if (mLine.right <= mLine.left || !FocusDraw()) return;
  StColorPenState saved;
  StColorPenState::Normalize();
  RGBForeColor(&colour);
  const Rect port{SInt16(mLine.top + mImageLocation.v), SInt16(mLine.left + mImageLocation.h),
                  SInt16(mLine.bottom + mImageLocation.v), SInt16(mLine.right + mImageLocation.h)};
  PaintRect(&port);
}

void CPreviewView::ClearLineRect() {
  PaintLine(PreviewColours::kBackground);
  mLine = Rect{};
}

void CPreviewView::InsideDropArea(DragRef drag) {
  const Point at = ImagePointOf(drag);
  const SInt32 gap = GapAt(at.h);
  ClearLineRect();
  if (gap < 0) return;
  const SInt16 top = SInt16((at.v / kPitchV) * kPitchV + 5);
  mLine = Rect{top, kLineLeft[gap], SInt16(top + 140), SInt16(kLineLeft[gap] + 2)};
  PaintLine(RGBColor{0, 0, 0});
}

void CPreviewView::LeaveDropArea(DragRef drag) {
  ClearLineRect();
  LDragAndDrop::LeaveDropArea(drag);
}

void CPreviewView::ReceiveDragItem(DragRef drag, DragItemRef item, FlavorFlags, Rect&) {
  ClearLineRect();
  Size size = 0;
  if (GetFlavorDataSize(drag, item, kThumbnailFlavor, &size) != noErr || size != sizeof(UInt32)) return;
  UInt32 token = 0;
  if (GetFlavorData(drag, item, kThumbnailFlavor, &token, &size, 0) != noErr) return;
  CPreviewThumbnail* cell = ThumbnailOfPayload(&token, size);
  if (!cell) return;
  const Point at = ImagePointOf(drag);
  const ArrayIndexT to = DropPosition(at.h, at.v, mThumbnails.GetCount(), mThumbnails.FetchIndexOf(cell));
  if (!to) return;
  KeepNamesBeforeChange();
  MoveThumbnail(mThumbnails.FetchIndexOf(cell), to);
  if (CPreviewDialog::sPreviewDialog) CPreviewDialog::sPreviewDialog->SettingThumbnailName();
}

void CPreviewView::PlaceAt(CPreviewThumbnail* cell, ArrayIndexT position) {
  const ArrayIndexT i = position - 1;
  SPoint32 where;
  cell->GetFrameLocation(where);
  const SInt32 h = mImageLocation.h + 10 + (i % kColumns) * kPitchH;
  const SInt32 v = mImageLocation.v + 5 + (i / kColumns) * kPitchV;
  if (where.h != h || where.v != v) cell->MoveBy(h - where.h, v - where.v, true);
  cell->SetPosition(position);
}

void CPreviewView::MoveThumbnail(ArrayIndexT from, ArrayIndexT to) {
  if (!mThumbnails.ValidIndex(from) || !mThumbnails.ValidIndex(to) || from == to) return;
  CPreviewThumbnail* cell = mThumbnails[from];
  mThumbnails.RemoveItemsAt(1, from);
  mThumbnails.InsertItemsAt(1, to, cell);
  const ArrayIndexT low = std::min(from, to), high = std::max(from, to);
  for (ArrayIndexT k = low; k <= high; ++k) PlaceAt(mThumbnails[k], k);
  Refresh();
}

void CPreviewView::DrawSelf() {
  Rect frame;
  CalcLocalFrameRect(frame);
  StColorPenState saved;
  RGBForeColor(&PreviewColours::kBackground);
  PaintRect(&frame);
}
