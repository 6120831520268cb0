#include "output/export/WXExport.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/LCommander.h"
#include "framework/LException.h"
#include "output/export/CFileExporter.h"
#include "output/export/CSaveImage.h"
#include "prefs/WXExifInit.h"
#include "output/hub/WXExif.h"
#include "output/hub/WXFolders.h"
#include "output/hub/WXNaming.h"
#include "output/hub/WXText.h"
#include "output/hubdialogs/WXAlert.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/RawScanPage.h"
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

ScanPage PageOf(const FSSpec& raw, const RawScanPage& layout, Fixed resolution) {
  const long bits = layout.layout == kRawScanBilevel ? 1 : layout.layout == kRawScanGray ? 8 : 32;
  return ScanPage{raw, bits, long(layout.width), long(layout.height), resolution};
}

// The pages of the watched scan, raw files and records walked together. A page whose record
// describes no page the scanner writes is left where it is, with the error alert.
std::vector<ScanPage> PagesOf(long kind, CThreadChecker* checker) {
  ThrowIf_(!checker || (kind == 0 ? !checker->GetScanner() : !checker->GetTWAIN()));
  std::vector<ScanPage> pages;
  if (kind == 0) {
    Scanner* scanner = checker->GetScanner();
    TArray<FSSpec>* files = scanner->GetTempFileArray();
    TArray<OstrelScannerRecord>* records = scanner->GetAcquireOstrelArray();
    for (ArrayIndexT i = 1; i <= files->GetCount() && i <= records->GetCount(); ++i) {
      FSSpec raw{};
      OstrelScannerRecord record;
      files->FetchItemAt(i, raw);
      records->FetchItemAt(i, record);
      RawScanPage layout;
      if (!RawScanPage_FromOstrelRecord(record, &layout)) {
        ShowWriteError();
        continue;
      }
      pages.push_back(PageOf(raw, layout, Fixed(record.view().u32(OstrelField::kHResolution))));
    }
    return pages;
  }
  CTWAIN* twain = checker->GetTWAIN();
  TArray<FSSpec>* files = twain->GetTempFileArray();
  TArray<TW_IMAGEINFO>* infos = twain->GetImageInfoArray();
  for (ArrayIndexT i = 1; i <= files->GetCount() && i <= infos->GetCount(); ++i) {
    FSSpec raw{};
    TW_IMAGEINFO info{};
    files->FetchItemAt(i, raw);
    infos->FetchItemAt(i, info);
    RawScanPage layout;
    if (!RawScanPage_FromImageInfo(info, &layout)) {
      ShowWriteError();
      continue;
    }
    pages.push_back(PageOf(raw, layout, IntToFixed(info.XResolution.Whole)));
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
  RecordBytes* exifRecord = nullptr;  // the page's own Exif record (final save)
  bool exifFromRecord = false;        // the whole record, not only its size and resolution
};

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

// The page's Exif segment: from its own record where it has one, else from what was written.
long AddPageExif(const FSSpec& out, const PageRequest& req, CFileExporter& exporter, long bits) {
  FSSpec jpeg = out;
  const CThumbnailSampler* thumbnail = exporter.Thumbnail();
  if (req.exifRecord && req.exifFromRecord) return AddExifInfo(jpeg, *req.exifRecord, req.adobeRGB, thumbnail);
  if (req.exifRecord) {
    const RecordBytes e = *req.exifRecord;
    return AddExifInfoMainOnly(jpeg, long(EXIF_PREF::kWidth.get(e)), long(EXIF_PREF::kHeight.get(e)),
                               EXIF_PREF::kXResolution.get(e), EXIF_PREF::kColourPage.get(e) != 1, req.adobeRGB,
                               long(EXIF_PREF::kSource.get(e)), thumbnail);
  }
  return AddExifInfoMainOnly(jpeg, exporter.GetImageWidth(), exporter.GetImageLength(),
                             exporter.GetResolution() >> 16, bits != 32, req.adobeRGB, req.lightPath, thumbnail);
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
    // The limit holds on the file as sent: Exif segment included. A page whose Exif segment
    // could not be written is not a finished page.
    if (req.format == 'JPEG' && req.exif && AddPageExif(out, req, exporter, work.bits) != noErr) {
      FSpDelete(&out);
      ShowWriteError();
      break;
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

// Closes the PDF that several pages went into: a complete one is listed (once) and lets the
// raw files of its pages go; one that did not close is removed and keeps them all.
void FinishSharedPDF(CFileExporter& exporter, bool pdfOpen, FSSpec file, const std::vector<FSSpec>& raws,
                     bool unicodeNames, bool deleteRaws, TArray<FSSpec>* list) {
  if (!pdfOpen) return;
  if (exporter.PDF_Close() != 1) {
    if (!raws.empty()) {
      FSpDelete(&file);
      ShowWriteError();
    }
    return;
  }
  if (raws.empty()) return;
  if (unicodeNames) RenameFSSpecFile2UniFile(&file);
  list->AddItem(file);
  if (deleteRaws)
    for (const FSSpec& raw : raws) DeleteFileWithRetry(raw);
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
  FinishSharedPDF(exporter, pdfOpen, sharedFile, shared, unicodeNames, req.deleteRaw, list.get());
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
  exporter.SetQuiet(true);
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

void CopyPString(ConstStr255Param from, Str255 to) { std::memcpy(to, from, size_t(from[0]) + 1); }

OSErr TempFolderSpec(FSSpec* folder) {
  SInt16 vRefNum = 0;
  SInt32 dirID = 0;
  if (!FindTempFolder(&vRefNum, &dirID)) return dirNFErr;
  return FSMakeFSSpec(vRefNum, dirID, nullptr, folder);
}

// The pages a preview shows: a TWAIN scan's, or a plug-in scan's (no source name then).
std::vector<ScanPage> PreviewPagesOf(long kind, CThreadChecker* checker, bool multiPagePDF, Str255 sourceName) {
  std::vector<ScanPage> pages = PagesOf(kind, checker);
  sourceName[0] = 0;
  if (kind == 0) return checker->GetScanner()->LastPageSaved() ? pages : std::vector<ScanPage>{};
  CTWAIN* twain = checker->GetTWAIN();
  if (!TWAINScanEnded(twain, multiPagePDF)) return {};
  CopyPString(twain->GetModelString(), sourceName);
  return pages;
}

// Each page as a TIFF in the temporary folder, straightened where asked, with its page and
// Exif records; the raw files stay.
void WritePreviewPages(const std::vector<ScanPage>& pages, ConstStr255Param baseName, ConstStr255Param sourceName,
                       short lightPath, const Formats& formats, OSType format, bool correct, OSType creator,
                       TArray<ScanDataPlus>* records, TArray<EXIF_PREF>* exifs) {
  FSSpec temp{};
  if (TempFolderSpec(&temp) != noErr) return;
  const OSType tiffType = 'TIFF';
  for (const ScanPage& page : pages) {
    FSSpec out{};
    create_finalfile_spec(baseName, temp, &out, 0, &tiffType, 1, 0);
    CFileExporter exporter;
    exporter.SetParam('TIFF', page.raw, out, page.bits, page.width, page.height, page.resolution, 0, creator, 0);
    if (exporter.DoExport() != 1) continue;
    if (correct && (formats.Skew(format) || formats.Orientation(format)))
      exporter.SlantCorrectTIFF(format, formats.Skew(format), formats.Orientation(format), formats.LanguageItem(format));
    ScanDataPlus record;
    record.width = page.width;
    record.height = page.height;
    record.resolution = page.resolution;
    record.imageFile = out;
    CopyPString(sourceName, record.sourceName);
    record.bitsPerPixel = page.bits;
    record.rawFile = page.raw;
    record.written = 1;
    CopyPString(out.name, record.displayName);
    record.displayName[0] = out.name[0] > 4 ? uint8_t(out.name[0] - 4) : 0;
    record.rotation = 0;
    records->AddItem(record);

    EXIF_PREF exif;
    InitExifInfo(exif.view());
    if (page.bits != 32) EXIF_PREF::kColourPage.set(exif.view(), 2);
    EXIF_PREF::kWidth.set(exif.view(), uint32_t(page.width));
    EXIF_PREF::kHeight.set(exif.view(), uint32_t(page.height));
    EXIF_PREF::kXResolution.set(exif.view(), int16_t(page.resolution >> 16));
    EXIF_PREF::kYResolution.set(exif.view(), int16_t(page.resolution >> 16));
    EXIF_PREF::kSource.set(exif.view(), uint32_t(lightPath));
    DateTimeRec now{};
    GetTime(&now);
    char text[64];
    std::snprintf(text, sizeof text, "%04d:%02d:%02d %02d:%02d:%02d", now.year, now.month, now.day, now.hour,
                  now.minute, now.second);
    Str255 ptext;
    PStrFromString(text, ptext);
    EXIF_PREF::kDateTime.set(exif.view(), ptext);
    exifs->AddItem(exif);
  }
}

short LightPathOf(long kind, CThreadChecker* checker) { return kind == 0 ? 0 : checker->GetTWAIN()->GetLightPath(); }

// A free "tmp%05d" base name in the temporary folder (no file of it with the PDF extension).
bool FreeTemporaryBase(Str255 base) {
  FSSpec temp{};
  if (TempFolderSpec(&temp) != noErr) return false;
  SInt32 dirID = 0;
  Boolean isFolder = false;
  if (FSpGetDirectoryID(&temp, &dirID, &isFolder) != noErr) return false;
  const UInt32 first = TickCount() % 100000;
  for (UInt32 n = 0; n < UInt32(kNameAttempts); ++n) {
    char name[16];
    std::snprintf(name, sizeof name, "tmp%05u", unsigned((first + n) % 100000));
    Str255 pdfName;
    PStrFromString(std::string(name) + ".PDF", pdfName);
    FSSpec probe{};
    if (FSMakeFSSpec(temp.vRefNum, dirID, pdfName, &probe) != fnfErr) continue;
    PStrFromString(name, base);
    return true;
  }
  return false;
}

// The final save of the preview's pages: corrected and turned copies first, then each page
// into its file. A failing page ends the save and keeps its sources; every copy goes.
TArray<FSSpec>* SavePreviewPages(TArray<ScanDataPlus>* pages, PageRequest req, const FSSpec& folder,
                                 long datedFolder, TArray<EXIF_PREF>* exifs, bool deleteSources, long skew,
                                 long orientation) {
  struct Work {
    ScanDataPlus page;
    EditDataPlus edit;
    ArrayIndexT index;
    bool copy;
  };
  std::vector<Work> work;
  for (ArrayIndexT i = 1; i <= pages->GetCount(); ++i) {
    Work w{};
    pages->FetchItemAt(i, w.page);
    if (w.page.written != 1) continue;
    w.index = i;
    w.edit = EditDataPlus{w.page.rawFile, w.page.height, w.page.width};
    long newWidth = 0, newHeight = 0;
    FSSpec copy{};
    if ((skew || orientation) &&
        ExportToFile_EditFileForQSRC(w.edit.workFile, &copy, w.page.bitsPerPixel, w.edit.width, w.edit.height,
                                     w.page.resolution, req.format, skew, orientation, req.languageItem, 0,
                                     req.creator, &newWidth, &newHeight) == 1) {
      w.edit = EditDataPlus{copy, SInt32(newHeight ? newHeight : w.edit.height), SInt32(newWidth ? newWidth : w.edit.width)};
      w.copy = true;
    }
    if (w.page.rotation != 0 &&
        ExportToFile_EditFileForUSER(w.edit.workFile, &copy, w.page.bitsPerPixel, w.edit.width, w.edit.height,
                                     w.page.resolution, req.format, 0, 0, req.languageItem, w.page.rotation,
                                     req.creator, &newWidth, &newHeight) == 1) {
      if (w.copy) DeleteFileWithRetry(w.edit.workFile);
      w.edit = EditDataPlus{copy, SInt32(newHeight), SInt32(newWidth)};
      w.copy = true;
      EXIF_PREF exif;
      if ((w.page.rotation == 90 || w.page.rotation == 270) && exifs->FetchItemAt(i, exif)) {
        const uint32_t width = EXIF_PREF::kWidth.get(exif.view());
        EXIF_PREF::kWidth.set(exif.view(), EXIF_PREF::kHeight.get(exif.view()));
        EXIF_PREF::kHeight.set(exif.view(), width);
        exifs->AssignItemsAt(1, i, exif);
      }
    }
    work.push_back(w);
  }

  auto list = std::make_unique<TArray<FSSpec>>();
  CFileExporter exporter;
  bool pdfOpen = false;
  req.sharedPDF = req.formats.MultiPagePDF(req.format);
  req.deleteRaw = false;
  req.skew = req.orientation = 0;
  if (req.sharedPDF) {
    req.smallPDF = 1;
    for (const Work& w : work)
      req.smallPDF = req.smallPDF && SmallPage(ScanPage{w.edit.workFile, w.page.bitsPerPixel, w.edit.width,
                                                        w.edit.height, w.page.resolution});
  }
  std::vector<FSSpec> shared;
  std::vector<const Work*> sharedPages;
  FSSpec sharedFile{};
  for (const Work& w : work) {
    const ScanPage page{w.edit.workFile, w.page.bitsPerPixel, w.edit.width, w.edit.height, w.page.resolution};
    FSSpec out{};
    create_finalfile_spec(w.page.displayName, folder, &out, datedFolder, &req.format, 0, 0);
    if (!req.sharedPDF) req.smallPDF = req.format == 'PDF ' && SmallPage(page);
    EXIF_PREF exif;
    const bool haveExif = exifs && exifs->FetchItemAt(w.index, exif);
    RecordBytes exifView = exif.view();
    req.exifRecord = haveExif ? &exifView : nullptr;
    req.exifFromRecord = haveExif && EXIF_PREF::kIsDefault.get(exifView) == 1;
    if (!WritePage(exporter, page, out, req, &pdfOpen)) break;
    if (req.sharedPDF) {
      if (shared.empty()) sharedFile = out;
      shared.push_back(w.page.rawFile);
      sharedPages.push_back(&w);
      continue;
    }
    if (req.format == 'PDF ') RenameFSSpecFile2UniFile(&out);
    list->AddItem(out);
    if (deleteSources) {
      DeleteFileWithRetry(w.page.imageFile);
      DeleteFileWithRetry(w.page.rawFile);
    }
  }
  // A shared PDF keeps the pages added before a failure.
  FinishSharedPDF(exporter, pdfOpen, sharedFile, shared, true, false, list.get());
  if (deleteSources && list->GetCount() > 0) {
    for (const Work* w : sharedPages) {
      DeleteFileWithRetry(w->page.imageFile);
      DeleteFileWithRetry(w->page.rawFile);
    }
  }
  for (const Work& w : work)
    if (w.copy) DeleteFileWithRetry(w.edit.workFile);
  return ListOrNull(std::move(list));
}

// One temporary PDF of every page, named by a free "tmp%05d" base in the temporary folder;
// the pages' files stay until the caller's append has succeeded.
struct TemporaryPDF {
  Str255 base{};
  FSSpec folder{};
  StPDFDialog all;
  StJPEGDialog jpeg;
  StOtherDialog other;
  PageRequest req;
  bool ready = false;

  TemporaryPDF(OSType format, const StPDFDialog& pdf, OSType creator) : all(pdf) {
    ready = FreeTemporaryBase(base) && TempFolderSpec(&folder) == noErr;
    all.view().setU32(4, 1);
    req.format = format;
    req.formats = Formats{&all, &jpeg, &other, &other};
    req.languageItem = req.formats.LanguageItem(format);
    req.creator = creator;
    req.deleteRaw = false;
  }
  TemporaryPDF(const TemporaryPDF&) = delete;
  TemporaryPDF& operator=(const TemporaryPDF&) = delete;
};

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

void ExportToFileForPreview(long kind, CThreadChecker* checker, ConstStr255Param baseName,
                            TArray<ScanDataPlus>* pages, TArray<EXIF_PREF>* exifs, StPDFDialog* pdf,
                            StJPEGDialog* jpeg, StOtherDialog* pict, StOtherDialog* tiff, unsigned char noCorrection,
                            OSType format, OSType creator) {
  const Formats formats{pdf, jpeg, pict, tiff};
  Str255 source;
  const std::vector<ScanPage> scanned = PreviewPagesOf(kind, checker, formats.MultiPagePDF(format), source);
  WritePreviewPages(scanned, baseName, source, LightPathOf(kind, checker), formats, format, !noCorrection, creator,
                    pages, exifs);
}

void ExportToFileForStitch(long kind, CThreadChecker* checker, ConstStr255Param baseName, TArray<ScanDataPlus>* pages,
                           TArray<EXIF_PREF>* exifs, StPDFDialog* pdf, StJPEGDialog* jpeg, StOtherDialog* pict,
                           StOtherDialog* tiff, unsigned char noCorrection, OSType format, OSType creator,
                           long index) {
  const Formats formats{pdf, jpeg, pict, tiff};
  Str255 source;
  const std::vector<ScanPage> all = PreviewPagesOf(kind, checker, formats.MultiPagePDF(format), source);
  ThrowIf_(index < 1 || size_t(index) > all.size());
  WritePreviewPages({all[size_t(index - 1)]}, baseName, source, LightPathOf(kind, checker), formats, format,
                    !noCorrection, creator, pages, exifs);
}

void ExportToFileForPreviewForMail(long kind, CThreadChecker* checker, ConstStr255Param baseName,
                                   TArray<ScanDataPlus>* pages, TArray<EXIF_PREF>* exifs, long, StPDFDialog* pdf,
                                   StJPEGDialog* jpeg, StOtherDialog* pict, StOtherDialog* tiff, OSType format,
                                   OSType creator) {
  // Preview pages keep their full size; only JPEG and PDF pages are straightened.
  const Formats formats{pdf, jpeg, pict, tiff};
  Str255 source;
  const std::vector<ScanPage> scanned = PreviewPagesOf(kind, checker, formats.MultiPagePDF(format), source);
  WritePreviewPages(scanned, baseName, source, LightPathOf(kind, checker), formats, format,
                    format == 'JPEG' || format == 'PDF ', creator, pages, exifs);
}

TArray<FSSpec>* ExportToFileUseScanDataPlus(TArray<ScanDataPlus>* pages, OSType format, FSSpec& folder,
                                            long datedFolder, StPDFDialog& pdf, StJPEGDialog& jpeg,
                                            StOtherDialog& pict, StOtherDialog& tiff, TArray<EXIF_PREF>* exifs,
                                            unsigned char exifFlag, unsigned char deleteSources, long, long skew,
                                            long orientation, OSType creator) {
  PageRequest req;
  req.format = format;
  req.formats = Formats{&pdf, &jpeg, &pict, &tiff};
  req.languageItem = req.formats.LanguageItem(format);
  req.creator = creator;
  req.exif = true;
  req.adobeRGB = exifFlag;
  return SavePreviewPages(pages, req, folder, datedFolder, exifs, deleteSources == 1, skew, orientation);
}

TArray<FSSpec>* ExportToFileUseScanDataPlus_AddPDFFile(TArray<ScanDataPlus>* pages, OSType format, FSSpec&,
                                                       long, StPDFDialog& pdf, TArray<EXIF_PREF>* exifs, long skew,
                                                       long orientation, OSType creator) {
  TemporaryPDF job(format, pdf, creator);
  if (!job.ready) return nullptr;
  TArray<ScanDataPlus> named;
  ScanDataPlus page;
  for (ArrayIndexT i = 1; pages->FetchItemAt(i, page); ++i) {
    CopyPString(job.base, page.displayName);
    named.AddItem(page);
  }
  return SavePreviewPages(&named, job.req, job.folder, 0, exifs, false, skew, orientation);
}

TArray<FSSpec>* ExportToFile_AddPDFFile(long kind, CThreadChecker* checker, OSType format, StPDFDialog& pdf, long,
                                        unsigned char numberFlag, OSType creator) {
  if (kind == 0) return nullptr;
  const std::vector<ScanPage> pages = PagesOf(kind, checker);
  const short result = checker->GetTWAIN()->GetResult();
  if (result != 0 && result != 3) return nullptr;
  TemporaryPDF job(format, pdf, creator);
  if (!job.ready) return nullptr;
  job.req.skew = job.req.formats.Skew(format);
  job.req.orientation = job.req.formats.Orientation(format);
  job.req.correct = job.req.skew || job.req.orientation;
  return ExportPages(pages, job.req, job.base, job.folder, 0, numberFlag, 0, false);
}

FSSpec CreateNewPDFFile(ConstStr255Param baseName, FSSpec& folder, StPDFDialog& pdf) {
  const FSSpec source = StPDFDialog::kAppendTo.get(pdf.view());
  FSSpec none{};
  SInt32 dirID = 0;
  Boolean isFolder = false;
  if (FSpGetDirectoryID(&folder, &dirID, &isFolder) != noErr || !isFolder) return none;
  const std::string stem = PStrToString(baseName);
  for (int serial = 0; serial <= 9999; ++serial) {
    char digits[8] = "";
    if (serial > 0) std::snprintf(digits, sizeof digits, "%04d", serial);
    Str255 name;
    PStrFromString(stem + digits + ".PDF", name);
    FSSpec target{};
    const OSErr err = FSMakeFSSpec(folder.vRefNum, dirID, name, &target);
    if (err == noErr) continue;
    if (err != fnfErr) return none;
    return FSpFileCopy(&source, &folder, name, nullptr, 0, false) == noErr ? target : none;
  }
  return none;
}

FSSpec CreateOldPDFFile(StPDFDialog& pdf) {
  FSSpec source = StPDFDialog::kAppendTo.get(pdf.view());
  FSSpec folder{};
  if (FSMakeFSSpec(source.vRefNum, source.parID, nullptr, &folder) != noErr) return FSSpec{};
  Str255 base;
  const std::string name = PStrToString(source.name);
  PStrFromString(name.size() > 4 ? name.substr(0, name.size() - 4) : name, base);
  return CreateNewPDFFile(base, folder, pdf);
}

}  // namespace CWXUtility
