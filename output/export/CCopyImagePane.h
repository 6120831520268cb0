// The printable view of one scanned image: sized to the page fitted, at 100 % or at another
// magnification, and drawn from its image file at the printed size.
#pragma once

#include "framework/LPrintSetup.h"
#include "framework/LView.h"
#include "output/export/PageRecords.h"

// Where the image lies on the page: its printed size and its offset inside the page
// rectangle, in printer pixels.
struct CopyImagePlacement {
  SInt32 width = 0, height = 0;
  SInt32 top = 0, left = 0;
};

class CCopyImagePane : public LView {
 public:
  explicit CCopyImagePane(const FSSpec& imageFile);
  ~CCopyImagePane() override;

  // Each sizes the image for the print spec's page and answers the page-rectangle query's result.
  OSStatus DoAdjustPaperSize(const AcqRecord& image, LPrintSpec& spec);
  OSStatus DoSameRateSize(const AcqRecord& image, LPrintSpec& spec);
  OSStatus DoOtherRateSize(const AcqRecord& image, LPrintSpec& spec, long percent);

  const CopyImagePlacement& GetPlacement() const { return mPlacement; }

  // The sizing itself: `percent` 0 fits the image to the page; `printerDpi` below 1 takes
  // `formatDpi`. The image's resolution is 16.16 fixed; it must hold pixels and be at least
  // 1 dpi (callers check).
  static CopyImagePlacement Place(const AcqRecord& image, double printerDpi, double formatDpi, const Rect& page,
                                  long percent);

  // Throws the importer's error for a file it cannot read.
  void PrintPanelSelf(const PanelSpec& panel) override;

 private:
  OSStatus Size(const AcqRecord& image, LPrintSpec& spec, long percent);

  FSSpec mImageFile;
  CopyImagePlacement mPlacement;
};
