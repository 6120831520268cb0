// A pane that holds subpanes. The subpane list is the z-order: later panes are in front,
// draw later and are hit first. A view owns its subpanes and deletes them with itself.
#pragma once

#include <vector>

#include "framework/LPane.h"

class LView : public LPane {
 public:
  static constexpr ClassIDT class_ID = 'view';

  LView();
  LView(const SPaneInfo& paneInfo, const SViewInfo& viewInfo);
  // Layout data: the pane's, then layout::kView.
  explicit LView(LStream* stream);
  ~LView() override;

  void AddSubPane(LPane* pane, bool inFront = true);
  void RemoveSubPane(LPane* pane);
  void DeleteAllSubPanes();
  const std::vector<LPane*>& GetSubPanes() const { return mSubPanes; }

  LPane* FindPaneByID(PaneIDT id) override;
  // The frontmost direct subpane hit by the point; overridable to skip panes.
  virtual LPane* FindSubPaneHitBy(SInt32 h, SInt32 v) const;
  // The deepest visible pane containing the point.
  LPane* FindDeepSubPaneContaining(SInt32 h, SInt32 v) const;

  void GetImageSize(SDimension32& outSize) const { outSize = mImageSize; }
  virtual void ResizeImageTo(SInt32 width, SInt32 height, bool refresh);
  // Port coordinates of the image's top left.
  void GetImageLocation(SPoint32& outLocation) const { outLocation = mImageLocation; }
  virtual void ScrollImageBy(SInt32 dh, SInt32 dv, bool refresh);

  void ResizeFrameBy(SInt16 dw, SInt16 dh, bool refresh) override;
  void MoveBy(SInt32 dh, SInt32 dv, bool refresh) override;

  void Draw(RgnHandle superDrawRgn) override;
  void PrintPanel(const PanelSpec& panel) override;
  void Click(SMouseDownEvent& event) override;
  void AdjustMouse(Point portPt, const EventRecord& event, RgnHandle mouseRgn) override;
  void Show() override;
  void Hide() override;
  void Enable() override;
  void Disable() override;
  void Activate() override;
  void Deactivate() override;
  void SavePlace(LStream* place) override;
  void RestorePlace(LStream* place) override;

 protected:
  SDimension32 mImageSize = {0, 0};
  SPoint32 mImageLocation = {0, 0};
  SPoint32 mScrollUnit = {1, 1};

 private:
  void InitView(const SViewInfo& info);

  std::vector<LPane*> mSubPanes;
};
