// Types, messages and command numbers shared by every class of the application framework.
#pragma once

#include "toolbox/MacTypes.h"

typedef SInt32 MessageT;
typedef SInt32 CommandT;
typedef SInt32 PaneIDT;
typedef FourCharCode ClassIDT;
typedef SInt16 ResIDT;
typedef SInt32 ArrayIndexT;
typedef SInt32 ExceptionCode;

// Messages. Broadcast messages of controls are usually their pane ID or 900/901.
enum : MessageT {
  msg_Nothing = 0,
  msg_AnyMessage = -1,   // an attachment that sees every message
  msg_Event = 810,       // param: EventRecord*
  msg_DrawOrPrint = 811, // param: Rect* (frame)
  msg_Click = 812,       // param: SMouseDownEvent*
  msg_AdjustCursor = 813,// param: EventRecord*
  msg_KeyPress = 814,    // param: EventRecord*
  msg_CommandStatus = 815,
  msg_PostAction = 816,  // param: LAction*
  msg_FinishCreate = 817,// param: the pane that was just built
  msg_OK = 900,
  msg_Cancel = 901,
  msg_ControlClicked = 902,
  msg_ThumbDragged = 903,
  msg_TabSelect = 904,
};

// Commands of the standard menus. A negative command names a whole menu (-(menu << 16)).
enum : CommandT {
  cmd_Nothing = 0,
  cmd_About = 1,
  cmd_New = 2,
  cmd_Open = 3,
  cmd_Close = 4,
  cmd_Save = 5,
  cmd_Quit = 10,
  cmd_Undo = 11,
  cmd_Cut = 12,
  cmd_Copy = 13,
  cmd_Paste = 14,
  cmd_Clear = 15,
  cmd_SelectAll = 16,
};

constexpr PaneIDT PaneIDT_Undefined = -1;
constexpr PaneIDT PaneIDT_Unspecified = 0;
