// Drawing and measuring text with FreeType. Each character advances by its rounded
// hinted advance plus what the face adds (bold one pixel, outline one, shadow two), and
// drawing uses the same advances, so measured and drawn widths agree to the pixel.
#include "quickdraw/qdText.h"

#include <algorithm>
#include <array>
#include <string>

#include "quickdraw/QuickDrawText.h"
#include "quickdraw/qdDraw.h"
#include "quickdraw/qdFonts.h"
#include FT_OUTLINE_H
#include "quickdraw/qdPicture.h"
#include "quickdraw/qdPort.h"
#include "toolbox/TextConvert.h"
#include "toolbox/TextUtils.h"

namespace {

// The code point of one character of the system script (U+FFFD for bytes with none).
char32_t CodePoint(const uint8_t* text, int length) {
  std::string utf8;
  if (!ScriptToUTF8(std::string_view(reinterpret_cast<const char*>(text), static_cast<size_t>(length)), &utf8) || utf8.empty())
    return 0xFFFD;
  auto u = reinterpret_cast<const unsigned char*>(utf8.data());
  if (u[0] < 0x80) return u[0];
  if ((u[0] & 0xE0) == 0xC0 && utf8.size() >= 2) return ((u[0] & 0x1F) << 6) | (u[1] & 0x3F);
  if ((u[0] & 0xF0) == 0xE0 && utf8.size() >= 3) return ((u[0] & 0x0F) << 12) | ((u[1] & 0x3F) << 6) | (u[2] & 0x3F);
  if (utf8.size() >= 4) return ((u[0] & 0x07) << 18) | ((u[1] & 0x3F) << 12) | ((u[2] & 0x3F) << 6) | (u[3] & 0x3F);
  return 0xFFFD;
}

int FaceExtra(Style face) { return ((face & bold) ? 1 : 0) + ((face & outline) ? 1 : 0) + ((face & shadow) ? 2 : 0); }

void ApplySynthesis(const qdFace& f, FT_GlyphSlot slot) {
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return;
  if (f.synthItalic) {
    FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};
    FT_Outline_Transform(&slot->outline, &shear);
  }
  if (f.synthBold) FT_Outline_Embolden(&slot->outline, 1 << 6);
}

int Advance(const qdFace& f, char32_t cp) {
  FT_UInt index = FT_Get_Char_Index(f.face, cp);
  if (FT_Load_Glyph(f.face, index, FT_LOAD_DEFAULT) != 0) return 0;
  return static_cast<int>((f.face->glyph->advance.x + 32) >> 6);
}

struct Run {
  std::vector<int> starts;
  std::vector<char32_t> codes;
};

Run Decode(const uint8_t* text, int length) {
  Run run;
  run.starts = qdCharStarts(text, length);
  for (size_t i = 0; i + 1 < run.starts.size(); ++i)
    run.codes.push_back(CodePoint(text + run.starts[i], run.starts[i + 1] - run.starts[i]));
  return run;
}

const qdFace* PortFace(GrafPtr port) { return qdFindFace(port->txFont, port->txSize, port->txFace); }

// Outline and shadow draw around the glyph, so the line grows by their rim.
FontInfo PortFontInfo(GrafPtr port, const qdFace& f) {
  int extra = (port->txFace & (outline | shadow)) ? 1 : 0;
  return FontInfo{static_cast<SInt16>(f.ascent + extra), static_cast<SInt16>(f.descent + ((port->txFace & shadow) ? 2 : extra)),
                  static_cast<SInt16>(f.widMax + FaceExtra(port->txFace)), static_cast<SInt16>(f.leading)};
}

// Coverage of one glyph blended in `color` at (x, y) = its pen position on the baseline.
void Blit(const qdPixels& p, const qdRegion& clip, FT_GlyphSlot slot, int x, int y, const RGBColor& color) {
  const FT_Bitmap& bm = slot->bitmap;
  int left = x + slot->bitmap_left, top = y - slot->bitmap_top;
  uint32_t fg = qdRGB24(color);
  for (unsigned row = 0; row < bm.rows; ++row)
    for (unsigned col = 0; col < bm.width; ++col) {
      int a = bm.buffer[row * static_cast<unsigned>(bm.pitch) + col];
      if (a == 0) continue;
      int px = left + static_cast<int>(col), py = top + static_cast<int>(row);
      if (!p.Contains(px, py) || !clip.Contains(px, py)) continue;
      if (p.depth != 32) {
        if (a >= 128) qdSetPixel(p, px, py, qdRGB24ToPixel(p, fg));
        continue;
      }
      uint32_t d = qdGetPixel(p, px, py);
      auto mix = [a](uint32_t s, uint32_t t) { return (s * static_cast<uint32_t>(a) + t * (255 - static_cast<uint32_t>(a)) + 127) / 255; };
      uint32_t out = (mix((fg >> 16) & 0xFF, (d >> 16) & 0xFF) << 16) | (mix((fg >> 8) & 0xFF, (d >> 8) & 0xFF) << 8) | mix(fg & 0xFF, d & 0xFF);
      qdSetPixel(p, px, py, out);
    }
}

}  // namespace

bool qdIsLeadByte(uint8_t b) {
  char byte = static_cast<char>(b);
  return CharacterByteType(&byte, 0, smSystemScript) == smFirstByte;
}

