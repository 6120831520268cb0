#include "output/export/CFileExporter.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "appservices/LaunchServices.h"
#include "corefoundation/CFString.h"
#include "framework/LCommander.h"
#include "framework/LException.h"
#include "jpeg/jpgWCore.h"
#include "jpeg/jpgWMac.h"
#include "output/formats/jpgFileSetup.h"
#include "output/formats/kImgZoom.h"
#include "output/formats/mtTIFF.h"
#include "output/glue/GlueLanguages.h"
#include "output/glue/SkewCorrection.h"
#include "output/glue/jpegGlue.h"
#include "output/glue/pdfGlue.h"
#include "output/hub/WXFolders.h"
#include "output/hubdialogs/WXAlert.h"
#include "quickdraw/QDOffscreen.h"
#include "scanner/RawScanFile.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"

namespace {

constexpr long kJPEGStripRows = 16;
constexpr long kPICTHeader = 512;
constexpr long kPICTSizeAndFrame = 10;
constexpr long kPICTTileWidth = 4000;
constexpr Size kPICTFreeReserve = 512000;
constexpr SInt16 kInvertedGreyTable = 1024;

long EvenRowBytes(long width, long bits) {
  return long(RawScanFile_PaddedRowBytes(RawScanFile_RowBytes(width, bits == 32 ? 24 : bits)));
}

// Reads exactly `count` bytes: a raw file shorter than its rows is damaged.
void ReadExactly(SInt16 ref, void* buffer, long count) {
  long got = count;
  const OSErr err = FSRead(ref, &got, buffer);
  if (err == eofErr || got != count) Throw_(eofErr);
  ThrowIfOSErr_(err);
}

void WriteExactly(SInt16 ref, const void* buffer, long count) {
  long put = count;
  ThrowIfOSErr_(FSWrite(ref, &put, buffer));
  if (put != count) Throw_(ioErr);
}

std::vector<uint8_t> Buffer(uint64_t bytes) {
  try {
    return std::vector<uint8_t>(size_t(bytes), 0);
  } catch (const std::bad_alloc&) {
    Throw_(memFullErr);
  }
}

// R, G, B to the encoder's B, G, R, pixel by pixel; the pad byte of a row stays put.
void SwapRedAndBlue(uint8_t* rows, long count, long rowBytes, long width) {
  for (long y = 0; y < count; ++y)
    for (uint8_t* p = rows + y * rowBytes; p < rows + y * rowBytes + 3 * width; p += 3) std::swap(p[0], p[2]);
}

// The PICT being written: the open destination and the bytes of the picture so far.
PicHandle sPicHandle = nullptr;
Size sPicSize = 0;
SInt16 sRefNum = 0;
OSErr sPicError = noErr;

void pfout(const void* data, SInt16 count) {
  if (sPicError != noErr) return;
  long put = count;
  sPicError = FSWrite(sRefNum, &put, data);
  if (sPicError == noErr && put != count) sPicError = ioErr;
  sPicSize += count;
  if (sPicHandle) {
    (**sPicHandle).picSizeAndFrame[0] = uint8_t(sPicSize >> 8);
    (**sPicHandle).picSizeAndFrame[1] = uint8_t(sPicSize);
  }
}

// Everything the PICT writer makes, given back whatever happens.
struct PictWork {
  GWorldPtr world = nullptr;
  CTabHandle table = nullptr;
  CGrafPtr savedPort = nullptr;
  GDHandle savedDevice = nullptr;
  bool recording = false;
  CQDProcs procs{};

  PictWork() { GetGWorld(&savedPort, &savedDevice); }
  ~PictWork() {
    if (recording) ClosePicture();
    if (sPicHandle) KillPicture(sPicHandle);
    sPicHandle = nullptr;
    SetGWorld(savedPort, savedDevice);
    if (world) DisposeGWorld(world);
    if (table) DisposeCTable(table);
  }
};

}  // namespace

