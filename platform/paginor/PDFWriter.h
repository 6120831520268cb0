// The PDF writer: pages of a given size in points, each holding images placed at a rectangle
// and clipped, and optionally invisible words for searching and copying. The first finished
// page creates the file; each later page appends its objects; Finish writes the page tree,
// catalogue, cross-reference table and trailer, and gives the file its name. A page that fails
// leaves the file as it was before it (no file after a failed first page); a Finish that fails
// removes the file.
#pragma once

#include <string>
#include <vector>

#include "paginor/OutputFile.h"
#include "toolbox/MacTypes.h"

// An image as stored in the file: Flate (8 bits grey or RGB, or 1 bit with 1 = black) or DCT.
struct PDFImage {
  SInt32 width = 0;
  SInt32 height = 0;
  bool rgb = false;
  bool bilevel = false;
  bool dct = false;
  std::vector<UInt8> stream;
  // White pixels let what lies below show through (a layer drawn over other images).
  bool whiteIsClear = false;
};

// Points, origin at the page's lower left corner.
struct PDFRect {
  double x = 0, y = 0, width = 0, height = 0;
};

// A word of the invisible text layer, stretched from x over its width.
struct PDFWord {
  std::string utf8;
  double x = 0, width = 0;
};

// A line of the invisible text layer: its words, in reading order, on one baseline at one size.
struct PDFTextLine {
  double baseline = 0, size = 0;
  std::vector<PDFWord> words;
};

class PDFWriter {
 public:
  explicit PDFWriter(std::string path);
  // An unfinished file is removed.
  ~PDFWriter();
  PDFWriter(const PDFWriter&) = delete;
  PDFWriter& operator=(const PDFWriter&) = delete;

  // The glyph-less TrueType program the text layer's font embeds (none: not embedded).
  void SetTextFontProgram(std::vector<UInt8> trueType);

  void BeginPage(double width, double height);
  void DrawImage(PDFImage image, const PDFRect& place, const PDFRect& clip);
  void DrawInvisibleText(const std::vector<PDFTextLine>& lines);
  // Writes the pending page; on failure the file and the writer are as before it.
  OSErr EndPage();
  OSErr Finish();

  int PageCount() const { return int(mPageObjects.size()); }

 private:
  struct PendingPage {
    double width = 0, height = 0;
    std::vector<PDFImage> images;
    std::string content;
    bool usesFont = false;
  };

  // The objects of the pending page (after the file's header when it is the first).
  std::string PageObjects(int* pageObject);
  int NewObject(std::string* out);
  void AddStream(std::string* out, const std::string& dictionary, const std::vector<UInt8>& data);
  void AddFont(std::string* out);
  OSErr CreateFile();
  OSErr WriteBatch(const std::string& bytes);

  std::string mPath;
  OutputFile mFile;
  std::vector<UInt8> mFontProgram;
  PendingPage mPage;
  std::vector<long long> mOffsets;  // by object number - 1; 0 for objects written at Finish
  std::vector<int> mPageObjects;
  int mFontObject = 0;
  bool mFinished = false;
};

// zlib's deflate of `size` bytes; std::bad_alloc without memory.
std::vector<UInt8> PDFDeflate(const UInt8* bytes, size_t size);
