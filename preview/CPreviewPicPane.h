// The 70 x 70 picture of a preview thumbnail: the page scaled so that its larger side fills
// the pane, matched to the screen and turned by the page's angle, loaded by a cooperative
// thread of its own at the first idle time. Clicks go to the thumbnail: 'DgPP' when the
// mouse moves with the button down, 'DblC' on a double-click, 'Pppn' otherwise.
#pragma once

#include <memory>

#include "framework/LBroadcaster.h"
#include "framework/LPane.h"
#include "framework/LPeriodical.h"
#include "toolbox/Files.h"

class CPictureLoader;
class LBWCursor;
class LGWorld;
struct ScanDataPlus;

class CPreviewPicPane : public LPane, public LPeriodical, public LBroadcaster {
 public:
  enum : PaneIDT { kPaneID = 'Pppn' };
  enum : MessageT { msg_Click = 'Pppn', msg_DoubleClick = 'DblC', msg_Drag = 'DgPP' };

  CPreviewPicPane(const SPaneInfo& info, const FSSpec& file);
  ~CPreviewPicPane() override;

  // The page record the loader reads the source name and the angle from when it runs.
  void SetPageRecord(const ScanDataPlus* page) { mPage = page; }
  void SpendTime(const EventRecord& event) override;
  // Turns a loaded picture by `degrees`; without one, nothing (the loader applies the
  // record's angle). Throws, changing nothing, when the turned picture cannot be had.
  void RotatePicture(long degrees);
  void DrawForDrag();
  const LGWorld* GetImage() const { return mImage; }

  // The picture's rectangle for a page of w x h in a frame of fw x fh: the larger side
  // fills (a square page by its height).
  static Rect FitRect(SInt32 w, SInt32 h, SInt32 fw, SInt32 fh);

 protected:
  void FinishCreateSelf() override;
  void DrawSelf() override;
  void ClickSelf(const SMouseDownEvent& event) override;
  void AdjustMouseSelf(Point where, const EventRecord& event, RgnHandle mouseRgn) override;
  virtual void ReadThread();

 private:
  void DrawImageIn(const Rect& frame);

  LGWorld* mImage = nullptr;
  FSSpec mFile;
  std::unique_ptr<CPictureLoader> mLoader;
  std::unique_ptr<LBWCursor> mCursor;
  const ScanDataPlus* mPage = nullptr;
};