bool PDFViewerExists() {
  if (LSInit(kLSInitializeDefaults) != noErr) return false;
  CFStringRef extension = CFStringCreateWithCString(nullptr, "PDF", kCFStringEncodingASCII);
  FSRef viewer{};
  bool found = LSGetApplicationForInfo(0, 0, extension, kLSRolesViewer, &viewer, nullptr) == noErr;
  if (extension) CFRelease(extension);
  LSItemInfoRecord info{};
  found = found && LSCopyItemInfoForRef(&viewer, kLSRequestAllFlags, &info) == noErr;
  if (info.extension) CFRelease(info.extension);
  if (info.iconFileName) CFRelease(info.iconFileName);
  return found;
}

CFileExporter::~CFileExporter() {
  if (mPDFOpen) PDF_Close();
  if (mCorrectionOpen) CorrectionClose();
}

long CFileExporter::PDF_Open(const StPDFDialog& settings, unsigned char smallPage) {
  if (!pdf_init()) {
    pdf_terminate();
    return 0;
  }
  StPDFDialog copy = settings;
  pdf_modeset(&copy, smallPage);
  FSSpec destination = mDestination ? mDestination->GetSpecifier() : FSSpec{};
  const long opened = pdf_open(&destination, &copy);
  mPDFOpen = opened == 1;
  mPDFFile = destination;
  mPDFShared = mPDFOpen && copy.view().u32(4) == 1;
  if (!mPDFOpen) pdf_terminate();
  return opened;
}

long CFileExporter::PDF_Close() {
  const long closed = pdf_close();
  pdf_terminate();
  mPDFOpen = mPDFShared = false;
  if (closed == 1 && PDFViewerExists()) Label(mPDFFile, 'PDF ');
  return closed;
}

long CFileExporter::CorrectionOpen(long languageItem, long skew, long orientation, unsigned char flag) {
  if (!jpeg_init()) {
    jpeg_terminate();
    return 0;
  }
  jpeg_modeset(languageItem, flag);
  FSSpec destination = mDestination ? mDestination->GetSpecifier() : FSSpec{};
  const long opened = jpeg_open(&destination, skew, orientation);
  mCorrectionOpen = opened == 1;
  if (!mCorrectionOpen) jpeg_terminate();
  return opened;
}

long CFileExporter::CorrectionClose() {
  const long closed = jpeg_close();
  jpeg_terminate();
  mCorrectionOpen = false;
  return closed;
}

long CFileExporter::JPEG_Open(const StJPEGDialog& settings, unsigned char flag) {
  StJPEGDialog copy = settings;
  return CorrectionOpen(copy.view().u32(4), copy.view().u32(8), copy.view().u32(0), flag);
}

long CFileExporter::PICT_Open(const StOtherDialog& settings, unsigned char flag) {
  StOtherDialog copy = settings;
  return CorrectionOpen(copy.view().u32(4), copy.view().u32(8), copy.view().u32(0), flag);
}

long CFileExporter::TIFF_Open(const StOtherDialog& settings, unsigned char flag) { return PICT_Open(settings, flag); }

long CFileExporter::JPEG_Close() { return CorrectionClose(); }

long CFileExporter::PICT_Close() { return CorrectionClose(); }

long CFileExporter::TIFF_Close() { return CorrectionClose(); }

long CFileExporter::SlantCorrectTIFF(OSType format, long skew, long orientation, long languageItem) {
  if (!(format == 'PDF ' ? pdf_init() : jpeg_init())) return 0;
  FSSpec page = mDestination->GetSpecifier();
  Func_QSRC_Check(page, skew != 0, orientation != 0, GlueLanguageForItem(languageItem).codePage);
  return 1;
}

void CFileExporter::SetParam(OSType format, const FSSpec& source, const FSSpec& destination, long bits, long width,
                             long height, Fixed resolution, long qualityCode, OSType creator, long mailResolution) {
  mSource = std::make_unique<LFile>(source);
  mDestination = std::make_unique<LFile>(destination);
  mFormat = format;
  mBits = bits;
  mWidth = width;
  mHeight = height;
  mResolution = resolution;
  mQuality = qualityCode == 1 ? 50 : qualityCode == 3 ? 95 : 70;
  mCreator = creator;
  mMailResolution = mailResolution;
}

