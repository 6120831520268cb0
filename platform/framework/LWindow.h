// A window of the Window Manager as a view and a commander: it owns its panes, routes clicks
// to them, draws them on updates, and takes the keyboard focus when it is activated.
#pragma once

#include "framework/LCommander.h"
#include "framework/LView.h"

// Framework attributes of a window.
enum : UInt32 {
  windAttr_Modal = 0x80000000,
  windAttr_Floating = 0x40000000,
  windAttr_Regular = 0x20000000,
  windAttr_Targetable = 0x08000000,
  windAttr_CloseBox = 0x04000000,
  windAttr_TitleBar = 0x02000000,
  windAttr_Resizable = 0x01000000,
  windAttr_Movable = 0x00800000,
};

class LWindow : public LView, public LCommander {
 public:
  static constexpr ClassIDT class_ID = 'wind';

  // Builds the window of layout `layoutID` with all its panes, links `super`, and runs
  // FinishCreate. The window is shown when its layout says so.
  static LWindow* CreateWindow(ResIDT layoutID, LCommander* super);
  // The framework window of a Window Manager window, or null.
  static LWindow* FetchWindowObject(WindowRef window);
  static LWindow* GetActiveWindow() { return sActiveWindow; }

  // Layout data: layout::kWindow (framework/LayoutFields.h); the bounds are global, and
  // 0,0 centres the window on the main screen.
  explicit LWindow(LStream* stream);
  // Adopts an existing Window Manager window.
  LWindow(WindowRef window, LCommander* super);
  LWindow(const Rect& globalBounds, ConstStr255Param title, WindowClass windowClass, WindowAttributes attributes,
          LCommander* super);
  ~LWindow() override;

  WindowRef GetMacWindow() const { return mMacWindow; }
  bool HasAttribute(UInt32 attribute) const { return (mAttributes & attribute) != 0; }

  void Show() override;
  void Hide() override;
  virtual void Select();
  void Activate() override;
  void Deactivate() override;
  bool IsActiveWindow() const { return sActiveWindow == this; }
  void Refresh() override;
  void UpdatePort();
  virtual void DoClose();
  virtual bool AttemptClose();

  StringPtr GetDescriptor(Str255 outTitle) const override;
  void SetDescriptor(ConstStr255Param title) override;

  // Geometry in global coordinates.
  void GetGlobalBounds(Rect& outBounds) const;
  virtual void ResizeWindowBy(SInt16 dw, SInt16 dh);
  virtual void MoveWindowBy(SInt16 dh, SInt16 dv);

  // Input.
  virtual void HandleClick(const EventRecord& event, WindowPartCode part);
  virtual void ClickInContent(const EventRecord& event);
  virtual void ClickInTitleBar(const EventRecord& event);
  virtual void ClickInGrow(const EventRecord& event);
  virtual void AdjustContentMouse(Point portPt, const EventRecord& event, RgnHandle mouseRgn);
  virtual void AdjustStructureMouse(WindowPartCode part, const EventRecord& event, RgnHandle mouseRgn);
  void GlobalToPortPoint(Point& pt) const { LPane::GlobalToPortPoint(pt); }

  bool ObeyCommand(CommandT command, void* param) override;
  void FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                         Str255 outName) override;

  // Erases the content before the panes draw.
  virtual void EraseContent();

 protected:
  void BeTarget() override;
  bool ExecuteCommanderAttachments(MessageT message, void* param) override;

  WindowRef mMacWindow = nullptr;
  UInt32 mAttributes = 0;
  Rect mMinMaxSize = {50, 50, 32767, 32767};  // left/top: least width/height; right/bottom: most

 private:
  void AdoptMacWindow(WindowRef window);
  void SyncFrameWithWindow();

  static LWindow* sActiveWindow;
};
