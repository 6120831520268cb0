// One raw scan file (bare rows: 1-bit packed with 1 = black, 8-bit grey with 0 = white,
// 24-bit R, G, B; each row padded to an even length) into one output file: JPEG, TIFF, PDF
// or PICT. One exporter serves the pages of one export run: the caller sets the parameters
// per page, opens the format's job on the framework (where pages may be straightened),
// exports and closes. Every failure shows the error alert (string list 400, item 3) once
// and removes the partial destination, except the PDF that several pages share.
#pragma once

#include <memory>

#include "prefs/PrefRecords.h"
#include "framework/LFile.h"
#include "output/hub/CThumbnailSampler.h"
#include "toolbox/MacTypes.h"

// Whether an application here views PDF files: only then are written PDFs typed as PDF files.
bool PDFViewerExists();

class CFileExporter {
 public:
  CFileExporter() = default;
  CFileExporter(const CFileExporter&) = delete;
  CFileExporter& operator=(const CFileExporter&) = delete;
  // Closes a PDF or JPEG job left open.
  virtual ~CFileExporter();

  // The PDF job on the destination: one file per page, or all pages of the run in one file
  // when the settings' word 1 says so. 1 when it opened.
  virtual long PDF_Open(const StPDFDialog& settings, unsigned char smallPage);
  // The framework's answer to the close (1 when the file is complete). A complete file is
  // typed 'PDF ' when an application here views PDF files.
  virtual long PDF_Close();
  // A correction job for the page written next: skew (word 2) and orientation (word 0).
  virtual long JPEG_Open(const StJPEGDialog& settings, unsigned char flag);
  virtual long JPEG_Close();
  virtual long PICT_Open(const StOtherDialog& settings, unsigned char flag);
  virtual long PICT_Close();
  virtual long TIFF_Open(const StOtherDialog& settings, unsigned char flag);
  virtual long TIFF_Close();
  // 1 on success, 0 on failure; a format other than the four exports nothing and answers 0.
  virtual long DoExport();
  virtual long GetImageWidth() const { return mWidth; }
  virtual long GetImageLength() const { return mHeight; }
  virtual Fixed GetResolution() const { return mResolution; }

  // Quality code 1 gives 50, 3 gives 95, anything else 70. `bits` is 1, 8 or 32.
  void SetParam(OSType format, const FSSpec& source, const FSSpec& destination, long bits, long width, long height,
                Fixed resolution, long qualityCode, OSType creator, long mailResolution);
  // A JPEG whose resolution is above `newResolution` is made from a reduced copy of the
  // raw page ("tmp%05d.dat" in the temporary folder, which `source` then names; 1-bit
  // pages become 8-bit grey); anything else is SetParam. noErr, or the failure (after its
  // alert, with no copy left).
  OSErr SetParamForMail(OSType format, FSSpec& source, const FSSpec& destination, long bits, long width, long height,
                        Fixed resolution, long newResolution, OSType creator, long qualityCode);
  // Reduces the raw page `source` (24-bit rows, or 8-bit and 1-bit rows written as 8-bit
  // grey) from `oldResolution` to `newResolution` into a new temporary raw file that
  // `source` then names; width, height and bits follow. Throws on failure, leaving no copy.
  static void ResolutionConvert(FSSpec& source, long& width, long& height, long& bits, long oldResolution,
                                long newResolution);

  // Straightens the TIFF just written to the destination; 0 when the framework could not
  // be loaded, else 1 whatever the correction found.
  long SlantCorrectTIFF(OSType format, long skew, long orientation, long languageItem);

  long Bits() const { return mBits; }
  // The Exif thumbnail sampled from the JPEG the last DoExport wrote; null after any other.
  const CThumbnailSampler* Thumbnail() const { return mThumbnail.Complete() ? &mThumbnail : nullptr; }
  // A working copy's failure is no failure of the user's file: the caller goes on quietly.
  void SetQuiet(bool quiet) { mQuiet = quiet; }

 private:
  long CorrectionOpen(long languageItem, long skew, long orientation, unsigned char flag);
  long CorrectionClose();
  long ExportToJPEG();
  long ExportToTIFF();
  long ExportToPDF();
  long ExportToPICT();
  // Removes what was written and tells the user once.
  long Failed();
  long RawRowBytes() const;
  void SetTypeAndCreator(OSType type) const;
  void Label(const FSSpec& file, OSType type) const;

  std::unique_ptr<LFile> mSource;
  std::unique_ptr<LFile> mDestination;
  long mBits = 0;
  long mWidth = 0;
  long mHeight = 0;
  Fixed mResolution = 0;
  OSType mFormat = 0;
  long mMailResolution = 0;
  long mQuality = 0;
  OSType mCreator = 0;
  bool mPDFOpen = false;
  FSSpec mPDFFile{};        // the file the open PDF job writes
  bool mPDFShared = false;  // all pages in one file: a failing page leaves it in place
  bool mCorrectionOpen = false;
  bool mQuiet = false;
  CThumbnailSampler mThumbnail;
};
