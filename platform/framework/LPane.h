// A rectangle of a window that draws itself and takes clicks. Panes live in a tree of
// views; a view owns its subpanes, and a pane that is deleted leaves its superview.
//
// Geometry: a pane's frame is kept in port coordinates (the window's content, 0,0 at its
// top left), which are also the pane's local coordinates. Positions given to constructors
// are in the superview's image. A pane is visible, enabled and active only when its
// superviews are.
#pragma once

#include "framework/LAttachable.h"
#include "framework/PaneTypes.h"
#include "quickdraw/QuickDraw.h"
#include "windows/MacWindows.h"

class LStream;
class LView;
class LWindow;

class LPane : public LAttachable {
 public:
  static constexpr ClassIDT class_ID = 'pane';

  LPane();
  explicit LPane(const SPaneInfo& info);
  // Layout data: layout::kPane (framework/LayoutFields.h).
  explicit LPane(LStream* stream);
  ~LPane() override;

  // Identity.
  PaneIDT GetPaneID() const { return mPaneID; }
  virtual LPane* FindPaneByID(PaneIDT id);

  // After the whole layout is built: FinishCreateSelf, then attachments hear msg_FinishCreate.
  void FinishCreate();

  // The tree.
  LView* GetSuperView() const { return mSuperView; }
  // Moves this pane into `view`, in front of its other subpanes (or behind them).
  virtual void PutInside(LView* view, bool inFront = true);
  LWindow* GetWindow() const;
  WindowRef GetMacWindow() const;
  // The window's port, or the port of the tree's top when it has its own (a printout while
  // it prints); `origin` is the local point at the port's top left.
  CGrafPtr GetMacPort() const;
  CGrafPtr GetMacPort(Point& origin) const;

  // Geometry.
  void GetFrameSize(SDimension16& outSize) const { outSize = mFrameSize; }
  void GetFrameLocation(SPoint32& outLocation) const { outLocation = mFrameLocation; }
  bool CalcLocalFrameRect(Rect& outRect) const;
  bool CalcPortFrameRect(Rect& outRect) const { return CalcLocalFrameRect(outRect); }
  // The part of the frame that the superviews leave visible; false when none.
  bool CalcRevealedRect(Rect& outRect) const;
  virtual void ResizeFrameBy(SInt16 dw, SInt16 dh, bool refresh);
  void ResizeFrameTo(SInt16 width, SInt16 height, bool refresh);
  virtual void MoveBy(SInt32 dh, SInt32 dv, bool refresh);
  // Moves the frame's top left to (h, v) from the superview's frame's top left.
  void PlaceInSuperFrameAt(SInt32 h, SInt32 v, bool refresh);
  // The superview's frame changed size: move or stretch as the bindings say.
  virtual void AdaptToSuperFrameSize(SInt32 dw, SInt32 dh, bool refresh);
  virtual bool PointIsInFrame(SInt32 h, SInt32 v) const;
  virtual bool IsHitBy(SInt32 h, SInt32 v) { return PointIsInFrame(h, v); }

  void GlobalToPortPoint(Point& pt) const;
  void PortToGlobalPoint(Point& pt) const;

  // State.
  virtual void Show();
  virtual void Hide();
  bool IsVisible() const;
  bool IsVisibleSelf() const { return mVisible; }
  // Sets the pane's own visible state without the show or hide step (no ShowSelf, no
  // refresh): for panes made in code that their maker draws at once.
  void SetVisible(bool visible) { mVisible = visible; }
  virtual void Enable();
  virtual void Disable();
  bool IsEnabled() const;
  virtual void Activate();
  virtual void Deactivate();
  bool IsActive() const;

  virtual SInt32 GetValue() const { return 0; }
  virtual void SetValue(SInt32) {}
  virtual StringPtr GetDescriptor(Str255 outDescriptor) const;
  virtual void SetDescriptor(ConstStr255Param descriptor);

  // Drawing.
  virtual void Draw(RgnHandle superDrawRgn);
  // Draws the pane onto a printed page; views print their subpanes too.
  virtual void PrintPanel(const PanelSpec& panel);
  // What a pane prints: by default what it shows.
  virtual void PrintPanelSelf(const PanelSpec&) { DrawSelf(); }
  // Makes the window's port current, clipped to the revealed frame; false when hidden away.
  virtual bool FocusDraw(LPane* subPane = nullptr);
  virtual void Refresh();
  virtual void DontRefresh();
  // Draws the pane's window now.
  void UpdatePort();
  virtual void ApplyForeAndBackColors() const;

  // Mouse.
  virtual void Click(SMouseDownEvent& event);
  virtual void AdjustMouse(Point portPt, const EventRecord& event, RgnHandle mouseRgn);
  SInt16 GetClickCount() const { return sClickCount; }
  static SInt16 sClickCount;
  static LPane* sLastPaneClicked;
  static UInt32 sLastClickTime;
  static Point sLastClickPoint;

  // Geometry of hidden pane groups: write and read back frames and visibility.
  virtual void SavePlace(LStream* place);
  virtual void RestorePlace(LStream* place);

  // The view that panes built from a stream go into (set by the layout loader).
  static LView* GetDefaultView() { return sDefaultView; }
  static void SetDefaultView(LView* view) { sDefaultView = view; }

 protected:
  // The port a top pane without a window draws into, and its origin; none by default.
  virtual CGrafPtr GetOwnPort(Point&) const { return nullptr; }
  virtual void FinishCreateSelf() {}
  virtual void DrawSelf() {}
  virtual void ClickSelf(const SMouseDownEvent&) {}
  virtual void AdjustMouseSelf(Point, const EventRecord&, RgnHandle) {}
  virtual void ShowSelf() {}
  virtual void HideSelf() {}
  virtual void EnableSelf() {}
  virtual void DisableSelf() {}
  virtual void ActivateSelf() {}
  virtual void DeactivateSelf() {}
  // Invalidates a rectangle of the pane's window (port coordinates).
  void InvalPortRect(const Rect& r) const;

  PaneIDT mPaneID = 0;
  SDimension16 mFrameSize = {0, 0};
  SPoint32 mFrameLocation = {0, 0};  // port coordinates of the frame's top left
  SBooleanRect mFrameBinding = {false, false, false, false};
  SInt32 mUserCon = 0;
  LView* mSuperView = nullptr;
  bool mVisible = true;
  bool mEnabled = true;
  bool mActive = true;

 private:
  friend class LView;
  void InitPane(const SPaneInfo& info);

  static LView* sDefaultView;
};
