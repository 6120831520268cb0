// Converting a finished TWAIN scan's pages to Adobe RGB before they are written, for the
// Save and custom-scan dialogs and stitch assist: the pages are relabelled only when that
// is true.
#pragma once

class CTWAIN;

namespace AdobeRGBPages {

// The profile file the converted pages carry the name of.
inline constexpr const char* kProfileName = "AdobeRGB1998.icc";

// Whether the Adobe RGB profile is installed. A start turns the source's own colour
// matching off only then, so that pages are never left unmatched and unconverted.
bool ProfileInstalled();

// Converts the connection's pages from `first` on, in place, from the profile the connection
// names to Adobe RGB, and then names that profile on the connection. 1 only when both
// profiles were found, every such page is 24-bit colour and every one was converted; otherwise 0 with the
// pages as scanned and the connection's profile name unchanged (a page whose write failed
// part way keeps the rows written before the failure).
unsigned char Convert(CTWAIN& connection, long first = 1);

}  // namespace AdobeRGBPages
