#include "dialogs/print/layout/CPicturePane.h"

#include <algorithm>

#include "dialogs/print/layout/CPictureView.h"
#include "dialogs/print/layout/CPrintSizePane.h"
#include "dialogs/print/layout/ImageCopy.h"
#include "dialogs/print/layout/PageGeometry.h"
#include "dialogs/print/layout/PageLayoutRecords.h"
#include "framework/LBWCursor.h"
#include "framework/LException.h"
#include "framework/LGWorld.h"
#include "framework/LStr255.h"
#include "framework/StColorPenState.h"
#include "preview/PreviewPicture.h"
#include "windows/Events.h"

namespace {

constexpr SInt16 kFirstCursor = 130;
// The longest side the page is read at for the screen: twice the display copy's, the most a
// picture of twice the paper's size takes on a large page area.
constexpr SInt16 kLongestShown = 1200;

SInt16 Width(const Rect& r) { return static_cast<SInt16>(r.right - r.left); }
SInt16 Height(const Rect& r) { return static_cast<SInt16>(r.bottom - r.top); }

SInt16 CursorForZone(SInt16 zone) {
  static constexpr SInt16 kCursors[9] = {133, 134, 134, 133, 132, 132, 131, 131, 135};
  return kCursors[zone - 1];
}

}  // namespace

CPicturePane::CPicturePane(const SPaneInfo& info, const ScanData* scan, LGWorld* image)
    : LPane(info), mImage(image), mScan(scan), mPrintRecord(*scan) {
  for (size_t i = 0; i < mCursors.size(); ++i)
    mCursors[i] = std::make_unique<LBWCursor>(static_cast<SInt16>(kFirstCursor + i));
}

CPicturePane::~CPicturePane() = default;

CPrintSizePane* CPicturePane::Paper() const { return mOwner ? mOwner->GetPaper() : nullptr; }

double CPicturePane::Factor() const {
  CPrintSizePane* paper = Paper();
  if (!paper) return 0.0;
  return pagegeom::HundredPercentFactor(paper->GetScale(), paper->GetPrinterResolution(), mScan->resolution >> 16);
}

SInt16 CPicturePane::CalcPaneMaxSize() const {
  return pagegeom::PictureSizeLimit(mScan->width, mScan->height, mScan->resolution >> 16, Factor());
}

void CPicturePane::SetFrame(const Rect& frame) {
  ResizeFrameTo(static_cast<SInt16>(frame.right - frame.left), static_cast<SInt16>(frame.bottom - frame.top), true);
  MoveBy(frame.left - mFrameLocation.h, frame.top - mFrameLocation.v, true);
}

void CPicturePane::FinishCreateSelf() {
  // The image is a display copy: the frame takes the page's own size.
  const SInt16 gw = static_cast<SInt16>(mScan->width), gh = static_cast<SInt16>(mScan->height);
  const SInt32 dh = (mFrameSize.width - gw) / 2, dv = (mFrameSize.height - gh) / 2;
  ResizeFrameTo(gw, gh, false);
  MoveBy(dh, dv, true);
}

LGWorld* CPicturePane::Shown() {
  Rect frame, shown{};
  CalcLocalFrameRect(frame);
  if (mShown) GetPortBounds(mShown->GetMacGWorld(), &shown);
  if (mShown && Width(shown) == Width(frame) && Height(shown) == Height(frame)) return mShown.get();
  if (mResizing) return mImage;
  mShown.reset();
  if (std::max(Width(frame), Height(frame)) > kLongestShown || Width(frame) <= 0 || Height(frame) <= 0) return mImage;
  try {
    mShown = PreviewPicture::Decode(
        mScan->imageFile, [&](SInt32, SInt32) { return Rect{0, 0, Height(frame), Width(frame)}; }, true);
  } catch (const LException&) {
  }
  if (!mShown) return mImage;
  PreviewPicture::MatchToScreen(mShown.get(), LStr255(mScan->sourceName));
  return mShown.get();
}

void CPicturePane::DrawSelf() {
  CPrintSizePane* paper = Paper();
  if (!paper) return;
  StColorPenState saved;
  StColorPenState::Normalize();
  Rect frame, paperFrame, printable;
  CalcLocalFrameRect(frame);
  paper->CalcLocalFrameRect(paperFrame);
  paper->GetPrintRangeRect(printable, 0);
  RgnHandle inside = NewRgn(), outside = NewRgn();
  RectRgn(inside, &printable);
  RectRgn(outside, &paperFrame);
  DiffRgn(outside, inside, outside);
  LGWorld* image = Shown();
  CopyImageLocked(image, frame, srcOr, inside);
  const RGBColor gray = {0x8080, 0x8080, 0x8080}, blue = {0, 0, 0xFFFF};
  RGBForeColor(&gray);
  CopyImageLocked(image, frame, srcOr, outside);
  DisposeRgn(inside);
  DisposeRgn(outside);
  RGBForeColor(&blue);
  FrameRect(&frame);
  StColorPenState::Normalize();
}

