// The page-layout dialog after a Print scan of ten 100 x 80 mm sheets at 150 dpi from the SANE
// test device's feeder, with helpers for driving it through the framework's test driver.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "PrintLayoutRunEnv.h"
#include "dialogs/print/layout/CEditableTextBox.h"
#include "dialogs/print/layout/CPicturePane.h"
#include "dialogs/print/layout/CPictureView.h"
#include "dialogs/print/layout/CPrintSizePane.h"
#include "dialogs/print/layout/PageGeometry.h"
#include "framework/LControl.h"
#include "framework/LPopupButton.h"
#include "support/TestEnv.h"
#include "tests/output/DialogTestEnv.h"
#include "windows/Menus.h"
#include "windows/TestDriver.h"

namespace wxapp {

inline Rect FrameOf(const LPane* pane) {
  Rect r;
  pane->CalcPortFrameRect(r);
  return r;
}

// A point of the pane's port in global coordinates, where the test driver presses.
inline Point GlobalAt(const LPane* pane, SInt32 h, SInt32 v) {
  Point p{SInt16(v), SInt16(h)};
  pane->PortToGlobalPoint(p);
  return p;
}

inline Point MiddleOf(const Rect& r) { return Point{SInt16((r.top + r.bottom) / 2), SInt16((r.left + r.right) / 2)}; }

// Drags from a port point of `pane` by (dh, dv).
inline void DragBy(const LPane* pane, Point from, SInt32 dh, SInt32 dv) {
  wxdriver::Drag(GlobalAt(pane, from.h, from.v), GlobalAt(pane, from.h + dh, from.v + dv), 6);
}

// The printable area of the page on show, in port coordinates.
inline Rect PrintableArea(CPrintLayoutDialog* layout) {
  Rect r;
  layout->Area()->GetPaper()->GetPrintRangeRect(r, 1);
  return r;
}

inline std::string ItemText(CPrintLayoutDialog* layout, PaneIDT popup, SInt16 item) {
  Str255 text;
  GetMenuItemText(FindPaneAs<LPopupButton>(layout, popup)->GetMacMenuH(), item, text);
  return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

inline std::string BoxText(CEditableTextBox* box) {
  Str255 text;
  box->GetDescriptor(text);
  return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

class LayoutDialogTest : public PrintLayoutRunTest {
 public:
  void SetUp() override {
    PrintLayoutRunTest::SetUp();
    // The build's language throughout, as a user of that build has it.
    SetSystemScriptForLanguage(wxtest::BuildLanguage());
    Edit([](RecordBytes all) { PREF_PRINT::kCustomSize.set(PREF_ALL::kPrint.in(all), 1000, 800, PrefDocSize::kCentimetre); });
  }

  // Runs `steps` on the layout dialog, the first once every thumbnail has tried to load, each
  // later one once the input of the one before (and any dialog it opened) has been handled.
  void Run(std::vector<Step> steps) {
    WhenLoaded([this, steps](CPrintLayoutDialog* layout) { RunFrom(steps, 0, layout); });
  }

 private:
  void RunFrom(const std::vector<Step>& steps, size_t i, CPrintLayoutDialog* layout) {
    ASSERT_NE(nullptr, layout) << "step " << i << " found no layout dialog";
    steps[i](layout);
    if (i + 1 < steps.size())
      QueueDialogAction([this, steps, i](LWindow* window) {
        RunFrom(steps, i + 1, dynamic_cast<CPrintLayoutDialog*>(window));
      });
  }
};

}  // namespace wxapp
