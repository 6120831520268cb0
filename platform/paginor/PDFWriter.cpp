#include "paginor/PDFWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <new>
#include <utility>

#include "paginor/Paginor.h"
#include "toolbox/FilePaths.h"
#include "toolbox/FileReplacement.h"
#include "toolbox/MacErrors.h"

namespace {

constexpr char kHeader[] = "%PDF-1.5\n%\xE2\xE3\xCF\xD3\n";
constexpr int kCatalogObject = 1;
constexpr int kPagesObject = 2;
// Every glyph of the text font is half an em wide (the font's /DW).
constexpr double kGlyphAdvance = 0.5;

std::string Num(double value) {
  char text[48];
  std::snprintf(text, sizeof text, "%.4f", value);
  std::string s = text;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

std::string Ref(int object) { return std::to_string(object) + " 0 R"; }

// The UTF-16 code units of the characters of the Basic Multilingual Plane in `utf8`, in hex.
std::string HexCodes(const std::string& utf8, int* count) {
  std::string hex;
  *count = 0;
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int length = lead < 0x80 ? 1 : lead >> 5 == 6 ? 2 : lead >> 4 == 14 ? 3 : lead >> 3 == 30 ? 4 : 1;
    unsigned code = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length && i + k < utf8.size(); ++k) code = code << 6 | (utf8[i + k] & 0x3F);
    i += length;
    if (code > 0xFFFF || (code >= 0xD800 && code < 0xE000) || code < 0x20) continue;
    char unit[5];
    std::snprintf(unit, sizeof unit, "%04X", code);
    hex += unit;
    ++*count;
  }
  return hex;
}

// Each code is the character's own UTF-16 unit, so the map sends every code to itself.
std::string ToUnicodeMap() {
  std::string map =
      "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
      "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
      "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
  std::vector<int> highs;
  for (int high = 0; high < 256; ++high)
    if (high < 0xD8 || high > 0xDF) highs.push_back(high);
  for (size_t start = 0; start < highs.size(); start += 100) {
    const size_t end = std::min(highs.size(), start + 100);
    map += std::to_string(end - start) + " beginbfrange\n";
    for (size_t k = start; k < end; ++k) {
      char line[40];
      std::snprintf(line, sizeof line, "<%02X00> <%02XFF> <%02X00>\n", highs[k], highs[k], highs[k]);
      map += line;
    }
    map += "endbfrange\n";
  }
  return map + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

// The written file takes its name only when nothing has taken it meanwhile.
OSErr RenameWithoutReplacing(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return noErr;
  if (errno != EINVAL && errno != ENOSYS) return errno == EEXIST ? OSErr(dupFNErr) : FpErrno(errno);
  // A file system that cannot rename so still links without replacing.
  if (link(from.c_str(), to.c_str()) != 0) return errno == EEXIST ? OSErr(dupFNErr) : FpErrno(errno);
  unlink(from.c_str());
  return noErr;
}

}  // namespace

std::vector<UInt8> PDFDeflate(const UInt8* bytes, size_t size) {
  uLongf length = compressBound(uLong(size));
  std::vector<UInt8> out(length);
  // With a buffer of compressBound bytes, only memory can run out.
  if (compress2(out.data(), &length, bytes, uLong(size), Z_DEFAULT_COMPRESSION) != Z_OK) throw std::bad_alloc();
  out.resize(length);
  return out;
}

PDFWriter::PDFWriter(std::string path) : mPath(std::move(path)), mOffsets(2, 0) {}

PDFWriter::~PDFWriter() {
  if (mFile.IsOpen() && !mFinished) mFile.Remove();
}

void PDFWriter::SetTextFontProgram(std::vector<UInt8> trueType) { mFontProgram = std::move(trueType); }

void PDFWriter::BeginPage(double width, double height) { mPage = PendingPage{width, height, {}, {}, false}; }

void PDFWriter::DrawImage(PDFImage image, const PDFRect& place, const PDFRect& clip) {
  mPage.content += "q " + Num(clip.x) + " " + Num(clip.y) + " " + Num(clip.width) + " " + Num(clip.height) +
                   " re W n " + Num(place.width) + " 0 0 " + Num(place.height) + " " + Num(place.x) + " " +
                   Num(place.y) + " cm /Im" + std::to_string(mPage.images.size()) + " Do Q\n";
  mPage.images.push_back(std::move(image));
}

