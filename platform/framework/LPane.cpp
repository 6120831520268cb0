#include "framework/LPane.h"

#include <algorithm>
#include <cstdint>

#include "framework/LException.h"
#include "framework/LStream.h"
#include "framework/LView.h"
#include "framework/LWindow.h"
#include "framework/ReadLayoutFields.h"

SInt16 LPane::sClickCount = 0;
LPane* LPane::sLastPaneClicked = nullptr;
UInt32 LPane::sLastClickTime = 0;
Point LPane::sLastClickPoint = {0, 0};
LView* LPane::sDefaultView = nullptr;

LPane::LPane() = default;

LPane::LPane(const SPaneInfo& info) { InitPane(info); }

LPane::LPane(LStream* stream) {
  SPaneInfo info;
  UInt8 visible, enabled, bl, bt, br, bb;
  SInt32 superID;
  ReadLayoutFields<layout::kPane>(*stream, info.paneID, info.width, info.height, visible, enabled, bl, bt, br, bb,
                                  info.left, info.top, info.userCon, superID);
  info.visible = visible != 0;
  info.enabled = enabled != 0;
  info.bindings = {bl != 0, bt != 0, br != 0, bb != 0};
  info.superView = sDefaultView;
  InitPane(info);
}

void LPane::InitPane(const SPaneInfo& info) {
  mPaneID = info.paneID;
  mFrameSize = {info.width, info.height};
  mFrameBinding = info.bindings;
  mUserCon = info.userCon;
  mVisible = info.visible;
  mEnabled = info.enabled;
  LView* super = info.superView ? info.superView : nullptr;
  if (super) {
    SPoint32 image;
    super->GetImageLocation(image);
    mFrameLocation = {image.h + info.left, image.v + info.top};
    super->AddSubPane(this);
  } else {
    mFrameLocation = {info.left, info.top};
  }
}

LPane::~LPane() {
  if (sLastPaneClicked == this) sLastPaneClicked = nullptr;
  if (mSuperView) mSuperView->RemoveSubPane(this);
}

LPane* LPane::FindPaneByID(PaneIDT id) { return id == mPaneID ? this : nullptr; }

void LPane::FinishCreate() {
  FinishCreateSelf();
  ExecuteAttachments(msg_FinishCreate, this);
}

void LPane::PutInside(LView* view, bool inFront) {
  if (mSuperView) mSuperView->RemoveSubPane(this);
  if (view) view->AddSubPane(this, inFront);
}

LWindow* LPane::GetWindow() const {
  const LPane* top = this;
  while (top->mSuperView) top = top->mSuperView;
  return dynamic_cast<LWindow*>(const_cast<LPane*>(top));
}

WindowRef LPane::GetMacWindow() const {
  LWindow* window = GetWindow();
  return window ? window->GetMacWindow() : nullptr;
}

CGrafPtr LPane::GetMacPort() const {
  Point origin;
  return GetMacPort(origin);
}

CGrafPtr LPane::GetMacPort(Point& origin) const {
  origin = Point{0, 0};
  if (WindowRef window = GetMacWindow()) return GetWindowPort(window);
  const LPane* top = this;
  while (top->mSuperView) top = top->mSuperView;
  return top->GetOwnPort(origin);
}

namespace {

// Location plus size can pass 32 bits for a pane far out: add in 64, then clamp.
SInt16 ClampToPort(int64_t coordinate) { return static_cast<SInt16>(std::clamp<int64_t>(coordinate, -32768, 32767)); }

}  // namespace

bool LPane::CalcLocalFrameRect(Rect& r) const {
  r.left = ClampToPort(mFrameLocation.h);
  r.top = ClampToPort(mFrameLocation.v);
  r.right = ClampToPort(int64_t(mFrameLocation.h) + mFrameSize.width);
  r.bottom = ClampToPort(int64_t(mFrameLocation.v) + mFrameSize.height);
  return true;
}

