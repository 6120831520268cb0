#include "printing/pmPrintPort.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "quickdraw/qdPort.h"
#include "toolbox/MacErrors.h"

namespace {

// Rows converted per step, so an image costs its compressed bytes and one band of pixels.
constexpr int kBandRows = 128;

std::map<GrafPtr, pmPrintPort*>& OpenPages() {
  static std::map<GrafPtr, pmPrintPort*> pages;
  return pages;
}

}  // namespace

// Compresses rows as they come.
class pmPrintPort::Deflater {
 public:
  Deflater() { mOk = deflateInit(&mStream, Z_DEFAULT_COMPRESSION) == Z_OK; }
  ~Deflater() { deflateEnd(&mStream); }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  bool Add(const std::vector<UInt8>& bytes, bool last) {
    mStream.next_in = const_cast<Bytef*>(bytes.data());
    mStream.avail_in = uInt(bytes.size());
    int status;
    do {
      mStream.next_out = mChunk.data();
      mStream.avail_out = uInt(mChunk.size());
      status = deflate(&mStream, last ? Z_FINISH : Z_NO_FLUSH);
      mOut.insert(mOut.end(), mChunk.data(), mChunk.data() + (mChunk.size() - mStream.avail_out));
      if (status == Z_STREAM_ERROR) mOk = false;
    } while (mOk && (mStream.avail_in > 0 || (last && status != Z_STREAM_END)));
    return mOk;
  }
  std::vector<UInt8> Take() { return std::move(mOut); }

 private:
  z_stream mStream{};
  std::vector<UInt8> mChunk = std::vector<UInt8>(65536);
  std::vector<UInt8> mOut;
  bool mOk = false;
};

struct pmPrintPort::OpenImage {
  Rect onPage{};
  bool grey = false;
  Deflater deflater;
};

namespace {

// Rows of 32-bit pixels as RGB bytes, or one grey byte a pixel when every pixel is grey.
void AppendRows(const qdPixels& pixels, const Rect& rows, bool grey, std::vector<UInt8>* out) {
  const size_t width = size_t(rows.right - rows.left), channels = grey ? 1 : 3;
  const size_t at = out->size();
  out->resize(at + width * channels * size_t(rows.bottom - rows.top));
  UInt8* to = out->data() + at;
  for (int y = rows.top; y < rows.bottom; ++y) {
    const UInt8* row = pixels.base + (y - pixels.bounds.top) * pixels.rowBytes + (rows.left - pixels.bounds.left) * 4;
    if (grey) {
      for (size_t x = 0; x < width; ++x, row += 4) *to++ = row[1];
    } else {
      for (size_t x = 0; x < width; ++x, row += 4, to += 3) to[0] = row[1], to[1] = row[2], to[2] = row[3];
    }
  }
}

// Bitmaps and indexed pixels with a grey table stay grey on the page.
bool SourceIsGrey(const BitMap* bits) {
  if (!(bits->rowBytes & kPixMapFlag)) return true;
  const PixMap* map = reinterpret_cast<const PixMap*>(bits);
  if (map->pixelSize > 8 || !map->pmTable || !*map->pmTable) return false;
  const ColorTable& table = **map->pmTable;
  for (int i = 0; i <= table.ctSize; ++i) {
    const RGBColor& c = table.ctTable[i].rgb;
    if (c.red != c.green || c.red != c.blue) return false;
  }
  return true;
}

Rect RowsOf(const Rect& r, int top, int bottom) { return Rect{SInt16(top), r.left, SInt16(bottom), r.right}; }

}  // namespace

pmPrintPort::pmPrintPort(const pmGeometry& geometry, PDFWriter* writer) : mGeometry(geometry), mWriter(writer) {
  SetStdCProcs(&mProcs);
  mProcs.bitsProc = &pmPrintPort::CopyBitsToPage;
}