void PDFWriter::DrawInvisibleText(const std::vector<PDFTextLine>& lines) {
  std::string text;
  for (const PDFTextLine& line : lines) {
    if (line.size <= 0) continue;
    for (size_t i = 0; i < line.words.size(); ++i) {
      const PDFWord& word = line.words[i];
      int count = 0;
      std::string hex = HexCodes(word.utf8, &count);
      if (count == 0 || word.width <= 0) continue;
      // A space runs on to the next word, so a reader sees one line with its spaces, whatever
      // the gaps between the boxes.
      double span = word.width;
      if (i + 1 < line.words.size() && line.words[i + 1].x > word.x + word.width / 2) {
        hex += "0020";
        ++count;
        span = std::max(span, line.words[i + 1].x - word.x);
      }
      text += Num(span / (count * kGlyphAdvance)) + " 0 0 " + Num(line.size) + " " + Num(word.x) + " " +
              Num(line.baseline) + " Tm <" + hex + "> Tj\n";
    }
  }
  if (text.empty()) return;
  // Render mode 3 draws nothing: the words are there to be found, not seen.
  mPage.content += "BT 3 Tr /F0 1 Tf\n" + text + "ET\n";
  mPage.usesFont = true;
}

int PDFWriter::NewObject(std::string* out) {
  const long long base = mFile.IsOpen() ? mFile.Length() : 0;
  mOffsets.push_back(base + static_cast<long long>(out->size()));
  const int object = int(mOffsets.size());
  *out += std::to_string(object) + " 0 obj\n";
  return object;
}

void PDFWriter::AddStream(std::string* out, const std::string& dictionary, const std::vector<UInt8>& data) {
  *out += "<< " + dictionary + " /Length " + std::to_string(data.size()) + " >>\nstream\n";
  out->append(reinterpret_cast<const char*>(data.data()), data.size());
  *out += "\nendstream\nendobj\n";
}

void PDFWriter::AddFont(std::string* out) {
  int program = 0;
  if (!mFontProgram.empty()) {
    program = NewObject(out);
    AddStream(out, "/Filter /FlateDecode /Length1 " + std::to_string(mFontProgram.size()),
              PDFDeflate(mFontProgram.data(), mFontProgram.size()));
  }
  const int descriptor = NewObject(out);
  *out += "<< /Type /FontDescriptor /FontName /GlyphLessFont /Flags 5 /FontBBox [0 0 500 1000] /ItalicAngle 0"
          " /Ascent 1000 /Descent 0 /CapHeight 1000 /StemV 80" +
          (program ? " /FontFile2 " + Ref(program) : std::string()) + " >>\nendobj\n";
  // Every character code draws the program's one glyph.
  std::vector<UInt8> toGlyph(2 * 65536);
  for (size_t i = 1; i < toGlyph.size(); i += 2) toGlyph[i] = 1;
  const int glyphMap = NewObject(out);
  AddStream(out, "/Filter /FlateDecode", PDFDeflate(toGlyph.data(), toGlyph.size()));
  const int cidFont = NewObject(out);
  *out += "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /GlyphLessFont /CIDSystemInfo << /Registry (Adobe)"
          " /Ordering (Identity) /Supplement 0 >> /FontDescriptor " +
          Ref(descriptor) + " /DW 500 /CIDToGIDMap " + Ref(glyphMap) + " >>\nendobj\n";
  const std::string map = ToUnicodeMap();
  const int toUnicode = NewObject(out);
  AddStream(out, "/Filter /FlateDecode", PDFDeflate(reinterpret_cast<const UInt8*>(map.data()), map.size()));
  mFontObject = NewObject(out);
  *out += "<< /Type /Font /Subtype /Type0 /BaseFont /GlyphLessFont /Encoding /Identity-H /DescendantFonts [" +
          Ref(cidFont) + "] /ToUnicode " + Ref(toUnicode) + " >>\nendobj\n";
}

