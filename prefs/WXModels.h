// The scanner models told apart by product ID, and lengths on the platen, as the defaults
// and the checks need them.
#pragma once

namespace CWXUtility {

unsigned char Is4ButtonDriver(long productID);
unsigned char Is7ButtonDriver(long productID);
unsigned char IsColorOCRDriver(long productID);

// Tenths of a millimetre to pixels at `dpi`, truncated toward zero.
long mm10_to_pixel(long tenths, double dpi);

}  // namespace CWXUtility