void CPicturePane::PrintPanelSelf(const PanelSpec&) {
  CPrintSizePane* paper = Paper();
  if (!paper) return;
  const double f = paper->GetReSizeRatio();
  Rect printable, frame;
  paper->GetPrintRangeRect(printable, 1);
  CalcPortFrameRect(frame);
  // The printed page starts at the printable area's top left.
  const SInt16 ox = pagegeom::ToPaper(printable.left - frame.left, f);
  const SInt16 oy = pagegeom::ToPaper(printable.top - frame.top, f);
  const Rect dest = {static_cast<SInt16>(-oy), static_cast<SInt16>(-ox),
                     static_cast<SInt16>(-oy + pagegeom::ToPaper(mFrameSize.height, f)),
                     static_cast<SInt16>(-ox + pagegeom::ToPaper(mFrameSize.width, f))};
  ClipRect(&dest);
  // The page at full size, as the display copy was matched, for this page only.
  std::unique_ptr<LGWorld> page;
  try {
    page = PreviewPicture::Decode(mScan->imageFile);
  } catch (const LException&) {
  }
  if (page) PreviewPicture::MatchToScreen(page.get(), LStr255(mScan->sourceName));
  CopyImageLocked(page ? page.get() : mImage, dest, srcCopy, nullptr);
}

void CPicturePane::AdjustMouseSelf(Point portPt, const EventRecord&, RgnHandle) {
  Rect grab;
  CalcPortFrameRect(grab);
  InsetRect(&grab, 3, 3);
  mCursors[static_cast<size_t>(CursorForZone(pagegeom::PictureZone(portPt, grab)) - kFirstCursor)]->Set();
}

void CPicturePane::ClickSelf(const SMouseDownEvent& event) {
  const bool moved = WaitMouseMoved(event.macEvent.where);
  if (LPane::sClickCount == 2) ResizeSameRate();
  CPrintSizePane* paper = Paper();
  if (!moved || !paper) return;
  Rect grab;
  CalcLocalFrameRect(grab);
  --grab.right;
  --grab.bottom;
  InsetRect(&grab, 3, 3);
  const Point down = event.whereLocal;
  pagegeom::PictureDrag drag;
  drag.zone = pagegeom::PictureZone(down, grab);
  drag.start = mFrameSize;
  if (mScan->width > 0 && mScan->height > 0) {
    drag.hw = static_cast<double>(mScan->height) / mScan->width;
    drag.wh = static_cast<double>(mScan->width) / mScan->height;
  }
  drag.limit = CalcPaneMaxSize();
  paper->GetPrintRangeRect(drag.range, 1);
  Rect start;
  CalcPortFrameRect(start);
  // While a corner or an edge is dragged the display copy is drawn; the update the resizing
  // leaves reads the page once at the size the drag ends at, not at every size it passes.
  struct Resizing {
    CPicturePane& pane;
    explicit Resizing(CPicturePane& p, bool on) : pane(p) { pane.mResizing = on; }
    ~Resizing() { pane.mResizing = false; }
  } resizing(*this, drag.zone != 9);
  for (;;) {
    FocusDraw();
    Point mouse;
    GetMouse(&mouse);
    Rect current;
    CalcPortFrameRect(current);
    if (drag.zone == 9) {
      MoveBy(start.left - current.left + mouse.h - down.h, start.top - current.top + mouse.v - down.v, true);
      Rect moved;
      CalcPortFrameRect(moved);
      const Point back = pagegeom::PictureMoveBack(moved, drag.range);
      MoveBy(back.h, back.v, true);
    } else {
      drag.dx = static_cast<SInt16>(mouse.h - down.h);
      drag.dy = static_cast<SInt16>(mouse.v - down.v);
      drag.frame = current;
      SetFrame(pagegeom::PictureResized(drag));
      CalcNewARecord();
    }
    FocusDraw();
    if (GetSuperView() && GetSuperView()->FocusDraw()) GetSuperView()->Draw(nullptr);
    Point global = mouse;
    PortToGlobalPoint(global);
    if (!WaitMouseMoved(global)) break;
  }
}

void CPicturePane::ResizeSameRate() {
  const SDimension16 size = pagegeom::SameRateSize(mScan->width, mScan->height, Factor());
  ResizeFrameTo(size.width, size.height, true);
  if (mOwner) mOwner->CenteringPicture();
  CalcNewARecord();
}

AcqRecord CPicturePane::CalcNewARecord() {
  mPrintRecord = pagegeom::PrintRecord(mFrameSize.width, *mScan, Factor());
  BroadcastMessage(msg_PrintRecord, &mPrintRecord);
  return mPrintRecord;
}

void CPicturePane::SetPreState(const PrePicturePaneInfo& info) {
  CPrintSizePane* paper = Paper();
  SetFrame(pagegeom::RescaledFrame(info.frame, info.scale, paper ? paper->GetScale() : info.scale));
}
