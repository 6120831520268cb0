#include "prefs/WXModels.h"

namespace CWXUtility {

unsigned char Is4ButtonDriver(long productID) { return productID == 0x1120 || productID == 0x1240; }

unsigned char Is7ButtonDriver(long productID) {
  return productID == 0x1200 || productID == 0x1230 || productID == 0x1250;
}

unsigned char IsColorOCRDriver(long) { return 1; }

long mm10_to_pixel(long tenths, double dpi) { return static_cast<long>(double(tenths) / 253.996 * dpi); }

}  // namespace CWXUtility
