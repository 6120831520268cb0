#include "framework/LMultiPanelView.h"

#include "framework/LCommander.h"
#include "framework/LStream.h"
#include "framework/ReadLayoutFields.h"
#include "framework/UReanimator.h"

LMultiPanelView::LMultiPanelView(const SPaneInfo& paneInfo, const SViewInfo& viewInfo,
                                 const std::vector<ResIDT>& panelIDs, LCommander* commander)
    : LView(paneInfo, viewInfo), mPanelIDs(panelIDs), mPanels(panelIDs.size(), nullptr), mCommander(commander) {}

LMultiPanelView::LMultiPanelView(LStream* stream) : LView(stream), mCommander(LCommander::GetDefaultCommander()) {
  ReadLayoutFields<layout::kPanels>(*stream, mPanelIDs, mInitial);
  mPanels.assign(mPanelIDs.size(), nullptr);
}

void LMultiPanelView::FinishCreateSelf() {
  if (!mPanelIDs.empty()) SwitchToPanel(mInitial, false);
}

LPane* LMultiPanelView::GetPanel(UInt16 index) const {
  return index >= 1 && index <= mPanels.size() ? mPanels[index - 1] : nullptr;
}

void LMultiPanelView::SwitchToPanel(UInt16 index, bool refresh) {
  if (index < 1 || index > mPanelIDs.size()) return;
  if (!mPanels[index - 1]) mPanels[index - 1] = UReanimator::ReadPanes(mPanelIDs[index - 1], mCommander, this);
  if (index == mCurrent) return;
  if (LPane* old = GetPanel(mCurrent)) old->Hide();
  mCurrent = index;
  mPanels[index - 1]->Show();
  if (refresh) Refresh();
}