std::vector<int> qdCharStarts(const uint8_t* text, int length) {
  std::vector<int> starts;
  for (int i = 0; i < length;) {
    starts.push_back(i);
    i += (qdIsLeadByte(text[i]) && i + 1 < length) ? 2 : 1;
  }
  starts.push_back(length);
  return starts;
}

int qdTextWidth(GrafPtr port, const uint8_t* text, int length) {
  const qdFace* f = PortFace(port);
  if (!f || length <= 0) return 0;
  Run run = Decode(text, length);
  int width = 0, extra = FaceExtra(port->txFace);
  for (char32_t cp : run.codes) width += Advance(*f, cp) + extra;
  return width;
}

void TextFont(SInt16 font) { qdCurrentPort()->txFont = font; }
void TextFace(StyleParameter face) { qdCurrentPort()->txFace = static_cast<Style>(face); }
void TextMode(SInt16 mode) { qdCurrentPort()->txMode = mode; }
void TextSize(SInt16 size) { qdCurrentPort()->txSize = size; }

void DrawText(const void* textBuf, SInt16 firstByte, SInt16 byteCount) {
  GrafPtr port = qdCurrentPort();
  if (!textBuf || byteCount <= 0) return;
  const auto* text = static_cast<const uint8_t*>(textBuf) + firstByte;
  int width = qdTextWidth(port, text, byteCount);
  Point at = port->pen.pnLoc;
  port->pen.pnLoc.h = static_cast<SInt16>(at.h + width);
  if (port->picture) {
    qdPicRecordText(port, at, text, byteCount);
    return;
  }
  const qdFace* f = PortFace(port);
  if (!f || port->pnVis < 0) return;
  qdPixels p = qdPixelsOfPort(port);
  qdRegion clip = qdPortClip(port).IntersectedRect(p.bounds);
  Run run = Decode(text, byteCount);
  Style face = port->txFace;
  int extra = FaceExtra(face);
  // srcBic clears the ink to the background colour; srcCopy first paints the characters'
  // cells with it; every other mode draws like srcOr.
  SInt16 mode = port->txMode;
  const RGBColor& ink = mode == srcBic ? port->bk : port->fg;
  if (mode == srcCopy) {
    FontInfo info = PortFontInfo(port, *f);
    Rect cells{static_cast<SInt16>(at.v - info.ascent), at.h, static_cast<SInt16>(at.v + info.descent),
               static_cast<SInt16>(std::min(at.h + width, 32767))};
    qdFillArea(port, qdRegion::FromRect(cells), Pattern{{0, 0, 0, 0, 0, 0, 0, 0}}, patCopy);
  }
  // Outline and shadow draw the glyph around in the ink, then its body in the background.
  std::vector<std::pair<int, int>> rims;
  if (face & (outline | shadow)) {
    rims = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
    if (face & shadow) rims.insert(rims.end(), {{2, 1}, {1, 2}, {2, 2}});
  }
  int x = at.h;
  for (char32_t cp : run.codes) {
    FT_UInt index = FT_Get_Char_Index(f->face, cp);
    if (FT_Load_Glyph(f->face, index, FT_LOAD_DEFAULT) == 0) {
      int advance = static_cast<int>((f->face->glyph->advance.x + 32) >> 6);
      ApplySynthesis(*f, f->face->glyph);
      if (FT_Render_Glyph(f->face->glyph, FT_RENDER_MODE_NORMAL) == 0) {
        int gx = x + ((face & (outline | shadow)) ? 1 : 0);
        for (auto [dx, dy] : rims) Blit(p, clip, f->face->glyph, gx + dx, at.v + dy, ink);
        if (rims.empty()) Blit(p, clip, f->face->glyph, gx, at.v, ink);
        else if (mode != srcBic) Blit(p, clip, f->face->glyph, gx, at.v, port->bk);
      }
      x += advance + extra;
    }
  }
  if (face & underline) {
    for (int px = at.h; px < x; ++px)
      if (p.Contains(px, at.v + 1) && clip.Contains(px, at.v + 1)) qdSetPixel(p, px, at.v + 1, qdRGBToPixel(p, ink));
  }
}

void DrawString(ConstStr255Param s) {
  if (s) DrawText(s + 1, 0, s[0]);
}
void DrawChar(char ch) { DrawText(&ch, 0, 1); }
SInt16 CharWidth(char ch) { return TextWidth(&ch, 0, 1); }
SInt16 StringWidth(ConstStr255Param s) { return s ? TextWidth(s + 1, 0, s[0]) : 0; }
SInt16 TextWidth(const void* text, SInt16 firstByte, SInt16 byteCount) {
  if (!text || byteCount <= 0) return 0;
  int w = qdTextWidth(qdCurrentPort(), static_cast<const uint8_t*>(text) + firstByte, byteCount);
  return static_cast<SInt16>(std::min(w, 32767));
}

void GetFontInfo(FontInfo* info) {
  GrafPtr port = qdCurrentPort();
  const qdFace* f = PortFace(port);
  *info = f ? PortFontInfo(port, *f) : FontInfo{0, 0, 0, 0};
}

SInt16 GetSysDirection() { return 0; }
