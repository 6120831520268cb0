// Paginor: PDF files from page images (with an optional invisible text layer), skew and
// orientation correction of page images, and appending one PDF to another.
//
// Every call returns a 16-bit status: 0 on success, otherwise one of the codes below or a
// File Manager code (dskFulErr -34, ioErr -36, fnfErr -43, dupFNErr -48, memFullErr -108...).
// QSRD_spdetect: any value >= 0 is success.
//
// Jobs. An output job names a file: QSRC_exmodeset, QSRC_changepath, QSRC_exopen(path),
// QSRC_spmake for each page, QSRC_close. A correction job has no file: QSRC_exopen(NULL),
// QSRD_spdetect, QSRF_spcorrect, QSRC_close; it may run while an output job is open and never
// disturbs it. QSRC_exmodeset stores the mode for the next QSRC_exopen only; QSRC_close ends
// the most recently opened job. A call out of sequence (a page with no output job, a close
// with no job, a second output job) returns kPaginorSequenceErr and changes nothing.
//
// Output files. The first page creates the PDF under a hidden name beside it, which the close
// turns into the file's (dupFNErr when a file is already there; an existing file is never
// replaced); a job that received no page never creates, truncates or
// touches its path. A page that fails leaves the file as it was before it (no file after a
// failed first page) and the job open, so its close still finishes the pages before it. A
// close that fails removes the file. A file with a trailer exists only when every page it
// holds and the close succeeded.
//
// Sign convention. Orientation is the clockwise turn (0, 90, 180 or 270 degrees) that makes
// the page upright. Skew is likewise the turn in degrees that makes the page's lines level,
// positive clockwise: a page turned 3 degrees counter-clockwise gives +3.0. QSRF_spcorrect
// turns the page by orientation + skew, clockwise.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "toolbox/MacTypes.h"

// Page image types.
enum : int32_t {
  kPATIMGGrey = 8,       // 8 bits per pixel, 0 = black
  kPATIMGBilevel = 33,   // 1 bit per pixel, most significant bit first, 1 = black
  kPATIMGColour = 136,   // 3 bytes per pixel in the order B, G, R
};

// A page image in memory: rows top-down, rowBytes apart (at least the row's size).
struct PATIMG {
  UInt8* data;
  SInt32 rowBytes;
  SInt32 width;
  SInt32 height;
  SInt32 xResolution;  // dots per inch
  SInt32 yResolution;
  SInt32 type;  // kPATIMGGrey, kPATIMGBilevel or kPATIMGColour
  SInt32 reserved1;
  SInt32 reserved2;
};

// QSRC_exmodeset modes.
enum : SInt32 { kPaginorModeNormal = 0, kPaginorModeHighCompression = 2, kPaginorModeSmallPage = 23 };
// Language value bit: the PDF's text layer is off.
enum : UInt32 { kPaginorLanguageOff = 0x80000000u };
// QSRC_exopen flags.
enum : SInt32 { kPaginorFlagText = 1, kPaginorFlagSkew = 2, kPaginorFlagOrientation = 4 };

// Paginor's own statuses.
enum : OSErr {
  kPaginorCannotAppendErr = -406,   // the PDF is damaged beyond recovery, encrypted or unreadable
  kPaginorSequenceErr = -4101,      // call out of sequence
  kPaginorBadImageErr = -4102,      // PATIMG type, data, row bytes, size or resolution invalid
  kPaginorLanguageDataErr = -4103,  // language or orientation data is not installed
  kPaginorEngineErr = -4104,        // recognition or detection engine failed, or its library is not installed
  kPaginorBadHandleErr = -4105,     // no such append job
  kPaginorFolderErr = -120,         // the output file's folder is missing (dirNFErr)
};

// The system's JPEG encoder, writing into memory: `pixels` holds `height` rows of `width`
// pixels, `rowBytes` apart, with `components` bytes each (1: grey; 3: B, G, R, as a page holds
// them). On success it stores a malloc'ed baseline JPEG stream in *jpeg (freed by Paginor
// with free()) and its length in *length.
typedef OSErr (*PaginorJPEGEncoderProc)(const UInt8* pixels, SInt32 width, SInt32 height, SInt32 rowBytes,
                                        SInt32 components, SInt32 quality, UInt8** jpeg, size_t* length);

#ifdef __cplusplus
extern "C" {
#endif

// Installs the encoder for grey and colour pages (NULL: such pages are written with Flate).
void PaginorSetJPEGEncoder(PaginorJPEGEncoderProc encoder);

// Stores mode, language value (with kPaginorLanguageOff) and code-page class (1 Polish,
// Hungarian, Czech; 3 Russian; 0 others) for the next job. Always 0.
OSErr QSRC_exmodeset(SInt32 mode, UInt32 languageValue, SInt32 codePageClass);
// The folder holding the language data, with its trailing "/" ("" for the system's). Always 0.
OSErr QSRC_changepath(const char* path);
// Opens an output job on a UTF-8 POSIX path (the file is not created here), or with NULL a
// correction job. Flags: kPaginorFlagText, kPaginorFlagSkew, kPaginorFlagOrientation.
// kPaginorLanguageDataErr when the text layer's language or the orientation detector's data
// is not installed.
OSErr QSRC_exopen(const char* outputPath, SInt32 flags, SInt32 reserved);
// Adds one page to the open output job, corrected first when the job's flags ask.
OSErr QSRC_spmake(const PATIMG* image, SInt32 reserved);
// Ends the most recently opened job; an output job with pages gets its PDF finished.
OSErr QSRC_close(void);

// The detection and correction calls need no job. QSRD_spdetect detects what a non-null
// pointer asks for (see the sign convention above). A page with too
// little text gives orientation 0, a page without lines skew 0.0, both as success.
OSErr QSRD_spdetect(const PATIMG* image, SInt32* orientation, double* skew);
// Fills `result` with a new image: the same type and resolution (swapped for 90 and 270),
// unpadded rows, width and height swapped only for 90 and 270, uncovered areas white. An
// orientation of 0 and a skew of 0.0 give an exact copy.
OSErr QSRF_spcorrect(const PATIMG* source, PATIMG* result, SInt32 orientation, double skew);
// Frees what QSRF_spcorrect allocated and clears the data pointer; safe to call twice.
OSErr QSRF_spfreeimage(PATIMG* image);

// noErr when a PDF header stands in the first kilobyte of the file at `path`, as readers
// take it; kPaginorCannotAppendErr when none does, fnfErr when the file is missing. Reads
// nothing more.
OSErr VESK_checkHeader(const char* path);
// Opens an existing PDF for appending: kPaginorCannotAppendErr when it is encrypted or
// unreadable, fnfErr when it is missing, ioErr for other read errors. The file is never
// written by VESK_open.
OSErr VESK_open(const char* targetPath, SInt32 mode, UInt32* handle);
// Appends every page of the PDF at `sourcePath` after the target's pages (in memory).
OSErr VESK_addPDF(UInt32 handle, const char* sourcePath);
// Writes the target when at least one add succeeded and none failed (to a new file renamed
// over the target, keeping its Finder info; through a link, the file it names); otherwise
// leaves it untouched. fLckdErr for a locked target. Sets *handle to 0.
OSErr VESK_close(UInt32* handle);

#ifdef __cplusplus
}
#endif
