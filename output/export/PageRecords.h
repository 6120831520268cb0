// The records of a scanned page after the scan, held in memory by the dialogs that pass
// pages on (printing, print layout, preview, stitch) and by the final save.
#pragma once

#include "toolbox/MacTypes.h"

// The geometry of an image.
struct AcqRecord {
  SInt32 width = 0;       // pixels
  SInt32 height = 0;      // pixels
  Fixed resolution = 0;   // dots per inch, 16.16
};

// One scanned image; usable wherever its geometry alone is wanted.
struct ScanData : AcqRecord {
  FSSpec imageFile{};     // the file that holds the image
  Str255 sourceName{};    // the scanner or data source
};

// One page of a finished scan as the preview holds it; imageFile is its preview TIFF.
struct ScanDataPlus : ScanData {
  SInt32 bitsPerPixel = 0;  // 1, 8 or 32 (24-bit colour is recorded as 32)
  FSSpec rawFile{};         // the page's raw scan file
  UInt8 written = 0;        // 1 when the preview file was written: only those pages are saved
  Str255 displayName{};     // the preview file's name less its extension
  SInt32 rotation = 0;      // degrees clockwise: 0, 90, 180 or 270, applied by the final save
};

// One page of the final save: the raw file to export (the corrected or rotated copy where
// one was made) and its size, exchanged after a quarter turn.
struct EditDataPlus {
  FSSpec workFile{};
  SInt32 height = 0;
  SInt32 width = 0;
};
