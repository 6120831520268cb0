#include "app/CPicture.h"

#include "quickdraw/QuickDraw.h"

CPicture::CPicture(LStream* stream) : LPicture(stream) {}

CPicture::CPicture(const SPaneInfo& paneInfo, ResIDT pictureID) : LPicture(paneInfo, pictureID) {}

void CPicture::FinishCreateSelf() {
  PicHandle picture = GetPicture(mPictureID);
  if (!picture) return;
  Rect bounds;
  QDGetPictureBounds(picture, &bounds);
  KillPicture(picture);
  OffsetRect(&bounds, static_cast<SInt16>(-bounds.left), static_cast<SInt16>(-bounds.top));
  mWorld = std::make_unique<LGWorld>(bounds, 32);
  Render();
}

void CPicture::SetPicIDAndGWorld(ResIDT pictID) {
  mPictureID = pictID;
  Render();
}

void CPicture::Render() {
  if (!mWorld) return;
  PicHandle picture = GetPicture(mPictureID);
  if (!picture || !mWorld->BeginDrawing()) {
    if (picture) KillPicture(picture);
    return;
  }
  Rect bounds;
  GetPortBounds(mWorld->GetMacGWorld(), &bounds);
  DrawPicture(picture, &bounds);
  mWorld->EndDrawing();
  KillPicture(picture);
}

void CPicture::DrawSelf() {
  if (!mWorld) return;
  RGBColor fore, back;
  GetForeColor(&fore);
  GetBackColor(&back);
  RGBBackColor(&BackGroundTransColor);
  Rect frame;
  CalcLocalFrameRect(frame);
  mWorld->CopyImage(GetMacPort(), frame, transparent);
  RGBForeColor(&fore);
  RGBBackColor(&back);
}
