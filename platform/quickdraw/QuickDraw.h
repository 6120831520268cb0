// QuickDraw: ports over real pixel buffers, regions, shapes, patterns, colours, CopyBits,
// pictures and cursors.
//
// Coordinates are 16-bit and follow QuickDraw's rules: a Rect is top, left, bottom, right,
// and its bottom and right edges lie outside it. A port draws in local coordinates; its
// origin (SetOrigin) maps local coordinates onto the pixels of its PixMap.
//
// Ports are opaque; use the accessors below. PixMaps, colour tables, regions and pictures
// are handles whose leading fields callers may read.
#pragma once

#include "toolbox/MacTypes.h"

// ---- Colours, patterns, pixel maps ---------------------------------------------------

struct RGBColor {
  UInt16 red;
  UInt16 green;
  UInt16 blue;
};

struct Pattern {
  UInt8 pat[8];
};
typedef const Pattern* ConstPatternParam;

struct ColorSpec {
  SInt16 value;
  RGBColor rgb;
};

// ctSize is the number of entries minus one; ctTable holds ctSize + 1 entries.
struct ColorTable {
  SInt32 ctSeed;
  SInt16 ctFlags;
  SInt16 ctSize;
  ColorSpec ctTable[1];
};
typedef ColorTable* CTabPtr;
typedef CTabPtr* CTabHandle;

struct BitMap {
  Ptr baseAddr;
  SInt16 rowBytes;
  Rect bounds;
};
typedef BitMap* BitMapPtr;

// rowBytes carries flag bits in its top two bits (0x8000 = a PixMap); mask with 0x3FFF.
// 32-bit pixels are the bytes 0, R, G, B; 8-bit pixels index pmTable; 1-bit pixels are
// packed most significant bit first with 1 = black.
struct PixMap {
  Ptr baseAddr;
  SInt16 rowBytes;
  Rect bounds;
  SInt16 pmVersion;
  SInt16 packType;
  SInt32 packSize;
  Fixed hRes;
  Fixed vRes;
  SInt16 pixelType;
  SInt16 pixelSize;
  SInt16 cmpCount;
  SInt16 cmpSize;
  OSType pixelFormat;
  CTabHandle pmTable;
  void* pmExt;
};
typedef PixMap* PixMapPtr;
typedef PixMapPtr* PixMapHandle;

constexpr SInt16 kPixMapFlag = static_cast<SInt16>(0x8000);
constexpr SInt16 kRowBytesMask = 0x3FFF;
constexpr SInt16 RGBDirect = 16;  // pixelType of direct (32-bit) pixels
constexpr SInt16 Indexed = 0;

// ---- Regions ---------------------------------------------------------------------------

// The region's size and bounding box; the shape follows, in this layer's own form.
struct MacRegion {
  UInt16 rgnSize;
  Rect rgnBBox;
};
typedef MacRegion* RgnPtr;
typedef RgnPtr* RgnHandle;

// ---- Pictures --------------------------------------------------------------------------

// A picture handle holds the picture's bytes as stored (big-endian, PICT version 2): the
// 16-bit size word, the frame, then the opcodes. Read the frame with QDGetPictureBounds.
struct Picture {
  UInt8 picSizeAndFrame[10];
};
typedef Picture* PicPtr;
typedef PicPtr* PicHandle;

struct OpenCPicParams {
  Rect srcRect;
  Fixed hRes;
  Fixed vRes;
  SInt16 version;  // -2
  SInt16 reserved1;
  SInt32 reserved2;
};

// ---- Ports -----------------------------------------------------------------------------

struct GrafPort;  // opaque
typedef GrafPort* GrafPtr;
typedef GrafPort CGrafPort;
typedef GrafPtr CGrafPtr;
typedef struct GDevice** GDHandle;  // opaque
typedef GrafPtr* GrafPtrPtr;

struct PenState {
  Point pnLoc;
  Point pnSize;
  SInt16 pnMode;
  Pattern pnPat;
};

// Bottleneck procedures. Two are called by this layer: while a picture records into a port
// whose procedures set putPicProc, the picture's bytes after its 10-byte size-and-frame
// header are handed to it instead of going into the handle; and CopyBits into a port whose
// procedures set bitsProc hands the copy to it instead of drawing it (a printing port keeps
// each image whole rather than as pixels of the page).
typedef void (*QDPutPicProcPtr)(const void* data, SInt16 byteCount);
typedef void (*QDGetPicProcPtr)(void* data, SInt16 byteCount);
typedef void (*QDBitsProcPtr)(const BitMap* srcBits, const Rect* srcRect, const Rect* dstRect, SInt16 mode,
                              RgnHandle maskRgn);
