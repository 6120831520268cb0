// Exif data for the JPEG files the system writes: the thumbnail file, and the segment
// built from a page's EXIF_PREF record or from fixed values.
#pragma once

#include "toolbox/MacTypes.h"
#include "toolbox/RecordAccess.h"

class CThumbnailSampler;

namespace CWXUtility {

// Writes "JPEGTHUMB.jpg" in the temporary folder: the JPEG drawn into a 160 x 120 box,
// centred on black, and gives its specification. noErr, or the error of the failing step
// (nothing is left behind then).
OSErr CreateThumbnailtempFile(const FSSpec& jpeg, FSSpec* thumbnail);

// Add the Exif segment to an existing JPEG file: from the page's EXIF_PREF record, or
// from fixed values with the page's size and resolution. 0 when the file carries the
// segment; otherwise the file is left as it was and the failure's code is answered (the
// callers go on either way). The thumbnail file is deleted on every path. A complete
// `thumbnail`, sampled from the page while it was written, spares decoding the file again.
long AddExifInfo(FSSpec& jpeg, RecordBytes page, unsigned char adobeRGB, const CThumbnailSampler* thumbnail = nullptr);
long AddExifInfoMainOnly(FSSpec& jpeg, long width, long height, long dpi, unsigned char monochrome,
                         unsigned char adobeRGB, long source, const CThumbnailSampler* thumbnail = nullptr);

}  // namespace CWXUtility