bool LPane::CalcRevealedRect(Rect& out) const {
  CalcLocalFrameRect(out);
  for (const LView* v = mSuperView; v; v = v->mSuperView) {
    Rect super;
    v->CalcLocalFrameRect(super);
    if (!SectRect(&out, &super, &out)) return false;
  }
  return !EmptyRect(&out);
}

void LPane::ResizeFrameBy(SInt16 dw, SInt16 dh, bool refresh) {
  if (refresh) Refresh();
  mFrameSize.width = static_cast<SInt16>(std::max(0, mFrameSize.width + dw));
  mFrameSize.height = static_cast<SInt16>(std::max(0, mFrameSize.height + dh));
  if (refresh) Refresh();
}

void LPane::ResizeFrameTo(SInt16 width, SInt16 height, bool refresh) {
  ResizeFrameBy(static_cast<SInt16>(width - mFrameSize.width), static_cast<SInt16>(height - mFrameSize.height),
                refresh);
}

void LPane::MoveBy(SInt32 dh, SInt32 dv, bool refresh) {
  if (refresh) Refresh();
  mFrameLocation.h += dh;
  mFrameLocation.v += dv;
  if (refresh) Refresh();
}

void LPane::AdaptToSuperFrameSize(SInt32 dw, SInt32 dh, bool refresh) {
  // Bound to both sides: stretch; bound to the far side only: move.
  SInt32 width = 0, height = 0, moveH = 0, moveV = 0;
  if (mFrameBinding.right) {
    if (mFrameBinding.left)
      width = dw;
    else
      moveH = dw;
  }
  if (mFrameBinding.bottom) {
    if (mFrameBinding.top)
      height = dh;
    else
      moveV = dh;
  }
  if (width || height) ResizeFrameBy(static_cast<SInt16>(width), static_cast<SInt16>(height), refresh);
  if (moveH || moveV) MoveBy(moveH, moveV, refresh);
}

bool LPane::PointIsInFrame(SInt32 h, SInt32 v) const {
  return h >= mFrameLocation.h && h < mFrameLocation.h + mFrameSize.width && v >= mFrameLocation.v &&
         v < mFrameLocation.v + mFrameSize.height;
}

void LPane::GlobalToPortPoint(Point& pt) const {
  WindowRef window = GetMacWindow();
  Rect content;
  if (window && GetWindowBounds(window, kWindowContentRgn, &content) == 0) {
    pt.h = static_cast<SInt16>(pt.h - content.left);
    pt.v = static_cast<SInt16>(pt.v - content.top);
  }
}

void LPane::PortToGlobalPoint(Point& pt) const {
  WindowRef window = GetMacWindow();
  Rect content;
  if (window && GetWindowBounds(window, kWindowContentRgn, &content) == 0) {
    pt.h = static_cast<SInt16>(pt.h + content.left);
    pt.v = static_cast<SInt16>(pt.v + content.top);
  }
}

void LPane::Show() {
  if (mVisible) return;
  mVisible = true;
  if (IsVisible()) {
    ShowSelf();
    Refresh();
  }
}

void LPane::Hide() {
  if (!mVisible) return;
  bool wasVisible = IsVisible();
  if (wasVisible) Refresh();
  mVisible = false;
  if (wasVisible) HideSelf();
}

bool LPane::IsVisible() const { return mVisible && (!mSuperView || mSuperView->IsVisible()); }

void LPane::Enable() {
  if (mEnabled) return;
  mEnabled = true;
  EnableSelf();
  Refresh();
}

void LPane::Disable() {
  if (!mEnabled) return;
  mEnabled = false;
  DisableSelf();
  Refresh();
}

bool LPane::IsEnabled() const { return mEnabled && (!mSuperView || mSuperView->IsEnabled()); }

void LPane::Activate() {
  if (mActive) return;
  mActive = true;
  ActivateSelf();
  Refresh();
}

