#include "preview/CPreviewPicPane.h"

#include "framework/LBWCursor.h"
#include "framework/LGWorld.h"
#include "framework/StColorPenState.h"
#include "output/export/PageRecords.h"
#include "preview/CPictureLoader.h"
#include "preview/PreviewPicture.h"
#include "windows/Events.h"

namespace {
constexpr SInt16 kHandCursor = 130;
}

CPreviewPicPane::CPreviewPicPane(const SPaneInfo& info, const FSSpec& file)
    : LPane(info), mFile(file), mCursor(std::make_unique<LBWCursor>(kHandCursor)) {}

CPreviewPicPane::~CPreviewPicPane() {
  mLoader.reset();
  delete mImage;
}

void CPreviewPicPane::FinishCreateSelf() {
  mLoader = std::make_unique<CPictureLoader>([this] { ReadThread(); });
  StartIdling();
}

void CPreviewPicPane::SpendTime(const EventRecord&) {
  StopIdling();
  if (mLoader) mLoader->Resume();
}

Rect CPreviewPicPane::FitRect(SInt32 w, SInt32 h, SInt32 fw, SInt32 fh) {
  const double s = w > h ? double(fw) / w : double(fh) / h;
  return Rect{0, 0, SInt16(h * s), SInt16(w * s)};
}

void CPreviewPicPane::ReadThread() {
  SDimension16 frame;
  GetFrameSize(frame);
  const LStr255 source(mPage ? mPage->sourceName : reinterpret_cast<ConstStringPtr>(""));
  const long rotation = mPage ? mPage->rotation : 0;
  mImage = PreviewPicture::Load(mFile, rotation, source,
                                [&](SInt32 w, SInt32 h) { return FitRect(w, h, frame.width, frame.height); });
  Refresh();
  if (FocusDraw(nullptr)) Draw(nullptr);
}

void CPreviewPicPane::RotatePicture(long degrees) {
  if (!mImage) return;
  LGWorld* turned = PreviewPicture::Turn(mImage, degrees);
  delete mImage;
  mImage = turned;
  Refresh();
}

void CPreviewPicPane::DrawImageIn(const Rect& frame) {
  if (!mImage) return;
  StColorPenState saved;
  StColorPenState::Normalize();
  Rect bounds{};
  GetPortBounds(mImage->GetMacGWorld(), &bounds);
  const SInt16 w = SInt16(bounds.right - bounds.left), h = SInt16(bounds.bottom - bounds.top);
  const SInt16 left = SInt16(frame.left + (frame.right - frame.left - w) / 2);
  const SInt16 top = SInt16(frame.top + (frame.bottom - frame.top - h) / 2);
  GrafPtr port = nullptr;
  GetPort(&port);
  mImage->CopyImage(port, Rect{top, left, SInt16(top + h), SInt16(left + w)});
}

void CPreviewPicPane::DrawSelf() {
  Rect frame{};
  CalcLocalFrameRect(frame);
  DrawImageIn(frame);
}

void CPreviewPicPane::DrawForDrag() {
  Rect frame{};
  CalcPortFrameRect(frame);
  DrawImageIn(frame);
}

void CPreviewPicPane::ClickSelf(const SMouseDownEvent& event) {
  if (WaitMouseMoved(event.macEvent.where)) {
    SMouseDownEvent copy = event;
    BroadcastMessage(msg_Drag, &copy);
    return;
  }
  BroadcastMessage(sClickCount == 2 ? msg_DoubleClick : msg_Click, this);
  LPane::ClickSelf(event);
}

void CPreviewPicPane::AdjustMouseSelf(Point, const EventRecord&, RgnHandle) { mCursor->Set(); }
