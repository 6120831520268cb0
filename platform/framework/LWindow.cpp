#include "framework/LWindow.h"

#include <algorithm>
#include <vector>

#include "framework/LException.h"
#include "framework/LStream.h"
#include "framework/ReadLayoutFields.h"
#include "framework/UReanimator.h"
#include "quickdraw/QDOffscreen.h"

LWindow* LWindow::sActiveWindow = nullptr;

namespace {

std::vector<LWindow*>& LiveWindows() {
  static std::vector<LWindow*> windows;
  return windows;
}

UInt32 AttributesFor(WindowClass windowClass, WindowAttributes wmAttributes) {
  UInt32 attrs = windAttr_Targetable;
  switch (windowClass) {
    case kModalWindowClass:
    case kAlertWindowClass:
      attrs |= windAttr_Modal;
      break;
    case kMovableModalWindowClass:
    case kMovableAlertWindowClass:
      attrs |= windAttr_Modal | windAttr_TitleBar | windAttr_Movable;
      break;
    case kFloatingWindowClass:
    case kUtilityWindowClass:
      attrs |= windAttr_Floating | windAttr_TitleBar | windAttr_Movable;
      break;
    default:
      attrs |= windAttr_Regular | windAttr_TitleBar | windAttr_Movable;
      break;
  }
  if (wmAttributes & kWindowCloseBoxAttribute) attrs |= windAttr_CloseBox;
  if (wmAttributes & kWindowResizableAttribute) attrs |= windAttr_Resizable;
  return attrs;
}

// A window without a position goes to the middle of the main screen, a third of the way down.
Rect Placed(Rect bounds) {
  if (bounds.top != 0 || bounds.left != 0) return bounds;
  Rect screen;
  GetDeviceBounds(GetMainDevice(), &screen);
  SInt16 width = static_cast<SInt16>(bounds.right - bounds.left);
  SInt16 height = static_cast<SInt16>(bounds.bottom - bounds.top);
  SInt16 top = static_cast<SInt16>(screen.top + GetMBarHeight() + 20 +
                                   std::max(0, (screen.bottom - screen.top - GetMBarHeight() - height) / 3));
  SInt16 left = static_cast<SInt16>(screen.left + std::max(0, (screen.right - screen.left - width) / 2));
  return Rect{top, left, static_cast<SInt16>(top + height), static_cast<SInt16>(left + width)};
}

}  // namespace

LWindow* LWindow::CreateWindow(ResIDT layoutID, LCommander* super) {
  LWindow* window = UReanimator::CreateFromLayout<LWindow>(layoutID, super);
  if (window->IsVisibleSelf()) window->Show();
  return window;
}

LWindow* LWindow::FetchWindowObject(WindowRef window) {
  if (!window) return nullptr;
  for (LWindow* w : LiveWindows())
    if (w->mMacWindow == window) return w;
  return nullptr;
}

LWindow::LWindow(LStream* stream) : LCommander(LCommander::GetDefaultCommander()) {
  Str255 title;
  UInt32 windowClass, wmAttributes;
  Rect bounds;
  SInt16 minW, minH, maxW, maxH;
  UInt8 visible;
  SInt32 userCon;
  ReadLayoutFields<layout::kWindow>(*stream, title, windowClass, wmAttributes, bounds.top, bounds.left, bounds.bottom,
                                    bounds.right, minW, minH, maxW, maxH, visible, userCon);
  mMinMaxSize = Rect{minH, minW, maxH, maxW};
  mUserCon = userCon;
  Rect placed = Placed(bounds);
  WindowRef window = nullptr;
  ThrowIfOSErr_(static_cast<OSErr>(CreateNewWindow(windowClass, wmAttributes, &placed, &window)));
  SetWTitle(window, title);
  mAttributes = AttributesFor(windowClass, wmAttributes);
  AdoptMacWindow(window);
  mVisible = visible != 0;
}

