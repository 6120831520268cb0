// Printing one scanned image, fitted to the paper, at 100 % or at another magnification, on
// the printer the user chose.
#pragma once

#include "framework/LPrintSetup.h"
#include "output/export/PageRecords.h"

constexpr ResIDT kCopyPrintoutLayout = 1101;
constexpr PaneIDT kCopyPrintoutPlace = 'PHLD';

namespace CWXUtility {

// Prints `page` with `spec` on `printer` (null: the session's current one). paramErr before
// any job for an image without pixels or below 1 dpi; 'nilP' for a missing printout or
// placeholder; the import's and the print job's errors as they come. The hold on the printer
// ends with the call.
void PrintScanImage(const ScanData& page, LPrintSpec* spec, const unsigned char& fitToPaper, long magnification,
                    PMPrinter printer);
// Makes `printer` current in `session`; a null printer changes nothing and errors are ignored.
void SetCurrentPrinter(PMPrintSession session, PMPrinter printer);

}  // namespace CWXUtility
