// Every dialog hears the controls it acts on: each control of a dialog's layout, used as a
// user uses it (clicked, a popup item chosen, a key typed), reaches the dialog through the
// dialog's list of controls to listen to. The dialog is a stand-in that records what it
// hears, linked to its controls as every real dialog links itself.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "AppTestEnv.h"
#include "framework/LEditText.h"
#include "framework/LLittleArrows.h"
#include "framework/LPopupButton.h"
#include "framework/UReanimator.h"
#include "windows/TestDriver.h"

#include "dialogs/print/layout/CPictureView.h"
#include "dialogs/print/layout/CThumbnailView.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "preview/CPrevPrevView.h"
#include "preview/CPreviewView.h"
#include "preview/CStitchPictureView.h"

namespace wxapp {
namespace {

struct LinkRow {
  ResIDT layout;
  // Controls the dialog's own handling does not act on (a text read when the dialog ends,
  // the cancel button its modal loop hears, the tabs the dialog links itself), or another test
  // covers (the name history).
  std::set<PaneIDT> notHeard;
};

void PrintTo(const LinkRow& row, std::ostream* out) { *out << "layout " << row.layout; }

const AppClassList& LinkClasses() {
  static const AppClassList classes = [] {
    AppClassList list = StandInClasses();
    for (SAppClassEntry entry : {AppClassEntry<TStandIn<'DPRE'>>(), AppClassEntry<TStandIn<'Prpr'>>(),
                                 AppClassEntry<TStandIn<'DEXF'>>(), AppClassEntry<TStandIn<'DLAY'>>(),
                                 AppClassEntry<TStandIn<'StDl'>>(), AppClassEntry<CPreviewView>(),
                                 AppClassEntry<CPrevPrevView>(), AppClassEntry<CThumbnailView>(),
                                 AppClassEntry<CPictureView>(), AppClassEntry<CStitchPictureView>(),
                                 AppClassEntry<CFileNameAddPopup>()})
      list.push_back(entry);
    return list;
  }();
  return classes;
}

void Controls(LView* view, std::vector<LControl*>* out) {
  for (LPane* pane : view->GetSubPanes()) {
    if (auto* control = dynamic_cast<LControl*>(pane)) out->push_back(control);
    if (auto* sub = dynamic_cast<LView*>(pane)) Controls(sub, out);
  }
}

std::string Name(PaneIDT id) {
  char text[5] = {char(id >> 24), char(id >> 16), char(id >> 8), char(id), 0};
  return (id >> 24) ? std::string(text) : std::to_string(id);
}

// Uses the control as a user would; false for a control that cannot change (a popup of one item).
bool Use(LWindow* window, LControl* control) {
  const PaneIDT id = control->GetPaneID();
  if (auto* popup = dynamic_cast<LPopupButton*>(control)) {
    if (popup->GetMaxValue() < 2) return false;
    wxframework::ChoosePopupItem(window, id, SInt16(popup->GetValue() == 1 ? 2 : 1));
  } else if (dynamic_cast<LEditText*>(control)) {
    wxframework::TypeIntoPane(window, id, "7");
  } else if (dynamic_cast<LLittleArrows*>(control)) {
    Rect frame;
    control->CalcPortFrameRect(frame);
    Point up = {SInt16(frame.top + 2), SInt16((frame.left + frame.right) / 2)};
    control->PortToGlobalPoint(up);
    control->SetValue(control->GetMinValue());
    wxdriver::Click(up);
  } else {
    wxframework::ClickPane(control);
  }
  return true;
}

class ControlLinks : public AppTest, public ::testing::WithParamInterface<LinkRow> {};

TEST_P(ControlLinks, EveryControlReachesItsDialog) {
  const LinkRow& row = GetParam();
  // The real layouts, not the stand-ins' own.
  CloseResFile(mStandIns);
  mStandIns = -1;
  mApp = new CAppearanceApp(LinkClasses());
  LWindow* window = LWindow::CreateWindow(row.layout, mApp);
  auto* dialog = dynamic_cast<CStandInDialog*>(window);
  ASSERT_NE(nullptr, dialog);
  UReanimator::LinkListenerToControls(dialog, window, row.layout);
  window->Show();
  window->Select();
  wxframework::PumpEvents();
  std::vector<LControl*> controls;
  Controls(window, &controls);
  int used = 0;
  for (LControl* control : controls) {
    const MessageT message = control->GetValueMessage();
    if (message == msg_Nothing || row.notHeard.count(control->GetPaneID())) continue;
    for (LPane* pane = control; pane; pane = pane->GetSuperView()) {
      pane->Show();
      pane->Enable();
    }
    window->Select();
    wxframework::PumpEvents();
    dialog->mMessages.clear();
    if (!Use(window, control)) continue;
    ++used;
    wxframework::PumpEvents();
    EXPECT_NE(std::find(dialog->mMessages.begin(), dialog->mMessages.end(), message), dialog->mMessages.end())
        << "control " << Name(control->GetPaneID()) << " of layout " << row.layout << " does not reach its dialog";
  }
  EXPECT_GT(used, 0);
  delete window;
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ControlLinks,
    ::testing::Values(LinkRow{500, {'BTCN'}}, LinkRow{501, {}}, LinkRow{600, {'GTIT', 'GPAR', 'CMNT'}}, LinkRow{1000, {}}, LinkRow{1100, {}},
                      LinkRow{2000, {'PuFN'}}, LinkRow{3000, {'PuFN'}}, LinkRow{4000, {'PuFN'}},
                      LinkRow{5000, {'PuFN'}}, LinkRow{5050, {'PuFN', 'TABS'}}, LinkRow{6000, {'PuFN'}},
                      LinkRow{7000, {'PuFN'}}, LinkRow{8000, {}}, LinkRow{9000, {}}, LinkRow{11000, {}}),
    [](const ::testing::TestParamInfo<LinkRow>& info) { return "Layout" + std::to_string(info.param.layout); });

}  // namespace
}  // namespace wxapp
