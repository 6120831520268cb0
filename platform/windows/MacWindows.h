// Window Manager: windows of the platform's classes, their layering, regions, updates and
// dragging. Every window has its own 32-bit port of its content's size (port coordinates
// start at 0,0 at the content's top left). With a display each window is shown as a real
// window; headless, windows live offscreen and tests read their pixels.
#pragma once

#include "quickdraw/QuickDraw.h"
#include "toolbox/MacTypes.h"
#include "windows/Events.h"

typedef struct OpaqueWindowPtr* WindowRef;
typedef WindowRef WindowPtr;
typedef UInt32 WindowClass;
typedef UInt32 WindowAttributes;
typedef UInt16 WindowRegionCode;
typedef SInt16 WindowPartCode;

enum : WindowClass {
  kAlertWindowClass = 1,
  kMovableAlertWindowClass = 2,
  kModalWindowClass = 3,
  kMovableModalWindowClass = 4,
  kFloatingWindowClass = 5,
  kDocumentWindowClass = 6,
  kUtilityWindowClass = 8,
  kHelpWindowClass = 10,
  kPlainWindowClass = 13,
};

enum : WindowAttributes {
  kWindowNoAttributes = 0,
  kWindowCloseBoxAttribute = 1u << 0,
  kWindowHorizontalZoomAttribute = 1u << 1,
  kWindowVerticalZoomAttribute = 1u << 2,
  kWindowFullZoomAttribute = (1u << 1) | (1u << 2),
  kWindowCollapseBoxAttribute = 1u << 3,
  kWindowResizableAttribute = 1u << 4,
  kWindowNoUpdatesAttribute = 1u << 16,
  kWindowNoActivatesAttribute = 1u << 17,
  kWindowStandardDocumentAttributes = (1u << 0) | (1u << 1) | (1u << 2) | (1u << 3) | (1u << 4),
};

enum : WindowRegionCode {
  kWindowTitleBarRgn = 0,
  kWindowTitleTextRgn = 1,
  kWindowCloseBoxRgn = 2,
  kWindowZoomBoxRgn = 3,
  kWindowDragRgn = 5,
  kWindowGrowRgn = 6,
  kWindowCollapseBoxRgn = 7,
  kWindowStructureRgn = 32,
  kWindowContentRgn = 33,
  kWindowUpdateRgn = 34,
  kWindowOpaqueRgn = 35,
  kWindowGlobalPortRgn = 40,
};

// FindWindow's answers.
enum : WindowPartCode {
  inDesk = 0,
  inNoWindow = 0,
  inMenuBar = 1,
  inSysWindow = 2,
  inContent = 3,
  inDrag = 4,
  inGrow = 5,
  inGoAway = 6,
  inZoomIn = 7,
  inZoomOut = 8,
  inCollapseBox = 11,
  inProxyIcon = 12,
  inStructure = 15,
};

// Window-definition procedures: messages, hit-test answers, features, region requests.
enum : SInt16 {
  kWindowMsgDraw = 0,
  kWindowMsgHitTest = 1,
  kWindowMsgCalculateShape = 2,
  kWindowMsgInitialize = 3,
  kWindowMsgCleanUp = 4,
  kWindowMsgDrawGrowOutline = 5,
  kWindowMsgDrawGrowBox = 6,
  kWindowMsgGetFeatures = 7,
  kWindowMsgGetRegion = 8,
};
enum : SInt32 {
  wNoHit = 0,
  wInContent = 1,
  wInDrag = 2,
  wInGrow = 3,
  wInGoAway = 4,
  wInZoomIn = 5,
  wInZoomOut = 6,
  wInCollapseBox = 9,
  wInProxyIcon = 10,
};
enum : UInt32 {
  kWindowCanGrow = 1u << 0,
  kWindowCanZoom = 1u << 1,
  kWindowCanCollapse = 1u << 2,
  kWindowIsModal = 1u << 3,
  kWindowCanGetWindowRegion = 1u << 4,
  kWindowIsAlert = 1u << 5,
  kWindowHasTitleBar = 1u << 6,
  kWindowDefSupportsColorGrafPort = 0x40000002,
};

// The parameter of kWindowMsgGetRegion (passed as a pointer in `param`).
struct GetWindowRegionRec {
  RgnHandle winRgn;
  WindowRegionCode regionCode;
};
typedef GetWindowRegionRec* GetWindowRegionPtr;

// A window-definition procedure. For kWindowMsgHitTest, param holds the global point as
// (v << 16) | (h & 0xFFFF); for kWindowMsgGetFeatures, a pointer to a UInt32 to fill.
typedef long (*WindowDefProcPtr)(short varCode, WindowRef window, short message, long param);
typedef WindowDefProcPtr WindowDefUPP;
inline WindowDefUPP NewWindowDefUPP(WindowDefProcPtr proc) { return proc; }
inline void DisposeWindowDefUPP(WindowDefUPP) {}

