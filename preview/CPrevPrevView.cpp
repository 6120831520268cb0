#include "preview/CPrevPrevView.h"

#include "framework/LGWorld.h"
#include "framework/LStr255.h"
#include "framework/StColorPenState.h"
#include "preview/CPictureLoader.h"
#include "preview/PreviewPicture.h"

CPrevPrevView::CPrevPrevView(LStream* stream) : LView(stream) {}

CPrevPrevView::~CPrevPrevView() {
  mLoader.reset();
  delete mImage;
}

void CPrevPrevView::FinishCreateSelf() {
  SDimension16 frame;
  GetFrameSize(frame);
  ResizeImageTo(frame.width, frame.height, false);
}

void CPrevPrevView::SetPicture(const FSSpec& file, long rotation) {
  mFile = file;
  mRotation = rotation;
  mLoader = std::make_unique<CPictureLoader>([this] { ReadThread(); });
  StartIdling();
}

void CPrevPrevView::SpendTime(const EventRecord&) {
  StopIdling();
  if (mLoader) mLoader->Resume();
}

Rect CPrevPrevView::FitRect(SInt32 w, SInt32 h, long rotation, SInt32 fw, SInt32 fh) {
  const bool quarter = rotation == 90 || rotation == 270;
  const double dw = quarter ? h : w;
  const double dh = quarter ? w : h;
  const double s = dw / dh <= double(fw) / fh ? fh / dh : fw / dw;
  return Rect{0, 0, SInt16(h * s), SInt16(w * s)};
}

void CPrevPrevView::ReadThread() {
  SDimension16 frame;
  GetFrameSize(frame);
  const LStr255 noName;
  mImage = PreviewPicture::Load(mFile, mRotation, mSourceName ? *mSourceName : noName,
                                [&](SInt32 w, SInt32 h) { return FitRect(w, h, mRotation, frame.width, frame.height); });
  Refresh();
  if (FocusDraw(nullptr)) Draw(nullptr);
}

void CPrevPrevView::DrawSelf() {
  if (!mImage) return;
  StColorPenState saved;
  StColorPenState::Normalize();
  Rect frame{}, bounds{};
  CalcLocalFrameRect(frame);
  GetPortBounds(mImage->GetMacGWorld(), &bounds);
  const SInt16 w = SInt16(bounds.right - bounds.left), h = SInt16(bounds.bottom - bounds.top);
  const SInt16 left = SInt16(frame.left + (frame.right - frame.left - w) / 2);
  const SInt16 top = SInt16(frame.top + (frame.bottom - frame.top - h) / 2);
  mImage->CopyImage(GetMacPort(), Rect{top, left, SInt16(top + h), SInt16(left + w)});
}

void CPrevPrevView::ClickSelf(const SMouseDownEvent&) {
  if (sClickCount == 2) BroadcastMessage(msg_DoubleClick, nullptr);
}