OSErr CFileExporter::SetParamForMail(OSType format, FSSpec& source, const FSSpec& destination, long bits, long width,
                                     long height, Fixed resolution, long newResolution, OSType creator,
                                     long qualityCode) {
  if (format != 'JPEG' || newResolution == 0 || (resolution >> 16) <= newResolution) {
    SetParam(format, source, destination, bits, width, height, resolution, qualityCode, creator, 0);
    return noErr;
  }
  try {
    ResolutionConvert(source, width, height, bits, resolution >> 16, newResolution);
  } catch (const LException& e) {
    mDestination = std::make_unique<LFile>(destination);
    Failed();
    return OSErr(e.GetErrorCode());
  }
  SetParam(format, source, destination, bits, width, height, IntToFixed(int(newResolution)), qualityCode, creator,
           newResolution);
  return noErr;
}

void CFileExporter::ResolutionConvert(FSSpec& source, long& width, long& height, long& bits, long oldResolution,
                                      long newResolution) {
  if (oldResolution <= 0 || newResolution <= 0 || (bits != 1 && bits != 8 && bits != 32)) Throw_(paramErr);
  const long newWidth = long(int64_t(width) * newResolution / oldResolution);
  const long newHeight = long(int64_t(height) * newResolution / oldResolution);
  if (newWidth < 1 || newHeight < 1) Throw_(paramErr);
  const long sampleBits = bits == 32 ? 24 : 8;
  const long inRow = EvenRowBytes(width, bits), outRow = EvenRowBytes(newWidth, sampleBits == 24 ? 32 : 8);

  SInt16 vRefNum = 0;
  SInt32 dirID = 0;
  if (!CWXUtility::FindTempFolder(&vRefNum, &dirID)) Throw_(dirNFErr);
  FSSpec folder;
  ThrowIfOSErr_(FSMakeFSSpec(vRefNum, dirID, nullptr, &folder));
  FSSpec reduced;
  SInt16 out = 0;
  ThrowIfOSErr_(RawScanFile_Create(folder, &reduced, &out));
  SInt16 in = 0;
  kZoomInfo* zoom = nullptr;
  try {
    ThrowIfOSErr_(FSpOpenDF(&source, fsRdPerm, &in));
    if (kImg_ZoomOpen(&zoom, newWidth, newHeight, width, height, sampleBits) != kImg_NoErr) Throw_(memFullErr);
    std::vector<uint8_t> raw = Buffer(uint64_t(inRow)), line = Buffer(uint64_t(width) * (sampleBits / 8));
    std::vector<uint8_t> scaled = Buffer(uint64_t(outRow));
    for (long y = 0; y < height; ++y) {
      ReadExactly(in, raw.data(), inRow);
      if (bits == 1) {  // set bits are black: the darkest inverted grey
        for (long x = 0; x < width; ++x) line[size_t(x)] = (raw[size_t(x / 8)] >> (7 - x % 8)) & 1 ? 255 : 0;
      } else {
        std::memcpy(line.data(), raw.data(), line.size());
      }
      long ready = 0;
      if (kImg_ZoomSend(zoom, line.data(), &ready) != kImg_NoErr) Throw_(paramErr);
      while (ready) {
        if (kImg_ZoomRead(zoom, scaled.data(), &ready) != kImg_NoErr) Throw_(paramErr);
        WriteExactly(out, scaled.data(), outRow);
      }
    }
  } catch (...) {
    kImg_ZoomClose(&zoom);
    if (in) FSClose(in);
    FSClose(out);
    FSpDelete(&reduced);
    throw;
  }
  kImg_ZoomClose(&zoom);
  FSClose(in);
  ThrowIfOSErr_(FSClose(out));
  source = reduced;
  width = newWidth;
  height = newHeight;
  bits = bits == 32 ? 32 : 8;
}

long CFileExporter::RawRowBytes() const { return EvenRowBytes(mWidth, mBits); }

