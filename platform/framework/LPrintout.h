// A view that is printed rather than shown: built from a layout ('prnt'), given a print spec,
// and printed as one job per DoPrintJob, its panes drawn through PrintPanel onto a page whose
// coordinates start at the paper's top left.
#pragma once

#include "framework/LPrintSetup.h"
#include "framework/LView.h"

class LPrintout : public LView {
 public:
  static constexpr ClassIDT class_ID = 'prnt';
  using Inherited = LView;

  // Layout data: the view's.
  explicit LPrintout(LStream* stream);
  ~LPrintout() override;

  // Throws for a missing layout or one whose top object is no printout.
  static LPrintout* CreatePrintout(ResIDT layoutID);

  void SetPrintSpec(LPrintSpec& spec) { mPrintSpec = &spec; }
  LPrintSpec* GetPrintSpec() const { return mPrintSpec; }

  // One job: the printout is one page, printed when the print spec's page range holds page 1, with
  // the print spec's copies. Throws the Printing Manager's error; a failed job leaves nothing.
  void DoPrintJob();

 protected:
  CGrafPtr GetOwnPort(Point& origin) const override;

 private:
  void PrintPage(PMPrintSession session, PMPageFormat format);

  LPrintSpec* mPrintSpec = nullptr;
  CGrafPtr mPrintPort = nullptr;  // while a page prints
  Point mPortOrigin = {0, 0};
};