struct CQDProcs {
  void* textProc;
  void* lineProc;
  void* rectProc;
  void* rRectProc;
  void* ovalProc;
  void* arcProc;
  void* polyProc;
  void* rgnProc;
  QDBitsProcPtr bitsProc;
  void* commentProc;
  void* txMeasProc;
  QDGetPicProcPtr getPicProc;
  QDPutPicProcPtr putPicProc;
  void* opcodeProc;
  void* newProc1;
  void* glyphsProc;
  void* printerStatusProc;
  void* newProc4;
  void* newProc5;
  void* newProc6;
};
typedef CQDProcs* CQDProcsPtr;
typedef CQDProcs QDProcs;
typedef QDProcs* QDProcsPtr;

// Transfer modes.
enum : SInt16 {
  srcCopy = 0,
  srcOr = 1,
  srcXor = 2,
  srcBic = 3,
  notSrcCopy = 4,
  patCopy = 8,
  patOr = 9,
  patXor = 10,
  patBic = 11,
  blend = 32,
  transparent = 36,
  ditherCopy = 64,
};

// Classic eight colours for ForeColor/BackColor.
enum : SInt32 {
  blackColor = 33,
  whiteColor = 30,
  redColor = 205,
  greenColor = 341,
  blueColor = 409,
  cyanColor = 273,
  magentaColor = 137,
  yellowColor = 69,
};

// Text face bits.
typedef UInt8 Style;
typedef SInt16 StyleParameter;
enum : UInt8 {
  normal = 0,
  bold = 1,
  italic = 2,
  underline = 4,
  outline = 8,
  shadow = 16,
  condense = 32,
  extend = 64,
};

// The QuickDraw patterns.
extern const Pattern kQDBlackPattern;
extern const Pattern kQDWhitePattern;
extern const Pattern kQDGrayPattern;
extern const Pattern kQDLightGrayPattern;
extern const Pattern kQDDarkGrayPattern;
Pattern* GetQDGlobalsBlack(Pattern* result);
Pattern* GetQDGlobalsWhite(Pattern* result);
Pattern* GetQDGlobalsGray(Pattern* result);
Pattern* GetQDGlobalsLightGray(Pattern* result);
Pattern* GetQDGlobalsDarkGray(Pattern* result);

// ---- Ports and the current port ---------------------------------------------------------

void InitGraf(void* globals);
void GetPort(GrafPtr* port);
void SetPort(GrafPtr port);
Boolean QDSwapPort(CGrafPtr newPort, CGrafPtr* oldPort);
void SetOrigin(SInt16 h, SInt16 v);
void PortSize(SInt16 width, SInt16 height);

Rect* GetPortBounds(CGrafPtr port, Rect* rect);
void SetPortBounds(CGrafPtr port, const Rect* rect);
PixMapHandle GetPortPixMap(CGrafPtr port);
const BitMap* GetPortBitMapForCopyBits(CGrafPtr port);
RgnHandle GetPortVisibleRegion(CGrafPtr port, RgnHandle visRgn);
RgnHandle GetPortClipRegion(CGrafPtr port, RgnHandle clipRgn);
void SetPortClipRegion(CGrafPtr port, RgnHandle clipRgn);
RGBColor* GetPortForeColor(CGrafPtr port, RGBColor* color);
RGBColor* GetPortBackColor(CGrafPtr port, RGBColor* color);
SInt16 GetPortTextFont(CGrafPtr port);
SInt16 GetPortTextSize(CGrafPtr port);
Style GetPortTextFace(CGrafPtr port);
Point* GetPortPenSize(CGrafPtr port, Point* penSize);
Point* GetPortPenLocation(CGrafPtr port, Point* penLocation);
Boolean IsPortOffscreen(CGrafPtr port);
Boolean IsPortColor(CGrafPtr port);
Boolean IsPortPictureBeingDefined(CGrafPtr port);
BitMap* GetQDGlobalsScreenBits(BitMap* screenBits);

