#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "quicktime/QuickTime.h"
#include "quicktime/qtImageReader.h"
#include "quicktime/qtMappedFile.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"

struct QTComponentRecord {
  OSType type = 0;
  // Importer: the file, what it holds, where and into what it draws.
  QTMappedFile file;
  QTImageKind kind = QTImageKind::None;
  Rect natural{};
  Rect bounds{};
  CGrafPtr port = nullptr;
  GDHandle device = nullptr;
  // Exporter.
  GWorldPtr input = nullptr;
  FSSpec output{};
  bool hasOutput = false;
};

namespace {

QTJPEGWriterProc gJPEGWriter = nullptr;
constexpr size_t kPictHeader = 512;

QTImageKind KindOf(const QTMappedFile& file) {
  const uint8_t* f = file.data();
  if (file.size() >= 3 && f[0] == 0xFF && f[1] == 0xD8 && f[2] == 0xFF) return QTImageKind::JPEG;
  if (file.size() >= 4 && ((f[0] == 'M' && f[1] == 'M' && f[2] == 0 && f[3] == 42) ||
                           (f[0] == 'I' && f[1] == 'I' && f[2] == 42 && f[3] == 0)))
    return QTImageKind::TIFF;
  // A PICT file: 512 bytes of header, then size, frame and the version opcode (2 or 1).
  const size_t v = kPictHeader + 10;
  if (file.size() >= v + 4 && f[v] == 0x00 && f[v + 1] == 0x11 && f[v + 2] == 0x02 && f[v + 3] == 0xFF)
    return QTImageKind::PICT;
  if (file.size() >= v + 2 && f[v] == 0x11 && f[v + 1] == 0x01) return QTImageKind::PICT;
  return QTImageKind::None;
}

PicHandle PictureOf(const QTMappedFile& f) {
  const Size size = static_cast<Size>(f.size() - kPictHeader);
  Handle h = NewHandle(size);
  if (!h) return nullptr;
  std::memcpy(*h, f.data() + kPictHeader, static_cast<size_t>(size));
  return reinterpret_cast<PicHandle>(h);
}

bool NaturalBounds(QTComponentRecord* c) {
  int32_t w = 0, h = 0;
  switch (c->kind) {
    case QTImageKind::JPEG:
      if (!QTJPEGSize(c->file, &w, &h)) return false;
      break;
    case QTImageKind::TIFF:
      if (!QTTIFFSize(c->file, &w, &h)) return false;
      break;
    case QTImageKind::PICT: {
      const uint8_t* frame = c->file.data() + kPictHeader + 2;
      w = int16_t(BEGetU16(frame + 6)) - int16_t(BEGetU16(frame + 2));
      h = int16_t(BEGetU16(frame + 4)) - int16_t(BEGetU16(frame));
      break;
    }
    case QTImageKind::None:
      return false;
  }
  if (w <= 0 || h <= 0 || w > 0x7FFF || h > 0x7FFF || int64_t(w) * h * 4 > kQTMaxImageBytes) return false;
  c->natural = Rect{0, 0, static_cast<int16_t>(h), static_cast<int16_t>(w)};
  return true;
}

// Shrinks (averaging whole pixels) or enlarges (repeating them) the reader's rows to w x h,
// handing each finished row, as 32-bit pixels in `row`, to `put`.
template <typename Put>
bool Resample(QTImageReader& reader, GWorldPtr row, int32_t w, int32_t h, Put put) {
  uint8_t* out = reinterpret_cast<uint8_t*>(GetPixBaseAddr(GetGWorldPixMap(row)));
  const int32_t W = reader.width, H = reader.height;
  std::vector<uint8_t> src(size_t(W) * 3);
  std::vector<uint32_t> last(size_t(w) * 3), acc(size_t(w) * 3);
  std::vector<int32_t> x0(w), x1(w);
  for (int32_t x = 0; x < w; ++x) {
    x0[x] = static_cast<int32_t>(int64_t(x) * W / w);
    x1[x] = std::max(x0[x] + 1, static_cast<int32_t>((int64_t(x + 1) * W + w - 1) / w));
  }
  int32_t next = 0;
  for (int32_t y = 0; y < h; ++y) {
    const int32_t y0 = static_cast<int32_t>(int64_t(y) * H / h);
    const int32_t y1 = std::max(y0 + 1, static_cast<int32_t>((int64_t(y + 1) * H + h - 1) / h));
    std::fill(acc.begin(), acc.end(), 0);
    for (int32_t sy = y0; sy < y1; ++sy) {
      while (next <= sy) {
        if (!reader.NextRow(src.data())) return false;
        ++next;
        for (int32_t x = 0; x < w; ++x)
          for (int c = 0; c < 3; ++c) {
            uint32_t sum = 0;
            for (int32_t sx = x0[x]; sx < x1[x]; ++sx) sum += src[size_t(sx) * 3 + c];
            last[size_t(x) * 3 + c] = sum / uint32_t(x1[x] - x0[x]);
          }
      }
      for (size_t i = 0; i < acc.size(); ++i) acc[i] += last[i];
    }
    for (int32_t x = 0; x < w; ++x) {
      out[4 * x] = 0;
      for (int c = 0; c < 3; ++c) out[4 * x + 1 + c] = static_cast<uint8_t>(acc[size_t(x) * 3 + c] / uint32_t(y1 - y0));
    }
    put(y);
  }
  return true;
}

// Draws a decoded file row by row through a one-row 32-bit world, so CopyBits puts it into
// a port of any depth without a second image of the bounds' size.
OSErr DrawDecoded(QTComponentRecord* c, CGrafPtr port, GDHandle device) {
  const int32_t w = c->bounds.right - c->bounds.left, h = c->bounds.bottom - c->bounds.top;
  auto reader = c->kind == QTImageKind::JPEG ? QTOpenJPEG(c->file, w, h) : QTOpenTIFF(c->file);
  if (!reader) return badImageDescription;
  const Rect local{0, 0, 1, static_cast<int16_t>(w)};
  GWorldPtr row = nullptr;
  OSErr err = NewGWorld(&row, 32, &local, nullptr, nullptr, 0);
  if (err != noErr) return err;
  LockPixels(GetGWorldPixMap(row));
  CGrafPtr savedPort = nullptr;
  GDHandle savedDevice = nullptr;
  GetGWorld(&savedPort, &savedDevice);
  SetGWorld(port, device);
  const bool drawn = Resample(*reader, row, w, h, [&](int32_t y) {
    const int16_t top = static_cast<int16_t>(c->bounds.top + y);
    const Rect dest{top, c->bounds.left, static_cast<int16_t>(top + 1), c->bounds.right};
    CopyBits(GetPortBitMapForCopyBits(row), GetPortBitMapForCopyBits(port), &local, &dest, srcCopy, nullptr);
  });
  SetGWorld(savedPort, savedDevice);
  DisposeGWorld(row);
  if (!drawn) return badImageDescription;
  return noErr;
}

OSErr DrawPict(QTComponentRecord* c, CGrafPtr port, GDHandle device) {
  PicHandle pic = PictureOf(c->file);
  if (!pic) return memFullErr;
  CGrafPtr savedPort = nullptr;
  GDHandle savedDevice = nullptr;
  GetGWorld(&savedPort, &savedDevice);
  SetGWorld(port, device);
  DrawPicture(pic, &c->bounds);
  const OSErr err = QDError();
  SetGWorld(savedPort, savedDevice);
  KillPicture(pic);
  return err;
}

}  // namespace

