// LPrintSpec, what a print needs: the page format (paper, orientation, resolution), the
// print settings and the job's page range and copies, and the session while one is open. A
// print spec starts empty and takes the current printer's defaults in its first session;
// several live side by side, each with its own values.
#pragma once

#include <string>

#include "framework/FrameworkTypes.h"
#include "printing/Printing.h"

class LPrintSpec {
 public:
  LPrintSpec();
  ~LPrintSpec();
  LPrintSpec(const LPrintSpec&) = delete;
  LPrintSpec& operator=(const LPrintSpec&) = delete;

  // Sessions nest; the innermost end closes the Printing Manager's session.
  void BeginSession();
  void EndSession();
  bool IsInSession() const { return mSessionDepth > 0; }

  // Created (with the current printer's defaults) on first use within a session; throws the
  // Printing Manager's error, or 'nilP' outside a session before the print spec has values.
  PMPageFormat GetPageFormat();
  PMPrintSettings GetPrintSettings();
  // Null outside a session.
  PMPrintSession GetPrintSession() const { return mSession; }
  // True once a session has given the print spec its values.
  bool IsValid() const { return mPageFormat != nullptr; }

  // In pixels at the format's resolution; empty before the print spec has values.
  void GetPageRect(Rect& outRect) const;
  void GetPaperRect(Rect& outRect) const;

  // The printer chosen in a dialog, made current again by every later session ("" = the
  // session's own).
  void SetPrinterName(const std::string& name) { mPrinterName = name; }
  const std::string& GetPrinterName() const { return mPrinterName; }

  // The job's pages (from 1; kPMPrintAllPages for the last page) and copies.
  void SetPrintJobParams(UInt32 firstPage, UInt32 lastPage, UInt32 copies);
  void GetPrintJobParams(UInt32& firstPage, UInt32& lastPage, UInt32& copies);

 private:
  void FillDefaults();

  PMPrintSession mSession = nullptr;
  PMPageFormat mPageFormat = nullptr;
  PMPrintSettings mPrintSettings = nullptr;
  int mSessionDepth = 0;
  std::string mPrinterName;
};