long CFileExporter::DoExport() {
  mThumbnail.Begin(0, 0);
  if (!mSource || !mDestination) return 0;
  switch (mFormat) {
    case 'JPEG': return ExportToJPEG();
    case 'TIFF': return ExportToTIFF();
    case 'PDF ': return ExportToPDF();
    case 'PICT': return ExportToPICT();
    default: return 0;
  }
}

long CFileExporter::Failed() {
  if (mSource) mSource->CloseDataFork();
  if (mDestination && !mPDFShared) {
    mDestination->CloseDataFork();
    FSpDelete(&mDestination->GetSpecifier());
  }
  if (!mQuiet) CWXUtility::Show_Error(CWXUtility::kAlertLayout, LCommander::GetTarget(), 400, 3, 0, 1, nullptr, 0);
  return 0;
}

void CFileExporter::SetTypeAndCreator(OSType type) const { Label(mDestination->GetSpecifier(), type); }

void CFileExporter::Label(const FSSpec& file, OSType type) const {
  // Finder info is a label: failing to set it never fails the export.
  FInfo info{};
  if (FSpGetFInfo(&file, &info) != noErr) return;
  info.fdType = type;
  info.fdCreator = mCreator;
  FSpSetFInfo(&file, &info);
}

long CFileExporter::ExportToJPEG() {
  const long rowBytes = RawRowBytes();
  _complibImageRect rect{};
  rect.width = int32_t(mWidth);
  rect.height = int32_t(mHeight);
  rect.rowBytes = int32_t(mBits == 1 ? 8 * rowBytes : rowBytes);
  rect.bitsPerSample = 8;
  if (mBits == 32) {
    rect.bitsPerPixel = 24, rect.channels = 3;
  } else if (mBits == 8 || mBits == 1) {
    rect.bitsPerPixel = 8, rect.channels = 1;
  } else {
    return Failed();
  }
  FSSpec destination = mDestination->GetSpecifier();
  char comment[] = "";
  void* encoder = nullptr;
  if (SettingForEncodeJpeg(&rect, &destination, rect.channels, int(mQuality), 0x221111, 0, comment, &encoder,
                           mResolution >> 16) != 0)
    return Failed();
  // Colour rows go in as they are read, red first.
  if (mBits == 32 && jpgWriteSetRedFirst(encoder) != 0) {
    jpgWriteEpilogToFile(encoder);
    return Failed();
  }
  mThumbnail.Begin(mWidth, mHeight);
  try {
    std::vector<uint8_t> raw = Buffer(uint64_t(kJPEGStripRows) * uint64_t(rowBytes));
    std::vector<uint8_t> expanded = Buffer(mBits == 1 ? uint64_t(kJPEGStripRows) * 8 * uint64_t(rowBytes) : 0);
    const SInt16 ref = mSource->OpenDataFork(fsRdPerm);
    for (long y = 0; y < mHeight; y += kJPEGStripRows) {
      const long rows = std::min(kJPEGStripRows, mHeight - y);
      ReadExactly(ref, raw.data(), rows * rowBytes);
      if (mBits == 8) {
        for (long i = 0; i < rows * rowBytes; ++i) raw[size_t(i)] = uint8_t(~raw[size_t(i)]);
      } else if (mBits == 1) {
        for (long i = 0; i < rows * rowBytes * 8; ++i)
          expanded[size_t(i)] = (raw[size_t(i / 8)] >> (7 - i % 8)) & 1 ? 0 : 255;
      }
      rect.data = mBits == 1 ? expanded.data() : raw.data();
      mThumbnail.AddRows(rect.data, rows, rect.rowBytes, int(rect.channels));
      if (jpgWriteFromRect(encoder, &rect, int32_t(rows)) != 0) Throw_(ioErr);
      rect.height = int32_t(kJPEGStripRows);
    }
    mSource->CloseDataFork();
    void* finishing = encoder;
    encoder = nullptr;
    if (jpgWriteEpilogToFile(finishing) != 0) {
      mThumbnail.Begin(0, 0);
      return Failed();
    }
    SetTypeAndCreator('JPEG');  // the finished file takes the place of the one being written
    return 1;
  } catch (const LException&) {
    if (encoder) jpgWriteEpilogToFile(encoder);
    mThumbnail.Begin(0, 0);
    return Failed();
  }
}

