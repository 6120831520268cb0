// The frame of every modal sub-dialog of the hub (alert, format, size and font settings, and
// any later one run through StDialogHandler): while it lives, the application's resource
// file is current; its layout is built through `Handler` (StDialogHandler or a handler made
// from it); its panes are bound once by ID and class; Run shows it and loops on DoDialog
// until OK or Cancel, and only an accepted OK writes the record.
#pragma once

#include "framework/LException.h"
#include "framework/LWindow.h"
#include "framework/StDialogHandler.h"
#include "output/hubdialogs/WXPanes.h"
#include "toolbox/Resources.h"

template <class Handler = StDialogHandler>
class HubDialog {
 public:
  HubDialog(SInt32 layoutID, LCommander* super) : mHandler(ResIDT(layoutID), super) { ThrowIfNil_(dialog()); }
  HubDialog(const HubDialog&) = delete;
  HubDialog& operator=(const HubDialog&) = delete;

  Handler& handler() { return mHandler; }
  LWindow* dialog() const { return mHandler.GetDialog(); }
  // The pane `id` as a T; 'nilP' when it is missing or of another class.
  template <class T>
  T* Pane(PaneIDT id) const {
    return CWXUtility::FindPaneAs<T>(dialog(), id);
  }

  // Shows the dialog and runs it. Cancel ends it with msg_Cancel. OK ends it with msg_OK
  // once `accept` (which writes the record) returns true; false keeps the dialog up. Every
  // other message of a pass, msg_Nothing included, goes to `respond`, which may end the
  // dialog by returning a non-zero answer.
  template <class Accept, class Respond>
  SInt32 Run(Accept accept, Respond respond) {
    dialog()->Show();
    for (;;) {
      const MessageT message = mHandler.DoDialog();
      if (message == msg_Cancel) return msg_Cancel;
      if (message == msg_OK) {
        if (accept()) return msg_OK;
        continue;
      }
      if (const SInt32 answer = respond(message)) return answer;
    }
  }
  template <class Accept>
  SInt32 Run(Accept accept) {
    return Run(accept, [](MessageT) { return SInt32(0); });
  }

 private:
  StCurResFile mAppResources{ApplicationResFile()};  // made current before the layout is read
  Handler mHandler;
};