LWindow::LWindow(WindowRef window, LCommander* super) : LCommander(super) {
  ThrowIfNil_(window);
  WindowClass windowClass = kDocumentWindowClass;
  WindowAttributes wmAttributes = 0;
  GetWindowClass(window, &windowClass);
  GetWindowAttributes(window, &wmAttributes);
  mAttributes = AttributesFor(windowClass, wmAttributes);
  AdoptMacWindow(window);
  mVisible = IsWindowVisible(window) != 0;
}

LWindow::LWindow(const Rect& globalBounds, ConstStr255Param title, WindowClass windowClass,
                 WindowAttributes attributes, LCommander* super)
    : LCommander(super) {
  Rect placed = Placed(globalBounds);
  WindowRef window = nullptr;
  ThrowIfOSErr_(static_cast<OSErr>(CreateNewWindow(windowClass, attributes, &placed, &window)));
  if (title) SetWTitle(window, title);
  mAttributes = AttributesFor(windowClass, attributes);
  AdoptMacWindow(window);
  mVisible = false;
}

void LWindow::AdoptMacWindow(WindowRef window) {
  mMacWindow = window;
  LiveWindows().push_back(this);
  SyncFrameWithWindow();
  mImageSize = {mFrameSize.width, mFrameSize.height};
  mImageLocation = {0, 0};
  mActive = false;
}

void LWindow::SyncFrameWithWindow() {
  Rect port;
  GetWindowPortBounds(mMacWindow, &port);
  mFrameLocation = {0, 0};
  mFrameSize = {static_cast<SInt16>(port.right - port.left), static_cast<SInt16>(port.bottom - port.top)};
}

LWindow::~LWindow() {
  if (sActiveWindow == this) sActiveWindow = nullptr;
  std::erase(LiveWindows(), this);
  // Panes go while this is still a window; commanders among them leave the chain as they go.
  DeleteAllSubPanes();
  if (IsOnDuty()) SwitchTarget(GetSuperCommander());
  if (mMacWindow) DisposeWindow(mMacWindow);
  mMacWindow = nullptr;
}

void LWindow::Show() {
  mVisible = true;
  ShowWindow(mMacWindow);
  Refresh();
}

void LWindow::Hide() {
  if (IsActiveWindow()) Deactivate();
  mVisible = false;
  HideWindow(mMacWindow);
}

void LWindow::Select() {
  SelectWindow(mMacWindow);
  if (sActiveWindow != this) {
    if (sActiveWindow) sActiveWindow->Deactivate();
    Activate();
  }
}

void LWindow::Activate() {
  if (sActiveWindow && sActiveWindow != this) sActiveWindow->Deactivate();
  sActiveWindow = this;
  HiliteWindow(mMacWindow, true);
  LView::Activate();
  if (HasAttribute(windAttr_Targetable) && !IsOnDuty()) SwitchTarget(this);
}

void LWindow::Deactivate() {
  if (sActiveWindow == this) sActiveWindow = nullptr;
  HiliteWindow(mMacWindow, false);
  LView::Deactivate();
  if (IsOnDuty()) SwitchTarget(GetSuperCommander());
}

void LWindow::BeTarget() {}

void LWindow::Refresh() {
  Rect frame;
  CalcLocalFrameRect(frame);
  InvalWindowRect(mMacWindow, &frame);
}

void LWindow::EraseContent() {
  Rect frame;
  CalcLocalFrameRect(frame);
  ApplyForeAndBackColors();
  EraseRect(&frame);
}

void LWindow::UpdatePort() {
  GrafPtr savedPort;
  GetPort(&savedPort);
  BeginUpdate(mMacWindow);
  SetPort(GetWindowPort(mMacWindow));
  SetOrigin(0, 0);
  Rect frame;
  CalcLocalFrameRect(frame);
  ClipRect(&frame);
  EraseContent();
  Draw(nullptr);
  if (HasAttribute(windAttr_Resizable)) DrawGrowIcon(mMacWindow);
  EndUpdate(mMacWindow);
  SetPort(savedPort);
}

bool LWindow::AttemptClose() {
  if (!AttemptQuitSelf(0)) return false;
  DoClose();
  return true;
}

void LWindow::DoClose() { delete this; }

