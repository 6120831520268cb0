// The page-setup and print dialogs: modal framework dialogs over a print spec that store their
// values in it only when accepted. sAppPrintSpec is the application's own spec for printing.
#pragma once

#include "framework/LPrintSetup.h"

class LCommander;

constexpr ResIDT kPageSetupLayout = 1110;
constexpr ResIDT kPrintJobLayout = 1111;

class UPrinting {
 public:
  static LPrintSpec sAppPrintSpec;

  // Printer, paper and orientation; false on Cancel, the print spec unchanged. Throws
  // kPMNoDefaultPrinter where there is no printer.
  static bool AskPageSetup(LPrintSpec& spec, LCommander* super = nullptr);
  // Printer, copies, collate and pages (all, or from-to); false on Cancel, the print spec unchanged.
  static bool AskPrintJob(LPrintSpec& spec, LCommander* super = nullptr);
};
