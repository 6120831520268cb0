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
  CodecQ quality = codecNormalQuality;
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

// The source span [x0, x1) of each of n output pixels over N source pixels: the pixels a
// shrink averages, and in x0 the one CopyBits would take.
void Spans(int32_t N, int32_t n, std::vector<int32_t>& x0, std::vector<int32_t>& x1) {
  x0.resize(size_t(n));
  x1.resize(size_t(n));
  for (int32_t x = 0; x < n; ++x) {
    x0[size_t(x)] = static_cast<int32_t>(int64_t(x) * N / n);
    x1[size_t(x)] = std::max(x0[size_t(x)] + 1, static_cast<int32_t>((int64_t(x + 1) * N + n - 1) / n));
  }
}

void PutPixels(const uint8_t* rgb, const std::vector<int32_t>& x0, uint8_t* out) {
  for (size_t x = 0; x < x0.size(); ++x) {
    out[4 * x] = 0;
    std::memcpy(out + 4 * x + 1, rgb + size_t(x0[x]) * 3, 3);
  }
}

// The reader's rows made w x h, each finished row handed, as 32-bit pixels in `row`, to
// `put`. Averaged over whole pixels when shrinking, repeated when enlarging; `sample` takes
// the one source pixel CopyBits would take for each, reading only the rows it takes.
template <typename Put>
bool Resample(QTImageReader& reader, GWorldPtr row, int32_t w, int32_t h, bool sample, Put put) {
  uint8_t* out = reinterpret_cast<uint8_t*>(GetPixBaseAddr(GetGWorldPixMap(row)));
  const int32_t W = reader.width, H = reader.height;
  std::vector<uint8_t> src(size_t(W) * 3);
  std::vector<int32_t> x0, x1;
  Spans(W, w, x0, x1);
  bool narrow = true;  // each output pixel of a row is one source pixel
  for (size_t x = 0; x < x0.size(); ++x) narrow = narrow && x1[x] - x0[x] == 1;
  narrow = narrow || sample;
  std::vector<uint32_t> last(size_t(w) * 3), acc(size_t(w) * 3);
  // `src` holds row next - 1, `last` row lastRow with its spans averaged.
  int32_t next = 0, lastRow = -1;
  auto readTo = [&](int32_t sy) {
    for (; next < sy; ++next)
      if (!(sample ? reader.SkipRow() : reader.NextRow(src.data()))) return false;
    if (next == sy) {
      if (!reader.NextRow(src.data())) return false;
      ++next;
    }
    return true;
  };
  for (int32_t y = 0; y < h; ++y) {
    const int32_t y0 = static_cast<int32_t>(int64_t(y) * H / h);
    const int32_t y1 = sample ? y0 + 1 : std::max(y0 + 1, static_cast<int32_t>((int64_t(y + 1) * H + h - 1) / h));
    if (narrow && y1 - y0 == 1) {
      if (!readTo(y0)) return false;
      PutPixels(src.data(), x0, out);
      put(y);
      continue;
    }
    std::fill(acc.begin(), acc.end(), 0);
    for (int32_t sy = y0; sy < y1; ++sy) {
      if (lastRow != sy) {
        if (!readTo(sy)) return false;
        for (int32_t x = 0; x < w; ++x) {
          const uint32_t n = uint32_t(x1[size_t(x)] - x0[size_t(x)]);
          const uint8_t* p = &src[size_t(x0[size_t(x)]) * 3];
          uint32_t sum[3] = {0, 0, 0};
          for (uint32_t i = 0; i < n; ++i, p += 3) {
            sum[0] += p[0];
            sum[1] += p[1];
            sum[2] += p[2];
          }
          for (int c = 0; c < 3; ++c) last[size_t(x) * 3 + c] = n == 1 ? sum[c] : sum[c] / n;
        }
        lastRow = sy;
      }
      for (size_t i = 0; i < acc.size(); ++i) acc[i] += last[i];
    }
    const uint32_t rows = uint32_t(y1 - y0);
    for (int32_t x = 0; x < w; ++x) {
      out[4 * x] = 0;
      for (int c = 0; c < 3; ++c)
        out[4 * x + 1 + c] = static_cast<uint8_t>(rows == 1 ? acc[size_t(x) * 3 + c] : acc[size_t(x) * 3 + c] / rows);
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
  const bool drawn = Resample(*reader, row, w, h, c->quality < codecNormalQuality, [&](int32_t y) {
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

ComponentResult GraphicsImportSetQuality(GraphicsImportComponent importer, CodecQ quality) {
  if (!importer || importer->type != GraphicsImporterComponentType) return paramErr;
  importer->quality = quality;
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