StringPtr LWindow::GetDescriptor(Str255 out) const {
  GetWTitle(mMacWindow, out);
  return out;
}

void LWindow::SetDescriptor(ConstStr255Param title) { SetWTitle(mMacWindow, title); }

void LWindow::GetGlobalBounds(Rect& out) const { GetWindowBounds(mMacWindow, kWindowContentRgn, &out); }

void LWindow::ResizeWindowBy(SInt16 dw, SInt16 dh) {
  SInt16 width = static_cast<SInt16>(std::clamp<int>(mFrameSize.width + dw, mMinMaxSize.left, mMinMaxSize.right));
  SInt16 height = static_cast<SInt16>(std::clamp<int>(mFrameSize.height + dh, mMinMaxSize.top, mMinMaxSize.bottom));
  dw = static_cast<SInt16>(width - mFrameSize.width);
  dh = static_cast<SInt16>(height - mFrameSize.height);
  if (dw == 0 && dh == 0) return;
  SizeWindow(mMacWindow, width, height, true);
  // Subpanes follow their bindings.
  LView::ResizeFrameBy(dw, dh, false);
  mImageSize = {mFrameSize.width, mFrameSize.height};
  Refresh();
}

void LWindow::MoveWindowBy(SInt16 dh, SInt16 dv) {
  Rect bounds;
  GetGlobalBounds(bounds);
  MoveWindow(mMacWindow, static_cast<SInt16>(bounds.left + dh), static_cast<SInt16>(bounds.top + dv), false);
}

void LWindow::HandleClick(const EventRecord& event, WindowPartCode part) {
  if (!IsEnabled()) return;
  switch (part) {
    case inContent:
      if (!IsActiveWindow())
        Select();
      else
        ClickInContent(event);
      break;
    case inDrag:
      ClickInTitleBar(event);
      break;
    case inGoAway:
      if (TrackGoAway(mMacWindow, event.where)) ProcessCommand(cmd_Close);
      break;
    case inGrow:
      ClickInGrow(event);
      break;
    case inCollapseBox:
      if (TrackBox(mMacWindow, event.where, part)) CollapseWindow(mMacWindow, !IsWindowCollapsed(mMacWindow));
      break;
    default:
      break;
  }
}

void LWindow::ClickInContent(const EventRecord& event) {
  SMouseDownEvent mouse;
  mouse.macEvent = event;
  mouse.wherePort = event.where;
  GlobalToPortPoint(mouse.wherePort);
  mouse.whereLocal = mouse.wherePort;
  mouse.delaySelect = false;
  Click(mouse);
}

void LWindow::ClickInTitleBar(const EventRecord& event) {
  if (HasAttribute(windAttr_Movable)) DragWindow(mMacWindow, event.where, nullptr);
  if (!IsActiveWindow() && !(event.modifiers & cmdKey)) Select();
}

void LWindow::ClickInGrow(const EventRecord& event) {
  Point start = event.where, now = event.where;
  while (StillDown()) {
    GetMouse(&now);
    LocalToGlobal(&now);
  }
  ResizeWindowBy(static_cast<SInt16>(now.h - start.h), static_cast<SInt16>(now.v - start.v));
}

void LWindow::AdjustContentMouse(Point portPt, const EventRecord& event, RgnHandle mouseRgn) {
  AdjustMouse(portPt, event, mouseRgn);
}

void LWindow::AdjustStructureMouse(WindowPartCode, const EventRecord&, RgnHandle) { InitCursor(); }

bool LWindow::ObeyCommand(CommandT command, void* param) {
  if (command == cmd_Close && HasAttribute(windAttr_CloseBox)) {
    AttemptClose();
    return true;
  }
  return LCommander::ObeyCommand(command, param);
}

void LWindow::FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                                Str255 outName) {
  if (command == cmd_Close) {
    outEnabled = HasAttribute(windAttr_CloseBox);
    return;
  }
  LCommander::FindCommandStatus(command, outEnabled, outUsesMark, outMark, outName);
}

bool LWindow::ExecuteCommanderAttachments(MessageT message, void* param) { return ExecuteAttachments(message, param); }
