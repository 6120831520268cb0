// The enlarged preview of one page: a modal window whose view shows the page fitted and
// turned. It closes on OK, the close box, Escape or a double-click in the picture, and
// changes nothing.
#pragma once

#include "framework/LDialogBox.h"
#include "framework/LStr255.h"
#include "toolbox/Files.h"

class CPrevPrevView;

class CPrevPrevWindow : public LDialogBox {
 public:
  static constexpr ClassIDT class_ID = 'Prpr';
  enum : ResIDT { kLayout = 501, kControlLinks = 501 };

  explicit CPrevPrevWindow(LStream* stream);

  // Arguments: page file, title, source name, rotation in degrees.
  static void ShowPrevPrevWindow(FSSpec& file, unsigned char* title, unsigned char* sourceName, long rotation);

  CPrevPrevView* GetView() const { return mView; }
  bool AttemptClose() override;

 protected:
  void FinishCreateSelf() override;

 private:
  CPrevPrevView* mView = nullptr;
  LStr255 mSourceName;
};
