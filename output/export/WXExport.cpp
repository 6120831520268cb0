#include "output/export/WXExport.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/LCommander.h"
#include "framework/LException.h"
#include "output/export/CFileExporter.h"
#include "output/export/CSaveImage.h"
#include "output/hub/WXExif.h"
#include "output/hub/WXFolders.h"
#include "output/hub/WXNaming.h"
#include "output/hub/WXText.h"
#include "output/hubdialogs/WXAlert.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/Scanner.h"
#include "toolbox/Clock.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/TextUtils.h"

namespace CWXUtility {

namespace {

constexpr long kMailCallerCode = 3;
constexpr int kNameAttempts = 1000;

// One page of a finished scan as the export sees it.
struct ScanPage {
  FSSpec raw;
  long bits;
  long width;
  long height;
  Fixed resolution;
};

void ShowWriteError() { Show_Error(kAlertLayout, LCommander::GetTarget(), 400, 3, 0, 1, nullptr, 0); }

// The pages of the watched scan, raw files and records walked together.
std::vector<ScanPage> PagesOf(long kind, CThreadChecker* checker) {
  ThrowIf_(!checker || (kind == 0 ? !checker->GetScanner() : !checker->GetTWAIN()));
  std::vector<ScanPage> pages;
  if (kind == 0) {
    Scanner* scanner = checker->GetScanner();
    TArray<FSSpec>* files = scanner->GetTempFileArray();
    TArray<OstrelScannerRecord>* records = scanner->GetAcquireOstrelArray();
    for (ArrayIndexT i = 1; i <= files->GetCount() && i <= records->GetCount(); ++i) {
      ScanPage page{};
      OstrelScannerRecord record;
      files->FetchItemAt(i, page.raw);
      records->FetchItemAt(i, record);
      const int16_t mode = record.view().i16(OstrelField::kImageMode);
      page.bits = mode == 0 ? 1 : mode == 1 ? 8 : 32;
      page.width = record.view().i16(OstrelField::kImageColumns);
      page.height = record.view().i16(OstrelField::kImageRows);
      page.resolution = Fixed(record.view().u32(OstrelField::kHResolution));
      pages.push_back(page);
    }
    return pages;
  }
  CTWAIN* twain = checker->GetTWAIN();
  TArray<FSSpec>* files = twain->GetTempFileArray();
  TArray<TW_IMAGEINFO>* infos = twain->GetImageInfoArray();
  for (ArrayIndexT i = 1; i <= files->GetCount() && i <= infos->GetCount(); ++i) {
    ScanPage page{};
    TW_IMAGEINFO info{};
    files->FetchItemAt(i, page.raw);
    infos->FetchItemAt(i, info);
    page.bits = info.BitsPerPixel == 24 ? 32 : info.BitsPerPixel;
    page.width = info.ImageWidth;
    page.height = info.ImageLength;
    page.resolution = IntToFixed(info.XResolution.Whole);
    pages.push_back(page);
  }
  return pages;
}

// Whether the TWAIN scan's pages are to be written at all.
bool TWAINScanEnded(CTWAIN* twain, bool multiPagePDF) {
  const short result = twain->GetResult();
  return result == 0 || result == 3 || multiPagePDF || (result == 1 && twain->GetShowDriverUI() == 1);
}

// The settings of each format and what they ask of a page.
struct Formats {
  StPDFDialog* pdf;
  StJPEGDialog* jpeg;
  StOtherDialog* pict;
  StOtherDialog* tiff;