long CFileExporter::ExportToTIFF() {
  MTHandle tiff = nullptr;
  try {
    std::string path;
    ThrowIfOSErr_(FSpGetPOSIXPath(&mDestination->GetSpecifier(), &path));
    tiff = MTOpen(path.c_str(), "w");
    ThrowIfNil_(tiff);
    const bool color = mBits == 32;
    const unsigned long dpi = unsigned(mResolution >> 16);
    const bool fields = MTSetField(tiff, kMTImageWidth, mWidth) && MTSetField(tiff, kMTImageLength, mHeight) &&
                        MTSetField(tiff, kMTBitsPerSample, mBits == 1 ? 1 : 8) &&
                        MTSetField(tiff, kMTCompression, 1) && MTSetField(tiff, kMTPhotometric, color ? 2 : 0) &&
                        MTSetField(tiff, kMTOrientation, 1) && MTSetField(tiff, kMTSamplesPerPixel, color ? 3 : 1) &&
                        MTSetField(tiff, kMTRowsPerStrip, mHeight) && MTSetField(tiff, kMTXResolution, dpi) &&
                        MTSetField(tiff, kMTYResolution, dpi) && MTSetField(tiff, kMTPlanarConfig, 1) &&
                        MTSetField(tiff, kMTResolutionUnit, 2);
    if (!fields) Throw_(ioErr);
    const long rowBytes = RawRowBytes();
    const long bufferSize = MTRowBufferSize(tiff, rowBytes);
    if (bufferSize <= 0) Throw_(ioErr);
    std::vector<uint8_t> row = Buffer(uint64_t(bufferSize));
    const SInt16 ref = mSource->OpenDataFork(fsRdPerm);
    for (long y = 0; y < mHeight; ++y) {
      ReadExactly(ref, row.data(), rowBytes);
      if (MTWriteScanline(tiff, row.data(), y) != 1) Throw_(ioErr);
    }
    mSource->CloseDataFork();
    MTHandle closing = tiff;
    tiff = nullptr;
    if (!MTClose(closing)) Throw_(ioErr);
    SetTypeAndCreator('TIFF');
    return 1;
  } catch (const LException&) {
    if (tiff) MTClose(tiff);
    return Failed();
  }
}

long CFileExporter::ExportToPDF() {
  const long rowBytes = RawRowBytes();
  Ptr image = nullptr;
  try {
    const uint64_t size = uint64_t(rowBytes) * uint64_t(mHeight);
    image = size <= uint64_t(INT64_MAX) ? NewPtr(Size(size)) : nullptr;
    if (!image) Throw_(memFullErr);
    auto* rows = reinterpret_cast<uint8_t*>(image);
    const SInt16 ref = mSource->OpenDataFork(fsRdPerm);
    for (long y = 0; y < mHeight; ++y) {
      uint8_t* row = rows + uint64_t(y) * rowBytes;
      ReadExactly(ref, row, rowBytes);
      if (mBits == 8) {
        for (long i = 0; i < rowBytes; ++i) row[i] = uint8_t(~row[i]);
      } else if (mBits == 32) {
        SwapRedAndBlue(row, 1, rowBytes, mWidth);
      }
    }
    mSource->CloseDataFork();
    tagRAWBITMAP page{rows, int32_t(rowBytes), int32_t(mWidth), int32_t(mHeight), int32_t(mResolution >> 16),
                      mBits == 1 ? 1 : mBits == 8 ? 2 : 3};
    if (pdf_make(&page) != 1) Throw_(ioErr);
  } catch (const LException&) {
    if (image) DisposePtr(image);
    return Failed();
  }
  DisposePtr(image);
  return 1;
}

