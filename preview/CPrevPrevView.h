// The picture of the enlarged preview: one page file, fitted into the view with its aspect
// ratio kept, colour-matched to the screen and turned. The picture is loaded by a
// cooperative thread of its own that starts at the first idle time; a double-click
// broadcasts 'PpDc'.
#pragma once

#include <memory>

#include "framework/LBroadcaster.h"
#include "framework/LPeriodical.h"
#include "framework/LView.h"
#include "toolbox/Files.h"

class CPictureLoader;
class LGWorld;
class LStr255;

class CPrevPrevView : public LView, public LPeriodical, public LBroadcaster {
 public:
  static constexpr ClassIDT class_ID = 'PrpV';
  enum : MessageT { msg_DoubleClick = 'PpDc' };

  explicit CPrevPrevView(LStream* stream);
  ~CPrevPrevView() override;

  void SetPicture(const FSSpec& file, long rotation);
  // The source name whose profile the loader matches from; the window keeps it.
  void SetSourceName(const LStr255* sourceName) { mSourceName = sourceName; }
  void SpendTime(const EventRecord& event) override;
  // The loaded picture, or null before loading and after a failed load.
  const LGWorld* GetImage() const { return mImage; }

  // The picture's rectangle before turning: a page of w x h turned by `rotation` scaled to
  // fill a frame of fw x fh with the aspect ratio kept (equal ratios fill by height).
  static Rect FitRect(SInt32 w, SInt32 h, long rotation, SInt32 fw, SInt32 fh);

 protected:
  void FinishCreateSelf() override;
  void DrawSelf() override;
  void ClickSelf(const SMouseDownEvent& event) override;
  virtual void ReadThread();

 private:

  LGWorld* mImage = nullptr;
  FSSpec mFile{};
  long mRotation = 0;
  std::unique_ptr<CPictureLoader> mLoader;
  const LStr255* mSourceName = nullptr;
};