  RecordBytes Of(OSType format) const {
    switch (format) {
      case 'PDF ': return pdf->view();
      case 'JPEG': return jpeg->view();
      case 'PICT': return pict->view();
      default: return tiff->view();
    }
  }
  long Skew(OSType format) const { return Of(format).u32(format == 'PDF ' ? 96 : 8) == 1 ? 1 : 0; }
  long Orientation(OSType format) const { return Of(format).u32(format == 'PDF ' ? 100 : 0) == 1 ? 1 : 0; }
  long LanguageItem(OSType format) const { return long(Of(format).u32(format == 'PDF ' ? 12 : 4)); }
  long QualityCode() const { return long(jpeg->view().u32(16)); }
  bool MultiPagePDF(OSType format) const { return format == 'PDF ' && pdf->view().u32(4) == 1; }
};

// A page at most 4 inches wide and 3 high.
bool SmallPage(const ScanPage& page) {
  const long dpi = page.resolution >> 16;
  return dpi > 0 && page.width <= 4 * dpi && page.height <= 3 * dpi;
}

// What one page is to become.
struct PageRequest {
  OSType format = 0;
  Formats formats{};
  long skew = 0, orientation = 0, languageItem = 0;
  bool correct = false;       // straighten the page before any output is open
  long mailLimit = 0;         // bytes a JPEG may take; 0: no limit
  long mailResolution = 0;    // the first estimate; 0: the page's own
  bool mailBudget = false;    // estimate it for each colour page
  bool sharedPDF = false;     // every page into the one PDF the exporter keeps open
  unsigned char smallPDF = 0;
  OSType creator = 0;
  bool exif = false;          // TWAIN pages: the Exif segment on JPEG files
  unsigned char adobeRGB = 0;
  short lightPath = 0;
  bool deleteRaw = true;      // once its output is complete (a shared PDF: once it is closed)
};

OSErr FileSize(const FSSpec& spec, long* size) {
  SInt16 ref = 0;
  OSErr err = FSpOpenDF(&spec, fsRdPerm, &ref);
  if (err != noErr) return err;
  err = GetEOF(ref, size);
  FSClose(ref);
  return err;
}

// Opens the format's job for the page (a shared PDF only once); false when a PDF cannot
// be opened.
bool OpenOutput(CFileExporter& exporter, const PageRequest& req, bool* pdfOpen) {
  if (req.format == 'PDF ') {
    if (*pdfOpen) return true;
    StPDFDialog copy = *req.formats.pdf;
    copy.view().setU32(96, uint32_t(req.skew));
    copy.view().setU32(100, uint32_t(req.orientation));
    *pdfOpen = exporter.PDF_Open(copy, req.smallPDF) == 1;
    return *pdfOpen;
  }
  if (req.format == 'JPEG') {
    StJPEGDialog copy = *req.formats.jpeg;
    copy.view().setU32(8, uint32_t(req.skew));
    copy.view().setU32(0, uint32_t(req.orientation));
    exporter.JPEG_Open(copy, 0);
  } else if (req.format == 'PICT' || req.format == 'TIFF') {
    StOtherDialog copy = req.format == 'PICT' ? *req.formats.pict : *req.formats.tiff;
    copy.view().setU32(8, uint32_t(req.skew));
    copy.view().setU32(0, uint32_t(req.orientation));
    if (req.format == 'PICT') exporter.PICT_Open(copy, 0);
    else exporter.TIFF_Open(copy, 0);
  }
  return true;
}

// Closes what one page opened; false when a single-page PDF did not come out complete.
bool CloseOutput(CFileExporter& exporter, const PageRequest& req, bool* pdfOpen) {
  switch (req.format) {
    case 'PDF ':
      if (req.sharedPDF || !*pdfOpen) return true;
      *pdfOpen = false;
      return exporter.PDF_Close() == 1;
    case 'JPEG': exporter.JPEG_Close(); return true;
    case 'PICT': exporter.PICT_Close(); return true;
    case 'TIFF': exporter.TIFF_Close(); return true;
    default: return true;
  }
}

// The next resolution for a mail JPEG of `size` bytes written at `written` dpi, or 0 when
// it cannot get smaller.
long SmallerMailResolution(long written, long size, long limit) {
  if (written <= kMailMinimumResolution) return 0;
  long next = long(written * std::sqrt(double(limit) / double(size)));
  if (next >= written) next = written - 1;
  return next < kMailMinimumResolution ? kMailMinimumResolution : next;
}

// Writes one page into `out`: corrected first where asked, reduced for mail until its file
// fits, with its Exif segment. Deletes the page's copies in every case and its raw file
// once the output is complete (unless the caller defers that). The page's alert has been
// shown when it answers false.
bool WritePage(CFileExporter& exporter, const ScanPage& page, const FSSpec& out, const PageRequest& req,
               bool* pdfOpen) {
  ScanPage work = page;
  bool corrected = false;
  if (req.correct && !*pdfOpen) {
    long newWidth = 0, newHeight = 0;
    FSSpec copy{};
    if (ExportToFile_EditFileForQSRC(page.raw, &copy, page.bits, page.width, page.height, page.resolution,
                                     req.format, req.skew, req.orientation, req.languageItem, 0, req.creator,
                                     &newWidth, &newHeight) == 1) {
      work.raw = copy;
      corrected = true;
      if (newWidth != 0 && newHeight != 0 && (newWidth != page.width || newHeight != page.height)) {
        work.width = newWidth;
        work.height = newHeight;
      }
    }
  }

  const long dpi = work.resolution >> 16;
  long target = req.mailResolution > 0 && req.mailResolution < dpi ? req.mailResolution : 0;
  bool written = false;
  for (;;) {
    FSSpec source = work.raw;
    if (target > 0) {
      if (exporter.SetParamForMail(req.format, source, out, work.bits, work.width, work.height, work.resolution,
                                   target, req.creator, req.formats.QualityCode()) != noErr)
        break;
    } else {
      exporter.SetParam(req.format, source, out, work.bits, work.width, work.height, work.resolution,
                        req.formats.QualityCode(), req.creator, 0);
    }
    const bool reduced = std::memcmp(&source, &work.raw, sizeof source) != 0;
    bool ok = OpenOutput(exporter, req, pdfOpen);
    if (!ok) ShowWriteError();
    ok = ok && exporter.DoExport() == 1;
    if (!CloseOutput(exporter, req, pdfOpen) && ok) {
      FSpDelete(&out);
      ShowWriteError();
      ok = false;
    }
    if (reduced) DeleteFileWithRetry(source);
    if (!ok) break;
    // The limit holds on the file as sent: Exif segment included.
    if (req.format == 'JPEG' && req.exif) {
      FSSpec jpeg = out;
      AddExifInfoMainOnly(jpeg, exporter.GetImageWidth(), exporter.GetImageLength(),
                          exporter.GetResolution() >> 16, work.bits != 32, req.adobeRGB, req.lightPath);
    }
    long size = 0;
    if (req.format != 'JPEG' || req.mailLimit <= 0 || FileSize(out, &size) != noErr || size <= req.mailLimit) {
      written = true;
      break;
    }
    // Over the limit: written again, smaller, from the same page.
    FSpDelete(&out);
    target = SmallerMailResolution(target > 0 ? target : dpi, size, req.mailLimit);
    if (target == 0) {
      ShowWriteError();
      break;
    }
  }

  if (corrected) DeleteFileWithRetry(work.raw);
  if (written && req.deleteRaw && !req.sharedPDF) DeleteFileWithRetry(page.raw);
  return written;
}

TArray<FSSpec>* ListOrNull(std::unique_ptr<TArray<FSSpec>> list) {
  if (!list || list->GetCount() == 0) return nullptr;
  return list.release();
}

// Every page of a scan into numbered files; a shared PDF is closed here, and only a
// complete one lets its pages' raw files go.
TArray<FSSpec>* ExportPages(const std::vector<ScanPage>& pages, PageRequest req, ConstStr255Param baseName,
                            const FSSpec& folder, long datedFolder, unsigned char numberFlag, unsigned char underscore,
                            bool unicodeNames) {
  if (pages.empty()) return nullptr;
  auto list = std::make_unique<TArray<FSSpec>>();
  CFileExporter exporter;
  bool pdfOpen = false;
  req.sharedPDF = req.formats.MultiPagePDF(req.format);
  if (req.sharedPDF) {
    req.smallPDF = 1;
    for (const ScanPage& p : pages) req.smallPDF = req.smallPDF && SmallPage(p);
  }
  std::vector<FSSpec> shared;
  FSSpec sharedFile{};
  for (const ScanPage& page : pages) {
    FSSpec out{};
    create_finalfile_spec(baseName, folder, &out, datedFolder, &req.format, numberFlag, underscore);
    if (!req.sharedPDF) req.smallPDF = req.format == 'PDF ' && SmallPage(page);
    if (req.mailBudget)
      req.mailResolution = page.bits == 32 ? MailBudgetResolution(req.mailLimit, 24, 0.08, page.width, page.height,
                                                                 page.resolution >> 16)
                                           : 0;
    if (!WritePage(exporter, page, out, req, &pdfOpen)) continue;
    if (!req.sharedPDF) {
      if (req.format == 'PDF ' && unicodeNames) RenameFSSpecFile2UniFile(&out);
      list->AddItem(out);
      continue;
    }
    if (shared.empty()) sharedFile = out;
    shared.push_back(page.raw);
  }
  if (pdfOpen) {
    if (exporter.PDF_Close() != 1) {
      if (!shared.empty()) {
        FSpDelete(&sharedFile);
        ShowWriteError();
      }
      shared.clear();
    } else if (!shared.empty()) {
      if (unicodeNames) RenameFSSpecFile2UniFile(&sharedFile);
      list->AddItem(sharedFile);
      if (req.deleteRaw)
        for (const FSSpec& raw : shared) DeleteFileWithRetry(raw);
    }
  }
  return ListOrNull(std::move(list));
}

// Names "<seconds x 100 + n>" in the temporary folder that nothing has yet.
OSErr FreeDateTimeName(FSSpec* spec) {
  SInt16 vRefNum = 0;
  SInt32 dirID = 0;
  if (!FindTempFolder(&vRefNum, &dirID)) return dirNFErr;
  UInt32 seconds = 0;
  GetDateTime(&seconds);
  for (int n = 0; n < kNameAttempts; ++n) {
    const std::string name = std::to_string(uint64_t(seconds) * 100 + uint64_t(n));
    Str255 pname;
    PStrFromString(name, pname);
    const OSErr err = FSMakeFSSpec(vRefNum, dirID, pname, spec);
    if (err == fnfErr) return noErr;
    if (err != noErr) return err;
  }
  return dupFNErr;
}

// The correction or rotation of one page through a TIFF copy.
long EditPage(const FSSpec& raw, FSSpec* out, long bits, long width, long height, Fixed resolution, OSType format,
              long skew, long orientation, long languageItem, long angle, bool rotate, OSType creator,
              long* newWidth, long* newHeight) {
  if (!rotate && !skew && !orientation) return 0;
  FSSpec tiff{};
  if (FreeDateTimeName(&tiff) != noErr) return 0;
  CFileExporter exporter;
  exporter.SetParam('TIFF', raw, tiff, bits, width, height, resolution, 0, creator, 0);
  if (exporter.DoExport() != 1) return 0;
  if (!rotate) exporter.SlantCorrectTIFF(format, skew, orientation, languageItem);
  long done = 0;
  CSaveImage image;
  FSSpec copy{};
  try {
    if (image.SetImage(&tiff) == noErr) {
      if (rotate) image.RotateImage(angle);
      Rect bounds;
      image.GetImageRect(&bounds);
      if (FreeDateTimeName(&copy) == noErr) {
        if (image.SaveImage(&copy) == noErr) {
          *out = copy;
          *newWidth = bounds.right - bounds.left;
          *newHeight = bounds.bottom - bounds.top;
          done = 1;
        } else {
          FSpDelete(&copy);
        }
      }
    }
  } catch (const LException&) {
    done = 0;  // no memory for the turn: the page stays as it was
  }
  FSpDelete(&tiff);
  return done;
}

}  // namespace

long ExportToFile_EditFileForQSRC(const FSSpec& raw, FSSpec* out, long bits, long width, long height,
                                  Fixed resolution, OSType format, long skew, long orientation, long languageItem,
                                  long angle, OSType creator, long* newWidth, long* newHeight) {
  return EditPage(raw, out, bits, width, height, resolution, format, skew, orientation, languageItem, angle, false,
                  creator, newWidth, newHeight);
}

long ExportToFile_EditFileForUSER(const FSSpec& raw, FSSpec* out, long bits, long width, long height,
                                  Fixed resolution, OSType format, long skew, long orientation, long languageItem,
                                  long angle, OSType creator, long* newWidth, long* newHeight) {
  return EditPage(raw, out, bits, width, height, resolution, format, skew, orientation, languageItem, angle, true,
                  creator, newWidth, newHeight);
}

long MailBudgetResolution(long mailLimit, double bitsPerPixel, double ratio, long width, long height, long resolution) {
  const double pixels = double(width) * double(height);
  if (mailLimit <= 0 || pixels <= 0 || resolution <= 0) return resolution;
  const double budget = std::trunc(double(mailLimit) * 8 / bitsPerPixel / ratio);
  const long reduced = long(double(resolution) * std::sqrt(budget / pixels));
  return reduced < kMailMinimumResolution ? kMailMinimumResolution : reduced;
}

TArray<FSSpec>* ExportToFile(long kind, CThreadChecker* checker, OSType format, ConstStr255Param baseName,
                             const FSSpec& folder, long datedFolder, StPDFDialog& pdf, StJPEGDialog& jpeg,
                             StOtherDialog& pict, StOtherDialog& tiff, unsigned char noCorrection, OSType creator,
                             unsigned char numberFlag, long mailLimit, unsigned char adobeRGB) {
  const std::vector<ScanPage> pages = PagesOf(kind, checker);
  PageRequest req;
  req.format = format;
  req.formats = Formats{&pdf, &jpeg, &pict, &tiff};
  if (!noCorrection) {
    req.skew = req.formats.Skew(format);
    req.orientation = req.formats.Orientation(format);
  }
  req.languageItem = req.formats.LanguageItem(format);
  req.correct = req.skew || req.orientation;
  req.creator = creator;
  req.mailLimit = mailLimit;
  if (kind == 0) {
    if (!checker->GetScanner()->LastPageSaved()) return nullptr;
    return ExportPages(pages, req, baseName, folder, datedFolder, numberFlag, 0, false);
  }
  CTWAIN* twain = checker->GetTWAIN();
  if (!TWAINScanEnded(twain, req.formats.MultiPagePDF(format))) return nullptr;
  req.exif = true;
  req.adobeRGB = adobeRGB;
  req.lightPath = twain->GetLightPath();
  req.mailBudget = twain->GetShowDriverUI() == 0 && (twain->GetImageMode() == 5 || twain->GetImageMode() == 6) &&
                   twain->GetCallerCode() == kMailCallerCode;
  return ExportPages(pages, req, baseName, folder, datedFolder, numberFlag, adobeRGB, true);
}

TArray<FSSpec>* ExportToFileRawFileNoDelete(long kind, CThreadChecker* checker, OSType format,
                                            ConstStr255Param baseName, const FSSpec& folder, long datedFolder,
                                            StPDFDialog& pdf, StJPEGDialog& jpeg, StOtherDialog& other,
                                            OSType creator) {
  const std::vector<ScanPage> pages = PagesOf(kind, checker);
  if (kind == 0 ? !checker->GetScanner()->LastPageSaved()
                : !TWAINScanEnded(checker->GetTWAIN(), format == 'PDF ' && pdf.view().u32(4) == 1))
    return nullptr;
  PageRequest req;
  req.format = format;
  req.formats = Formats{&pdf, &jpeg, &other, &other};
  req.languageItem = req.formats.LanguageItem(format);
  req.creator = creator;
  req.deleteRaw = false;
  return ExportPages(pages, req, baseName, folder, datedFolder, 0, 0, false);
}

}  // namespace CWXUtility
