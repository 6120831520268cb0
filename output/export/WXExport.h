// The export functions of the hub: the pages of a finished scan (raw scan files described
// by the watcher's TWAIN connection or plug-in host) into numbered output files, preview
// pages, and the final save from the preview.
//
// Pages are never lost: a page's raw file, and any corrected, rotated or reduced copy of
// it, is deleted only once that page's output is complete; a page that fails keeps its raw
// file, and its copies go. Functions that return a list return null when no file was
// written; the caller owns the list.
#pragma once

#include "prefs/PrefRecords.h"
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

// Preview pages: each page of the scan (TWAIN or plug-in) as a TIFF in the temporary folder,
// with one ScanDataPlus and one EXIF_PREF appended per page written; the raw files stay.
// The stitch form writes page `index` (from 1) alone ('asrt' when there is none); the mail
// form straightens only JPEG and PDF pages, and keeps every page at its full size.
void ExportToFileForPreview(long kind, CThreadChecker* checker, ConstStr255Param baseName,
                            TArray<ScanDataPlus>* pages, TArray<EXIF_PREF>* exifs, StPDFDialog* pdf,
                            StJPEGDialog* jpeg, StOtherDialog* pict, StOtherDialog* tiff, unsigned char noCorrection,
                            OSType format, OSType creator);
void ExportToFileForStitch(long kind, CThreadChecker* checker, ConstStr255Param baseName, TArray<ScanDataPlus>* pages,
                           TArray<EXIF_PREF>* exifs, StPDFDialog* pdf, StJPEGDialog* jpeg, StOtherDialog* pict,
                           StOtherDialog* tiff, unsigned char noCorrection, OSType format, OSType creator, long index);
void ExportToFileForPreviewForMail(long kind, CThreadChecker* checker, ConstStr255Param baseName,
                                   TArray<ScanDataPlus>* pages, TArray<EXIF_PREF>* exifs, long mailLimit,
                                   StPDFDialog* pdf, StJPEGDialog* jpeg, StOtherDialog* pict, StOtherDialog* tiff,
                                   OSType format, OSType creator);

// The final save from the preview: pages whose written flag is 1, straightened and turned
// as recorded, named after their display names. With deleteSources 1 each saved page's
// preview and raw files go. A page that fails ends the save: its files stay, and the list
// of the files written so far is returned.
TArray<FSSpec>* ExportToFileUseScanDataPlus(TArray<ScanDataPlus>* pages, OSType format, FSSpec& folder,
                                            long datedFolder, StPDFDialog& pdf, StJPEGDialog& jpeg,
                                            StOtherDialog& pict, StOtherDialog& tiff, TArray<EXIF_PREF>* exifs,
                                            unsigned char exifFlag, unsigned char deleteSources, long ignored,
                                            long skew, long orientation, OSType creator);

// For appending to a PDF: every page into one temporary "tmp%05d.PDF" in the temporary
// folder, listed alone; the pages' raw and preview files stay (the caller deletes them once
// the append succeeded).
TArray<FSSpec>* ExportToFileUseScanDataPlus_AddPDFFile(TArray<ScanDataPlus>* pages, OSType format, FSSpec& folder,
                                                       long datedFolder, StPDFDialog& pdf, TArray<EXIF_PREF>* exifs,
                                                       long skew, long orientation, OSType creator);
TArray<FSSpec>* ExportToFile_AddPDFFile(long kind, CThreadChecker* checker, OSType format, StPDFDialog& pdf,
                                        long mailLimit, unsigned char numberFlag, OSType creator);

// A copy of the PDF the settings name, in `folder` as baseName ".PDF" or, when that is
// taken, baseName with the first free serial 0001 to 9999; an empty name on failure. The
// old form makes it beside the PDF itself.
FSSpec CreateNewPDFFile(ConstStr255Param baseName, FSSpec& folder, StPDFDialog& pdf);
FSSpec CreateOldPDFFile(StPDFDialog& pdf);

}  // namespace CWXUtility