std::string PDFWriter::PageObjects(int* pageObject) {
  std::string batch = mFile.IsOpen() ? std::string() : std::string(kHeader);
  // Room for the images at once: a page's images can be most of a hundred megabytes.
  size_t streams = 0;
  for (const PDFImage& image : mPage.images) streams += image.stream.size();
  batch.reserve(batch.size() + streams + 4096 * (mPage.images.size() + 1));
  std::string xobjects;
  for (size_t i = 0; i < mPage.images.size(); ++i) {
    const PDFImage& image = mPage.images[i];
    const int object = NewObject(&batch);
    std::string dictionary = "/Type /XObject /Subtype /Image /Width " + std::to_string(image.width) + " /Height " +
                             std::to_string(image.height);
    if (image.bilevel)
      dictionary += " /ColorSpace /DeviceGray /BitsPerComponent 1 /Decode [1 0]";
    else
      dictionary += std::string(" /ColorSpace ") + (image.rgb ? "/DeviceRGB" : "/DeviceGray") + " /BitsPerComponent 8";
    if (image.whiteIsClear && !image.bilevel) dictionary += image.rgb ? " /Mask [255 255 255 255 255 255]" : " /Mask [255 255]";
    dictionary += image.dct ? " /Filter /DCTDecode" : " /Filter /FlateDecode";
    AddStream(&batch, dictionary, image.stream);
    xobjects += " /Im" + std::to_string(i) + " " + Ref(object);
  }
  if (mPage.usesFont && mFontObject == 0) AddFont(&batch);

  const int contentObject = NewObject(&batch);
  AddStream(&batch, "/Filter /FlateDecode",
            PDFDeflate(reinterpret_cast<const UInt8*>(mPage.content.data()), mPage.content.size()));

  *pageObject = NewObject(&batch);
  batch += "<< /Type /Page /Parent " + Ref(kPagesObject) + " /MediaBox [0 0 " + Num(mPage.width) + " " +
           Num(mPage.height) + "] /Resources << /XObject <<" + xobjects + " >>" +
           (mPage.usesFont ? " /Font << /F0 " + Ref(mFontObject) + " >>" : std::string()) + " >> /Contents " +
           Ref(contentObject) + " >>\nendobj\n";
  return batch;
}

OSErr PDFWriter::EndPage() {
  if (mFinished) return kPaginorSequenceErr;
  const size_t objectsBefore = mOffsets.size();
  const int fontBefore = mFontObject;
  const bool created = mFile.IsOpen();
  const off_t lengthBefore = mFile.Length();
  // Every way out but success puts the file and the object table back as they were.
  auto restore = [&] {
    if (!created)
      mFile.Remove();
    else
      mFile.Truncate(lengthBefore);
    mOffsets.resize(objectsBefore);
    mFontObject = fontBefore;
  };
  OSErr err = noErr;
  int pageObject = 0;
  try {
    const std::string batch = PageObjects(&pageObject);
    mPage = PendingPage{};
    if (!created) err = CreateFile();
    if (err == noErr) err = WriteBatch(batch);
  } catch (...) {
    mPage = PendingPage{};
    restore();
    throw;
  }
  if (err != noErr) {
    restore();
    return err;
  }
  mPageObjects.push_back(pageObject);
  return noErr;
}

// The pages go to a hidden file beside the destination, which takes the destination's name
// at Finish: a writer stopped on the way never leaves an unfinished PDF under that name.
OSErr PDFWriter::CreateFile() {
  struct stat st;
  if (lstat(mPath.c_str(), &st) == 0) return dupFNErr;
  if (errno == ENOTDIR) return dirNFErr;
  std::string temp;
  return FSCreateTempBeside(mPath, [this](const std::string& path) { return mFile.Create(path); }, &temp);
}

OSErr PDFWriter::WriteBatch(const std::string& bytes) { return mFile.Append(bytes.data(), bytes.size()); }

OSErr PDFWriter::Finish() {
  if (mFinished || mPageObjects.empty()) return noErr;
  const long long base = mFile.Length();
  std::string tail;
  mOffsets[kCatalogObject - 1] = base;
  tail += "1 0 obj\n<< /Type /Catalog /Pages " + Ref(kPagesObject) + " >>\nendobj\n";
  mOffsets[kPagesObject - 1] = base + static_cast<long long>(tail.size());
  tail += "2 0 obj\n<< /Type /Pages /Kids [";
  for (int page : mPageObjects) tail.append(" ").append(Ref(page));
  tail += " ] /Count " + std::to_string(mPageObjects.size()) + " >>\nendobj\n";

  const long long xref = base + static_cast<long long>(tail.size());
  tail += "xref\n0 " + std::to_string(mOffsets.size() + 1) + "\n0000000000 65535 f \n";
  for (long long offset : mOffsets) {
    char entry[24];
    std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", offset);
    tail += entry;
  }
  tail += "trailer\n<< /Size " + std::to_string(mOffsets.size() + 1) + " /Root " + Ref(kCatalogObject) +
          " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";

  OSErr err = WriteBatch(tail);
  if (err == noErr) err = mFile.Close();
  if (err == noErr) err = RenameWithoutReplacing(mFile.Path(), mPath);
  if (err != noErr) {
    mFile.Remove();
    return err;
  }
  mFinished = true;
  return noErr;
}