OSErr pmPrintPort::Open(const pmGeometry& geometry, PDFWriter* writer, std::unique_ptr<pmPrintPort>* page) {
  std::unique_ptr<pmPrintPort> p(new pmPrintPort(geometry, writer));
  const PMRect area = pmPageRect(geometry);
  const Rect bounds{0, 0, SInt16(area.bottom), SInt16(area.right)};
  if (area.bottom > 32767 || area.right > 32767) return paramErr;
  // A page that only holds images never makes the pixels of its drawn layer.
  const OSErr err = NewGWorld(&p->mWorld, 32, &bounds, nullptr, nullptr, kQDPixelsAtFirstUse);
  if (err != noErr) return err;
  SetPortGrafProcs(p->mWorld, &p->mProcs);
  const pmPaper paper = pmOrientedPaper(geometry);
  writer->BeginPage(paper.width, paper.height);
  GetGWorld(&p->mSavedPort, &p->mSavedDevice);
  SetGWorld(p->mWorld, nullptr);
  OpenPages()[p->mWorld] = p.get();
  *page = std::move(p);
  return noErr;
}

pmPrintPort::~pmPrintPort() {
  if (!mWorld) return;
  OpenPages().erase(mWorld);
  CGrafPtr current;
  GDHandle device;
  GetGWorld(&current, &device);
  if (current == mWorld) SetGWorld(mSavedPort, mSavedDevice);
  DisposeGWorld(mWorld);
}

OSErr pmPrintPort::Close() {
  FinishImage();
  if (mError == noErr) mError = AddDrawnLayer();
  const OSErr pageErr = mWriter->EndPage();
  return mError != noErr ? mError : pageErr;
}

Rect pmPrintPort::OnPage(const Rect& local) const {
  // The port's top left is the page's, wherever SetOrigin put its local coordinates.
  Rect port, r = local;
  GetPortBounds(mWorld, &port);
  OffsetRect(&r, SInt16(-port.left), SInt16(-port.top));
  return r;
}

PDFRect pmPrintPort::ToPoints(const Rect& r) const {
  const pmPaper paper = pmOrientedPaper(mGeometry);
  const double scale = 72.0 / mGeometry.dpi;
  const double left = paper.left + r.left * scale, top = paper.top + r.top * scale;
  const double width = (r.right - r.left) * scale, height = (r.bottom - r.top) * scale;
  return PDFRect{left, paper.height - top - height, width, height};
}

void pmPrintPort::CopyBitsToPage(const BitMap* srcBits, const Rect* srcRect, const Rect* dstRect, SInt16,
                                 RgnHandle) {
  GrafPtr port;
  GetPort(&port);
  const auto found = OpenPages().find(port);
  if (found != OpenPages().end()) found->second->AddImage(srcBits, *srcRect, *dstRect);
}

void pmPrintPort::AddImage(const BitMap* srcBits, const Rect& srcRect, const Rect& dstRect) {
  if (mError != noErr) return;
  Rect area, clip;
  GetPortBounds(mWorld, &area);
  RgnHandle clipRgn = NewRgn();
  GetClip(clipRgn);
  GetRegionBounds(clipRgn, &clip);
  DisposeRgn(clipRgn);
  Rect visible;
  if (!SectRect(&dstRect, &area, &visible) || !SectRect(&visible, &clip, &visible)) return;

  const bool grey = SourceIsGrey(srcBits);
  const Rect onPage = OnPage(visible);
  const bool continues = mImage && mImage->grey == grey && mImage->onPage.left == onPage.left &&
                         mImage->onPage.right == onPage.right && mImage->onPage.bottom == onPage.top;
  if (!continues) {
    FinishImage();
    mImage = std::make_unique<OpenImage>();
    mImage->onPage = Rect{onPage.top, onPage.left, onPage.top, onPage.right};
    mImage->grey = grey;
  }
  // Unscaled rows of direct pixels are read where they lie; anything else is scaled as
  // CopyBits scales, a band at a time.
  std::vector<UInt8> rows;
  const qdPixels source = qdPixelsOf(srcBits);
  Rect from = visible;
  OffsetRect(&from, SInt16(srcRect.left - dstRect.left), SInt16(srcRect.top - dstRect.top));
  Rect inside;
  if (source.depth == 32 && srcRect.right - srcRect.left == dstRect.right - dstRect.left &&
      srcRect.bottom - srcRect.top == dstRect.bottom - dstRect.top && SectRect(&from, &source.bounds, &inside) &&
      EqualRect(&inside, &from)) {
    AppendRows(source, from, false, &rows);
    if (!mImage->deflater.Add(rows, false)) mError = memFullErr;
  }
  for (int top = visible.top; rows.empty() && top < visible.bottom && mError == noErr; top += kBandRows) {
    const Rect band = RowsOf(visible, top, std::min<int>(top + kBandRows, visible.bottom));
    GWorldPtr world = nullptr;
    if (NewGWorld(&world, 32, &band, nullptr, nullptr, 0) != noErr) {
      mError = memFullErr;
      break;
    }
    CGrafPtr saved;
    GDHandle savedDevice;
    GetGWorld(&saved, &savedDevice);
    SetGWorld(world, nullptr);
    CopyBits(srcBits, GetPortBitMapForCopyBits(world), &srcRect, &dstRect, srcCopy, nullptr);
    SetGWorld(saved, savedDevice);
    std::vector<UInt8> bandRows;
    AppendRows(qdPixelsOfPort(world), band, grey, &bandRows);
    DisposeGWorld(world);
    if (!mImage->deflater.Add(bandRows, false)) mError = memFullErr;
  }
  mImage->onPage.bottom = onPage.bottom;
}