long CFileExporter::ExportToPICT() {
  const FSSpec& destination = mDestination->GetSpecifier();
  try {
    PictWork work;
    const long rowBytes = RawRowBytes();
    const long estimate = mWidth * mBits / 8 + (mWidth * mBits / 8) % 4;
    const bool tiled = mWidth > kPICTTileWidth;
    long strip = 1;
    if (!tiled) {
      strip = long((MaxBlock() - kPICTFreeReserve) / std::max(estimate, 1L)) - 1;
      strip = std::min(strip, mHeight);
      ThrowIf_(strip < 1);
    }
    const long tileWidth = tiled ? kPICTTileWidth : mWidth;
    const Rect worldBounds{0, 0, SInt16(strip), SInt16(tileWidth)};
    if (mBits == 8) {
      work.table = GetCTable(kInvertedGreyTable);
      ThrowIfNil_(work.table);
    }
    ThrowIfOSErr_(NewGWorld(&work.world, SInt16(mBits), &worldBounds, work.table, nullptr, useTempMem | keepLocal));
    PixMapHandle pixels = GetGWorldPixMap(work.world);
    LockPixels(pixels);
    SetGWorld(work.world, nullptr);
    EraseRect(&worldBounds);
    SetStdCProcs(&work.procs);
    work.procs.putPicProc = pfout;
    SetPortGrafProcs(work.world, &work.procs);

    ThrowIfOSErr_(FSpCreate(&destination, '????', 'PICT', smSystemScript));
    sRefNum = mDestination->OpenDataFork(fsRdWrPerm);
    sPicError = noErr;
    const std::vector<uint8_t> zeros(kPICTHeader + kPICTSizeAndFrame, 0);
    WriteExactly(sRefNum, zeros.data(), long(zeros.size()));
    sPicSize = kPICTSizeAndFrame;

    const OpenCPicParams params{Rect{0, 0, SInt16(mHeight), SInt16(mWidth)}, mResolution, mResolution, -2, 0, 0};
    sPicHandle = OpenCPicture(&params);
    ThrowIfNil_(sPicHandle);
    work.recording = true;

    const SInt16 source = mSource->OpenDataFork(fsRdPerm);
    std::vector<uint8_t> row = Buffer(uint64_t(rowBytes));
    auto* base = reinterpret_cast<uint8_t*>(GetPixBaseAddr(pixels));
    const long worldRowBytes = GetPixRowBytes(pixels);
    const BitMap* bits = GetPortBitMapForCopyBits(work.world);
    for (long top = 0; top < mHeight; top += strip) {
      const long rows = std::min(strip, mHeight - top);
      for (long left = 0; left < mWidth; left += tileWidth) {
        const long width = std::min(tileWidth, mWidth - left);
        for (long y = 0; y < rows; ++y) {
          // Tiles are one row high: each row is read once per tile, at its own offset.
          if (tiled) ThrowIfOSErr_(SetFPos(source, fsFromStart, (top + y) * rowBytes));
          ReadExactly(source, row.data(), rowBytes);
          uint8_t* out = base + y * worldRowBytes;
          if (mBits == 32) {
            for (long x = 0; x < width; ++x) {
              out[4 * x] = 0;
              std::memcpy(out + 4 * x + 1, row.data() + 3 * (left + x), 3);
            }
          } else {
            std::memcpy(out, row.data() + left * mBits / 8, size_t((width * mBits + 7) / 8));
          }
        }
        const Rect from{0, 0, SInt16(rows), SInt16(width)};
        const Rect to{SInt16(top), SInt16(left), SInt16(top + rows), SInt16(left + width)};
        CopyBits(bits, bits, &from, &to, srcCopy, nullptr);
        ThrowIfOSErr_(sPicError);
      }
    }
    mSource->CloseDataFork();
    ClosePicture();
    work.recording = false;
    ThrowIfOSErr_(sPicError);
    long end = 0;
    ThrowIfOSErr_(GetFPos(sRefNum, &end));
    ThrowIfOSErr_(SetEOF(sRefNum, end));
    ThrowIfOSErr_(SetFPos(sRefNum, fsFromStart, kPICTHeader));
    WriteExactly(sRefNum, *sPicHandle, kPICTSizeAndFrame);
    mDestination->CloseDataFork();
    FlushVol(nullptr, destination.vRefNum);
  } catch (const LException&) {
    return Failed();
  }
  SetTypeAndCreator('PICT');
  return 1;
}
