// One page in the preview's page view: its picture, its check box and its name, on a white
// cell that is framed while selected. It keeps its own copies of the page's records, which
// the page view, the preview dialog and the EXIF dialog read and change, and sends the
// view what a click meant: a plain click, a command-click that changed the selection, a
// shift-click. A double-click shows the page enlarged; a drag moves the page.
#pragma once

#include <memory>

#include "prefs/PrefRecords.h"
#include "framework/LBroadcaster.h"
#include "framework/LListener.h"
#include "framework/LView.h"
#include "output/export/PageRecords.h"

class CPreviewCaption;
class CPreviewChekBoxPane;
class CPreviewPicPane;
class LBWCursor;

class CPreviewThumbnail : public LView, public LListener, public LBroadcaster {
 public:
  enum : MessageT { msg_Cell = 'Thum', msg_CommandClick = 'CmdC', msg_ShiftClick = 'ShSC' };
  static constexpr SInt16 kWidth = 80, kHeight = 140;

  CPreviewThumbnail(const SPaneInfo& paneInfo, const SViewInfo& viewInfo, const ScanDataPlus& page,
                    const EXIF_PREF& exif);
  ~CPreviewThumbnail() override;

  ScanDataPlus& Page() { return mPage; }
  EXIF_PREF& Exif() { return mExif; }
  CPreviewCaption* GetCaption() const { return mCaption; }
  CPreviewChekBoxPane* GetCheckBox() const { return mCheckBox; }
  CPreviewPicPane* GetPicture() const { return mPicture; }
  bool IsIncluded() const;
  bool IsSelected() const { return mSelected != 0; }
  void SetSelected(bool selected) { mSelected = selected ? 1 : 0; }
  // Its place in the view, from 1: also its pane ID.
  void SetPosition(ArrayIndexT position) { mPaneID = PaneIDT(position); }
  // The page's own name, kept while the caption shows a document's name or number.
  StringPtr BackupName() { return mBackupName; }
  // The caption's text into the display name, unless the caption stands for something
  // else than the page (a numbered page of one document): then the page keeps its own name.
  void TakeCaptionName();

  // Turns the page by `delta` degrees; nothing changes when the turned picture cannot be had.
  void RotatePicture(long delta);
  void DrawForDrag();
  void DragThumbnail(const SMouseDownEvent& event);
  void ListenToMessage(MessageT message, void* param) override;

 protected:
  void FinishCreateSelf() override;
  void DrawSelf() override;
  void ClickSelf(const SMouseDownEvent& event) override;
  void AdjustMouseSelf(Point where, const EventRecord& event, RgnHandle mouseRgn) override;

 private:
  void DrawCellIn(const Rect& frame);
  size_t SelectedInView() const;

  CPreviewCaption* mCaption = nullptr;
  CPreviewChekBoxPane* mCheckBox = nullptr;
  CPreviewPicPane* mPicture = nullptr;
  ScanDataPlus mPage;
  Str255 mBackupName{};
  std::unique_ptr<LBWCursor> mCursor;
  UInt8 mSelected = 0;
  EXIF_PREF mExif;
};
