// The print layout's strip of page thumbnails, 100 pixels a page. A click on a thumbnail
// takes the layout of the page on show out of the page area, keeps it in that page's
// thumbnail, and shows the chosen page ("THUV") with its kept layout ("SPre").
#pragma once

#include "framework/LBroadcaster.h"
#include "framework/LListener.h"
#include "framework/LView.h"
#include "framework/TArray.h"
#include "output/export/PageRecords.h"

class CPictureView;
class CThumbnailPane;
class LGWorld;
class LThread;

class CThumbnailView : public LView, public LListener, public LBroadcaster {
 public:
  static constexpr ClassIDT class_ID = 'THUV';
  // Broadcast with a pointer to the new current page's ScanData.
  static constexpr MessageT msg_ShowPage = 'THUV';
  // Broadcast with a pointer to a copy of the page's kept layout (PrePicturePaneInfo).
  static constexpr MessageT msg_RestorePage = 'SPre';

  explicit CThumbnailView(LStream* stream);

  // The dialog's page list (not owned).
  void SetImageArray(TArray<ScanData>* pages) { mPages = pages; }
  void SetPictureView(CPictureView* area) { mArea = area; }
  // The image 100 pixels a page wide.
  void SetViewSize();
  // One thumbnail a page, the first current; each starts loading its image on idle time.
  // On the layout thread (`thread` not null) it yields after each.
  void CreateThumbnailPanes(LThread* thread);
  // The current thumbnail's image, or null when there is none or it has no image.
  LGWorld* GetGWorld() const;

  // Thumbnail n (from 1), looked up in the strip only; null when there is none.
  CThumbnailPane* GetThumbnail(SInt32 n) const;
  CThumbnailPane* GetCurrentThumbnail() const;
  SInt32 CountThumbnails() const;

  void ListenToMessage(MessageT message, void* param) override;

 protected:
  void DrawSelf() override;

 private:
  void Choose(CThumbnailPane* chosen);

  TArray<ScanData>* mPages = nullptr;
  CPictureView* mArea = nullptr;
};