typedef UInt32 WindowDefType;
enum : WindowDefType { kWindowDefProcPtr = 0, kWindowDefObjectClass = 1, kWindowDefProcID = 2 };
struct WindowDefSpec {
  WindowDefType defType;
  union {
    WindowDefUPP defProc;
    SInt16 procID;
  } u;
};

enum : OSStatus { errInvalidWindowRef = -5600, errWindowRegionCodeInvalid = -5617 };

// contentBounds is global. Windows are created hidden.
OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes, const Rect* contentBounds,
                         WindowRef* outWindow);
// A frameless window whose structure and content regions come from the definition
// procedure (kWindowMsgGetRegion); it is drawn entirely by its own content.
OSStatus CreateCustomWindow(const WindowDefSpec* def, WindowClass windowClass, WindowAttributes attributes,
                            const Rect* contentBounds, WindowRef* outWindow);
void DisposeWindow(WindowRef window);

void ShowWindow(WindowRef window);
void HideWindow(WindowRef window);
Boolean IsWindowVisible(WindowRef window);
void SelectWindow(WindowRef window);
void BringToFront(WindowRef window);
void SendBehind(WindowRef window, WindowRef behindWindow);
void HiliteWindow(WindowRef window, Boolean fHilite);
Boolean IsWindowHilited(WindowRef window);
WindowRef FrontWindow();
WindowRef FrontNonFloatingWindow();
WindowRef GetWindowList();
WindowRef GetNextWindow(WindowRef window);
Boolean IsValidWindowPtr(WindowRef window);

// Follows the mouse from startPt (global) while the button is down and moves the window
// by the distance travelled, kept inside boundsRect (null = the desktop).
void DragWindow(WindowRef window, Point startPt, const Rect* boundsRect);
void MoveWindow(WindowRef window, SInt16 hGlobal, SInt16 vGlobal, Boolean front);
void SizeWindow(WindowRef window, SInt16 width, SInt16 height, Boolean fUpdate);
// A collapsed window shows only its title strip: for a custom window, the structure
// region its definition gives for a height of 30 pixels or less.
OSStatus CollapseWindow(WindowRef window, Boolean collapse);
Boolean IsWindowCollapsed(WindowRef window);
Boolean IsWindowCollapsable(WindowRef window);

WindowPartCode FindWindow(Point globalPt, WindowRef* window);
Boolean TrackGoAway(WindowRef window, Point globalPt);
Boolean TrackBox(WindowRef window, Point globalPt, WindowPartCode part);

OSStatus GetWindowBounds(WindowRef window, WindowRegionCode regionCode, Rect* globalBounds);
OSStatus SetWindowBounds(WindowRef window, WindowRegionCode regionCode, const Rect* globalBounds);
OSStatus GetWindowRegion(WindowRef window, WindowRegionCode regionCode, RgnHandle rgn);
// Asks the definition procedure again for the window's regions (after a change of shape).
OSStatus ReshapeCustomWindow(WindowRef window);
Rect* GetWindowPortBounds(WindowRef window, Rect* bounds);
WindowClass GetWindowClassOf(WindowRef window);
OSStatus GetWindowClass(WindowRef window, WindowClass* outClass);
OSStatus GetWindowAttributes(WindowRef window, WindowAttributes* outAttributes);
OSStatus ChangeWindowAttributes(WindowRef window, WindowAttributes setThese, WindowAttributes clearThese);

// Invalidation (port coordinates) and updates.
OSStatus InvalWindowRect(WindowRef window, const Rect* bounds);
OSStatus InvalWindowRgn(WindowRef window, RgnHandle region);
OSStatus ValidWindowRect(WindowRef window, const Rect* bounds);
OSStatus ValidWindowRgn(WindowRef window, RgnHandle region);
// Between BeginUpdate and EndUpdate the port's visible region is the update region;
// EndUpdate empties the update region and shows the window's pixels.
void BeginUpdate(WindowRef window);
void EndUpdate(WindowRef window);
void DrawGrowIcon(WindowRef window);

CGrafPtr GetWindowPort(WindowRef window);
WindowRef GetWindowFromPort(CGrafPtr port);
void SetPortWindowPort(WindowRef window);
void SetWRefCon(WindowRef window, long data);
long GetWRefCon(WindowRef window);
void SetWTitle(WindowRef window, ConstStr255Param title);
void GetWTitle(WindowRef window, Str255 title);
void SetWindowKind(WindowRef window, SInt16 kind);
SInt16 GetWindowKind(WindowRef window);
enum : SInt16 { kApplicationWindowKind = 8, kDialogWindowKind = 2 };

// Screen geometry: the menu bar's height and the desktop below it.
SInt16 GetMBarHeight();
RgnHandle GetGrayRgn();