void LPane::Deactivate() {
  if (!mActive) return;
  mActive = false;
  DeactivateSelf();
  Refresh();
}

bool LPane::IsActive() const { return mActive && (!mSuperView || mSuperView->IsActive()); }

StringPtr LPane::GetDescriptor(Str255 out) const {
  out[0] = 0;
  return out;
}

void LPane::SetDescriptor(ConstStr255Param) {}

void LPane::Draw(RgnHandle) {
  if (!IsVisible() || !FocusDraw()) return;
  Rect frame;
  CalcLocalFrameRect(frame);
  if (ExecuteAttachments(msg_DrawOrPrint, &frame)) DrawSelf();
}

void LPane::PlaceInSuperFrameAt(SInt32 h, SInt32 v, bool refresh) {
  SPoint32 super = {0, 0};
  if (mSuperView) mSuperView->GetFrameLocation(super);
  MoveBy(super.h + h - mFrameLocation.h, super.v + v - mFrameLocation.v, refresh);
}

void LPane::PrintPanel(const PanelSpec& panel) {
  if (IsVisible() && FocusDraw()) PrintPanelSelf(panel);
}

bool LPane::FocusDraw(LPane*) {
  Point origin;
  CGrafPtr port = GetMacPort(origin);
  if (!port) return false;
  SetPort(port);
  SetOrigin(origin.h, origin.v);
  Rect revealed;
  if (!CalcRevealedRect(revealed)) {
    Rect none = {0, 0, 0, 0};
    ClipRect(&none);
    return false;
  }
  ClipRect(&revealed);
  return true;
}

void LPane::InvalPortRect(const Rect& r) const {
  WindowRef window = GetMacWindow();
  if (window) InvalWindowRect(window, &r);
}

void LPane::Refresh() {
  Rect revealed;
  if (IsVisible() && CalcRevealedRect(revealed)) InvalPortRect(revealed);
}

void LPane::DontRefresh() {
  WindowRef window = GetMacWindow();
  Rect revealed;
  if (window && CalcRevealedRect(revealed)) ValidWindowRect(window, &revealed);
}

void LPane::UpdatePort() {
  if (LWindow* window = GetWindow()) window->UpdatePort();
}

void LPane::ApplyForeAndBackColors() const {
  RGBColor black = {0, 0, 0};
  RGBColor back = {0xEEEE, 0xEEEE, 0xEEEE};
  RGBForeColor(&black);
  RGBBackColor(&back);
}

void LPane::Click(SMouseDownEvent& event) {
  if (!IsEnabled()) return;
  // Double clicks: the same pane again, soon enough and close enough.
  UInt32 when = event.macEvent.when;
  bool again = sLastPaneClicked == this && when - sLastClickTime <= GetDblTime() &&
               std::abs(event.wherePort.h - sLastClickPoint.h) <= 4 &&
               std::abs(event.wherePort.v - sLastClickPoint.v) <= 4;
  sClickCount = again ? static_cast<SInt16>(sClickCount + 1) : 1;
  sLastPaneClicked = this;
  sLastClickTime = when;
  sLastClickPoint = event.wherePort;
  event.whereLocal = event.wherePort;
  if (ExecuteAttachments(msg_Click, &event)) ClickSelf(event);
}

void LPane::AdjustMouse(Point portPt, const EventRecord& event, RgnHandle mouseRgn) {
  if (ExecuteAttachments(msg_AdjustCursor, const_cast<EventRecord*>(&event))) AdjustMouseSelf(portPt, event, mouseRgn);
}

void LPane::SavePlace(LStream* place) {
  *place << mFrameSize.width << mFrameSize.height << mFrameLocation.h << mFrameLocation.v << mVisible;
}

void LPane::RestorePlace(LStream* place) {
  bool visible = true;
  *place >> mFrameSize.width >> mFrameSize.height >> mFrameLocation.h >> mFrameLocation.v >> visible;
  mVisible = visible;
}
