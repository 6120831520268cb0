// Plain records the panes are made from and talk in.
#pragma once

#include "framework/FrameworkTypes.h"
#include "windows/Events.h"

class LView;

struct SBooleanRect {
  bool left;
  bool top;
  bool right;
  bool bottom;
};

struct SDimension16 {
  SInt16 width;
  SInt16 height;
};

struct SDimension32 {
  SInt32 width;
  SInt32 height;
};

struct SPoint32 {
  SInt32 h;
  SInt32 v;
};

// How a pane is made in code. `left`/`top` are in the superview's image; a null
// superView means the view that the layout loader is filling, if any.
struct SPaneInfo {
  PaneIDT paneID = 0;
  SInt16 width = 0;
  SInt16 height = 0;
  bool visible = true;
  bool enabled = true;
  SBooleanRect bindings = {false, false, false, false};
  SInt32 left = 0;
  SInt32 top = 0;
  SInt32 userCon = 0;
  LView* superView = nullptr;
};

// A visible, enabled pane at a place in `super`, the usual way panes are made in code.
inline SPaneInfo MakePaneInfo(LView* super, PaneIDT id, SInt32 left, SInt32 top, SInt16 width, SInt16 height) {
  SPaneInfo info;
  info.paneID = id;
  info.width = width;
  info.height = height;
  info.left = left;
  info.top = top;
  info.superView = super;
  return info;
}

struct SViewInfo {
  SDimension32 imageSize = {0, 0};
  SPoint32 scrollPos = {0, 0};
  SPoint32 scrollUnit = {1, 1};
  SInt16 reconcileOverhang = 0;
};

struct SControlInfo {
  MessageT valueMessage = msg_Nothing;
  SInt32 value = 0;
  SInt32 minValue = 0;
  SInt32 maxValue = 0;
};

// A click as panes see it: where in port coordinates and in the pane's own.
struct SMouseDownEvent {
  Point wherePort;
  Point whereLocal;
  EventRecord macEvent;
  bool delaySelect;
};

// The part of a printout that one printed page shows: its page number (from 1) and its
// place in the grid of pages.
struct PanelSpec {
  UInt32 pageNumber = 1;
  UInt32 horizIndex = 1;
  UInt32 vertIndex = 1;
};
