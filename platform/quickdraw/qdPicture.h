// Picture recording (OpenCPicture to ClosePicture) and playback (DrawPicture) in PICT
// version 2. Drawing calls report to the recorder of the current port.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "quickdraw/qdPort.h"

struct qdPicRecorder {
  PicHandle pic = nullptr;
  Rect frame = {0, 0, 0, 0};
  Size written = 0;  // bytes of the picture so far, header included
  // What the picture already states, so that only changes are recorded.
  RGBColor fg = {0, 0, 0};
  RGBColor bk = {0xFFFF, 0xFFFF, 0xFFFF};
  Point penSize = {1, 1};
  SInt16 penMode = patCopy;
  Pattern penPat = {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
  Pattern fillPat = {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
  Point ovalSize = {0, 0};
  SInt16 txFont = 0, txSize = 0;
  Style txFace = 0;
  SInt16 txMode = srcOr;
  qdRegion clip;
  bool clipSent = false;
  bool failed = false;
};

// Shape verbs, in opcode order (frame, paint, erase, invert, fill).
enum class qdVerb : uint8_t { Frame = 0, Paint = 1, Erase = 2, Invert = 3, Fill = 4 };
enum class qdShape : uint8_t { Rect = 0x30, RoundRect = 0x40, Oval = 0x50, Region = 0x80 };

void qdPicRecordShape(GrafPtr port, qdShape shape, qdVerb verb, const Rect& r, const Pattern* fillPat,
                      const qdRegion* region = nullptr);
void qdPicRecordLine(GrafPtr port, Point from, Point to);
void qdPicRecordText(GrafPtr port, Point at, const uint8_t* text, int length);
void qdPicRecordBits(GrafPtr port, const qdPixels& src, const Rect& srcRect, const Rect& dstRect, SInt16 mode,
                     const qdRegion* mask);
