// Builds objects from layout resources ('PPob') through the class registry, and links
// listeners to the controls a 'RidL' resource names.
//
// A layout is a big-endian stream: the u16 version 1, then tags (u32):
//   'objd' u32 length, u32 class ID, then `length` bytes that the class's stream
//          constructor reads (a mismatch in what it reads is an error);
//   'begs' / 'ends' bracket the objects inside the object before 'begs';
//   'end.' ends the layout.
// Panes go into the enclosing view, attachments onto the object before them, and other
// commanders under the enclosing commander. Panes get FinishCreate once all are built,
// the innermost first.
#pragma once

#include "framework/FrameworkTypes.h"
#include "framework/LException.h"
#include "framework/LPane.h"

class LCommander;
class LStream;
class LListener;
class LView;

enum : ExceptionCode { err_BadLayout = 'Layt' };
constexpr ResType kLayoutResType = 'PPob';
constexpr ResType kControlLinksResType = 'RidL';

class UReanimator {
 public:
  // The top object of layout `layoutID`, built as a pane. Throws for a missing or damaged
  // layout, an unknown class (named by its ID) and a top object that is no pane.
  static LPane* ReadPanes(ResIDT layoutID, LCommander* super, LView* superView = nullptr);
  // The same from layout data already in memory (`layoutID` names it in messages).
  static LPane* ReadPanes(LStream& stream, ResIDT layoutID, LCommander* super, LView* superView = nullptr);

  template <class T>
  static T* CreateFromLayout(ResIDT layoutID, LCommander* super) {
    LPane* top = ReadPanes(layoutID, super);
    T* object = dynamic_cast<T*>(top);
    if (!object) {
      delete top;
      throw LException(err_BadLayout, "the layout's top object has the wrong class");
    }
    return object;
  }

  // Every control whose pane ID 'RidL' `linksID` lists gets `listener` (pane IDs not
  // found, or not broadcasters, throw 'nilP').
  static void LinkListenerToControls(LListener* listener, LView* view, ResIDT linksID);
  // Every broadcaster among the panes below `view` gets `listener`.
  static void LinkListenerToBroadcasters(LListener* listener, LView* view);
};
