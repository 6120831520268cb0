// The scanned picture as it lies on the page: moved by dragging its inside, resized by its
// corners and edges with the image's aspect kept, set back to 100 % by a double click.
// After every resize it broadcasts its print record ("PICP"): the pixels and resolution it
// prints at. It prints at its on-screen place and size, converted to the paper.
#pragma once

#include <array>
#include <memory>

#include "framework/LBroadcaster.h"
#include "framework/LPane.h"
#include "output/export/PageRecords.h"

class CPictureView;
class CPrintSizePane;
class LBWCursor;
class LGWorld;
struct PrePicturePaneInfo;

class CPicturePane : public LPane, public LBroadcaster {
 public:
  static constexpr PaneIDT kPaneID = 'PICP';
  // Broadcast with a pointer to the print record (resolution in 16.16).
  static constexpr MessageT msg_PrintRecord = 'PICP';

  // `scan` and `image` (the strip's, never null) outlive the pane.
  CPicturePane(const SPaneInfo& info, const ScanData* scan, LGWorld* image);
  ~CPicturePane() override;

  void SetOwner(CPictureView* owner) { mOwner = owner; }
  // 100 %, centred on the printable area.
  void ResizeSameRate();
  // The print record for the current frame, broadcast and returned.
  AcqRecord CalcNewARecord();
  // The place a saved layout had, scaled to the current paper.
  void SetPreState(const PrePicturePaneInfo& info);
  // The longest side allowed: where the image would print at 10 dpi.
  SInt16 CalcPaneMaxSize() const;
  const AcqRecord& GetPrintRecord() const { return mPrintRecord; }

 protected:
  void FinishCreateSelf() override;
  void DrawSelf() override;
  void PrintPanelSelf(const PanelSpec& panel) override;
  void AdjustMouseSelf(Point portPt, const EventRecord& event, RgnHandle mouseRgn) override;
  void ClickSelf(const SMouseDownEvent& event) override;

 private:
  CPrintSizePane* Paper() const;
  // Screen pixels per image pixel at 100 %.
  double Factor() const;
  void SetFrame(const Rect& frame);

  // The page at the frame's size: the pixels a copy of the full-size page to the frame
  // takes, read from the file when the size changes; the strip's display copy stands in
  // where it cannot be had.
  LGWorld* Shown();

  LGWorld* mImage;
  std::unique_ptr<LGWorld> mShown;
  bool mResizing = false;  // a corner or an edge is being dragged
  const ScanData* mScan;
  AcqRecord mPrintRecord;
  CPictureView* mOwner = nullptr;
  std::array<std::unique_ptr<LBWCursor>, 6> mCursors;
};
