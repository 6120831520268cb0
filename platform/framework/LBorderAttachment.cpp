#include "framework/LBorderAttachment.h"

#include "framework/LStream.h"
#include "framework/ReadLayoutFields.h"

LBorderAttachment::LBorderAttachment(SInt16 penSize, const RGBColor& colour)
    : LAttachment(msg_DrawOrPrint, true), mPenSize{penSize, penSize}, mColour(colour) {}

LBorderAttachment::LBorderAttachment(LStream* stream) : LAttachment(stream) {
  ReadLayoutFields<layout::kBorder>(*stream, mPenSize.h, mPenSize.v, mColour.red, mColour.green, mColour.blue);
  SetMessage(msg_DrawOrPrint);
}

void LBorderAttachment::ExecuteSelf(MessageT, void* param) {
  const Rect* frame = static_cast<const Rect*>(param);
  PenState saved;
  GetPenState(&saved);
  PenSize(mPenSize.h, mPenSize.v);
  RGBForeColor(&mColour);
  FrameRect(frame);
  SetPenState(&saved);
}
