// The preview's page view: a grid of thumbnails, five to a row, in page order. It keeps the
// selection, names the pages as the chosen output wants (each its own file, one multi-page
// PDF, or pages appended to a PDF), checks the names before anything is written, turns the
// selected pages, and moves a page dropped into a gap between two others.
#pragma once

#include <vector>

#include "prefs/PrefRecords.h"
#include "framework/LBroadcaster.h"
#include "framework/LDragAndDrop.h"
#include "framework/LListener.h"
#include "framework/LStr255.h"
#include "framework/LView.h"
#include "framework/TArray.h"
#include "output/export/PageRecords.h"

class CPreviewThumbnail;

class CPreviewView : public LView, public LListener, public LBroadcaster, public LDragAndDrop {
 public:
  static constexpr ClassIDT class_ID = 'PREV';
  static constexpr SInt32 kColumns = 5, kPitchH = 100, kPitchV = 150;
  enum : ResIDT { kNames = 500 };
  enum : SInt16 { kPageNumberItem = 4 };

  explicit CPreviewView(LStream* stream);

  void SetImageArray(TArray<ScanDataPlus>* pages, TArray<EXIF_PREF>* exifs);
  const TArray<CPreviewThumbnail*>& GetThumbnails() const { return mThumbnails; }
  CPreviewThumbnail* GetSelectedThumbnail() const;
  size_t GetSelectedThumbnailCount() const;
  void SelectAll();

  // 1 when every included page has a usable name that no other included page has; else 0
  // after alert 30.
  long CheckFileNameString();
  // Why a name is refused before the duplicates are looked at: true when it is usable.
  static bool NameIsUsable(ConstStr255Param name);

  void SettingThumbnailName_NotPDFAdd(long mode);
  void SettingThumbnailName_PDFMulti(long mode);
  void SettingThumbnailName_PDFMultiAdd(long mode);
  void BackupAddName();
  void SetThumbnailName_Add();
  void InitThumbnailName_Add(ConstStr255Param name);
  ConstStringPtr GetAppendName() const { return mAppendName; }
  // What a file name proposes for the document made by appending to it.
  static LStr255 AppendNameFor(ConstStr255Param fileName);

  void RotatePicture(long degrees);
  // Takes an open rename of the selected page into its caption.
  void CommitSelectedEdit(bool close);
  // Before the checks or the order change: the document's name, shown on the first
  // included page, is kept where the renaming after the change finds it.
  void KeepNamesBeforeChange();

  // Drops: the column gap under h (0 to 5), or -1 outside every gap.
  static SInt32 GapAt(SInt32 h);
  // The new position of the page at `from` (1-based) dropped at (h, v) among `count` pages,
  // or 0 when the drop changes nothing.
  static ArrayIndexT DropPosition(SInt32 h, SInt32 v, ArrayIndexT count, ArrayIndexT from);
  // Whether a drag at (h, v) among `count` pages may drop here.
  static bool PointTakesDrop(SInt32 h, SInt32 v, ArrayIndexT count);
  // The thumbnail of this view a 'FtTD' payload names, or null.
  CPreviewThumbnail* ThumbnailOfPayload(const void* data, Size size) const;
  // Moves the page at `from` to `to` (1-based), the pages between one cell along.
  void MoveThumbnail(ArrayIndexT from, ArrayIndexT to);
  void ClearLineRect();

  void ListenToMessage(MessageT message, void* param) override;
  bool ItemIsAcceptable(DragRef drag, DragItemRef item) override;
  void HiliteDropArea(DragRef) override {}
  void InsideDropArea(DragRef drag) override;
  void LeaveDropArea(DragRef drag) override;
  void ReceiveDragItem(DragRef drag, DragItemRef item, FlavorFlags flags, Rect& itemBounds) override;

 protected:
  void DrawSelf() override;
  void FinishCreateSelf() override;

 private:
  std::vector<CPreviewThumbnail*> Cells() const;
  Point ImagePointOf(DragRef drag) const;
  void PlaceAt(CPreviewThumbnail* cell, ArrayIndexT position);
  void PaintLine(const RGBColor& colour);
  CPreviewThumbnail* FirstIncluded() const;
  void NameForDocument(long mode, bool append);

  TArray<CPreviewThumbnail*> mThumbnails;
  Rect mLine{};
  LStr255 mAppendName;
};
