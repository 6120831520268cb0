// The export functions of the hub: the pages of a finished scan (raw scan files described
// by the watcher's TWAIN connection or plug-in host) into numbered output files, preview
// pages, and the final save from the preview.
//
// Pages are never lost: a page's raw file, and any corrected, rotated or reduced copy of
// it, is deleted only once that page's output is complete; a page that fails keeps its raw
// file, and its copies go. Functions that return a list return null when no file was
// written; the caller owns the list.
#pragma once

#include "app/prefs/PrefRecords.h"
#include "framework/TArray.h"
#include "output/export/PageRecords.h"
#include "toolbox/MacTypes.h"

class CThreadChecker;

namespace CWXUtility {

// Below this a mail page is not reduced; a page that does not fit the limit there is not
// written.
constexpr long kMailMinimumResolution = 75;

// The first resolution tried for a mail page: the pixels `mailLimit` bytes buy at
// `bitsPerPixel` and compression `ratio`, as a resolution; at least the minimum, and the
// page's own when there is no limit or no page.
long MailBudgetResolution(long mailLimit, double bitsPerPixel, double ratio, long width, long height, long resolution);

// kind 0 takes the pages from the watcher's plug-in host, any other value from its TWAIN
// connection. `adobeRGB` 1 (TWAIN only) puts "_" before the name and labels JPEG pages
// Adobe RGB. With a mail limit (bytes), JPEG pages are written at the highest resolution
// whose file fits it.
TArray<FSSpec>* ExportToFile(long kind, CThreadChecker* checker, OSType format, ConstStr255Param baseName,
                             const FSSpec& folder, long datedFolder, StPDFDialog& pdf, StJPEGDialog& jpeg,
                             StOtherDialog& pict, StOtherDialog& tiff, unsigned char noCorrection, OSType creator,
                             unsigned char numberFlag, long mailLimit, unsigned char adobeRGB);
// The same without correction, mail limit or Exif, keeping the raw files (print layout).
TArray<FSSpec>* ExportToFileRawFileNoDelete(long kind, CThreadChecker* checker, OSType format,
                                            ConstStr255Param baseName, const FSSpec& folder, long datedFolder,
                                            StPDFDialog& pdf, StJPEGDialog& jpeg, StOtherDialog& other,
                                            OSType creator);

// One page's skew and orientation correction (a TIFF in the temporary folder, straightened
// and turned back into a raw file), or its rotation by `angle` clockwise. 1 with the new
// raw file in `out` and its size; 0 when nothing was done, with no copy left behind.
long ExportToFile_EditFileForQSRC(const FSSpec& raw, FSSpec* out, long bits, long width, long height,
                                  Fixed resolution, OSType format, long skew, long orientation, long languageItem,
                                  long angle, OSType creator, long* newWidth, long* newHeight);
long ExportToFile_EditFileForUSER(const FSSpec& raw, FSSpec* out, long bits, long width, long height,
                                  Fixed resolution, OSType format, long skew, long orientation, long languageItem,
                                  long angle, OSType creator, long* newWidth, long* newHeight);

}  // namespace CWXUtility