void QTSetJPEGWriter(QTJPEGWriterProc writer) { gJPEGWriter = writer; }

OSErr GetGraphicsImporterForFile(const FSSpec* file, GraphicsImportComponent* importer) {
  if (!file || !importer) return paramErr;
  *importer = nullptr;
  auto c = std::make_unique<QTComponentRecord>();
  c->type = GraphicsImporterComponentType;
  OSErr err = c->file.Open(file);
  if (err != noErr) return err;
  c->kind = KindOf(c->file);
  if (!NaturalBounds(c.get())) return cantFindHandler;
  c->bounds = c->natural;
  *importer = c.release();
  return noErr;
}

ComponentResult GraphicsImportGetNaturalBounds(GraphicsImportComponent importer, Rect* bounds) {
  if (!importer || importer->type != GraphicsImporterComponentType || !bounds) return paramErr;
  *bounds = importer->natural;
  return noErr;
}

ComponentResult GraphicsImportSetBoundsRect(GraphicsImportComponent importer, const Rect* bounds) {
  if (!importer || importer->type != GraphicsImporterComponentType || !bounds) return paramErr;
  importer->bounds = *bounds;
  return noErr;
}

ComponentResult GraphicsImportSetGWorld(GraphicsImportComponent importer, CGrafPtr port, GDHandle device) {
  if (!importer || importer->type != GraphicsImporterComponentType) return paramErr;
  importer->port = port;
  importer->device = device;
  return noErr;
}