// Pushes what was drawn into a window's port to the screen now (a no-op offscreen).
void QDFlushPortBuffer(CGrafPtr port, RgnHandle region);

// Bottleneck procedures: SetStdCProcs fills a record with the standard procedures; a port
// uses the record given to SetPortGrafProcs until it is given another (or null).
void SetStdCProcs(CQDProcs* procs);
void SetStdProcs(QDProcs* procs);
void SetPortGrafProcs(CGrafPtr port, CQDProcs* procs);
CQDProcsPtr GetPortGrafProcs(CGrafPtr port);

// ---- Geometry ---------------------------------------------------------------------------

void SetRect(Rect* r, SInt16 left, SInt16 top, SInt16 right, SInt16 bottom);
void OffsetRect(Rect* r, SInt16 dh, SInt16 dv);
void InsetRect(Rect* r, SInt16 dh, SInt16 dv);
Boolean SectRect(const Rect* a, const Rect* b, Rect* result);
void UnionRect(const Rect* a, const Rect* b, Rect* result);
Boolean PtInRect(Point pt, const Rect* r);
Boolean EmptyRect(const Rect* r);
Boolean EqualRect(const Rect* a, const Rect* b);
Boolean EqualPt(Point a, Point b);
void SetPt(Point* pt, SInt16 h, SInt16 v);
void AddPt(Point src, Point* dst);
void SubPt(Point src, Point* dst);
void Pt2Rect(Point a, Point b, Rect* r);
void LocalToGlobal(Point* pt);
void GlobalToLocal(Point* pt);

// ---- Clipping and regions ----------------------------------------------------------------

void GetClip(RgnHandle rgn);
void SetClip(RgnHandle rgn);
void ClipRect(const Rect* r);

RgnHandle NewRgn();
void DisposeRgn(RgnHandle rgn);
void CopyRgn(RgnHandle src, RgnHandle dst);
void SetEmptyRgn(RgnHandle rgn);
void SetRectRgn(RgnHandle rgn, SInt16 left, SInt16 top, SInt16 right, SInt16 bottom);
void RectRgn(RgnHandle rgn, const Rect* r);
void OffsetRgn(RgnHandle rgn, SInt16 dh, SInt16 dv);
void InsetRgn(RgnHandle rgn, SInt16 dh, SInt16 dv);
void SectRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
void UnionRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
void DiffRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
void XorRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
Boolean EmptyRgn(RgnHandle rgn);
Boolean EqualRgn(RgnHandle a, RgnHandle b);
Boolean PtInRgn(Point pt, RgnHandle rgn);
Boolean RectInRgn(const Rect* r, RgnHandle rgn);
Rect* GetRegionBounds(RgnHandle rgn, Rect* bounds);
Boolean IsRegionRectangular(RgnHandle rgn);
// Region building by drawing is not offered; build regions from rectangles and operations.

// A region from the stored (big-endian) region format: size word, bounding box, then for
// each row where the shape changes its y, the x positions where it toggles, 0x7FFF, and a
// final 0x7FFF. The data must agree with its stated size. Returns noErr or paramErr.
OSErr QDRegionFromStoredBytes(const void* data, Size length, RgnHandle dst);
// The stored form of a region, as a new handle; null when memory runs out or when the
// region does not fit the stored form (QDError() then answers rgnTooBigErr).
enum : OSErr { rgnTooBigErr = -500 };
Handle QDRegionToStoredBytes(RgnHandle rgn);
// A region from the 'XRGN' resource `id`; null when missing or damaged.
RgnHandle GetRegionResource(SInt16 id);

// ---- Pen and drawing ----------------------------------------------------------------------

void PenNormal();
void PenSize(SInt16 width, SInt16 height);
void PenMode(SInt16 mode);
void PenPat(const Pattern* pat);
void GetPenState(PenState* state);
void SetPenState(const PenState* state);
void HidePen();
void ShowPen();
void GetPen(Point* pt);
void BackPat(const Pattern* pat);
void MoveTo(SInt16 h, SInt16 v);
void Move(SInt16 dh, SInt16 dv);
void LineTo(SInt16 h, SInt16 v);
void Line(SInt16 dh, SInt16 dv);

