// The paper pane: the sheet of the current page format scaled to 300 pixels on its longer
// side, with its printable area framed in red. Pictures and text boxes keep inside that
// area and convert their sizes to the paper through it. It prints nothing.
#pragma once

#include "framework/LPane.h"

class LPrintSpec;

class CPrintSizePane : public LPane {
 public:
  static constexpr PaneIDT kPaneID = 'PSIZ';

  // Reads the printer resolution in a print session on `spec` (null: no paper).
  CPrintSizePane(const SPaneInfo& info, LPrintSpec* spec);

  // The printable area moved to the pane's frame (port and local coordinates are one here;
  // `inPort` is kept for the callers that name which they mean).
  void GetPrintRangeRect(Rect& outRect, UInt8 inPort) const;
  // Page-format units per pane pixel; 0 without paper.
  double GetReSizeRatio() const;
  // Pane pixels per page-format unit; 0 for a page format with an empty side.
  double GetScale() const { return mScale; }
  SInt16 GetPrinterResolution() const { return mPrinterResolution; }
  bool HasPaper() const { return mScale > 0.0; }

 protected:
  void FinishCreateSelf() override;
  void DrawSelf() override;
  void PrintPanelSelf(const PanelSpec&) override {}

 private:
  Rect mPrintable = {0, 0, 0, 0};
  LPrintSpec* mSpec;
  double mScale = 0.0;
  SInt16 mPrinterResolution = 0;
};