void pmPrintPort::FinishImage() {
  if (!mImage) return;
  const std::unique_ptr<OpenImage> open = std::move(mImage);
  if (mError != noErr) return;
  if (!open->deflater.Add({}, true)) {
    mError = memFullErr;
    return;
  }
  Rect area;
  GetPortBounds(mWorld, &area);
  PDFImage image;
  image.width = open->onPage.right - open->onPage.left;
  image.height = open->onPage.bottom - open->onPage.top;
  image.rgb = !open->grey;
  image.stream = open->deflater.Take();
  mWriter->DrawImage(std::move(image), ToPoints(open->onPage), ToPoints(OnPage(area)));
}

OSErr pmPrintPort::AddDrawnLayer() {
  PixMapHandle pixels = GetGWorldPixMap(mWorld);
  if (!(*pixels)->baseAddr) return noErr;
  Rect bounds;
  GetPixBounds(pixels, &bounds);
  const UInt8* base = reinterpret_cast<const UInt8*>(GetPixBaseAddr(pixels));
  const long rowBytes = GetPixRowBytes(pixels);
  Rect drawn{bounds.bottom, bounds.right, bounds.top, bounds.left};
  for (int y = bounds.top; y < bounds.bottom; ++y) {
    const UInt8* row = base + (y - bounds.top) * rowBytes;
    for (int x = bounds.left; x < bounds.right; ++x) {
      const UInt8* pixel = row + (x - bounds.left) * 4;
      if ((pixel[1] & pixel[2] & pixel[3]) == 0xFF) continue;
      drawn.top = std::min<SInt16>(drawn.top, SInt16(y));
      drawn.bottom = std::max<SInt16>(drawn.bottom, SInt16(y + 1));
      drawn.left = std::min<SInt16>(drawn.left, SInt16(x));
      drawn.right = std::max<SInt16>(drawn.right, SInt16(x + 1));
    }
  }
  if (drawn.top >= drawn.bottom) return noErr;
  Deflater deflater;
  std::vector<UInt8> rows;
  for (int top = drawn.top; top < drawn.bottom; top += kBandRows) {
    const Rect band = RowsOf(drawn, top, std::min<int>(top + kBandRows, drawn.bottom));
    rows.clear();
    AppendRows(qdPixelsOfPort(mWorld), band, false, &rows);
    if (!deflater.Add(rows, band.bottom == drawn.bottom)) return memFullErr;
  }
  PDFImage layer;
  layer.width = drawn.right - drawn.left;
  layer.height = drawn.bottom - drawn.top;
  layer.rgb = true;
  layer.whiteIsClear = true;
  layer.stream = deflater.Take();
  mWriter->DrawImage(std::move(layer), ToPoints(OnPage(drawn)), ToPoints(OnPage(bounds)));
  return noErr;
}
