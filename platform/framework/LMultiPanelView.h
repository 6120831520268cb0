// A view that shows one of several panels, each a layout built into it on first use.
#pragma once

#include <vector>

#include "framework/LView.h"

class LCommander;

class LMultiPanelView : public LView {
 public:
  static constexpr ClassIDT class_ID = 'mpvw';
  using Inherited = LView;

  LMultiPanelView(const SPaneInfo& paneInfo, const SViewInfo& viewInfo, const std::vector<ResIDT>& panelIDs,
                  LCommander* commander);
  // Layout data: the view's, then layout::kPanels (the panels' layout IDs, the first shown).
  explicit LMultiPanelView(LStream* stream);

  // Shows panel `index` (1-based), hiding the one shown before.
  void SwitchToPanel(UInt16 index, bool refresh = true);
  UInt16 GetCurrentIndex() const { return mCurrent; }
  LPane* GetPanel(UInt16 index) const;

 protected:
  void FinishCreateSelf() override;

 private:
  std::vector<ResIDT> mPanelIDs;
  std::vector<LPane*> mPanels;
  UInt16 mCurrent = 0;
  UInt16 mInitial = 1;
  LCommander* mCommander = nullptr;
};
