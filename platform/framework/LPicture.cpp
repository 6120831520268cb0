#include "framework/LPicture.h"

#include "framework/LStream.h"
#include "framework/ReadLayoutFields.h"

LPicture::LPicture(const SPaneInfo& paneInfo, ResIDT pictureID)
    : LView(paneInfo, SViewInfo{}), mPictureID(pictureID) {}

LPicture::LPicture(LStream* stream) : LView(stream) { ReadLayoutFields<layout::kPicture>(*stream, mPictureID); }

void LPicture::DrawSelf() {
  PicHandle picture = GetPicture(mPictureID);
  if (!picture) return;
  Rect frame;
  CalcLocalFrameRect(frame);
  DrawPicture(picture, &frame);
  KillPicture(picture);
}