ComponentResult GraphicsImportDraw(GraphicsImportComponent importer) {
  if (!importer || importer->type != GraphicsImporterComponentType) return paramErr;
  if (importer->bounds.right <= importer->bounds.left || importer->bounds.bottom <= importer->bounds.top) return paramErr;
  CGrafPtr port = importer->port;
  GDHandle device = importer->device;
  if (!port) GetGWorld(&port, &device);
  if (!port) return paramErr;
  return importer->kind == QTImageKind::PICT ? DrawPict(importer, port, device) : DrawDecoded(importer, port, device);
}

OSErr OpenADefaultComponent(OSType componentType, OSType componentSubType, ComponentInstance* component) {
  if (!component) return paramErr;
  *component = nullptr;
  if (componentType != GraphicsExporterComponentType) return badComponentType;
  if (componentSubType != kQTFileTypeJPEG) return cantFindHandler;
  auto* c = new QTComponentRecord;
  c->type = GraphicsExporterComponentType;
  *component = c;
  return noErr;
}

OSErr CloseComponent(ComponentInstance component) {
  if (!component) return invalidComponentID;
  delete component;
  return noErr;
}

ComponentResult GraphicsExportSetInputGWorld(GraphicsExportComponent exporter, GWorldPtr world) {
  if (!exporter || exporter->type != GraphicsExporterComponentType) return paramErr;
  exporter->input = world;
  return noErr;
}

ComponentResult GraphicsExportSetOutputFile(GraphicsExportComponent exporter, const FSSpec* file) {
  if (!exporter || exporter->type != GraphicsExporterComponentType || !file) return paramErr;
  exporter->output = *file;
  exporter->hasOutput = true;
  return noErr;
}

ComponentResult GraphicsExportDoExport(GraphicsExportComponent exporter, UInt32* actualSizeWritten) {
  if (actualSizeWritten) *actualSizeWritten = 0;
  if (!exporter || exporter->type != GraphicsExporterComponentType || !exporter->input || !exporter->hasOutput)
    return paramErr;
  if (!gJPEGWriter) return cantFindHandler;

  // The input's pixels as 32-bit 0, R, G, B, whatever its depth.
  Rect bounds{};
  GetPixBounds(GetGWorldPixMap(exporter->input), &bounds);
  const int32_t w = bounds.right - bounds.left, h = bounds.bottom - bounds.top;
  if (w <= 0 || h <= 0) return paramErr;
  const Rect local{0, 0, static_cast<int16_t>(h), static_cast<int16_t>(w)};
  GWorldPtr world = nullptr;
  OSErr err = NewGWorld(&world, 32, &local, nullptr, nullptr, 0);
  if (err != noErr) return err;
  CopyBits(GetPortBitMapForCopyBits(exporter->input), GetPortBitMapForCopyBits(world), &bounds, &local, srcCopy,
           nullptr);
  PixMapHandle pm = GetGWorldPixMap(world);
  const uint8_t* base = reinterpret_cast<const uint8_t*>(GetPixBaseAddr(pm));
  const int32_t rowBytes = GetPixRowBytes(pm);
  std::vector<uint8_t> rgb(size_t(w) * 3 * h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      std::memcpy(&rgb[(size_t(y) * w + x) * 3], base + size_t(y) * rowBytes + 4 * x + 1, 3);
  DisposeGWorld(world);

  err = gJPEGWriter(&exporter->output, rgb.data(), w, h, w * 3);
  SInt16 ref = 0;
  if (err == noErr && actualSizeWritten && FSpOpenDF(&exporter->output, fsRdPerm, &ref) == noErr) {
    long size = 0;
    if (GetEOF(ref, &size) == noErr) *actualSizeWritten = static_cast<UInt32>(size);
    FSClose(ref);
  }
  return err;
}