void FrameRect(const Rect* r);
void PaintRect(const Rect* r);
void EraseRect(const Rect* r);
void InvertRect(const Rect* r);
void FillRect(const Rect* r, const Pattern* pat);
void FrameOval(const Rect* r);
void PaintOval(const Rect* r);
void EraseOval(const Rect* r);
void InvertOval(const Rect* r);
void FillOval(const Rect* r, const Pattern* pat);
void FrameRoundRect(const Rect* r, SInt16 ovalWidth, SInt16 ovalHeight);
void PaintRoundRect(const Rect* r, SInt16 ovalWidth, SInt16 ovalHeight);
void EraseRoundRect(const Rect* r, SInt16 ovalWidth, SInt16 ovalHeight);
void InvertRoundRect(const Rect* r, SInt16 ovalWidth, SInt16 ovalHeight);
void FillRoundRect(const Rect* r, SInt16 ovalWidth, SInt16 ovalHeight, const Pattern* pat);
void FrameRgn(RgnHandle rgn);
void PaintRgn(RgnHandle rgn);
void EraseRgn(RgnHandle rgn);
void InvertRgn(RgnHandle rgn);
void FillRgn(RgnHandle rgn, const Pattern* pat);

// ---- Colours --------------------------------------------------------------------------------

void RGBForeColor(const RGBColor* color);
void RGBBackColor(const RGBColor* color);
void GetForeColor(RGBColor* color);
void GetBackColor(RGBColor* color);
void ForeColor(SInt32 color);
void BackColor(SInt32 color);
void OpColor(const RGBColor* color);
void HiliteColor(const RGBColor* color);
void GetCPixel(SInt16 h, SInt16 v, RGBColor* color);
void SetCPixel(SInt16 h, SInt16 v, const RGBColor* color);
// The system highlight colour (selection and drop-area frames).
void LMGetHiliteRGB(RGBColor* color);

CTabHandle GetCTable(SInt16 id);  // 1, 2, 4, 8 (system), 33..40 and 36..40 grey, or a 'clut'
void DisposeCTable(CTabHandle table);
SInt32 GetCTSeed();

// ---- CopyBits ---------------------------------------------------------------------------------

// Copies srcRect of src onto dstRect of dst, scaling when the sizes differ (nearest
// pixel), through the current port's clip when dst is that port's bitmap, and maskRgn (in
// dst coordinates). While the current port records a picture, a copy onto it is recorded
// instead of drawn. The logical modes tint the source first: black takes the foreground
// colour and white the background colour (no change with black on white). Modes: srcCopy;
// srcOr (the destination keeps only what the source also has: dark source pixels darken);
// srcXor; srcBic; notSrcCopy; blend (source weighted by the op colour per channel, the
// destination by the rest); transparent (source pixels of the background colour are
// skipped); ditherCopy as srcCopy.
void CopyBits(const BitMap* src, const BitMap* dst, const Rect* srcRect, const Rect* dstRect,
              SInt16 mode, RgnHandle maskRgn);

// ---- Pictures -----------------------------------------------------------------------------------

PicHandle OpenCPicture(const OpenCPicParams* params);
PicHandle OpenPicture(const Rect* frame);
void ClosePicture();
// Playback that would take more drawing than the picture's size and destination allow stops
// where it is, and QDError() answers noMemForPictPlaybackErr.
enum : OSErr { noMemForPictPlaybackErr = -145 };
void DrawPicture(PicHandle pic, const Rect* dstRect);
void KillPicture(PicHandle pic);
PicHandle GetPicture(SInt16 id);  // a 'PICT' resource, or null
Rect* QDGetPictureBounds(PicHandle pic, Rect* bounds);
void PicComment(SInt16 kind, SInt16 dataSize, Handle data);
// The result of the last picture or drawing call that can fail (noErr, memFullErr, ...).
OSErr QDError();

// ---- Cursors --------------------------------------------------------------------------------------

typedef UInt16 Bits16[16];
struct Cursor {
  Bits16 data;
  Bits16 mask;
  Point hotSpot;
};
typedef Cursor* CursPtr;
typedef CursPtr* CursHandle;

void InitCursor();
void SetCursor(const Cursor* cursor);
CursHandle GetCursor(SInt16 id);  // a 'CURS' resource, or null
Cursor* GetQDGlobalsArrow(Cursor* arrow);
void HideCursor();
void ShowCursor();
void ObscureCursor();
// The cursor last set (the arrow after InitCursor); tests read it.
const Cursor* QDCurrentCursor();
